// Favourites and Go To: what is stored, under which key, what survives a restart and a removal, and where Go To
// leaves the three lists; and a click into the search results, which hands its line's entry to Go To.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Pairs = runtime::SettingsStore::Pairs;

class Favourites : public WindowTest {
 protected:
  void SetUp() override {
    registry.PutString("HKCU\\Software", "SoftwareValue", "s");
    registry.PutString("HKCU\\Software\\Example", "Setting", "on");
    registry.PutString("HKCU\\Software\\Example", "Other", "x");
    registry.PutString("HKCU\\Software\\Example\\Sub", "SubValue", "deep");
    registry.PutString("HKLM", "MachineValue", "m");
    registry.Put("HKLM\\System");
    registry.PutString("HKLM\\Software", "Hkey_Local_Machine", "named like the hive");
    WindowTest::SetUp();
  }
  void GoTo(const std::wstring& text) { Headless(w().txtGoTo).UserType(text), Press(w().cmdGoTo); }
  void PickAndRemove(int index) { Headless(w().txtGoTo).UserPick(index), Press(w().cmdDeleteGoto); }
  Pairs Stored() { return settings->GetAllSettings(L"quillon", L"Goto"); }
  /// The favourites listed after the placeholder, checking that key n holds the entry at position n.
  Strings Listed() {
    const Pairs stored = Stored();
    EXPECT_EQ(stored.size(), static_cast<std::size_t>(w().txtGoTo->ListCount()));
    Strings items;
    for (int i = 0; i < w().txtGoTo->ListCount() && i < static_cast<int>(stored.size()); ++i) {
      EXPECT_EQ(stored[i].first, i == 0 ? std::wstring(L" ") : std::to_wstring(i));
      EXPECT_EQ(stored[i].second, w().txtGoTo->List(i));
      if (i > 0) items.push_back(w().txtGoTo->List(i));
    }
    return items;
  }
  /// The key shown and the value selected.
  std::wstring Where() {
    return w().CurrentKeyPath() + L"|" + (w().List3->ListIndex() == -1 ? L"<none>" : w().List3->Text());
  }
};

TEST_F(Favourites, StoredUntrimmedAfterThePlaceholderRemovedFromAnyPlaceAndKeptAcrossARestart) {
  EXPECT_EQ(Stored(), (Pairs{{L" ", L""}}));  // first run: only the placeholder
  GoTo(L"HKCU\\A");
  EXPECT_EQ(w().txtGoTo->Text(), L"");  // the refill empties the text field
  GoTo(L"  HKLM\\SOFTWARE  ");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_LOCAL_MACHINE\\Software");  // the subkey's own spelling, from the list
  for (const wchar_t* path : {L"HKCU\\C", L"HKCU\\D"}) GoTo(path);
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\A", L"  HKLM\\SOFTWARE  ", L"HKCU\\C", L"HKCU\\D"}));

  PickAndRemove(2);  // the middle
  GoTo(L"HKCU\\E");
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\A", L"HKCU\\C", L"HKCU\\D", L"HKCU\\E"}));
  PickAndRemove(1);  // the first
  PickAndRemove(3);  // the last
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\C", L"HKCU\\D"}));

  // Nothing is removed for typed text (even a favourite's), a picked entry edited afterwards, or the placeholder.
  Headless(w().txtGoTo).UserType(L"HKCU\\C");
  Press(w().cmdDeleteGoto);
  EXPECT_EQ(w().txtGoTo->Text(), L"");  // refilled all the same
  Headless(w().txtGoTo).UserPick(1);
  Headless(w().txtGoTo).UserType(L"HKCU\\C ");
  Press(w().cmdDeleteGoto);
  PickAndRemove(0);
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\C", L"HKCU\\D"}));

  Open();  // the placeholder written again is not a second entry; the keys still match the places they are used at
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\C", L"HKCU\\D"}));
}

TEST_F(Favourites, KeysOutOfStepInTheStoreAreNumberedAgainBeforeTheyAreUsed) {
  // A gap after "1", and the placeholder written after a favourite.
  settings->SaveSetting(L"quillon", L"Goto", L"1", L"HKCU\\A");
  settings->SaveSetting(L"quillon", L"Goto", L" ", L"");
  settings->SaveSetting(L"quillon", L"Goto", L"3", L"HKCU\\C");
  Open();
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\A", L"HKCU\\C"}));
  GoTo(L"HKCU\\D");  // key 3 would have overwritten HKCU\C
  PickAndRemove(2);
  EXPECT_EQ(Listed(), (Strings{L"HKCU\\A", L"HKCU\\D"}));
}

