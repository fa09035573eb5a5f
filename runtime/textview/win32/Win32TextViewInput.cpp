// The text view's mouse and keyboard: caret placement and selection, keys that move and edit, the shortcuts that
// come as control characters, and the keys a combo box's list takes from its edit field.
#include <usp10.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "runtime/textview/CaretStops.h"
#include "runtime/textview/win32/Win32TextView.h"

namespace quillon::runtime::win32 {

namespace {

constexpr UINT kSelectionScrollMilliseconds = 100;  // as the platform's control

// The control characters that WM_CHAR brings for Ctrl+letter. AltGr (Ctrl+Alt) never brings them, so a character
// typed with AltGr is never taken for a command.
constexpr wchar_t kCtrlA = 0x01;
constexpr wchar_t kCtrlC = 0x03;
constexpr wchar_t kCtrlV = 0x16;
constexpr wchar_t kCtrlX = 0x18;
constexpr wchar_t kCtrlZ = 0x1A;
constexpr wchar_t kEscape = 0x1B;

bool KeyIsDown(int key) noexcept { return GetKeyState(key) < 0; }

int ClampToInt(long long value) noexcept { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

}  // namespace

void Win32TextView::MoveCaret(std::size_t caret, Selecting how) {
  SetSelection(how == Selecting::kExtend ? anchor_ : caret, caret);
  ScrollCaretIntoView();
}

const std::vector<bool>& Win32TextView::SoftBreaksOf(std::size_t line) {
  if (line != breaksLine_) {
    // The line breaker sees the line with the line breaks around it, as it would see the whole text.
    const bool breakBefore = line > 0;
    const bool breakAfter = line + 1 < document_.LineCount();
    std::wstring text = breakBefore ? L"\r\n" : L"";
    text.append(document_.LineText(line));
    if (breakAfter) text.append(L"\r\n");
    breaks_.assign(document_.LineLength(line), false);
    if (!text.empty()) {
      std::vector<SCRIPT_LOGATTR> attributes(text.size());
      SCRIPT_ANALYSIS analysis{};
      if (SUCCEEDED(ScriptBreak(text.c_str(), static_cast<int>(text.size()), &analysis, attributes.data()))) {
        const std::size_t offset = breakBefore ? 2 : 0;
        for (std::size_t i = 0; i < breaks_.size(); ++i) breaks_[i] = attributes[offset + i].fSoftBreak != 0;
      }
    }
    breaksLine_ = line;
  }
  return breaks_;
}

textview::SoftBreaksOfLine Win32TextView::SoftBreaks() {
  return [this](std::size_t line) -> const std::vector<bool>& { return SoftBreaksOf(line); };
}

std::size_t Win32TextView::PositionFromPoint(int x, int y) {
  const RECT area = TextArea();
  if (IsMultiLine()) {
    // Rows count from the top of the text, truncating towards zero; above the first line is the first line.
    const long long row = (static_cast<long long>(y) - area.top) / lineHeight_;
    const long long line = std::clamp<long long>(static_cast<long long>(view_.FirstLine()) + row, 0,
                                                 static_cast<long long>(document_.LineCount()) - 1);
    const auto index = static_cast<std::size_t>(line);
    const long long lineX = static_cast<long long>(x) + view_.XOffset() - area.left;
    // Beyond either end of a line that reads left to right are its ends; a line with right-to-left runs answers
    // by the cell nearest to the point.
    // The end is the line's last caret stop, before the CR of a CR CR LF.
    const std::size_t end = textview::LineEndStop(document_, index);
    textview::LineGeometry geometry = GeometryOf(index);
    if (geometry.LeftToRightOnly()) {
      if (lineX >= geometry.Width()) return end;
      if (lineX <= 0) return document_.LineStart(index);
    }
    return std::min(document_.LineStart(index) + geometry.ColumnAt(ClampToInt(lineX)), end);
  }
  // One line, scrolled by whole characters.
  const int offset = x - area.left;
  if (offset == 0) return std::min(view_.FirstColumn(), document_.Length());
  const long long lineX = static_cast<long long>(offset) + view_.XOffset();
  textview::LineGeometry geometry = GeometryOf(0);
  if (!geometry.LeftToRightOnly()) return geometry.ColumnAt(ClampToInt(lineX));
  if (offset < 0) return lineX > 0 ? geometry.ColumnAt(static_cast<int>(lineX)) : 0;
  if (offset > geometry.Width()) return document_.Length();
  return geometry.ColumnAt(static_cast<int>(std::min<long long>(lineX, 0x7FFFFFFF)));
}

POINT Win32TextView::IntoTextArea(POINT point) {
  const RECT area = TextArea();
  return {std::clamp<LONG>(point.x, area.left, std::max(area.left, area.right - 1)),
          std::clamp<LONG>(point.y, area.top, std::max(area.top, area.bottom - 1))};
}

// ---------------------------------------------------------------------------------------------------------------
// Mouse

void Win32TextView::OnLeftButtonDown(LPARAM where, WPARAM keys) {
  selecting_ = true;
  SetCapture(window_);
  lastMouse_ = where;
  // A press places the caret at the nearest character in view.
  const POINT point = IntoTextArea({static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))});
  const std::size_t position = PositionFromPoint(point.x, point.y);
  SetSelection((keys & MK_SHIFT) ? anchor_ : position, position);
  ScrollCaretIntoView();
  if (!HasFocus()) SetFocus(window_);
  SetTimer(window_, kSelectionTimer, kSelectionScrollMilliseconds, nullptr);
  // A click into the text means the user is reading there: appended text no longer moves the view.
  view_.SetFollowsEnd(false);
}

