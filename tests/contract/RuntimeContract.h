#pragma once
/// What every forms runtime (headless and Win32) must do alike, written once as a GoogleTest typed suite.
///
/// A Driver type instantiates it. It owns a runtime and a shown form holding RuntimeContractControls, and performs
/// the user's actions its own way (scripted calls headless, posted window messages on Win32):
///
///   Driver();
///   runtime::Runtime& Runtime();
///   RuntimeContractControls& Controls();
///   void Click(runtime::ListBox&, int index);        // a plain click on an entry
///   void CtrlClick(runtime::ListBox&, int index);
///   void DoubleClick(runtime::ListBox&, int index);
///   void Type(runtime::ComboBox&, const std::wstring& text);   // replaces the text field by typing
///   void Pick(runtime::ComboBox&, int index);                  // picks from the drop-down list
///   void Click(runtime::TextBox&, int caret);                  // clicks before character `caret`
///   void Click(runtime::CheckBox&);
///   void Click(runtime::CommandButton&);
///   void QueueClick(runtime::CommandButton&);   // a click the user made that has not been processed yet
///   void LetTimePass();                         // long enough that the next DoEvents does process events
///   DialogOutcome InputBox(prompt, title, defaultText, std::optional<std::wstring> answer);  // nullopt: Cancel
///   DialogOutcome MsgBox(prompt, style, title, int answerButton);

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/Runtime.h"
#include "tests/contract/RuntimeContractForm.h"

namespace quillon::contract {

/// What a prompt or message box returned and what it showed.
struct DialogOutcome {
  std::wstring text;  ///< InputBox: the answer
  int answer = 0;     ///< MsgBox: the button
  std::wstring caption;
  std::wstring prompt;
};

/// Records the events of the controls it is bound to, in order.
class EventLog {
 public:
  void Bind(runtime::ListBox& list, const std::string& name) {
    list.Click = [this, name, &list] { Add(name + ".Click@" + std::to_string(list.ListIndex())); };
    list.DblClick = [this, name, &list] { Add(name + ".DblClick@" + std::to_string(list.ListIndex())); };
  }
  void Add(std::string event) { events_.push_back(std::move(event)); }
  const std::vector<std::string>& Events() const { return events_; }
  void Clear() { events_.clear(); }

