// Favourites and Go To: what is stored, under which key, what survives a restart and a removal, and where Go To
// leaves the three lists.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Strings = std::vector<std::wstring>;
using Pairs = runtime::SettingsStore::Pairs;

class Favourites : public WindowTest {
 protected:
  void SetUp() override {
    registry.PutString("HKCU", "HiveValue", "h");
    registry.PutString("HKCU\\Software", "SoftwareValue", "s");
    registry.PutString("HKCU\\Software\\Example", "Setting", "on");
    registry.PutString("HKCU\\Software\\Example", "Other", "x");
    registry.PutString("HKCU\\Software\\Example\\Sub", "SubValue", "deep");
    registry.PutString("HKLM", "MachineValue", "m");
    registry.Put("HKLM\\System");
    registry.PutString("HKLM\\Software", "Hkey_Local_Machine", "named like the hive");
    registry.Put("HKLM\\Software\\Vendor");
    WindowTest::SetUp();
  }

  void GoTo(const std::wstring& text) {
    Headless(w().txtGoTo).UserType(text);
    Headless(w().cmdGoTo).UserClick();
  }
  void PickAndGoTo(int index) {
    Headless(w().txtGoTo).UserPick(index);
    Headless(w().cmdGoTo).UserClick();
  }
  void PickAndRemove(int index) {
    Headless(w().txtGoTo).UserPick(index);
    Headless(w().cmdDeleteGoto).UserClick();
  }

  Pairs Stored() { return settings->GetAllSettings(L"quillon", L"Goto"); }
  Strings Listed() {
    Strings items;
    for (int i = 0; i < w().txtGoTo->ListCount(); ++i) items.push_back(w().txtGoTo->List(i));
    return items;
  }
  /// The keys and the list agree: key n holds the entry at position n.
  void ExpectKeysArePositions() {
    const Pairs stored = Stored();
    const Strings listed = Listed();
    ASSERT_EQ(stored.size(), listed.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(stored[i].first, i == 0 ? std::wstring(L" ") : std::to_wstring(i));
      EXPECT_EQ(stored[i].second, listed[i]);
    }
  }
  std::wstring SelectedValue() { return w().List3->ListIndex() == -1 ? L"<none>" : w().List3->Text(); }
};

TEST_F(Favourites, NumberedAfterThePlaceholderStoredUntrimmedAndKeptAcrossARestart) {
  // First run: only the placeholder, stored and listed.
  EXPECT_EQ(Stored(), (Pairs{{L" ", L""}}));
  EXPECT_EQ(Listed(), (Strings{L""}));

  GoTo(L"HKCU\\Software");
  EXPECT_EQ(Stored(), (Pairs{{L" ", L""}, {L"1", L"HKCU\\Software"}}));
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\Software"}));
  EXPECT_EQ(w().txtGoTo->Text(), L"");  // the refill empties the text field

  GoTo(L"  HKLM\\SOFTWARE  ");
  EXPECT_EQ(Stored().back(), (std::pair<std::wstring, std::wstring>{L"2", L"  HKLM\\SOFTWARE  "}));
  // The path takes the subkey's own spelling from the list.
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE\\Software");

  Open();
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\Software", L"  HKLM\\SOFTWARE  "}));
  EXPECT_EQ(Stored().size(), 3u);  // the placeholder written again is not a second entry
  GoTo(L"HKLM");
  EXPECT_EQ(Stored().back().first, L"3");
  ExpectKeysArePositions();
}

TEST_F(Favourites, RemovingFirstMiddleOrLastRemovesThePickedOneAndAddingOverwritesNothing) {
  for (const wchar_t* path : {L"HKCU\\A", L"HKCU\\B", L"HKCU\\C", L"HKCU\\D"}) GoTo(path);
  ASSERT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\B", L"HKCU\\C", L"HKCU\\D"}));

  PickAndRemove(2);  // the middle
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\C", L"HKCU\\D"}));
  EXPECT_EQ(w().txtGoTo->Text(), L"");
  GoTo(L"HKCU\\E");
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\C", L"HKCU\\D", L"HKCU\\E"}));
  ExpectKeysArePositions();

  PickAndRemove(1);  // the first
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\C", L"HKCU\\D", L"HKCU\\E"}));
  PickAndRemove(3);  // the last
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\C", L"HKCU\\D"}));
  PickAndRemove(1);
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\D"}));
  GoTo(L"HKCU\\F");
  GoTo(L"HKCU\\G");
  ExpectKeysArePositions();

  Open();
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\D", L"HKCU\\F", L"HKCU\\G"}));
  PickAndRemove(2);
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\D", L"HKCU\\G"}));
  ExpectKeysArePositions();
}

TEST_F(Favourites, RemoveFavoriteWithTypedTextOrThePlaceholderRemovesNothing) {
  GoTo(L"HKCU\\A");
  GoTo(L"HKCU\\B");
  const Pairs before = Stored();

  // Typed, even when equal to a favourite: no entry is picked, so no key is named.
  Headless(w().txtGoTo).UserType(L"HKCU\\A");
  Headless(w().cmdDeleteGoto).UserClick();
  EXPECT_EQ(Stored(), before);
  EXPECT_EQ(w().txtGoTo->Text(), L"");  // refilled all the same

  // Picked and then edited.
  Headless(w().txtGoTo).UserPick(1);
  Headless(w().txtGoTo).UserType(L"HKCU\\A ");
  Headless(w().cmdDeleteGoto).UserClick();
  EXPECT_EQ(Stored(), before);

  PickAndRemove(0);  // the empty placeholder
  EXPECT_EQ(Stored(), before);
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\B"}));
}

