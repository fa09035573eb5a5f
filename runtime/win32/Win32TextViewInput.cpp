// The text view's mouse and keyboard: caret placement and selection, keys that move and edit, and the keys a
// combo box's list takes from its edit field.
#include <algorithm>
#include <tuple>

#include "runtime/win32/Win32TextView.h"

namespace quillon::runtime::win32 {

namespace {

constexpr UINT kSelectionScrollMilliseconds = 50;

bool KeyIsDown(int key) noexcept { return GetKeyState(key) < 0; }

}  // namespace

void Win32TextView::MoveCaret(std::size_t position, bool extend) {
  caret_ = textview::SnapToBoundary(document_, std::min(position, document_.Length()));
  if (!extend) anchor_ = caret_;
  typing_ = false;
  ScrollCaretIntoView();
}

// ---------------------------------------------------------------------------------------------------------------
// Mouse

void Win32TextView::OnLeftButtonDown(LPARAM where, bool extend, bool words) {
  if (!HasFocus()) SetFocus(window_);
  lastMouse_ = where;
  const POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  const std::size_t position = PositionAt(point);
  selectingWords_ = words;
  if (words) {
    std::tie(wordStart_, wordEnd_) = textview::WordAround(document_, position);
    anchor_ = wordStart_;
    caret_ = wordEnd_;
  } else {
    caret_ = position;
    if (!extend) anchor_ = caret_;
  }
  desiredX_ = -1;
  typing_ = false;
  selecting_ = true;
  SetCapture(window_);
  SetTimer(window_, kSelectionTimer, kSelectionScrollMilliseconds, nullptr);
  ScrollCaretIntoView();
  // A click into the text means the user is reading there: appended text no longer moves the view.
  followsEnd_ = false;
}

void Win32TextView::OnMouseMove(LPARAM where) {
  if (!selecting_) return;
  lastMouse_ = where;
  const POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  const std::size_t position = PositionAt(point);
  if (selectingWords_) {
    // Dragging after a double-click selects whole words, always with the double-clicked one.
    const auto [start, end] = textview::WordAround(document_, position);
    if (position < wordStart_) {
      anchor_ = wordEnd_;
      caret_ = start;
    } else {
      anchor_ = wordStart_;
      caret_ = std::max(end, wordEnd_);
    }
  } else {
    caret_ = position;
  }
  ScrollCaretIntoView();
  followsEnd_ = false;
}

void Win32TextView::OnLeftButtonUp() {
  if (selecting_) ReleaseCapture();
  if (onClick_) onClick_();
}

void Win32TextView::OnSelectionTimer() {
  if (!selecting_) return;
  // Held outside the text while selecting: the view scrolls towards the pointer and the selection follows it. The
  // pointer is where the last mouse message said, as for every other step of the selection.
  const POINT point{static_cast<short>(LOWORD(lastMouse_)), static_cast<short>(HIWORD(lastMouse_))};
  const RECT area = TextArea();
  if (PtInRect(&area, point)) return;
  OnMouseMove(lastMouse_);
}

// ---------------------------------------------------------------------------------------------------------------
// Keyboard

void Win32TextView::OnKeyDown(WPARAM key) {
  const bool shift = KeyIsDown(VK_SHIFT);
  const bool control = KeyIsDown(VK_CONTROL);
  const bool editable = !IsReadOnly();
  const bool selected = anchor_ != caret_;
  const bool multiLine = IsMultiLine();
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT: {
      const bool right = key == VK_RIGHT;
      std::size_t target = 0;
      if (selected && !shift && !control) {
        target = right ? SelectionEnd() : SelectionStart();
      } else if (control) {
        target = right ? textview::NextWordStart(document_, caret_) : textview::PreviousWordStart(document_, caret_);
      } else {
        target = right ? textview::NextPosition(document_, caret_) : textview::PreviousPosition(document_, caret_);
      }
      desiredX_ = -1;
      MoveCaret(target, shift);
      break;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multiLine) {
        // One line: up and down go back and forth like left and right.
        if (key == VK_UP || key == VK_DOWN) OnKeyDown(key == VK_UP ? VK_LEFT : VK_RIGHT);
        break;
      }
      const long long page = std::max(1, VisibleLines() - 1);
      const long long step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page;
      const long long line = std::clamp<long long>(static_cast<long long>(document_.LineOf(caret_)) + step, 0,
                                                   static_cast<long long>(document_.LineCount()) - 1);
      if (desiredX_ < 0) desiredX_ = PointOf(caret_).x;
      const RECT area = TextArea();
      textview::LineLayout layout(*widths_);
      const auto index = static_cast<std::size_t>(line);
      const std::size_t column = layout.ColumnAt(document_.LineText(index), desiredX_ - area.left + xOffset_);
      const int keepX = desiredX_;
      if (key == VK_PRIOR || key == VK_NEXT) {
        const long long first = static_cast<long long>(firstLine_) + step;
        firstLine_ = static_cast<std::size_t>(std::clamp<long long>(first, 0, static_cast<long long>(MaxFirstLine())));
      }
      MoveCaret(document_.LineStart(index) + column, shift);
      desiredX_ = keepX;
      break;
    }
    case VK_HOME:
    case VK_END: {
      const bool end = key == VK_END;
      const std::size_t line = document_.LineOf(caret_);
      const std::size_t target = control ? (end ? document_.Length() : 0)
                                         : (end ? document_.LineEnd(line) : document_.LineStart(line));
      desiredX_ = -1;
      MoveCaret(target, shift);
      break;
    }
    case VK_DELETE:
      if (!editable) break;
      if (shift && selected) {
        SendMessageW(window_, WM_CUT, 0, 0);
      } else {
        if (!selected) {
          const std::size_t next = control ? textview::NextWordStart(document_, caret_)
                                           : textview::NextPosition(document_, caret_);
          anchor_ = caret_;
          caret_ = next;
        }
        ReplaceSelection({}, true);
      }
      break;
    case VK_INSERT:
      if (control) SendMessageW(window_, WM_COPY, 0, 0);
      if (shift) SendMessageW(window_, WM_PASTE, 0, 0);
      break;
    default:
      if (!control || shift) break;
      switch (key) {
        case 'A':
          SetSelection(0, document_.Length());
          break;
        case 'C':
          SendMessageW(window_, WM_COPY, 0, 0);
          break;
        case 'X':
          SendMessageW(window_, WM_CUT, 0, 0);
          break;
        case 'V':
          SendMessageW(window_, WM_PASTE, 0, 0);
          break;
        case 'Z':
          SendMessageW(window_, WM_UNDO, 0, 0);
          break;
        default:
          break;
      }
      break;
  }
}