void Win32TextView::OnLeftButtonDoubleClick() {
  // The press before it placed the caret; the word around the caret is selected, with the blanks after it.
  selecting_ = true;
  SetCapture(window_);
  const auto [start, end] = textview::WordAround(document_, caret_, SoftBreaks());
  SetSelection(start, end);
  ScrollCaretIntoView();
  SetTimer(window_, kSelectionTimer, kSelectionScrollMilliseconds, nullptr);
  view_.SetFollowsEnd(false);
}

void Win32TextView::OnMouseMove(LPARAM where) {
  if (!selecting_ || GetCapture() != window_) return;
  lastMouse_ = where;
  POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  // Within the window, as the platform's control does, the point is taken into the text's rectangle first (a drag
  // ending in the margin left of a line scrolled sideways selects up to the first character in view) and the view
  // stays, even on a line shown only in part. Beyond the window the selection follows the pointer into the text out
  // of view, and the view scrolls after it.
  RECT client{};
  GetClientRect(window_, &client);
  const bool inside = PtInRect(&client, point) != FALSE;
  if (inside) point = IntoTextArea(point);
  const std::size_t position = PositionFromPoint(point.x, point.y);
  SetSelection(anchor_, position);
  if (!inside) ScrollCaretIntoView();
  view_.SetFollowsEnd(false);
}

void Win32TextView::OnLeftButtonUp() {
  if (selecting_ && GetCapture() == window_) ReleaseCapture();
  selecting_ = false;
  KillTimer(window_, kSelectionTimer);
  if (onClick_) onClick_();
}

void Win32TextView::OnSelectionTimer() {
  if (!selecting_) return;
  // Held outside the box while selecting: the view scrolls towards the pointer and the selection follows it. The
  // pointer is where the last mouse message said, as for every other step of the selection. Inside the box, held
  // left or right of the text's rectangle (where a move takes the point in), the selection goes on a character a
  // tick that way, as in the platform's control.
  const POINT point{static_cast<short>(LOWORD(lastMouse_)), static_cast<short>(HIWORD(lastMouse_))};
  RECT client{};
  GetClientRect(window_, &client);
  if (!PtInRect(&client, point)) {
    OnMouseMove(lastMouse_);
  } else if (point.x < TextArea().left) {
    MoveCaret(textview::PreviousCaretStop(document_, caret_), Selecting::kExtend);
  } else if (point.x >= TextArea().right) {
    MoveCaret(textview::NextCaretStop(document_, caret_), Selecting::kExtend);
  }
}

// ---------------------------------------------------------------------------------------------------------------
// Keyboard