 private:
  std::vector<std::string> events_;
};

inline std::vector<std::wstring> Entries(const runtime::ListBox& list) {
  std::vector<std::wstring> entries;
  for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
  return entries;
}

inline void Fill(runtime::ListBox& list, const std::vector<std::wstring>& entries) {
  for (const std::wstring& entry : entries) list.AddItem(entry);
}

template <typename Driver>
class RuntimeContract : public ::testing::Test {
 protected:
  Driver driver_;
  RuntimeContractControls& controls_ = driver_.Controls();
};

TYPED_TEST_SUITE_P(RuntimeContract);

TYPED_TEST_P(RuntimeContract, SortedListsOrderIgnoringCaseUnsortedKeepInsertionOrder) {
  auto& c = this->controls_;
  const std::vector<std::wstring> added{L"beta", L"Alpha", L"..", L"gamma", L"ALPHA2", L"Delta", L"7zip", L"alpha1"};
  Fill(c.sorted, added);
  Fill(c.unsorted, added);
  EXPECT_EQ(Entries(c.sorted), (std::vector<std::wstring>{L"..", L"7zip", L"Alpha", L"alpha1", L"ALPHA2", L"beta",
                                                          L"Delta", L"gamma"}));
  EXPECT_EQ(Entries(c.unsorted), added);
  EXPECT_EQ(c.sorted.ListCount(), 8);
  EXPECT_EQ(c.sorted.List(99), L"");

  // The platform's word sort: symbols before digits before letters, hyphens count last, accents after their letter.
  c.sorted.Clear();
  Fill(c.sorted, {L"Wow6432Node", L"_Classes", L"{5C1E9F2B}", L"7-Zip", L"Co-op", L"Coop", L"Cop", L".NETFramework",
                  L"\u00C9cran", L"Edge", L"Ezine", L"ecran"});
  EXPECT_EQ(Entries(c.sorted),
            (std::vector<std::wstring>{L".NETFramework", L"_Classes", L"{5C1E9F2B}", L"7-Zip", L"Coop", L"Co-op", L"Cop",
                                       L"ecran", L"\u00C9cran", L"Edge", L"Ezine", L"Wow6432Node"}));

  // A fill between BeginUpdate and EndUpdate ends up the same.
  c.sorted.Clear();
  c.sorted.BeginUpdate();
  Fill(c.sorted, added);
  c.sorted.EndUpdate();
  EXPECT_EQ(c.sorted.List(2), L"Alpha");
  EXPECT_EQ(c.sorted.ListCount(), 8);
}

TYPED_TEST_P(RuntimeContract, AssigningTextSelectsTheEntryEqualIgnoringCaseOrNone) {
  auto& c = this->controls_;
  EventLog log;
  log.Bind(c.sorted, "Sorted");
  Fill(c.sorted, {L"Software", L"System", L"SAM"});

  c.sorted.SetText(L"software");
  EXPECT_EQ(c.sorted.ListIndex(), 1);
  EXPECT_EQ(c.sorted.Text(), L"Software");
  c.sorted.SetText(L"Soft");  // a prefix is no match
  EXPECT_EQ(c.sorted.ListIndex(), -1);
  EXPECT_EQ(c.sorted.Text(), L"");
  EXPECT_EQ(c.sorted.SelCount(), 0);
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"Sorted.Click@1", "Sorted.Click@-1"}));

  // On the extended list a match moves the focus and raises nothing.
  EventLog extendedLog;
  extendedLog.Bind(c.extended, "Extended");
  Fill(c.extended, {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE"});
  EXPECT_EQ(c.extended.ListIndex(), -1);
  c.extended.SetText(L"hkey_local_machine");
  EXPECT_EQ(c.extended.ListIndex(), 2);
  EXPECT_EQ(c.extended.Text(), L"HKEY_LOCAL_MACHINE");
  EXPECT_TRUE(extendedLog.Events().empty());
}

TYPED_TEST_P(RuntimeContract, SelectingFromCodeRaisesClickOnceOnSingleSelectionListsOnly) {
  auto& c = this->controls_;
  EventLog log;
  log.Bind(c.unsorted, "Unsorted");
  log.Bind(c.extended, "Extended");
  Fill(c.unsorted, {L"a", L"b", L"c"});
  Fill(c.extended, {L"a", L"b", L"c", L"d"});

  c.unsorted.SetListIndex(1);
  c.unsorted.SetSelected(2, true);
  c.unsorted.SetSelected(0, false);  // not the selected entry: nothing changes
  EXPECT_TRUE(c.unsorted.Selected(2));
  EXPECT_FALSE(c.unsorted.Selected(1));
  EXPECT_EQ(c.unsorted.SelCount(), 1);
  c.unsorted.SetSelected(2, false);
  EXPECT_EQ(c.unsorted.ListIndex(), -1);
  EXPECT_EQ(log.Events(),
            (std::vector<std::string>{"Unsorted.Click@1", "Unsorted.Click@2", "Unsorted.Click@-1"}));

  log.Clear();
  c.extended.SetListIndex(1);
  EXPECT_EQ(c.extended.ListIndex(), 1);
  EXPECT_FALSE(c.extended.Selected(1));  // moving the focus marks nothing
  c.extended.SetSelected(2, true);
  c.extended.SetSelected(3, true);
  EXPECT_EQ(c.extended.ListIndex(), 3);  // marking an entry moves the focus to it...
  c.extended.SetSelected(3, false);
  EXPECT_EQ(c.extended.ListIndex(), 3);  // ...unmarking leaves it there
  EXPECT_TRUE(log.Events().empty());
  EXPECT_TRUE(c.extended.Selected(2));
  EXPECT_FALSE(c.extended.Selected(3));
  EXPECT_EQ(c.extended.SelCount(), 1);
  c.extended.SetSelected(-1, true);  // out of range: ignored, not "all"
  c.extended.SetListIndex(9);
  EXPECT_EQ(c.extended.SelCount(), 1);
  EXPECT_EQ(c.extended.ListIndex(), 3);
}

TYPED_TEST_P(RuntimeContract, UserClickRaisesClickAndDoubleClickRaisesClickThenDblClick) {
  auto& c = this->controls_;
  EventLog log;
  log.Bind(c.sorted, "Sorted");
  Fill(c.sorted, {L"..", L"Classes", L"Policies", L"Software"});

  this->driver_.Click(c.sorted, 1);
  EXPECT_EQ(c.sorted.ListIndex(), 1);
  this->driver_.DoubleClick(c.sorted, 3);
  EXPECT_EQ(c.sorted.Text(), L"Software");
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"Sorted.Click@1", "Sorted.Click@3", "Sorted.DblClick@3"}));
}