TEST_F(Favourites, GoToTableOfPathsHivesAndValues) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"hcu\\Software", L"HKEY_CURRENT_USER\\Software|SoftwareValue"},
      {L"HKLM", L"HKEY_LOCAL_MACHINE|<none>"},
      {L"HKLM\\  ", L"HKEY_LOCAL_MACHINE|<none>"},
      // A last component naming a value selects the first value holding it, compared trimmed and in lower case.
      {L"HKCU\\Software\\Example\\Setting", L"HKEY_CURRENT_USER\\Software\\Example|Setting"},
      {L"HKCU\\Software\\Example\\THER ", L"HKEY_CURRENT_USER\\Software\\Example|Other"},
      {L"HKCU\\Software\\Example\\Missing", L"HKEY_CURRENT_USER\\Software\\Example|<none>"},
      // A last component naming a subkey enters it, and its values holding the name are selected as well.
      {L"HKCU\\Software\\Example\\sub", L"HKEY_CURRENT_USER\\Software\\Example\\Sub|SubValue"},
      // A component naming no subkey is skipped; components keep their blanks.
      {L"HKCU\\Missing\\Software\\ Example\\Example", L"HKEY_CURRENT_USER\\Software\\Example|<none>"},
      // A last component spelled exactly like the hive's name is not looked up; another spelling is.
      {L"HKLM\\Software\\HKEY_LOCAL_MACHINE", L"HKEY_LOCAL_MACHINE\\Software|<none>"},
      {L"HKLM\\Software\\hkey_local_machine", L"HKEY_LOCAL_MACHINE\\Software|Hkey_Local_Machine"},
  };
  for (const auto& [text, where] : cases) {
    ClickEntry(w().List1, L"HKEY_CLASSES_ROOT");
    GoTo(text);
    EXPECT_EQ(Where(), where) << text;
    EXPECT_EQ(w().txtKey->Text(), w().CurrentKeyPath()) << text;
  }
  EXPECT_EQ(w().txtValue->Text(), L"named like the hive");  // the value found is shown
  GoTo(L"HKLM");
  EXPECT_EQ(Items(w().List2), (Strings{L"Software", L"System"}));
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"MachineValue"}));
}

