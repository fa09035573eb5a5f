// Filling the lists from an open key, and the last-backslash search that going up relies on.
#include <string>

#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Strings = std::vector<std::wstring>;

class Enumeration : public WindowTest {
 protected:
  registry::Key Open(const std::string& path) {
    registry::Key key = 0;
    EXPECT_EQ(registry.OpenKey(registry::kCurrentUser, path, key), registry::kSuccess);
    return key;
  }
};

TEST_F(Enumeration, ValueListIsHeadedByOneDefaultEntry) {
  registry.Put("HKCU\\Empty");
  registry.PutString("HKCU\\Full", "", "default");
  registry.PutString("HKCU\\Full", "zeta", "z");
  registry.PutDword("HKCU\\Full", "alpha", 1);

  registry::Key key = Open("Empty");
  w().RegistryEnumValues(key, *w().List3, true);
  EXPECT_EQ(Items(w().List3), (Strings{L""}));
  registry.CloseKey(key);

  // The unnamed value is not listed a second time; the others come in the registry's order.
  key = Open("Full");
  w().RegistryEnumValues(key, *w().List3, true);
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"zeta", L"alpha"}));
  // Without clearing, a second listing is appended.
  w().RegistryEnumValues(key, *w().List3);
  EXPECT_EQ(w().List3->ListCount(), 6);
  registry.CloseKey(key);
}

TEST_F(Enumeration, LeadingBlanksAreLostTrailingBlanksKept) {
  registry.PutString("HKCU\\Blanks", " lead", "1");
  registry.PutString("HKCU\\Blanks", "trail ", "2");
  registry.PutString("HKCU\\Blanks", "in side", "3");
  registry.Put("HKCU\\Blanks\\ keyLead");
  registry.Put("HKCU\\Blanks\\keyTrail ");

  const registry::Key key = Open("Blanks");
  w().RegistryEnumValues(key, *w().List3, true);
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"lead", L"trail ", L"in side"}));
  w().RegistryEnumKeys(key, *w().List2, true);
  EXPECT_EQ(Items(w().List2), (Strings{L"keyLead", L"keyTrail "}));
}

TEST_F(Enumeration, NamesTooLongForTheBufferEndTheListing) {
  const std::string fits(249, 'b');
  const std::string tooLong = "c" + std::string(249, 'x');  // 250 characters: no room for the closing NUL
  registry.Put("HKCU\\Long\\a");
  registry.Put("HKCU\\Long\\" + fits);
  registry.Put("HKCU\\Long\\" + tooLong);
  registry.Put("HKCU\\Long\\d");
  registry.PutString("HKCU\\Long", "first", "1");
  registry.PutString("HKCU\\Long", fits, "2");
  registry.PutString("HKCU\\Long", tooLong, "3");
  registry.PutString("HKCU\\Long", "last", "4");

  const registry::Key key = Open("Long");
  w().RegistryEnumValues(key, *w().List3, true);
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"first", std::wstring(fits.begin(), fits.end())}));
  w().RegistryEnumKeys(key, *w().List2, true);
  EXPECT_EQ(Items(w().List2), (Strings{L"a", std::wstring(fits.begin(), fits.end())}));
}

TEST_F(Enumeration, KeyListingClosesItsHandleValueListingDoesNot) {
  registry.Put("HKCU\\Parent\\Child");
  const registry::Key key = Open("Parent");
  ASSERT_EQ(registry.OpenHandleCount(), 1u);

  w().RegistryEnumValues(key, *w().List3, true);
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
  w().RegistryEnumKeys(key, *w().List2, true);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  EXPECT_EQ(Items(w().List2), (Strings{L"Child"}));

  // A closed or zero handle lists nothing from the registry: the value list keeps only its default entry.
  w().RegistryEnumValues(key, *w().List3, true);
  EXPECT_EQ(Items(w().List3), (Strings{L""}));
  w().RegistryEnumKeys(0, *w().List2, true);
  EXPECT_EQ(w().List2->ListCount(), 0);

  // A hive's handle survives the listing's close.
  registry.PutString("HKCU", "HiveValue", "v");
  w().RegistryEnumKeys(registry::kCurrentUser, *w().List2, true);
  w().RegistryEnumValues(registry::kCurrentUser, *w().List3, true);
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"HiveValue"}));
}

TEST(InstrRev, FindsTheLastOccurrence) {
  EXPECT_EQ(InstrRev(L"HKEY_CURRENT_USER\\Software\\Classes", L"\\"), 27);
  EXPECT_EQ(InstrRev(L"HKEY_CURRENT_USER", L"\\"), 0);
  EXPECT_EQ(InstrRev(L"", L"\\"), 0);
  EXPECT_EQ(InstrRev(L"\\", L"\\"), 1);
  // Exact comparison, and overlapping hits count from their own start.
  EXPECT_EQ(InstrRev(L"aXbx", L"X"), 2);
  EXPECT_EQ(InstrRev(L"aaa", L"aa"), 2);
}

}  // namespace
}  // namespace quillon::testing