TYPED_TEST_P(RuntimeContract, ExtendedListCountsEveryMarkedEntry) {
  auto& c = this->controls_;
  EventLog log;
  log.Bind(c.extended, "Extended");
  Fill(c.extended, {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_USERS"});

  this->driver_.Click(c.extended, 0);
  this->driver_.CtrlClick(c.extended, 2);
  this->driver_.CtrlClick(c.extended, 3);
  EXPECT_EQ(c.extended.SelCount(), 3);
  EXPECT_TRUE(c.extended.Selected(0));
  EXPECT_FALSE(c.extended.Selected(1));
  EXPECT_TRUE(c.extended.Selected(3));
  EXPECT_EQ(c.extended.ListIndex(), 3);
  EXPECT_EQ(c.extended.Text(), L"HKEY_USERS");

  this->driver_.CtrlClick(c.extended, 2);  // unmarks it, keeps the others
  EXPECT_EQ(c.extended.SelCount(), 2);
  EXPECT_FALSE(c.extended.Selected(2));
  EXPECT_EQ(c.extended.ListIndex(), 2);

  this->driver_.Click(c.extended, 1);  // a plain click marks that entry alone
  EXPECT_EQ(c.extended.SelCount(), 1);
  EXPECT_TRUE(c.extended.Selected(1));
  EXPECT_EQ(log.Events().size(), 5u);
  EXPECT_EQ(log.Events().back(), "Extended.Click@1");
}

TYPED_TEST_P(RuntimeContract, RemovingAndAddingEntriesMoveOrDropTheSelection) {
  auto& c = this->controls_;
  Fill(c.unsorted, {L"a", L"b", L"c", L"d"});
  c.unsorted.SetListIndex(2);
  c.unsorted.RemoveItem(0);  // an earlier entry: the selection moves up with its entry
  EXPECT_EQ(c.unsorted.ListIndex(), 1);
  EXPECT_EQ(c.unsorted.Text(), L"c");
  c.unsorted.RemoveItem(1);  // the selected entry: nothing is selected
  EXPECT_EQ(c.unsorted.ListIndex(), -1);
  EXPECT_EQ(c.unsorted.SelCount(), 0);
  EXPECT_EQ(Entries(c.unsorted), (std::vector<std::wstring>{L"b", L"d"}));

  Fill(c.sorted, {L"b", L"d"});
  c.sorted.SetText(L"d");
  c.sorted.AddItem(L"a");  // sorted in ahead of the selection
  EXPECT_EQ(c.sorted.ListIndex(), 2);
  EXPECT_EQ(c.sorted.Text(), L"d");

  c.sorted.Clear();
  EXPECT_EQ(c.sorted.ListCount(), 0);
  EXPECT_EQ(c.sorted.ListIndex(), -1);
  EXPECT_EQ(c.sorted.Text(), L"");
}

TYPED_TEST_P(RuntimeContract, ComboIndexIsThePickUntilTheTextIsTypedAndClearingEmptiesTheText) {
  auto& c = this->controls_;
  for (const wchar_t* entry : {L"", L"HKCU\\Software", L"HKLM\\System"}) c.combo.AddItem(entry);
  EXPECT_EQ(c.combo.ListCount(), 3);
  EXPECT_EQ(c.combo.List(2), L"HKLM\\System");
  EXPECT_EQ(c.combo.ListIndex(), -1);

  this->driver_.Pick(c.combo, 1);
  EXPECT_EQ(c.combo.ListIndex(), 1);
  EXPECT_EQ(c.combo.Text(), L"HKCU\\Software");

  this->driver_.Type(c.combo, L"HKLM");  // a prefix of an entry is still typed text
  EXPECT_EQ(c.combo.Text(), L"HKLM");
  EXPECT_EQ(c.combo.ListIndex(), -1);

  c.combo.SetListIndex(2);
  EXPECT_EQ(c.combo.Text(), L"HKLM\\System");
  EXPECT_EQ(c.combo.ListIndex(), 2);
  c.combo.SetText(L"HKLM\\System");  // text set from code counts as typed, even when it equals an entry
  EXPECT_EQ(c.combo.ListIndex(), -1);

  this->driver_.Pick(c.combo, 2);
  c.combo.Clear();
  EXPECT_EQ(c.combo.ListCount(), 0);
  EXPECT_EQ(c.combo.Text(), L"");
  EXPECT_EQ(c.combo.ListIndex(), -1);
}

TYPED_TEST_P(RuntimeContract, TextBoxAppendsLikeSettingTheWholeTextAndSelectsByCharacters) {
  auto& c = this->controls_;
  EXPECT_EQ(c.single.Text(), L"start");

  c.results.AppendText(L"Key : HKEY_CURRENT_USER\\A\r\n");
  c.results.AppendText(L"");
  c.results.AppendText(L"Value : HKEY_CURRENT_USER\\A\\Mode\r\n");
  const std::wstring expected = L"Key : HKEY_CURRENT_USER\\A\r\nValue : HKEY_CURRENT_USER\\A\\Mode\r\n";
  EXPECT_EQ(c.results.Text(), expected);
  // The caret follows the appended text, so the newest line is the one in view.
  EXPECT_EQ(c.results.SelStart(), static_cast<int>(expected.size()));
  EXPECT_EQ(c.results.SelLength(), 0);

  c.single.SetText(L"first");
  c.single.AppendText(L" second");
  EXPECT_EQ(c.single.Text(), L"first second");

  c.results.SetText(expected);
  EXPECT_EQ(c.results.Text(), expected);
  EXPECT_EQ(c.results.SelStart(), 0);
  c.results.SetSelStart(6);
  c.results.SetSelLength(4);
  EXPECT_EQ(c.results.SelStart(), 6);
  EXPECT_EQ(c.results.SelLength(), 4);
  EXPECT_EQ(c.results.SelText(), L"HKEY");
  c.results.SetSelStart(100000);  // clamped to the end
  EXPECT_EQ(c.results.SelStart(), static_cast<int>(expected.size()));
  c.results.SetSelStart(static_cast<int>(expected.size()) - 4);
  c.results.SetSelLength(50);  // clamped to what is left
  EXPECT_EQ(c.results.SelText(), L"de\r\n");

  // A read-only box takes long text from code, far past an edit control's default limit.
  const std::wstring longText(70000, L'x');
  c.results.SetText(longText);
  c.results.AppendText(L"end");
  EXPECT_EQ(c.results.Text().size(), longText.size() + 3);
}

TYPED_TEST_P(RuntimeContract, TextBoxClickSeesTheCaretWhereTheUserClicked) {
  auto& c = this->controls_;
  c.results.SetText(L"Key : HKEY_USERS\r\nValue : HKEY_USERS\\Name\r\n");
  std::vector<int> caretsSeen;
  c.results.Click = [&] { caretsSeen.push_back(c.results.SelStart()); };

  this->driver_.Click(c.results, 9);
  this->driver_.Click(c.results, 30);  // on the second line
  EXPECT_EQ(caretsSeen, (std::vector<int>{9, 30}));
  EXPECT_EQ(c.results.SelLength(), 0);
}

TYPED_TEST_P(RuntimeContract, CheckBoxHoldsThreeValuesAndTheUserTogglesChecked) {
  auto& c = this->controls_;
  int clicks = 0;
  c.check.Click = [&] { ++clicks; };
  EXPECT_EQ(c.check.Caption(), L"Keys");
  EXPECT_EQ(c.check.Value(), 0);
  for (int value : {1, 2, 0}) {
    c.check.SetValue(value);
    EXPECT_EQ(c.check.Value(), value);
  }
  EXPECT_EQ(clicks, 0);  // values set from code raise nothing

  this->driver_.Click(c.check);
  EXPECT_EQ(c.check.Value(), 1);
  this->driver_.Click(c.check);
  EXPECT_EQ(c.check.Value(), 0);
  c.check.SetValue(2);
  this->driver_.Click(c.check);
  EXPECT_EQ(c.check.Value(), 1);
  EXPECT_EQ(clicks, 3);

  c.check.SetEnabled(false);
  EXPECT_FALSE(c.check.Enabled());
  this->driver_.Click(c.check);
  EXPECT_EQ(c.check.Value(), 1);
  EXPECT_EQ(clicks, 3);
  c.check.SetEnabled(true);
  EXPECT_TRUE(c.check.Enabled());
}

TYPED_TEST_P(RuntimeContract, LabelsButtonsAndPictureKeepWhatIsSet) {
  auto& c = this->controls_;
  EXPECT_EQ(c.autoLabel.Caption(), L"Type");
  c.autoLabel.SetCaption(L"REG_EXPAND_SZ");
  EXPECT_EQ(c.autoLabel.Caption(), L"REG_EXPAND_SZ");
  c.banner.SetCaption(L"Quillon");
  EXPECT_EQ(c.banner.Caption(), L"Quillon");
  c.picture.SetBackColor(12098443u);
  EXPECT_EQ(c.picture.BackColor(), 0xB89B8Bu);
  EXPECT_EQ(c.button.Caption(), L"Find");

  int clicks = 0;
  c.button.Click = [&] { ++clicks; };
  this->driver_.Click(c.button);
  EXPECT_EQ(clicks, 1);
}

TYPED_TEST_P(RuntimeContract, PromptsAndMessageBoxesAreCaptionedWithTheApplicationTitleByDefault) {
  auto& runtime = this->driver_.Runtime();
  runtime.App().SetTitle(L"Quillon 1.0");

  const DialogOutcome typed = this->driver_.InputBox(L"Enter the name of the new key", L"", L"", L"NewKey");
  EXPECT_EQ(typed.text, L"NewKey");
  EXPECT_EQ(typed.caption, L"Quillon 1.0");
  EXPECT_EQ(typed.prompt, L"Enter the name of the new key");

  const DialogOutcome cancelled = this->driver_.InputBox(L"Value", L"Own title", L"default", std::nullopt);
  EXPECT_EQ(cancelled.text, L"");
  EXPECT_EQ(cancelled.caption, L"Own title");

  const DialogOutcome kept = this->driver_.InputBox(L"Value", L"", L"default", L"default");
  EXPECT_EQ(kept.text, L"default");

  const DialogOutcome yes =
      this->driver_.MsgBox(L"Delete the key?", runtime::kYesNo | runtime::kCritical | runtime::kDefaultButton2, L"",
                           runtime::kAnswerYes);
  EXPECT_EQ(yes.answer, runtime::kAnswerYes);
  EXPECT_EQ(yes.caption, L"Quillon 1.0");
  EXPECT_EQ(yes.prompt, L"Delete the key?");

  const DialogOutcome no = this->driver_.MsgBox(L"Delete the value?", 276, L"", runtime::kAnswerNo);
  EXPECT_EQ(no.answer, runtime::kAnswerNo);

  const DialogOutcome ok = this->driver_.MsgBox(L"Overflow", runtime::kCritical, L"Error", runtime::kAnswerOk);
  EXPECT_EQ(ok.answer, runtime::kAnswerOk);
  EXPECT_EQ(ok.caption, L"Error");
}

TYPED_TEST_P(RuntimeContract, DoEventsRunsTheUsersPendingActionsInsideTheCaller) {
  auto& c = this->controls_;
  auto& runtime = this->driver_.Runtime();
  bool insideDoEvents = false;
  std::vector<bool> clicksInside;
  c.button.Click = [&] { clicksInside.push_back(insideDoEvents); };

  this->driver_.QueueClick(c.button);
  EXPECT_TRUE(clicksInside.empty());
  this->driver_.LetTimePass();
  insideDoEvents = true;
  runtime.DoEvents();
  insideDoEvents = false;
  EXPECT_EQ(clicksInside, (std::vector<bool>{true}));

  // The mouse pointer the program sets is the one reported back.
  runtime.SetMousePointer(runtime::kPointerHourglass);
  EXPECT_EQ(runtime.MousePointer(), runtime::kPointerHourglass);
  runtime.SetMousePointer(runtime::kPointerDefault);
  EXPECT_EQ(runtime.MousePointer(), runtime::kPointerDefault);
}

REGISTER_TYPED_TEST_SUITE_P(RuntimeContract, SortedListsOrderIgnoringCaseUnsortedKeepInsertionOrder,
                            AssigningTextSelectsTheEntryEqualIgnoringCaseOrNone,
                            SelectingFromCodeRaisesClickOnceOnSingleSelectionListsOnly,
                            UserClickRaisesClickAndDoubleClickRaisesClickThenDblClick,
                            ExtendedListCountsEveryMarkedEntry, RemovingAndAddingEntriesMoveOrDropTheSelection,
                            ComboIndexIsThePickUntilTheTextIsTypedAndClearingEmptiesTheText,
                            TextBoxAppendsLikeSettingTheWholeTextAndSelectsByCharacters,
                            TextBoxClickSeesTheCaretWhereTheUserClicked,
                            CheckBoxHoldsThreeValuesAndTheUserTogglesChecked,
                            LabelsButtonsAndPictureKeepWhatIsSet,
                            PromptsAndMessageBoxesAreCaptionedWithTheApplicationTitleByDefault,
                            DoEventsRunsTheUsersPendingActionsInsideTheCaller);

}  // namespace quillon::contract