TEST_F(Favourites, BlankTextsMoveNothingUnknownHivesAreStoredButMoveNothingAndAliasesInAnyCaseOpenTheKey) {
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  GoTo(L"   ");
  EXPECT_EQ(Stored(), (Pairs{{L" ", L""}}));
  EXPECT_EQ(w().txtGoTo->Text(), L"   ");  // no refill happened
  GoTo(L"XYZ\\Software");
  EXPECT_EQ(Listed(), (Strings{L"XYZ\\Software"}));
  EXPECT_EQ(Where() + w().List1->Text(), L"HKEY_LOCAL_MACHINE|<none>HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Items(w().List2), (Strings{L"Software", L"System"}));
  EXPECT_TRUE(rt().Messages().empty());

  // Another spelling of a hive opens the same key, while the favourite test is exact.
  GoTo(L"HKCU\\Software");
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  GoTo(L"hkcu\\Software");  // another spelling is another favourite, leading to the same key
  EXPECT_EQ(Listed(), (Strings{L"XYZ\\Software", L"HKCU\\Software", L"hkcu\\Software"}));
  EXPECT_EQ(Where() + w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software|SoftwareValueHKEY_CURRENT_USER\\Software");
  // The hive the user had clicked stays selected too: it still counts for a search.
  EXPECT_EQ(w().List1->Text(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(w().List1->SelCount(), 2);

  // Picking a favourite stores nothing and keeps the picked text.
  ClickEntry(w().List1, L"HKEY_LOCAL_MACHINE");
  Headless(w().txtGoTo).UserPick(2);
  Press(w().cmdGoTo);
  EXPECT_EQ(Stored().size(), 4u);
  EXPECT_EQ(w().txtGoTo->Text(), L"HKCU\\Software");
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software");
}

const std::wstring kKeyEntry = L"HKEY_CURRENT_USER\\Software\\Example";
const std::wstring kValueEntry = kKeyEntry + L"\\Setting";
const std::wstring kDataEntry = kKeyEntry + L"\\Note\\see: Setting";
const std::wstring kResults =
    L"Key : " + kKeyEntry + L"\r\nValue : " + kValueEntry + L"\r\nData : " + kDataEntry + L"\r\n";

// The favourites' tree, with a value whose data holds ": " and a second subkey in Example.
class ResultNavigation : public Favourites {
 protected:
  void SetUp() override {
    registry.PutString("HKCU\\Software\\Example", "Note", "see: Setting");
    registry.Put("HKCU\\Software\\Example\\Child");
    Favourites::SetUp();
    w().txtFindList->SetText(kResults);
    Headless(w().txtGoTo).UserType(L"typed by the user");
  }
  /// Clicks with the caret `offset` characters after the first occurrence of `text`; gives the text selected.
  std::wstring ClickAt(const std::wstring& text, std::size_t offset) {
    Headless(w().txtFindList).UserClick(static_cast<int>(kResults.find(text) + offset));
    return w().txtFindList->SelText();
  }
};

TEST_F(ResultNavigation, EachCaretPositionOpensTheEntryOfItsLineOrOfTheLineAboveAndAnUnterminatedLastLineOpensToo) {
  // On the first line's label there is no line above: nothing happens.
  EXPECT_EQ(ClickAt(L"Key", 2) + ClickAt(L" : ", 0), L"");
  EXPECT_EQ(w().CurrentKeyPath(), L"");
  const std::tuple<const wchar_t*, std::size_t, const std::wstring&> cases[] = {  // where the click lands, the entry
      {L"Value : ", 13, kValueEntry},         // inside the entry
      {L"Value : ", 2, kKeyEntry},            // on a label: the line above
      {L" : " L"HKEY_CURRENT_USER\\Software\\Example\\Note", 1, kValueEntry},  // just before ":" the test sees " :"
      {L" : " L"HKEY_CURRENT_USER\\Software\\Example\\Note", 2, kDataEntry},   // between ":" and the blank
      {L"see: ", 0, kDataEntry},              // before an inner ": " the whole entry
  };
  for (const auto& [anchor, offset, entry] : cases) EXPECT_EQ(ClickAt(anchor, offset), entry) << anchor << offset;
  EXPECT_EQ(Listed(), (Strings{kValueEntry, kKeyEntry, kDataEntry}));
  // The data entry's value name was walked as a key; the data text is then looked up among the values reached.
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);
  EXPECT_EQ(w().List3->ListIndex(), -1);
  EXPECT_EQ(w().txtGoTo->Text(), L"typed by the user");
  // (Where Go To leaves the lists for a key's or a value's path is GoToTableOfPathsHivesAndValues'.)

  // After an inner ": " the entry is cut there; "Setting" names no hive: stored, and the window stays.
  EXPECT_EQ(ClickAt(L"see: ", 7), L"Setting");
  EXPECT_EQ(Listed().back(), L"Setting");
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);

  // Empty results: nothing happens. The search ends every line with CR LF; a line without one still opens, up to
  // the end of the text.
  w().txtFindList->SetText(L"");
  Headless(w().txtFindList).UserClick(0);
  const std::wstring child = kKeyEntry + L"\\Child",
                     unterminated = L"Key : HKEY_CURRENT_USER\\Software\r\nKey : " + child;
  w().txtFindList->SetText(unterminated);
  Headless(w().txtFindList).UserClick(static_cast<int>(unterminated.size()));
  EXPECT_EQ(w().txtFindList->SelText() + L"|" + w().CurrentKeyPath(), child + L"|" + child);
  // A caret at the very end of "Key : " itself: an empty entry, which Go To ignores.
  w().txtFindList->SetText(L"Key : ");
  Headless(w().txtFindList).UserClick(6);
  EXPECT_EQ(w().txtFindList->SelLength(), 0);
  EXPECT_EQ(Listed(), (Strings{kValueEntry, kKeyEntry, kDataEntry, L"Setting", child}));
}

}  // namespace
}  // namespace quillon::testing
