// Walking the tree with the three lists: hive clicks, previews by single click, entering and leaving keys.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Strings = std::vector<std::wstring>;

class Navigation : public WindowTest {
 protected:
  void SetUp() override {
    registry.PutString("HKCU", "HiveValue", "h");
    registry.Put("HKCU\\Environment");
    registry.PutString("HKCU\\Software", "SoftwareValue", "s");
    registry.PutString("HKCU\\Software\\Classes", "ClassA", "a");
    registry.PutDword("HKCU\\Software\\Classes", "ClassB", 2);
    registry.Put("HKCU\\Software\\Vendor\\..hidden\\Deep");
    registry.Put("HKCU\\Software\\Vendor\\App");
    registry.PutString("HKCU\\Software\\Vendor", "VendorValue", "v");
    registry.PutString("HKLM", "MachineValue", "m");
    registry.Put("HKLM\\System");
    WindowTest::SetUp();
  }

  void ClickHive(const std::wstring& hive) { ClickEntry(w().List1, hive); }
};

TEST_F(Navigation, WalksDownPreviewsAndComesBackUp) {
  ClickHive(L"HKEY_CURRENT_USER");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(Items(w().List2), (Strings{L"Environment", L"Software"}));  // no up entry at a hive
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"HiveValue"}));

  DoubleClickEntry(w().List2, L"Software");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Classes", L"Vendor"}));
  // The click of the double click listed the values of the key just entered.
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"SoftwareValue"}));

  // A single click previews a subkey without entering it.
  ClickEntry(w().List2, L"Classes");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software\\Classes");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"ClassA", L"ClassB"}));
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Classes", L"Vendor"}));

  // A single click on ".." previews the parent.
  ClickEntry(w().List2, L"..");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"HiveValue"}));
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");

  DoubleClickEntry(w().List2, L"..");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER");
  // Once entered by double click, even a hive is headed by "..".
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Environment", L"Software"}));
}

TEST_F(Navigation, UpEntryAtAHiveGoesNowhere) {
  ClickHive(L"HKEY_CURRENT_USER");
  DoubleClickEntry(w().List2, L"Software");
  DoubleClickEntry(w().List2, L"..");
  ASSERT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER");

  // Double click on ".." at the hive: the path stays and the list is rebuilt the same way.
  DoubleClickEntry(w().List2, L"..");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Environment", L"Software"}));

  // A preview of Software first, then a single click on "..": the preview's path stays in txtKey, and the values
  // come from that path again.
  ClickEntry(w().List2, L"Software");
  ASSERT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software");
  ClickEntry(w().List2, L"..");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"SoftwareValue"}));
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER");
}

TEST_F(Navigation, SecondHiveReplacesTheFirstAndLeavesTheValuePanelAlone) {
  ClickHive(L"HKEY_CURRENT_USER");
  DoubleClickEntry(w().List2, L"Software");
  ClickEntry(w().List2, L"Classes");
  ClickEntry(w().List3, L"ClassA");
  ASSERT_EQ(w().txtValue->Text(), L"a");
  ASSERT_EQ(w().List2->ListIndex(), 1);

  ClickHive(L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(w().List2->ListIndex(), -1);
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Items(w().List2), (Strings{L"System"}));
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"MachineValue"}));
  // Navigation never touches the panel: it still describes the last value clicked.
  EXPECT_EQ(w().txtValueName->Text(), L"ClassA");
  EXPECT_EQ(w().txtValue->Text(), L"a");
  EXPECT_EQ(w().lblValueType->Caption(), L"Value Type : String");

  // The hive list's own handler does nothing without a current entry.
  w().List1_Click();
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE");
}

TEST_F(Navigation, KeysThatDoNotOpenFallBackToTheirParent) {
  ClickHive(L"HKEY_CURRENT_USER");
  // Environment disappears after it was listed.
  ASSERT_EQ(registry.DeleteKey(registry::kCurrentUser, "Environment"), registry::kSuccess);

  ClickEntry(w().List2, L"Environment");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Environment");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"HiveValue"}));

  DoubleClickEntry(w().List2, L"Environment");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Environment");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Environment");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Software"}));

  // Back up, then a key the user may not open: its preview shows the parent's values.
  DoubleClickEntry(w().List2, L"..");
  registry.FailNthCall(registry::Operation::OpenKey, 1, registry::kAccessDenied);
  ClickEntry(w().List2, L"Software");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"HiveValue"}));

  // A listing that fails at its first step leaves ".." alone in the subkey list.
  registry.FailNthCall(registry::Operation::EnumKey, 1, registry::kAccessDenied);
  DoubleClickEntry(w().List2, L"Software");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List2), (Strings{L".."}));
}

TEST_F(Navigation, SubkeysStartingWithTwoDotsActAsTheUpEntry) {
  ClickHive(L"HKEY_CURRENT_USER");
  DoubleClickEntry(w().List2, L"Software");
  DoubleClickEntry(w().List2, L"Vendor");
  ASSERT_EQ(Items(w().List2), (Strings{L"..", L"..hidden", L"App"}));

  ClickEntry(w().List2, L"..hidden");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"SoftwareValue"}));

  DoubleClickEntry(w().List2, L"..hidden");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Classes", L"Vendor"}));
}

}  // namespace
}  // namespace quillon::testing
