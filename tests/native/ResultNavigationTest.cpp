// A click into the search results: which line's entry is handed to Go To for each caret position, and what stays.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

const std::wstring kKeyEntry = L"HKEY_CURRENT_USER\\Software\\Example";
const std::wstring kValueEntry = kKeyEntry + L"\\Setting";
const std::wstring kDataEntry = kKeyEntry + L"\\Note\\see: Setting";
const std::wstring kResults =
    L"Key : " + kKeyEntry + L"\r\nValue : " + kValueEntry + L"\r\nData : " + kDataEntry + L"\r\n";

class ResultNavigation : public WindowTest {
 protected:
  void SetUp() override {
    registry.PutString("HKCU\\Software\\Example", "Setting", "on");
    registry.PutString("HKCU\\Software\\Example", "Note", "see: Setting");
    registry.Put("HKCU\\Software\\Example\\Child");
    WindowTest::SetUp();
    w().txtFindList->SetText(kResults);
    Headless(w().txtGoTo).UserType(L"typed by the user");
  }
  /// Clicks with the caret `offset` characters after the first occurrence of `text`; gives the text selected.
  std::wstring ClickAt(const std::wstring& text, std::size_t offset) {
    Headless(w().txtFindList).UserClick(static_cast<int>(kResults.find(text) + offset));
    return w().txtFindList->SelText();
  }
  /// What the clicks handed to Go To: every text not stored yet becomes a favourite, in order.
  Strings HandedOver() {
    Strings items;
    for (int i = 1; i < w().txtGoTo->ListCount(); ++i) items.push_back(w().txtGoTo->List(i));
    return items;
  }
};

TEST_F(ResultNavigation, EachCaretPositionOpensTheEntryOfItsLineOrOfTheLineAboveAndAnUnterminatedLastLineOpensToo) {
  // On the first line's label there is no line above: nothing happens.
  EXPECT_EQ(ClickAt(L"Key", 2) + ClickAt(L" : ", 0), L"");
  EXPECT_EQ(w().CurrentKeyPath(), L"");
  const struct {
    const wchar_t* anchor;
    std::size_t offset;
    const std::wstring& entry;
  } cases[] = {
      {L"Value : ", 13, kValueEntry},         // inside the entry
      {L"Value : ", 2, kKeyEntry},            // on a label: the line above
      {L" : " L"HKEY_CURRENT_USER\\Software\\Example\\Note", 1, kValueEntry},  // just before ":" the test sees " :"
      {L" : " L"HKEY_CURRENT_USER\\Software\\Example\\Note", 2, kDataEntry},   // between ":" and the blank
      {L"see: ", 0, kDataEntry},              // before an inner ": " the whole entry
  };
  for (const auto& c : cases) EXPECT_EQ(ClickAt(c.anchor, c.offset), c.entry) << c.anchor << c.offset;
  EXPECT_EQ(HandedOver(), (Strings{kValueEntry, kKeyEntry, kDataEntry}));
  // The data entry's value name was walked as a key; the data text is then looked up among the values reached.
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);
  EXPECT_EQ(w().List3->ListIndex(), -1);
  EXPECT_EQ(w().txtGoTo->Text(), L"typed by the user");

  ClickAt(L"Value : ", 10);
  EXPECT_EQ(w().List3->Text() + w().txtValue->Text(), L"Settingon");
  ClickAt(L"Key : ", 6);
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Child"}));
  // After an inner ": " the entry is cut there; "Setting" names no hive: stored, and the window stays.
  EXPECT_EQ(ClickAt(L"see: ", 7), L"Setting");
  EXPECT_EQ(HandedOver().back(), L"Setting");
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
  EXPECT_EQ(HandedOver(), (Strings{kValueEntry, kKeyEntry, kDataEntry, L"Setting", child}));
}

}  // namespace
}  // namespace quillon::testing