TEST_F(Favourites, KeysOutOfStepInTheStoreAreNumberedAgainBeforeTheyAreUsed) {
  // As left by a version of the program that removed favourites without renumbering: a gap after "1", and the
  // placeholder written after a favourite.
  settings->SaveSetting(L"quillon", L"Goto", L"1", L"HKCU\\A");
  settings->SaveSetting(L"quillon", L"Goto", L" ", L"");
  settings->SaveSetting(L"quillon", L"Goto", L"3", L"HKCU\\C");
  Open();
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\C"}));
  ExpectKeysArePositions();
  GoTo(L"HKCU\\D");  // key 3 would have overwritten HKCU\C
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\C", L"HKCU\\D"}));
  PickAndRemove(2);
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\A", L"HKCU\\D"}));
}

TEST_F(Favourites, AliasesInAnyCaseOpenTheKeyWhileTheFavouriteTestIsExact) {
  GoTo(L"HKCU\\Software");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");

  // A different spelling of a stored favourite is a new favourite, and leads to the same key.
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  GoTo(L"hkcu\\Software");
  EXPECT_EQ(Listed(), (Strings{L"", L"HKCU\\Software", L"hkcu\\Software"}));
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Example"}));
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"SoftwareValue"}));
  EXPECT_EQ(w().List1->Text(), L"HKEY_CURRENT_USER");
  // The hive the user had clicked stays selected too: it still counts for a search.
  EXPECT_EQ(w().List1->SelCount(), 2);

  // Picking a favourite stores nothing and keeps the picked text.
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  PickAndGoTo(1);
  EXPECT_EQ(Stored().size(), 3u);
  EXPECT_EQ(w().txtGoTo->Text(), L"HKCU\\Software");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");

  // Every one of the hive's spellings, in any case.
  GoTo(L"HKEY_current_USER\\software\\EXAMPLE");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\Example");
  GoTo(L"hcu\\Software");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
  GoTo(L"cU");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER");
}

TEST_F(Favourites, BlankTextsMoveNothingAndUnknownHivesAreStoredButMoveNothing) {
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  GoTo(L"   ");
  EXPECT_EQ(Stored(), (Pairs{{L" ", L""}}));
  EXPECT_EQ(w().txtGoTo->Text(), L"   ");  // no refill happened

  GoTo(L"XYZ\\Software");
  EXPECT_EQ(Listed(), (Strings{L"", L"XYZ\\Software"}));
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Items(w().List2), (Strings{L"Software", L"System"}));
  EXPECT_EQ(w().List1->Text(), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(rt().Messages().size(), 0u);
}

TEST_F(Favourites, AHiveAloneOrWithABackslashOpensTheHiveAndNothingMore) {
  for (const wchar_t* text : {L"HKLM", L"hklm\\", L"HKLM\\  "}) {
    ClickEntry(w().List1, L"HKEY_CURRENT_USER");
    GoTo(text);
    EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE") << text;
    EXPECT_EQ(w().txtKey->Text(), L"HKEY_LOCAL_MACHINE") << text;
    EXPECT_EQ(Items(w().List2), (Strings{L"Software", L"System"})) << text;
    EXPECT_EQ(Items(w().List3), (Strings{L"", L"MachineValue"})) << text;
    EXPECT_EQ(SelectedValue(), L"<none>") << text;
    EXPECT_EQ(Listed().back(), text);
  }
}

TEST_F(Favourites, APathMayEndInAValueNameWhichIsSelectedByItsLowerCasedStart) {
  GoTo(L"HKCU\\Software\\Example\\Setting");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\Example");
  EXPECT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software\\Example");
  EXPECT_EQ(SelectedValue(), L"Setting");
  EXPECT_EQ(w().txtValue->Text(), L"on");  // the value is shown

  // Containment in lower case: the first value holding the text is taken.
  GoTo(L"HKCU\\Software\\Example\\THER ");
  EXPECT_EQ(SelectedValue(), L"Other");
  EXPECT_EQ(w().txtValue->Text(), L"x");
  GoTo(L"HKCU\\Software\\Example\\Missing");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\Example");
  EXPECT_EQ(SelectedValue(), L"<none>");

  // A last component naming a subkey enters it; its values holding the name are then selected as well.
  GoTo(L"HKCU\\Software\\Example\\sub");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\Example\\Sub");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"SubValue"}));
  EXPECT_EQ(SelectedValue(), L"SubValue");

  // A component that names no subkey is skipped and the walk goes on from the same key; components keep blanks.
  GoTo(L"HKCU\\Missing\\Software\\ Example\\Example");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\Example");
}

TEST_F(Favourites, ALastComponentSpelledExactlyLikeTheHiveIsNotLookedUp) {
  GoTo(L"HKLM\\Software\\HKEY_LOCAL_MACHINE");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE\\Software");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"Hkey_Local_Machine"}));
  EXPECT_EQ(SelectedValue(), L"<none>");

  GoTo(L"HKLM\\Software\\hkey_local_machine");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE\\Software");
  EXPECT_EQ(SelectedValue(), L"Hkey_Local_Machine");
}

}  // namespace
}  // namespace quillon::testing