void Win32TextView::OnChar(wchar_t character) {
  if (IsReadOnly()) return;
  if (character == L'\b' || character == 0x7F) {
    // Backspace removes the selection or the character before the caret; Ctrl+Backspace the word before it.
    if (anchor_ == caret_) {
      anchor_ = character == 0x7F ? textview::PreviousWordStart(document_, caret_)
                                  : textview::PreviousPosition(document_, caret_);
    }
    ReplaceSelection({}, true);
    return;
  }
  // Control characters (Ctrl+letters, Enter, Escape, Tab) are commands, not text.
  if (character < L' ') return;
  ReplaceSelection(std::wstring_view(&character, 1), true);
}

LRESULT Win32TextView::OnGetDlgCode(LPARAM message) const noexcept {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  // In a combo box whose list is open, Enter and Escape close the list instead of pressing the window's buttons.
  const auto* keyMessage = reinterpret_cast<const MSG*>(message);
  if (keyMessage && keyMessage->message == WM_KEYDOWN &&
      (keyMessage->wParam == VK_RETURN || keyMessage->wParam == VK_ESCAPE)) {
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
  if (key == VK_UP || key == VK_DOWN || key == VK_F4) {
    SendMessageW(info.hwndList, WM_KEYDOWN, key, 0);
    return true;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) {
    SendMessageW(combo, WM_KEYDOWN, key, 0);
    return true;
  }
  return false;
}

}  // namespace quillon::runtime::win32
