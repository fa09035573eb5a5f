// The Find command, its option interlock, and the entry points of the search walk.
#include "runtime/strings/TextFunctions.h"
#include "window/SearchWalk.h"
#include "window/frmRegEdit.h"

namespace quillon {

namespace {

bool Checked(const runtime::CheckBox* box) { return box->Value() == 1; }

/// Why the search text cannot be searched for, in the user's terms, or "" when it can.
std::wstring PatternRefusal(runtime::PatternProblem problem) {
  switch (problem) {
    case runtime::PatternProblem::kUnclosedList:
      return L"The search text cannot be used: a \"[\" starts a list of characters that is never closed with "
             L"\"]\".\r\n\r\nClose the list, or write [[] to search for the character [ itself.";
    case runtime::PatternProblem::kReversedRange:
      return L"The search text cannot be used: a range of characters inside [ ] must go from the lower character "
             L"to the higher one.\r\n\r\nWrite [a-z], not [z-a].";
    case runtime::PatternProblem::kWellFormed:
      break;
  }
  return std::wstring();
}

}  // namespace

void frmRegEdit::cmdFind_Click() {
  runtime_.SetMousePointer(runtime::kPointerHourglass);
  // The old results go first, also when the search is refused below.
  txtFindList->SetText(std::wstring());

  if (List1->SelCount() == 0) {
    runtime_.SetMousePointer(runtime::kPointerDefault);
    runtime_.MsgBox(L"Please Select a Hive or a Subkey", runtime::kInformation);
    return;
  }

  // The walk matches the lower-cased text wrapped in stars; a text that cannot form a pattern would find nothing
  // anywhere, so it is refused now rather than after a walk over the whole tree. It is checked lower-cased, as it
  // is matched: [Z-a] is a valid range, but it is matched as [z-a].
  const std::wstring refusal =
      PatternRefusal(runtime::CheckPattern(L"*" + runtime_.Text().LCase(txtFind->Text()) + L"*"));
  if (!refusal.empty()) {
    runtime_.SetMousePointer(runtime::kPointerDefault);
    runtime_.MsgBox(refusal, runtime::kInformation);
    return;
  }

  if (Checked(chkHive)) {
    // Every selected hive in list order, each one's subtree first and then its own values. The selection is read
    // as the walk reaches each hive, so a change made during the search counts for the hives still to come.
    const int count = List1->ListCount();
    for (int index = 0; index < count; ++index) {
      if (!List1->Selected(index)) continue;
      const std::wstring startPath = List1->List(index);
      AddFindKeys(startPath);
      if (Checked(chkValues) || Checked(chkDatas)) AddFindValues(startPath);
    }
  } else {
    AddFindKeys(txtKey->Text());
    // Read again: a navigation made while the subtree was walked moves the key whose own values are searched.
    if (Checked(chkValues) || Checked(chkDatas)) AddFindValues(txtKey->Text());
  }
  runtime_.SetMousePointer(runtime::kPointerDefault);
}

// "Binary" can only be chosen while "Data" is checked, and any click on the three kinds of hit clears it.
void frmRegEdit::chkDatas_Click() {
  chkFindBinary->SetValue(0);
  chkFindBinary->SetEnabled(Checked(chkDatas));
}

void frmRegEdit::chkKeys_Click() { chkDatas_Click(); }
void frmRegEdit::chkValues_Click() { chkDatas_Click(); }

void frmRegEdit::AddFindKeys(const std::wstring& strKey) { SearchWalk(*this, runtime_, registry_).FindKeys(strKey); }

void frmRegEdit::AddFindValues(const std::wstring& strKey) {
  SearchWalk(*this, runtime_, registry_).FindValues(strKey);
}

}  // namespace quillon
