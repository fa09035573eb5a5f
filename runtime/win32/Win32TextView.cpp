#include "runtime/win32/Win32TextView.h"

#include <algorithm>
#include <cwchar>

#include "runtime/win32/Win32Controls.h"

namespace quillon::runtime::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x7E87;

// Commands of the context menu: the messages they send.
constexpr UINT kMenuUndo = WM_UNDO;
constexpr UINT kMenuCut = WM_CUT;
constexpr UINT kMenuCopy = WM_COPY;
constexpr UINT kMenuPaste = WM_PASTE;
constexpr UINT kMenuDelete = WM_CLEAR;
constexpr UINT kMenuSelectAll = EM_SETSEL;

/// Owns a popup menu.
class UniqueMenu {
 public:
  UniqueMenu() noexcept : menu_(CreatePopupMenu()) {}
  UniqueMenu(const UniqueMenu&) = delete;
  UniqueMenu& operator=(const UniqueMenu&) = delete;
  ~UniqueMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  HMENU Get() const noexcept { return menu_; }

 private:
  HMENU menu_;
};

/// Holds the clipboard open for its lifetime.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const noexcept { return open_; }

 private:
  bool open_;
};

/// A single-line box takes the first line of what is pasted into it, as the platform's does.
std::wstring_view FirstLine(std::wstring_view text) { return text.substr(0, text.find_first_of(L"\r\n")); }

}  // namespace

HWND OwningCombo(HWND edit) noexcept {
  HWND parent = GetParent(edit);
  wchar_t name[16] = {};
  if (!parent || !GetClassNameW(parent, name, 16)) return nullptr;
  return CompareStringOrdinal(name, -1, L"ComboBox", -1, TRUE) == CSTR_EQUAL ? parent : nullptr;
}

void Win32TextView::Attach(HWND edit) {
  window_ = edit;
  // Whatever the edit control was created with (normally nothing) becomes ours.
  const std::wstring initial = WindowText(edit);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
  inCombo_ = OwningCombo(edit) != nullptr;
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  subclass_ = WindowSubclass(edit, SubclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  TakeFont(font);
  SetText(initial);
}

void Win32TextView::SetText(std::wstring_view text) {
  document_.Assign(text);
  anchor_ = caret_ = 0;
  firstLine_ = 0;
  xOffset_ = 0;
  followsEnd_ = true;
  desiredX_ = -1;
  canUndo_ = false;
  typing_ = false;
  modified_ = false;
  MeasureAllLines();
  Changed();
}

void Win32TextView::Append(std::wstring_view text) {
  if (text.empty()) return;
  const std::size_t lastLine = document_.LineCount() - 1;
  document_.Append(text);
  MeasureLinesFrom(lastLine);
  if (followsEnd_) firstLine_ = MaxFirstLine();
  Changed();
}

void Win32TextView::SetSelection(std::size_t anchor, std::size_t caret) {
  anchor_ = textview::SnapToBoundary(document_, std::min(anchor, document_.Length()));
  caret_ = textview::SnapToBoundary(document_, std::min(caret, document_.Length()));
  desiredX_ = -1;
  typing_ = false;
  Changed();
}

bool Win32TextView::IsMultiLine() const noexcept {
  return (GetWindowLongPtrW(window_, GWL_STYLE) & ES_MULTILINE) != 0;
}

bool Win32TextView::IsReadOnly() const noexcept {
  return (GetWindowLongPtrW(window_, GWL_STYLE) & ES_READONLY) != 0;
}

bool Win32TextView::ShowsSelection() const noexcept {
  return HasFocus() || (GetWindowLongPtrW(window_, GWL_STYLE) & ES_NOHIDESEL) != 0;
}

LRESULT CALLBACK Win32TextView::SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR id, DWORD_PTR data) noexcept {
  auto* view = reinterpret_cast<Win32TextView*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProcedure, id);
    view->subclass_.Release();
    view->window_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    return view->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Out of memory for a text: the message fails, the window and its text stay as they were.
    return 0;
  }
}

