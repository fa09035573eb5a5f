// Walking the tree with the three lists (hive clicks, previews by single click, entering and leaving keys), and
// filling the lists from an open key.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

class Navigation : public WindowTest {
 protected:
  void SetUp() override {
    registry.PutString("HKCU", "HiveValue", "h");
    registry.Put("HKCU\\Environment");
    registry.PutString("HKCU\\Software", "SoftwareValue", "s");
    registry.PutString("HKCU\\Software\\Classes", "ClassA", "a");
    registry.PutDword("HKCU\\Software\\Classes", "ClassB", 2);
    registry.Put("HKCU\\Software\\Vendor\\..hidden\\Deep");
    registry.PutString("HKLM", "MachineValue", "m");
    registry.Put("HKLM\\System");
    WindowTest::SetUp();
  }
  /// txtKey, the current path and both lists as one text.
  std::wstring State() {
    std::wstring out = w().txtKey->Text() + L"|" + w().CurrentKeyPath() + L"|";
    for (const std::wstring& item : Items(w().List2)) out += item + L",";
    out += L"|";
    for (const std::wstring& item : Items(w().List3)) out += item + L",";
    return out;
  }
};

TEST_F(Navigation, WalksDownPreviewsComesBackUpAndASecondHiveReplacesTheFirstLeavingTheValuePanelAlone) {
  const std::wstring cu = L"HKEY_CURRENT_USER", sw = cu + L"\\Software";
  ClickEntry(w().List1, cu);
  EXPECT_EQ(State(), cu + L"|" + cu + L"|Environment,Software,|,HiveValue,");  // no up entry at a hive
  DoubleClickEntry(w().List2, L"Software");  // its click listed the values of the key entered
  EXPECT_EQ(State(), sw + L"|" + sw + L"|..,Classes,Vendor,|,SoftwareValue,");
  ClickEntry(w().List2, L"Classes");  // a preview does not enter
  EXPECT_EQ(State(), sw + L"\\Classes|" + sw + L"|..,Classes,Vendor,|,ClassA,ClassB,");
  ClickEntry(w().List2, L"..");  // previews the parent
  EXPECT_EQ(State(), cu + L"|" + sw + L"|..,Classes,Vendor,|,HiveValue,");
  DoubleClickEntry(w().List2, L"..");  // once entered by double click, even a hive is headed by ".."
  EXPECT_EQ(State(), cu + L"|" + cu + L"|..,Environment,Software,|,HiveValue,");

  // ".." at a hive goes nowhere; clicked after a preview, the preview's path stays and its values are listed again.
  DoubleClickEntry(w().List2, L"..");
  EXPECT_EQ(State(), cu + L"|" + cu + L"|..,Environment,Software,|,HiveValue,");
  ClickEntry(w().List2, L"Software");
  ClickEntry(w().List2, L"..");
  EXPECT_EQ(State(), sw + L"|" + cu + L"|..,Environment,Software,|,SoftwareValue,");

  // Any subkey whose name starts with two dots acts as the up entry.
  Walk(cu, {L"Software", L"Vendor"});
  ClickEntry(w().List2, L"..hidden");
  EXPECT_EQ(State(), sw + L"|" + sw + L"\\Vendor|..,..hidden,|,SoftwareValue,");
  DoubleClickEntry(w().List2, L"..hidden");
  EXPECT_EQ(State(), sw + L"|" + sw + L"|..,Classes,Vendor,|,SoftwareValue,");

  // A second hive replaces the first.
  ClickEntry(w().List2, L"Classes");
  ClickEntry(w().List3, L"ClassA");
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(w().List2->ListIndex(), -1);
  EXPECT_EQ(State(), L"HKEY_LOCAL_MACHINE|HKEY_LOCAL_MACHINE|System,|,MachineValue,");
  // Navigation never touches the panel: it still describes the last value clicked.
  EXPECT_EQ(w().txtValueName->Text() + w().txtValue->Text() + w().lblValueType->Caption(),
            L"ClassAaValue Type : String");
}

TEST_F(Navigation, KeysThatDoNotOpenFallBackToTheirParent) {
  const std::wstring cu = L"HKEY_CURRENT_USER";
  ClickEntry(w().List1, cu);
  ASSERT_EQ(registry.DeleteKey(registry::kCurrentUser, "Environment"), registry::kSuccess);  // gone after listing
  ClickEntry(w().List2, L"Environment");
  EXPECT_EQ(State(), cu + L"\\Environment|" + cu + L"|Environment,Software,|,HiveValue,");
  DoubleClickEntry(w().List2, L"Environment");
  EXPECT_EQ(State(), cu + L"\\Environment|" + cu + L"\\Environment|..,Software,|,HiveValue,");

  // A key the user may not open: its preview shows the parent's values.
  DoubleClickEntry(w().List2, L"..");
  registry.FailNthCall(registry::Operation::OpenKey, 1, registry::kAccessDenied);
  ClickEntry(w().List2, L"Software");
  EXPECT_EQ(State(), cu + L"\\Software|" + cu + L"|..,Software,|,HiveValue,");
  // A listing that fails at its first step leaves ".." alone in the subkey list.
  registry.FailNthCall(registry::Operation::EnumKey, 1, registry::kAccessDenied);
  DoubleClickEntry(w().List2, L"Software");
  EXPECT_EQ(Items(w().List2), Strings{L".."});
}

using Enumeration = WindowTest;

TEST_F(Enumeration, ListsNamesUntilOneDoesNotFitAndClosesOnlyAfterTheKeyListing) {
  const std::string fits(249, 'b'), tooLong = "c" + std::string(249, 'x');  // no room for the closing NUL
  for (const std::string& name : {std::string(" lead"), std::string("trail "), fits, tooLong, std::string("z")}) {
    registry.PutString("HKCU\\Long", name, "1");
    registry.Put("HKCU\\Long\\" + name);
  }
  registry.PutString("HKCU\\Long", "", "default");
  registry::Key key = 0;
  ASSERT_EQ(registry.OpenKey(registry::kCurrentUser, "Long", key), registry::kSuccess);
  // The unnamed value is listed once, first; leading blanks are lost, trailing ones kept; a listing appends.
  w().RegistryEnumValues(key, *w().List3, true);
  const Strings values{L"", L"lead", L"trail ", std::wstring(fits.begin(), fits.end())};
  EXPECT_EQ(Items(w().List3), values);
  w().RegistryEnumValues(key, *w().List3);
  EXPECT_EQ(w().List3->ListCount(), 8);
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
  w().RegistryEnumKeys(key, *w().List2, true);
  // The registry gives " lead", then the long name, which ends the listing before "trail "; the list sorts.
  EXPECT_EQ(Items(w().List2), (Strings{values[3], L"lead"}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);

  // A closed or zero handle lists nothing. (That a hive's handle survives the listing's close is the hive click's,
  // which lists the hive's values after its subkeys: Navigation's first step.)
  w().RegistryEnumValues(key, *w().List3, true);
  w().RegistryEnumKeys(0, *w().List2, true);
  EXPECT_EQ(Items(w().List3), Strings{L""});
  EXPECT_EQ(w().List2->ListCount(), 0);
}

}  // namespace
}  // namespace quillon::testing
