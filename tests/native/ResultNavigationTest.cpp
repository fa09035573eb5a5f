// A click into the search results: which line's entry is handed to Go To for each caret position, and what stays.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Strings = std::vector<std::wstring>;

const std::wstring kKeyEntry = L"HKEY_CURRENT_USER\\Software\\Example";
const std::wstring kValueEntry = kKeyEntry + L"\\Setting";
const std::wstring kDataEntry = kKeyEntry + L"\\Note\\see: Setting";
const std::wstring kResults =
    L"Key : " + kKeyEntry + L"\r\n" + L"Value : " + kValueEntry + L"\r\n" + L"Data : " + kDataEntry + L"\r\n";

class ResultNavigation : public WindowTest {
 protected:
  void SetUp() override {
    registry.PutString("HKCU\\Software\\Example", "Setting", "on");
    registry.PutString("HKCU\\Software\\Example", "Note", "see: Setting");
    registry.Put("HKCU\\Software\\Example\\Child");
    WindowTest::SetUp();
    w().txtFindList->SetText(kResults);
  }

  /// Puts the caret at `caret` characters from the start and clicks.
  void ClickAt(std::size_t caret) { Headless(w().txtFindList).UserClick(static_cast<int>(caret)); }
  /// The caret position just after the first occurrence of `text` in the results.
  static std::size_t After(const std::wstring& text) { return kResults.find(text) + text.size(); }
  static std::size_t At(const std::wstring& text) { return kResults.find(text); }

  /// What the clicks handed to Go To: every new text becomes a favourite, in order.
  Strings HandedOver() {
    Strings items;
    for (int i = 1; i < w().txtGoTo->ListCount(); ++i) items.push_back(w().txtGoTo->List(i));
    return items;
  }
};

TEST_F(ResultNavigation, AClickAfterTheLabelOpensThatLinesEntryAndSelectsIt) {
  Headless(w().txtGoTo).UserType(L"typed by the user");
  ClickAt(After(L"Value : ") + 5);

  EXPECT_EQ(HandedOver(), (Strings{kValueEntry}));
  EXPECT_EQ(w().txtFindList->SelText(), kValueEntry);
  EXPECT_EQ(w().txtGoTo->Text(), L"typed by the user");
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);
  EXPECT_EQ(w().List3->Text(), L"Setting");
  EXPECT_EQ(w().txtValue->Text(), L"on");

  // Right after the blank, and at the very end of the line: still that line.
  ClickAt(After(L"Key : "));
  ClickAt(At(L"\r\nValue"));
  EXPECT_EQ(HandedOver(), (Strings{kValueEntry, kKeyEntry}));
  EXPECT_EQ(w().txtFindList->SelText(), kKeyEntry);
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Child"}));
  EXPECT_EQ(w().txtGoTo->Text(), L"typed by the user");
}

TEST_F(ResultNavigation, AClickOnALabelOrJustBeforeItsColonOpensTheLineAbove) {
  // On the first line's label there is no line above: nothing happens.
  ClickAt(2);
  ClickAt(At(L" : "));
  EXPECT_EQ(HandedOver(), Strings{});
  EXPECT_EQ(w().CurrentKeyPath(), L"");
  EXPECT_EQ(w().txtFindList->SelLength(), 0);

  ClickAt(At(L"Value : ") + 2);
  EXPECT_EQ(HandedOver(), (Strings{kKeyEntry}));

  // Just before the ":" the test sees " :", so the line above is taken; between ":" and the blank, the line itself.
  ClickAt(At(L" : " + kDataEntry) + 1);
  EXPECT_EQ(w().txtFindList->SelText(), kValueEntry);
  ClickAt(At(L" : " + kDataEntry) + 2);
  EXPECT_EQ(w().txtFindList->SelText(), kDataEntry);
  EXPECT_EQ(HandedOver(), (Strings{kKeyEntry, kValueEntry, kDataEntry}));
}

TEST_F(ResultNavigation, AnEntryHoldingColonBlankIsCutAtTheLastOneBeforeTheCaret) {
  ClickAt(After(L"see: ") + 2);
  EXPECT_EQ(w().txtFindList->SelText(), L"Setting");
  // "Setting" names no hive: stored, and the window stays where it was.
  EXPECT_EQ(HandedOver(), (Strings{L"Setting"}));
  EXPECT_EQ(w().CurrentKeyPath(), L"");

  // Before the inner ": " the whole data entry goes: the value's name is walked as a key, and the data text is
  // then looked up among the values of the key reached.
  ClickAt(At(L"see: "));
  EXPECT_EQ(w().txtFindList->SelText(), kDataEntry);
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);
  EXPECT_EQ(w().List3->ListIndex(), -1);
}

TEST_F(ResultNavigation, EmptyResultsOrAnUnterminatedLastLine) {
  w().txtFindList->SetText(L"");
  ClickAt(0);
  EXPECT_EQ(HandedOver(), Strings{});

  // The search ends every line with CR LF; a line without one still opens, up to the end of the text.
  w().txtFindList->SetText(L"Key : HKEY_CURRENT_USER\\Software\r\nKey : " + kKeyEntry);
  ClickAt(w().txtFindList->Text().size());
  EXPECT_EQ(w().txtFindList->SelText(), kKeyEntry);
  EXPECT_EQ(w().CurrentKeyPath(), kKeyEntry);
  // A caret at the very end of "Key : " itself: an empty entry, which Go To ignores.
  w().txtFindList->SetText(L"Key : ");
  ClickAt(6);
  EXPECT_EQ(w().txtFindList->SelLength(), 0);
  EXPECT_EQ(HandedOver(), (Strings{kKeyEntry}));
}

}  // namespace
}  // namespace quillon::testing