LRESULT Win32TextView::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT Win32TextView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETTEXT:
      return OnGetText(wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(document_.Length());
    case WM_SETTEXT:
      return OnSetText(lParam);
    case WM_SETFONT:
      TakeFont(reinterpret_cast<HFONT>(wParam));
      if (LOWORD(lParam)) InvalidateRect(window_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_PAINT: {
      BeforePaint();
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window_, &paint);
      if (dc) OnPaint(dc, paint.rcPaint);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      BeforePaint();
      RECT client{};
      GetClientRect(window_, &client);
      OnPaint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background itself, without flicker
    case WM_SIZE:
      firstLine_ = followsEnd_ ? MaxFirstLine() : std::min(firstLine_, MaxFirstLine());
      Changed();
      return 0;
    case WM_SETFOCUS:
      CreateCaret(window_, nullptr, 1, lineHeight_);
      PlaceCaret();
      ShowCaret(window_);
      InvalidateRect(window_, nullptr, FALSE);
      Notify(EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (selecting_) ReleaseCapture();
      DestroyCaret();
      InvalidateRect(window_, nullptr, FALSE);
      Notify(EN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED:
      InvalidateRect(window_, nullptr, FALSE);
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(lParam, (wParam & MK_SHIFT) != 0, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLeftButtonDown(lParam, false, true);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      selecting_ = false;
      KillTimer(window_, kSelectionTimer);
      return 0;
    case WM_TIMER:
      if (wParam == kScrollBarTimer) {
        KillTimer(window_, kScrollBarTimer);
        scrollBarTimer_ = false;
        UpdateScrollBars(ScrollBarUpdate::kNow);
      } else if (wParam == kSelectionTimer) {
        OnSelectionTimer();
      }
      return 0;
    case WM_RBUTTONDOWN:
      if (!HasFocus()) SetFocus(window_);
      return 0;
    case WM_CONTEXTMENU:
      ShowContextMenu(lParam);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (PassToComboList(message, wParam)) return 0;
      if (message == WM_SYSKEYDOWN) return DefWindowProcW(window_, message, wParam, lParam);
      OnKeyDown(wParam);
      return 0;
    case WM_CHAR:
      OnChar(static_cast<wchar_t>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return OnGetDlgCode(lParam);
    case WM_VSCROLL:
      OnScroll(SB_VERT, LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnScroll(SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (!IsMultiLine()) return DefWindowProcW(window_, message, wParam, lParam);
      OnWheel(SB_VERT, static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_MOUSEHWHEEL:
      if (!IsMultiLine()) return DefWindowProcW(window_, message, wParam, lParam);
      OnWheel(SB_HORZ, static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_COPY:
      CopySelection();
      return 0;
    case WM_CUT:
      if (IsReadOnly()) return 0;
      CopySelection();
      ReplaceSelection({}, true);
      return 0;
    case WM_CLEAR:
      if (!IsReadOnly()) ReplaceSelection({}, true);
      return 0;
    case WM_PASTE:
      if (!IsReadOnly()) Paste();
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      if (!canUndo_) return FALSE;
      Undo();
      return TRUE;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_CHAR:
      // The system's own handling turns what the input method composed into WM_CHAR, which types it here.
      return DefWindowProcW(window_, message, wParam, lParam);
    default:
      return HandleEditMessage(message, wParam, lParam);
  }
}

LRESULT Win32TextView::HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case EM_GETSEL:
      return OnGetSel(wParam, lParam);
    case EM_SETSEL:
      return OnSetSel(wParam, lParam);
    case EM_REPLACESEL:
      ReplaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"", false);
      return 0;
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(document_.LineCount());
    case EM_LINEINDEX:
      return OnLineIndex(wParam);
    case EM_LINELENGTH:
      return OnLineLength(wParam);
    case EM_LINEFROMCHAR:
      return OnLineFromChar(wParam);
    case EM_GETLINE:
      return OnGetLine(wParam, lParam);
    case EM_GETFIRSTVISIBLELINE:
      return IsMultiLine() ? static_cast<LRESULT>(firstLine_) : static_cast<LRESULT>(PositionAt({TextArea().left, 0}));
    case EM_POSFROMCHAR: {
      if (wParam > document_.Length()) return -1;
      const POINT point = PointOf(static_cast<std::size_t>(wParam));
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    }
    case EM_CHARFROMPOS: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const std::size_t position = PositionAt(point);
      return static_cast<LRESULT>(
          MAKELONG(static_cast<WORD>(position), static_cast<WORD>(document_.LineOf(position))));
    }
    case EM_LINESCROLL:
      if (!IsMultiLine()) return FALSE;
      ScrollTo(static_cast<std::size_t>(std::max<long long>(
                   0, static_cast<long long>(firstLine_) + static_cast<long long>(static_cast<LONG>(lParam)))),
               xOffset_ + static_cast<int>(static_cast<LONG_PTR>(wParam)) * averageCharWidth_);
      return TRUE;
    case EM_SCROLL: {
      if (!IsMultiLine()) return FALSE;
      const std::size_t before = firstLine_;
      OnScroll(SB_VERT, LOWORD(wParam));
      const long long moved = static_cast<long long>(firstLine_) - static_cast<long long>(before);
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(moved), TRUE));
    }
    case EM_SCROLLCARET:
      ScrollCaretIntoView();
      return TRUE;
    case EM_GETTHUMB:
      return static_cast<LRESULT>(firstLine_);
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = TextArea();
      return 0;
    case EM_GETMODIFY:
      return modified_ ? TRUE : FALSE;
    case EM_SETMODIFY:
      modified_ = wParam != 0;
      return 0;
    case EM_CANUNDO:
      return canUndo_ ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      canUndo_ = false;
      undoText_.clear();
      return 0;
    case EM_SETREADONLY: {
      const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
      SetWindowLongPtrW(window_, GWL_STYLE, wParam ? style | ES_READONLY : style & ~static_cast<LONG_PTR>(ES_READONLY));
      InvalidateRect(window_, nullptr, FALSE);
      return TRUE;
    }
    case EM_SETLIMITTEXT:
      limit_ = wParam ? static_cast<std::size_t>(wParam) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(limit_);
    case EM_GETMARGINS:
      return static_cast<LRESULT>(MAKELONG(margin_, margin_));
    case EM_SETTABSTOPS:
      // Tab stops stay at every eight average characters, the platform's default.
      return wParam == 0 ? TRUE : FALSE;
    case EM_GETHANDLE:
    case EM_FMTLINES:
    case EM_GETPASSWORDCHAR:
    case EM_GETWORDBREAKPROC:
      return 0;
    case EM_SETHANDLE:
    case EM_SETPASSWORDCHAR:
    case EM_SETWORDBREAKPROC:
    case EM_SETRECT:
    case EM_SETRECTNP:
    case EM_SETMARGINS:
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------------------------------------------
// Text and selection messages

LRESULT Win32TextView::OnGetText(WPARAM capacity, LPARAM buffer) const noexcept {
  if (capacity == 0 || buffer == 0) return 0;
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  const std::size_t copied = document_.CopyTo(out, static_cast<std::size_t>(capacity) - 1);
  out[copied] = L'\0';
  return static_cast<LRESULT>(copied);
}

LRESULT Win32TextView::OnSetText(LPARAM text) {
  SetText(text ? std::wstring_view(reinterpret_cast<const wchar_t*>(text)) : std::wstring_view());
  // As the platform's edit control: a single-line box reports the change, a multi-line box and a combo box's edit
  // field do not (the combo box sets its field's text itself whenever the list's selection moves).
  if (!IsMultiLine() && !inCombo_) {
    Notify(EN_UPDATE);
    Notify(EN_CHANGE);
  }
  return TRUE;
}

LRESULT Win32TextView::OnGetSel(WPARAM start, LPARAM end) const noexcept {
  const std::size_t first = SelectionStart();
  const std::size_t last = SelectionEnd();
  if (start) *reinterpret_cast<DWORD*>(start) = static_cast<DWORD>(first);
  if (end) *reinterpret_cast<DWORD*>(end) = static_cast<DWORD>(last);
  if (first > 0xFFFF || last > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(first), static_cast<WORD>(last)));
}

LRESULT Win32TextView::OnSetSel(WPARAM start, LPARAM end) {
  // -1 as the start removes the selection; -1 (or anything past the text) as the end means the end of the text.
  // The positions are ints, as the platform reads them: -1 sent by a 32-bit program arrives as 0xFFFFFFFF.
  const auto first = static_cast<INT>(static_cast<UINT>(start));
  const auto last = static_cast<INT>(static_cast<UINT>(end));
  if (first == -1) {
    SetSelection(caret_, caret_);
    return 0;
  }
  const std::size_t length = document_.Length();
  const std::size_t anchor = first < 0 ? length : static_cast<std::size_t>(first);
  const std::size_t caret = last < 0 ? length : static_cast<std::size_t>(last);
  SetSelection(anchor, caret);
  return 0;
}

LRESULT Win32TextView::OnGetLine(WPARAM line, LPARAM buffer) const noexcept {
  if (buffer == 0) return 0;
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  const std::size_t capacity = *reinterpret_cast<const WORD*>(buffer);
  const std::size_t index = IsMultiLine() ? static_cast<std::size_t>(line) : 0;
  if (index >= document_.LineCount()) return 0;
  const std::wstring_view text = document_.LineText(index);
  const std::size_t copied = std::min(capacity, text.size());
  std::wmemcpy(out, text.data(), copied);
  return static_cast<LRESULT>(copied);
}

LRESULT Win32TextView::OnLineIndex(WPARAM line) const noexcept {
  const std::size_t index =
      static_cast<INT>(static_cast<UINT>(line)) == -1 ? document_.LineOf(caret_) : static_cast<std::size_t>(line);
  if (index >= document_.LineCount()) return -1;
  return static_cast<LRESULT>(document_.LineStart(index));
}

LRESULT Win32TextView::OnLineLength(WPARAM position) const noexcept {
  if (static_cast<INT>(static_cast<UINT>(position)) == -1) {
    // The characters of the selection's lines that are not selected.
    const std::size_t firstLine = document_.LineOf(SelectionStart());
    const std::size_t lastLine = document_.LineOf(SelectionEnd());
    return static_cast<LRESULT>(SelectionStart() - document_.LineStart(firstLine) + document_.LineEnd(lastLine) -
                                std::min(SelectionEnd(), document_.LineEnd(lastLine)));
  }
  if (position > document_.Length()) return 0;
  return static_cast<LRESULT>(document_.LineLength(document_.LineOf(static_cast<std::size_t>(position))));
}

LRESULT Win32TextView::OnLineFromChar(WPARAM position) const noexcept {
  if (static_cast<INT>(static_cast<UINT>(position)) == -1) {
    return static_cast<LRESULT>(document_.LineOf(anchor_ != caret_ ? SelectionStart() : caret_));
  }
  return static_cast<LRESULT>(document_.LineOf(std::min(static_cast<std::size_t>(position), document_.Length())));
}

void Win32TextView::Notify(WORD code) const noexcept {
  HWND parent = GetParent(window_);
  if (!parent) return;
  const auto id = static_cast<WORD>(GetDlgCtrlID(window_));
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window_));
}

// ---------------------------------------------------------------------------------------------------------------
// Editing

void Win32TextView::RememberForUndo(bool continuesTyping) {
  if (continuesTyping && typing_ && canUndo_) return;
  undoText_ = document_.Text();
  undoAnchor_ = anchor_;
  undoCaret_ = caret_;
  canUndo_ = true;
}

void Win32TextView::ReplaceSelection(std::wstring_view text, bool byUser) {
  // The user pastes only the first line into a single-line box; what the program puts there it keeps whole.
  std::wstring_view inserted = IsMultiLine() || !byUser ? text : FirstLine(text);
  const std::size_t start = SelectionStart();
  const std::size_t end = SelectionEnd();
  if (byUser) {
    // The user's typing and pasting stop at the limit; what the program replaces does not.
    const std::size_t room = limit_ > document_.Length() - (end - start) ? limit_ - (document_.Length() - (end - start)) : 0;
    if (inserted.size() > room) {
      inserted = inserted.substr(0, room);
      Notify(EN_MAXTEXT);
      if (inserted.empty() && start == end) return;
    }
  }
  const bool continuesTyping = byUser && start == end && inserted.size() == 1;
  RememberForUndo(continuesTyping);
  typing_ = continuesTyping;
  document_.Replace(start, end, inserted);
  anchor_ = caret_ = start + inserted.size();
  modified_ = true;
  desiredX_ = -1;
  MeasureAllLines();
  ScrollCaretIntoView();
  Notify(EN_UPDATE);
  Notify(EN_CHANGE);
}

void Win32TextView::Undo() {
  // Undoing twice gives the text back: the two states change places, as with the platform's single-level undo.
  std::wstring current = document_.Text();
  const std::size_t anchor = anchor_;
  const std::size_t caret = caret_;
  document_.Assign(undoText_);
  undoText_ = std::move(current);
  anchor_ = std::min(undoAnchor_, document_.Length());
  caret_ = std::min(undoCaret_, document_.Length());
  undoAnchor_ = anchor;
  undoCaret_ = caret;
  typing_ = false;
  modified_ = true;
  MeasureAllLines();
  ScrollCaretIntoView();
  Notify(EN_UPDATE);
  Notify(EN_CHANGE);
}

void Win32TextView::CopySelection() const {
  if (anchor_ == caret_) return;
  const std::wstring text = document_.Substring(SelectionStart(), SelectionEnd() - SelectionStart());
  OpenedClipboard clipboard(window_);
  if (!clipboard.IsOpen()) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!memory) return;
  if (void* locked = GlobalLock(memory)) {
    std::wmemcpy(static_cast<wchar_t*>(locked), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it takes it.
    if (SetClipboardData(CF_UNICODETEXT, memory)) return;
  }
  GlobalFree(memory);
}

void Win32TextView::Paste() {
  std::wstring text;
  {
    OpenedClipboard clipboard(window_);
    if (!clipboard.IsOpen()) return;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return;
    if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.assign(locked, wcsnlen(locked, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  ReplaceSelection(text, true);
}

void Win32TextView::ShowContextMenu(LPARAM where) {
  if (!HasFocus()) SetFocus(window_);
  POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == -1) {
    // From the keyboard: at the caret.
    point = PointOf(caret_);
    point.y += lineHeight_;
    ClientToScreen(window_, &point);
  }
  UniqueMenu menu;
  if (!menu.Get()) return;
  const bool selected = anchor_ != caret_;
  const bool editable = !IsReadOnly();
  const auto flags = [](bool enabled) { return MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED); };
  AppendMenuW(menu.Get(), flags(canUndo_ && editable), kMenuUndo, L"&Undo");
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), flags(selected && editable), kMenuCut, L"Cu&t");
  AppendMenuW(menu.Get(), flags(selected), kMenuCopy, L"&Copy");
  AppendMenuW(menu.Get(), flags(editable && IsClipboardFormatAvailable(CF_UNICODETEXT)), kMenuPaste, L"&Paste");
  AppendMenuW(menu.Get(), flags(selected && editable), kMenuDelete, L"&Delete");
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  const bool allSelected = SelectionStart() == 0 && SelectionEnd() == document_.Length();
  AppendMenuW(menu.Get(), flags(!document_.Empty() && !allSelected), kMenuSelectAll, L"Select &All");
  const auto command = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window_, nullptr));
  if (command == kMenuSelectAll) {
    SetSelection(0, document_.Length());
  } else if (command != 0) {
    SendMessageW(window_, command, 0, 0);
  }
}

}  // namespace quillon::runtime::win32