void Win32TextView::OnKeyDown(WPARAM key) {
  // Keys held with Alt (AltGr is Ctrl+Alt) do nothing here, and neither do keys while the mouse selects.
  if (selecting_ || KeyIsDown(VK_MENU)) return;
  if (PassToComboList(WM_KEYDOWN, key)) return;
  const bool shift = KeyIsDown(VK_SHIFT);
  const bool control = KeyIsDown(VK_CONTROL);
  const Selecting how = shift ? Selecting::kExtend : Selecting::kMove;
  const bool multiLine = IsMultiLine();
  const std::size_t line = document_.LineOf(caret_);
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      OnKeyDownMoveUpOrDown(key, how, control);
      break;
    case VK_LEFT:
    case VK_RIGHT:
      OnKeyDownMoveSideways(key, how, control);
      break;
    case VK_HOME:
      MoveCaret(multiLine && !control ? document_.LineStart(line) : 0, how);
      break;
    case VK_END:
      MoveCaret(multiLine && !control ? textview::LineEndStop(document_, line) : document_.Length(), how);
      break;
    case VK_DELETE:
      OnKeyDownDelete(shift, control);
      break;
    case VK_INSERT:
      if (shift) {
        Paste();
      } else if (control) {
        CopySelection();
      }
      break;
    case VK_TAB:
      if (multiLine && dialogMode_) SendMessageW(GetParent(window_), WM_NEXTDLGCTL, shift, 0);
      break;
    case VK_RETURN:
      if (!control) OnKeyDownReturn();
      break;
    default:
      break;
  }
}

void Win32TextView::OnKeyDownMoveUpOrDown(WPARAM key, Selecting how, bool control) {
  if (!IsMultiLine()) {
    // One line: up and down go back and forth like left and right; the page keys do nothing.
    if (key == VK_UP || key == VK_DOWN) OnKeyDownMoveSideways(key == VK_UP ? VK_LEFT : VK_RIGHT, how, control);
    return;
  }
  // The same x a line or a page of lines higher or lower.
  const RECT area = TextArea();
  const int page = static_cast<int>(area.bottom - area.top);
  OnKeyDownMoveVertically(key == VK_UP ? -lineHeight_ : key == VK_DOWN ? lineHeight_ : key == VK_PRIOR ? -page : page,
                          how);
}

void Win32TextView::OnKeyDownDelete(bool shift, bool control) {
  if (IsReadOnly() || (shift && control)) return;
  if (anchor_ != caret_) {
    if (shift) {
      Cut();
    } else {
      Clear();
    }
    return;
  }
  // Without a selection: the character after the caret; with Shift the one before it; with Ctrl the rest of the
  // line. The span is selected as a move would select it, scrolling to its end, and then cleared.
  SetSelection(caret_, caret_);
  if (shift) {
    MoveCaret(textview::PreviousCodePoint(document_, caret_), Selecting::kExtend);
  } else if (control) {
    MoveCaret(IsMultiLine() ? textview::LineEndStop(document_, document_.LineOf(caret_)) : document_.Length(),
              Selecting::kExtend);
  } else {
    MoveCaret(textview::NextCaretStop(document_, caret_), Selecting::kExtend);
  }
  Clear();
}

void Win32TextView::OnKeyDownReturn() {
  // A box that does not take Enter hands it to its dialog's default button.
  if ((IsMultiLine() && (GetWindowLongPtrW(window_, GWL_STYLE) & ES_WANTRETURN)) || !dialogMode_) return;
  HWND parent = GetParent(window_);
  const auto defaultId = static_cast<DWORD>(SendMessageW(parent, DM_GETDEFID, 0, 0));
  if (HIWORD(defaultId) != DC_HASDEFID) return;
  if (HWND button = GetDlgItem(parent, LOWORD(defaultId))) {
    SendMessageW(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
    PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0);
  }
}

void Win32TextView::OnKeyDownMoveSideways(WPARAM key, Selecting how, bool byWord) {
  // From the caret, whatever is selected: the selection is dropped or, with Shift, extended.
  const bool left = key == VK_LEFT;
  std::size_t target = 0;
  if (byWord) {
    target = left ? textview::WordLeft(document_, caret_, SoftBreaks())
                  : textview::WordRight(document_, caret_, SoftBreaks());
  } else {
    target = left ? textview::PreviousCaretStop(document_, caret_) : textview::NextCaretStop(document_, caret_);
  }
  MoveCaret(target, how);
}

LRESULT Win32TextView::OnSysKeyDown(WPARAM key, LPARAM flags) {
  // Alt+Backspace undoes, as in the platform's edit control.
  if (key == VK_BACK && (flags & (LPARAM{1} << 29))) {
    if (undo_.CanUndo()) Undo();
    return 0;
  }
  return DefWindowProcW(window_, WM_SYSKEYDOWN, key, flags);
}

