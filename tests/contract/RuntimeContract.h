#pragma once
/// What every forms runtime (headless and Win32) must do alike, written once as a GoogleTest typed suite.
///
/// A Driver owns a runtime and a shown form holding RuntimeContractControls (Runtime(), Controls()) and performs
/// the user's actions its own way: Click/CtrlClick/DoubleClick(list, index), Type/Pick(combo, ...),
/// Click(textBox, caret), Click(checkBox), Click(button), QueueClick(button) (made but not yet processed),
/// LetTimePass() (so the next DoEvents does process), InputBox(prompt, title, default, answer or nullopt for Cancel)
/// and MsgBox(prompt, style, title, button), both returning what the dialog returned and showed.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/Runtime.h"
#include "tests/contract/RuntimeContractForm.h"

namespace quillon::contract {

/// What the dialog returned (InputBox: the text, MsgBox: the button) and what it showed.
struct DialogOutcome {
  std::wstring text;
  int answer = 0;
  std::wstring caption, prompt;
};

using Strings = std::vector<std::wstring>;
using Events = std::vector<std::string>;

/// Logs the list's Click and DblClick as "<name>.<event>@<ListIndex at the time>".
inline void Record(Events& log, runtime::ListBox& list, const std::string& name) {
  list.Click = [&log, &list, name] { log.push_back(name + ".Click@" + std::to_string(list.ListIndex())); };
  list.DblClick = [&log, &list, name] { log.push_back(name + ".DblClick@" + std::to_string(list.ListIndex())); };
}

inline void Fill(runtime::ListBox& list, const Strings& entries) {
  for (const std::wstring& entry : entries) list.AddItem(entry);
}

template <typename Driver>
class RuntimeContract : public ::testing::Test {
 protected:
  Driver d_;
  RuntimeContractControls& c_ = d_.Controls();
};

TYPED_TEST_SUITE_P(RuntimeContract);

TYPED_TEST_P(RuntimeContract, SortedListsUseThePlatformsCaseBlindWordSort) {
  auto& c = this->c_;
  const Strings added{L"Wow6432Node", L"_Classes", L"{5C1E9F2B}", L"7-Zip", L"Co-op", L"Coop", L"Cop",
                      L".NETFramework", L"\u00C9cran", L"Edge", L"Ezine", L"ecran"};
  Fill(c.unsorted, added);
  EXPECT_EQ(Entries(c.unsorted), added);
  // Symbols before digits before letters, case ignored, hyphens count last, accents after their letter.
  for (const bool batched : {false, true}) {
    c.sorted.Clear();
    if (batched) c.sorted.BeginUpdate();
    Fill(c.sorted, added);
    if (batched) c.sorted.EndUpdate();
    EXPECT_EQ(Entries(c.sorted), (Strings{L".NETFramework", L"_Classes", L"{5C1E9F2B}", L"7-Zip", L"Coop", L"Co-op",
                                          L"Cop", L"ecran", L"\u00C9cran", L"Edge", L"Ezine", L"Wow6432Node"}));
  }
}

TYPED_TEST_P(RuntimeContract, ListsRaiseClickOnceForCodeOnSingleSelectionListsOnlyAndForEveryUserClick) {
  auto& c = this->c_;
  auto& d = this->d_;
  Events log;
  Record(log, c.sorted, "S");
  Record(log, c.unsorted, "U");
  Record(log, c.extended, "E");
  Fill(c.sorted, {L"Software", L"System", L"SAM"});
  Fill(c.unsorted, {L"a", L"b", L"c"});
  Fill(c.extended, {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_USERS"});
  c.sorted.SetText(L"software");  // selects the entry equal ignoring case...
  EXPECT_EQ(c.sorted.Text(), L"Software");
  c.sorted.SetText(L"Soft");  // ...or none: a prefix is no match
  c.unsorted.SetListIndex(1);
  c.unsorted.SetSelected(2, true);
  c.unsorted.SetSelected(0, false);  // not the selected entry: nothing changes
  c.unsorted.SetSelected(2, false);
  c.extended.SetListIndex(1);
  EXPECT_FALSE(c.extended.Selected(1));  // moving the focus marks nothing
  c.extended.SetSelected(2, true);
  c.extended.SetSelected(3, true);
  c.extended.SetSelected(3, false);
  EXPECT_EQ(c.extended.ListIndex(), 3);  // marking moves the focus, unmarking leaves it
  EXPECT_EQ(c.extended.SelCount(), 1);
  EXPECT_EQ(log, (Events{"S.Click@1", "S.Click@-1", "U.Click@1", "U.Click@2", "U.Click@-1"}));

  log.clear();
  d.Click(c.sorted, 1);
  d.DoubleClick(c.sorted, 2);
  d.Click(c.extended, 0);
  d.CtrlClick(c.extended, 2);
  d.CtrlClick(c.extended, 3);
  EXPECT_EQ(c.extended.SelCount(), 3);
  d.CtrlClick(c.extended, 2);  // unmarks it, keeps the others
  EXPECT_EQ(c.extended.SelCount(), 2);
  EXPECT_FALSE(c.extended.Selected(2));
  d.Click(c.extended, 1);  // a plain click marks that entry alone
  EXPECT_EQ(c.extended.SelCount(), 1);
  EXPECT_TRUE(c.extended.Selected(1));
  EXPECT_EQ(log, (Events{"S.Click@1", "S.Click@2", "S.DblClick@2", "E.Click@0", "E.Click@2", "E.Click@3",
                         "E.Click@2", "E.Click@1"}));
}

TYPED_TEST_P(RuntimeContract, RemovingAndAddingEntriesMoveOrDropTheSelection) {
  auto& c = this->c_;
  Fill(c.unsorted, {L"a", L"b", L"c", L"d"});
  c.unsorted.SetListIndex(2);
  c.unsorted.RemoveItem(0);  // an earlier entry: the selection moves up with its entry
  EXPECT_EQ(c.unsorted.Text(), L"c");
  c.unsorted.RemoveItem(1);  // the selected entry: nothing is selected
  EXPECT_EQ(c.unsorted.ListIndex(), -1);
  EXPECT_EQ(Entries(c.unsorted), (Strings{L"b", L"d"}));
  Fill(c.sorted, {L"b", L"d"});
  c.sorted.SetText(L"d");
  c.sorted.AddItem(L"a");  // sorted in ahead of the selection
  EXPECT_EQ(c.sorted.ListIndex(), 2);
  c.sorted.Clear();
  EXPECT_EQ(c.sorted.ListIndex(), -1);
}

TYPED_TEST_P(RuntimeContract, ComboIndexIsThePickUntilTextIsTypedOrSet) {
  auto& c = this->c_;
  for (const wchar_t* entry : {L"", L"HKCU\\Software", L"HKLM\\System"}) c.combo.AddItem(entry);
  this->d_.Pick(c.combo, 1);
  EXPECT_EQ(c.combo.Text(), L"HKCU\\Software");
  EXPECT_EQ(c.combo.ListIndex(), 1);
  this->d_.Type(c.combo, L"HKLM");  // a prefix of an entry is still typed text
  EXPECT_EQ(c.combo.ListIndex(), -1);
  EXPECT_EQ(c.combo.Text(), L"HKLM");
  c.combo.SetListIndex(2);
  EXPECT_EQ(c.combo.Text(), L"HKLM\\System");
  c.combo.SetText(L"HKLM\\System");  // counts as typed, even when it equals an entry
  EXPECT_EQ(c.combo.ListIndex(), -1);
  this->d_.Pick(c.combo, 2);
  c.combo.Clear();
  EXPECT_EQ(c.combo.ListIndex(), -1);
  EXPECT_EQ(c.combo.Text(), L"");
}

TYPED_TEST_P(RuntimeContract, TextBoxAppendsKeepTheUsersCaretAndClicksSeeTheTextAsShown) {
  auto& c = this->c_;
  const std::wstring first = L"Key : HKEY_USERS\\A\r\n", second = L"Value : HKEY_USERS\\A\\Mode\r\n";
  std::vector<std::pair<int, std::wstring>> clicks;  // the caret and the text each click handler saw
  c.results.Click = [&] { clicks.emplace_back(c.results.SelStart(), c.results.Text()); };
  c.results.SetText(first);
  this->d_.Click(c.results, 9);
  // Text appended after the user's click (a search that goes on) leaves the caret where the user put it.
  for (const std::wstring& part : {second, std::wstring(), first}) c.results.AppendText(part);
  EXPECT_EQ(c.results.Text(), first + second + first);
  EXPECT_EQ(c.results.SelStart(), 9);
  this->d_.Click(c.results, 30);  // on the second line
  EXPECT_EQ(clicks, (std::vector<std::pair<int, std::wstring>>{{9, first}, {30, first + second + first}}));

  c.results.SetSelStart(6);
  c.results.SetSelLength(4);
  c.results.AppendText(second);
  EXPECT_EQ(c.results.SelText(), L"HKEY");  // and so does a selection
  EXPECT_EQ(c.results.SelLength(), 4);
  c.results.SetText(std::wstring(70000, L'x'));  // far past an edit control's default limit
  EXPECT_EQ(c.results.SelStart(), 0);
  c.results.AppendText(L"end");
  EXPECT_EQ(c.results.Text().size(), 70003u);
}

TYPED_TEST_P(RuntimeContract, DialogsAreCaptionedWithTheApplicationTitleByDefault) {
  auto& d = this->d_;
  d.Runtime().App().SetTitle(L"Quillon 1.0");
  const DialogOutcome typed = d.InputBox(L"Enter the name of the new key", L"", L"", L"NewKey");
  EXPECT_EQ(typed.text, L"NewKey");
  EXPECT_EQ(typed.caption, L"Quillon 1.0");
  EXPECT_EQ(typed.prompt, L"Enter the name of the new key");
  const DialogOutcome cancelled = d.InputBox(L"Value", L"Own title", L"default", std::nullopt);
  EXPECT_EQ(cancelled.text, L"");
  EXPECT_EQ(cancelled.caption, L"Own title");
  const int style = runtime::kYesNo | runtime::kCritical | runtime::kDefaultButton2;
  const DialogOutcome yes = d.MsgBox(L"Delete the key?", style, L"", runtime::kAnswerYes);
  EXPECT_EQ(yes.answer, runtime::kAnswerYes);
  EXPECT_EQ(yes.caption, L"Quillon 1.0");
  EXPECT_EQ(yes.prompt, L"Delete the key?");
}

TYPED_TEST_P(RuntimeContract, CheckBoxesToggleWhenEnabledAndPendingButtonClicksRunInsideDoEvents) {
  auto& c = this->c_;
  int checkClicks = 0;
  c.check.Click = [&] { ++checkClicks; };
  // Values set from code are kept and raise nothing; the user's click checks a grey box and toggles the others.
  const std::pair<int, int> toggles[] = {{0, 1}, {1, 0}, {2, 1}};
  for (const auto& [from, to] : toggles) {
    c.check.SetValue(from);
    EXPECT_EQ(c.check.Value(), from);
    this->d_.Click(c.check);
    EXPECT_EQ(c.check.Value(), to) << "from " << from;
  }
  c.check.SetEnabled(false);
  this->d_.Click(c.check);
  EXPECT_EQ(c.check.Value(), 1);
  EXPECT_EQ(checkClicks, 3);

  bool insideDoEvents = false;
  std::vector<bool> clicksInside;
  c.button.Click = [&] { clicksInside.push_back(insideDoEvents); };
  this->d_.Click(c.button);
  this->d_.QueueClick(c.button);
  EXPECT_EQ(clicksInside.size(), 1u);
  this->d_.LetTimePass();
  insideDoEvents = true;
  this->d_.Runtime().DoEvents();
  EXPECT_EQ(clicksInside, (std::vector<bool>{false, true}));
}

REGISTER_TYPED_TEST_SUITE_P(RuntimeContract, SortedListsUseThePlatformsCaseBlindWordSort,
                            ListsRaiseClickOnceForCodeOnSingleSelectionListsOnlyAndForEveryUserClick,
                            RemovingAndAddingEntriesMoveOrDropTheSelection, ComboIndexIsThePickUntilTextIsTypedOrSet,
                            TextBoxAppendsKeepTheUsersCaretAndClicksSeeTheTextAsShown,
                            DialogsAreCaptionedWithTheApplicationTitleByDefault,
                            CheckBoxesToggleWhenEnabledAndPendingButtonClicksRunInsideDoEvents);

}  // namespace quillon::contract