void Win32TextView::OnChar(wchar_t character) {
  if (selecting_) return;
  const bool readOnly = IsReadOnly();
  const bool multiLine = IsMultiLine();
  if (inCombo_ && (character == L'\r' || character == kEscape)) {
    // Enter and Escape close the combo box's open list; otherwise they type nothing.
    HWND combo = GetParent(window_);
    if (SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) SendMessageW(combo, WM_KEYDOWN, character, 0);
    return;
  }
  switch (character) {
    case L'\r':
    case L'\n':
      // Enter types a line break into a multi-line box unless the dialog manager has it; read-only, it goes to the
      // start of the next line.
      if (!multiLine || (character == L'\r' && dialogMode_ && !(GetWindowLongPtrW(window_, GWL_STYLE) & ES_WANTRETURN)))
        return;
      if (readOnly) {
        MoveCaret(document_.LineStart(document_.LineOf(caret_)), Selecting::kMove);
        OnKeyDownMoveVertically(lineHeight_, Selecting::kMove);
      } else {
        ReplaceSelection(L"\r\n", kAsUser);
      }
      return;
    case L'\t':
      if (multiLine && !readOnly && !dialogMode_) ReplaceSelection(L"\t", kAsUser);
      return;
    case L'\b':
      // Ctrl+Backspace deletes nothing, as in the platform's control.
      if (readOnly || KeyIsDown(VK_CONTROL)) return;
      if (anchor_ == caret_) MoveCaret(textview::PreviousCodePoint(document_, caret_), Selecting::kExtend);
      Clear();
      return;
    case kCtrlA:
      // Select all, as Windows' edit control does since Windows 10 version 1809; the view stays where it is, as in
      // the platform's control.
      SetSelection(0, document_.Length());
      return;
    case kCtrlC:
      CopySelection();
      return;
    case kCtrlV:
      Paste();
      return;
    case kCtrlX:
      if (!readOnly) Cut();
      return;
    case kCtrlZ:
      if (!readOnly) Undo();
      return;
    default:
      // Other control characters (Escape, the other Ctrl+letters) and DEL are no text.
      if (readOnly || character < L' ' || character == 0x7F) return;
      ReplaceSelection(std::wstring_view(&character, 1), kAsUser);
      return;
  }
}

void Win32TextView::OnKeyDownMoveVertically(int dy, Selecting how) {
  const POINT caret = PointOf(caret_);
  MoveCaret(PositionFromPoint(caret.x, caret.y + dy), how);
}

LRESULT Win32TextView::OnGetDlgCode(LPARAM message) noexcept {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (IsMultiLine()) code |= DLGC_WANTALLKEYS;
  const auto* keyMessage = reinterpret_cast<const MSG*>(message);
  if (!keyMessage) return code;
  // Asked with a message: the box sits in a dialog manager's window, which keeps Tab and Enter for itself.
  dialogMode_ = true;
  // In a combo box whose list is open, Enter and Escape close the list instead of pressing the window's buttons.
  if (keyMessage->message == WM_KEYDOWN && (keyMessage->wParam == VK_RETURN || keyMessage->wParam == VK_ESCAPE)) {
    if (HWND combo = inCombo_ ? GetParent(window_) : nullptr; combo && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0))
      code |= DLGC_WANTMESSAGE;
  }
  return code;
}

bool Win32TextView::PassToComboList(UINT message, WPARAM key) const noexcept {
  if (!inCombo_) return false;
  HWND combo = GetParent(window_);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(combo, &info) || !info.hwndList) return false;
  if (message == WM_SYSKEYDOWN) {
    // Alt+Up and Alt+Down open and close the list.
    if (key != VK_UP && key != VK_DOWN) return false;
    SendMessageW(info.hwndList, WM_KEYDOWN, VK_F4, 0);
    return true;
  }
  if (key == VK_UP || key == VK_DOWN || key == VK_F4 || key == VK_PRIOR || key == VK_NEXT) {
    SendMessageW(info.hwndList, WM_KEYDOWN, key, 0);
    return true;
  }
  return false;
}

}  // namespace quillon::runtime::win32
