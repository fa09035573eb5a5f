#include "runtime/textview/win32/Win32TextView.h"

#include <algorithm>
#include <cwchar>

#include "runtime/win32/ClipboardText.h"
#include "runtime/win32/WindowText.h"
#include "support/Utf16.h"

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

/// What a single-line box keeps of pasted text: the part before the first LF, and a CR just before it goes too.
std::wstring_view FirstLine(std::wstring_view text) {
  const std::size_t lf = text.find(L'\n');
  if (lf == std::wstring_view::npos) return text;
  return text.substr(0, lf > 0 && text[lf - 1] == L'\r' ? lf - 1 : lf);
}

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
  // A single-line box shows its whole text on its one line, CR LF included.
  document_.SetLineBreaks(IsMultiLine() ? textview::LineBreaks::kCrLf : textview::LineBreaks::kNone);
  limit_ = kDefaultLimit;
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  subclass_ = WindowSubclass(edit, SubclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  TakeFont(font);
  SetText(initial);
}

void Win32TextView::SetText(std::wstring_view text) {
  // As WM_SETTEXT: the text is replaced whole (limit aside, nothing to undo), the caret and the view go to the start.
  // Emptying an empty box replaces nothing, and what could be undone stays so.
  if (!document_.Empty() || !text.empty()) undo_.Empty();
  document_.Assign(text);
  breaksLine_ = static_cast<std::size_t>(-1);
  anchor_ = caret_ = 0;
  view_.Reset();
  modified_ = false;
  MeasureEditedLines(0, document_.Length());
  Changed();
}

void Win32TextView::Append(std::wstring_view text) {
  if (text.empty()) return;
  const std::size_t lastLine = document_.LineCount() - 1;
  document_.Append(text);
  breaksLine_ = static_cast<std::size_t>(-1);
  MeasureLinesFrom(lastLine);
  if (view_.FollowsEnd()) view_.FollowEnd(ViewExtent());  // measures the window only when it follows
  Changed();
}

void Win32TextView::SetSelection(std::size_t anchor, std::size_t caret) {
  // Positions are kept as given, as EM_SETSEL keeps them, only clamped to the text.
  anchor_ = std::min(anchor, document_.Length());
  caret_ = std::min(caret, document_.Length());
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
                                                  UINT_PTR /*id*/, DWORD_PTR data) noexcept {
  auto* view = reinterpret_cast<Win32TextView*>(data);
  if (message == WM_NCDESTROY) {
    view->subclass_.Reset();
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
      SetTextArea(ClientArea());
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
      wheelRemainder_ = 0;
      Notify(EN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED:
      InvalidateRect(window_, nullptr, FALSE);
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(lParam, wParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLeftButtonDoubleClick();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_MBUTTONDOWN:
      SendMessageW(window_, WM_PASTE, 0, 0);
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
      OnKeyDown(wParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (PassToComboList(message, wParam)) return 0;
      return OnSysKeyDown(wParam, lParam);
    case WM_CHAR:
      OnChar(static_cast<wchar_t>(wParam));
      return 0;
    case WM_UNICHAR:
      if (wParam == UNICODE_NOCHAR) return TRUE;
      if (wParam > 0x10FFFF) return 0;
      if (wParam > 0xFFFF) {
        OnChar(support::HighSurrogateOf(static_cast<char32_t>(wParam)));
        OnChar(support::LowSurrogateOf(static_cast<char32_t>(wParam)));
      } else {
        OnChar(static_cast<wchar_t>(wParam));
      }
      return 0;
    case WM_GETDLGCODE:
      return OnGetDlgCode(lParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
      return OnScrollMessage(message, wParam);
    case WM_MOUSEWHEEL:
      if (!IsMultiLine() || (wParam & (MK_SHIFT | MK_CONTROL)))
        return DefWindowProcW(window_, message, wParam, lParam);
      OnWheel(static_cast<short>(HIWORD(wParam)), wParam);
      return 0;
    case WM_COPY:
      CopySelection();
      return 0;
    case WM_CUT:
      Cut();
      return 0;
    case WM_CLEAR:
      Clear();
      return 0;
    case WM_PASTE:
      Paste();
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return Undo();
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
      OnSetSel(wParam, lParam);
      return 1;
    case EM_REPLACESEL:
      ReplaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"",
                       (wParam ? kUndoable : kQuietly) | kNotifying | kWithinLimit);
      return 1;
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
      return IsMultiLine() ? static_cast<LRESULT>(view_.FirstLine()) : static_cast<LRESULT>(view_.FirstColumn());
    case EM_POSFROMCHAR: {
      if (wParam >= document_.Length()) return -1;
      const POINT point = PointOf(static_cast<std::size_t>(wParam));
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    }
    case EM_CHARFROMPOS: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT client{};
      GetClientRect(window_, &client);
      if (!PtInRect(&client, point)) return -1;
      const std::size_t position = PositionFromPoint(point.x, point.y);
      return static_cast<LRESULT>(
          MAKELONG(static_cast<WORD>(position), static_cast<WORD>(document_.LineOf(position))));
    }
    case EM_LINESCROLL:
      if (!IsMultiLine()) return FALSE;
      LineScroll(static_cast<long long>(static_cast<INT>(wParam)) * averageCharWidth_,
                 static_cast<INT>(static_cast<UINT>(lParam)));
      return TRUE;
    case EM_SCROLL:
      return OnScrollMessage(EM_SCROLL, wParam);
    case EM_SCROLLCARET:
      ScrollCaretIntoView();
      return TRUE;
    case EM_GETTHUMB:
      // The vertical bar's thumb, which stands at the first line in view; one line has no such bar.
      return IsMultiLine() ? static_cast<LRESULT>(std::min<std::size_t>(view_.FirstLine(), 0x7FFFFFFF)) : 0;
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = TextArea();
      return 0;
    case EM_GETMODIFY:
      return modified_ ? TRUE : FALSE;
    case EM_SETMODIFY:
      modified_ = wParam != 0;
      return 0;
    case EM_CANUNDO:
      return undo_.CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      undo_.Empty();
      return 0;
    case EM_SETREADONLY: {
      const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
      SetWindowLongPtrW(window_, GWL_STYLE, wParam ? style | ES_READONLY : style & ~static_cast<LONG_PTR>(ES_READONLY));
      InvalidateRect(window_, nullptr, FALSE);
      return TRUE;
    }
    case EM_SETLIMITTEXT:
      // 0 lifts the limit: as far as a multi-line box can count, and for one line as far as the platform allows.
      limit_ = wParam ? static_cast<std::size_t>(static_cast<UINT>(wParam))
                      : (IsMultiLine() ? std::size_t{0xFFFFFFFF} : std::size_t{0x7FFFFFFE});
      if (!IsMultiLine()) limit_ = std::min<std::size_t>(limit_, 0x7FFFFFFE);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(static_cast<UINT>(limit_));
    case EM_GETMARGINS:
      return static_cast<LRESULT>(MAKELONG(margin_, rightMargin_));
    case EM_SETMARGINS:
      SetMargins(wParam, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case EM_SETTABSTOPS:
      // Tab stops stay at every eight average characters, the platform's default.
      return wParam == 0 && IsMultiLine() ? TRUE : FALSE;
    case EM_GETHANDLE:
    case EM_FMTLINES:
    case EM_GETPASSWORDCHAR:
    case EM_GETWORDBREAKPROC:
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      // Only a multi-line box takes a rectangle for its text, until a new size or font; none gives back its own.
      if (!IsMultiLine()) return 0;
      SetTextArea(lParam ? *reinterpret_cast<const RECT*>(lParam) : ClientArea());
      if (message == EM_SETRECT) InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case EM_SETHANDLE:
    case EM_SETPASSWORDCHAR:
    case EM_SETWORDBREAKPROC:
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
    if (!Notify(EN_UPDATE) || !Notify(EN_CHANGE)) return TRUE;
  }
  ScrollCaretIntoView();
  return TRUE;
}

LRESULT Win32TextView::OnGetSel(WPARAM start, LPARAM end) const noexcept {
  const std::size_t first = SelectionStart();
  const std::size_t last = SelectionEnd();
  if (start) *reinterpret_cast<DWORD*>(start) = static_cast<DWORD>(first);
  if (end) *reinterpret_cast<DWORD*>(end) = static_cast<DWORD>(last);
  // The documented answer when a position does not fit in 16 bits.
  if (first > 0xFFFF || last > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(first), static_cast<WORD>(last)));
}

LRESULT Win32TextView::OnSetSel(WPARAM start, LPARAM end) {
  // -1 as the start removes the selection at the caret; a negative or too large position means the end of the text.
  // The positions are ints, as the platform reads them: -1 sent by a 32-bit program arrives as 0xFFFFFFFF.
  const auto first = static_cast<INT>(static_cast<UINT>(start));
  const auto last = static_cast<INT>(static_cast<UINT>(end));
  const std::size_t length = document_.Length();
  if (first == -1) {
    SetSelection(caret_, caret_);
  } else {
    SetSelection(first < 0 ? length : static_cast<std::size_t>(first), last < 0 ? length : static_cast<std::size_t>(last));
  }
  ScrollCaretIntoView();
  return 0;
}

LRESULT Win32TextView::OnGetLine(WPARAM line, LPARAM buffer) const noexcept {
  if (buffer == 0) return 0;
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  const std::size_t capacity = *reinterpret_cast<const WORD*>(buffer);
  // -1 asks for the caret's line; in a single-line box every line is the one line.
  const auto asked = static_cast<INT>(static_cast<UINT>(line));
  std::size_t index = 0;
  if (IsMultiLine()) index = asked < 0 ? document_.LineOf(caret_) : static_cast<std::size_t>(asked);
  if (index >= document_.LineCount()) return 0;
  // A CR CR LF ends its line at the first CR, as the line's length says.
  const std::wstring_view text =
      document_.LineText(index).substr(0, textview::LineEndStop(document_, index) - document_.LineStart(index));
  // A buffer with room to spare gets a terminating zero; a full one does not.
  const std::size_t copied = std::min(capacity, text.size());
  std::wmemcpy(out, text.data(), copied);
  if (capacity > text.size()) out[copied] = L'\0';
  return static_cast<LRESULT>(copied);
}

LRESULT Win32TextView::OnLineIndex(WPARAM line) const noexcept {
  if (!IsMultiLine()) return 0;
  const auto asked = static_cast<INT>(static_cast<UINT>(line));
  if (asked == -1) return static_cast<LRESULT>(document_.LineStart(document_.LineOf(caret_)));
  if (asked < 0) return 0;
  if (static_cast<std::size_t>(asked) >= document_.LineCount()) return -1;
  return static_cast<LRESULT>(document_.LineStart(static_cast<std::size_t>(asked)));
}

LRESULT Win32TextView::OnLineLength(WPARAM position) const noexcept {
  if (!IsMultiLine()) return static_cast<LRESULT>(document_.Length());
  const auto asked = static_cast<INT>(static_cast<UINT>(position));
  if (asked == -1) {
    // The characters of the selection's lines that are not selected, counted from the anchor and the caret.
    const std::size_t anchorLine = document_.LineOf(anchor_);
    const std::size_t caretLine = document_.LineOf(caret_);
    return static_cast<LRESULT>(static_cast<long long>(anchor_ - document_.LineStart(anchorLine)) +
                                static_cast<long long>(textview::LineEndStop(document_, caretLine)) -
                                static_cast<long long>(caret_));
  }
  const std::size_t at = asked < 0 ? 0 : std::min(static_cast<std::size_t>(asked), document_.Length());
  const std::size_t line = document_.LineOf(at);
  return static_cast<LRESULT>(textview::LineEndStop(document_, line) - document_.LineStart(line));
}

LRESULT Win32TextView::OnLineFromChar(WPARAM position) const noexcept {
  if (!IsMultiLine()) return 0;
  const auto asked = static_cast<INT>(static_cast<UINT>(position));
  if (asked == -1) return static_cast<LRESULT>(document_.LineOf(SelectionStart()));
  if (asked < 0) return static_cast<LRESULT>(document_.LineCount() - 1);
  return static_cast<LRESULT>(document_.LineOf(std::min(static_cast<std::size_t>(asked), document_.Length())));
}

bool Win32TextView::Notify(WORD code) const noexcept {
  HWND self = window_;
  HWND parent = GetParent(self);
  if (!parent) return true;
  const auto id = static_cast<WORD>(GetDlgCtrlID(self));
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(self));
  return IsWindow(self) != FALSE;
}

// ---------------------------------------------------------------------------------------------------------------
// Editing

void Win32TextView::ReplaceSelection(std::wstring_view text, unsigned flags) {
  std::size_t start = SelectionStart();
  const std::size_t end = SelectionEnd();
  if (start == end && text.empty()) return;

  const std::size_t kept = document_.Length() - (end - start);
  if ((flags & kWithinLimit) && kept + text.size() > limit_) {
    // The parent hears first; what fits goes in, never half of a surrogate pair.
    if (!Notify(EN_MAXTEXT)) return;
    text = kept >= limit_ ? std::wstring_view() : text.substr(0, textview::CodeUnitsWithin(text, limit_ - kept));
  }
  const std::wstring removed = (flags & kUndoable) && end > start ? document_.Substring(start, end - start)
                                                                  : std::wstring();
  if (start == 0 && end == document_.Length()) {
    document_.Assign(text);
  } else {
    document_.Replace(start, end, text);
  }
  breaksLine_ = static_cast<std::size_t>(-1);
  if (flags & kUndoable) {
    undo_.Record(start, removed, text.size());
  } else if (end > start || !text.empty()) {
    undo_.Empty();
  }
  anchor_ = caret_ = start + text.size();
  modified_ = true;
  MeasureEditedLines(start, caret_);
  ScrollCaretIntoView();
  if (flags & kNotifying) {
    if (!Notify(EN_UPDATE)) return;
    Notify(EN_CHANGE);
  }
}

void Win32TextView::MeasureEditedLines(std::size_t start, std::size_t end) {
  // As the platform's control, the widest line is remembered until the text is emptied, however the text shrinks.
  if (document_.Empty()) widestLine_ = 0;
  const std::size_t last = document_.LineOf(end);
  for (std::size_t line = document_.LineOf(start); line <= last; ++line) {
    widestLine_ = std::max(widestLine_, LineWidth(line));
  }
}

LRESULT Win32TextView::Undo() {
  // A read-only box changes nothing; the platform answers TRUE for one line, FALSE for many.
  if (IsReadOnly()) return IsMultiLine() ? FALSE : TRUE;
  // The inserted run is replaced by the deleted text, which is then selected: undoing again swaps them back.
  const textview::UndoStep::Replacement undo = undo_.Take();
  SetSelection(undo.start, undo.end);
  ReplaceSelection(undo.text, kAsUser);
  SetSelection(undo_.Start(), undo_.End());
  if (!Notify(EN_CHANGE)) return TRUE;
  ScrollCaretIntoView();
  return TRUE;
}

void Win32TextView::CopySelection() const {
  if (anchor_ == caret_) return;
  WriteClipboardText(window_, document_.Substring(SelectionStart(), SelectionEnd() - SelectionStart()));
}

void Win32TextView::Cut() {
  // A read-only box copies and keeps its text, as the platform's does.
  CopySelection();
  Clear();
}

void Win32TextView::Clear() {
  if (!IsReadOnly()) ReplaceSelection({}, kAsUser);
}

void Win32TextView::Paste() {
  if (IsReadOnly()) return;
  const std::optional<std::wstring> text = ReadClipboardText(window_);
  if (!text) return;
  ReplaceSelection(IsMultiLine() ? std::wstring_view(*text) : FirstLine(*text), kAsUser);
}

void Win32TextView::ShowContextMenu(LPARAM where) {
  if (!HasFocus()) SetFocus(window_);
  POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == -1) {
    // From the keyboard: at the box's middle, as the platform places it.
    RECT client{};
    GetClientRect(window_, &client);
    point = {client.right / 2, client.bottom / 2};
    ClientToScreen(window_, &point);
  }
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  const bool selected = anchor_ != caret_;
  const bool editable = !IsReadOnly();
  const auto flags = [](bool enabled) { return MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED); };
  AppendMenuW(menu.Get(), flags(undo_.CanUndo() && editable), kMenuUndo, L"&Undo");
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), flags(selected && editable), kMenuCut, L"Cu&t");
  AppendMenuW(menu.Get(), flags(selected), kMenuCopy, L"&Copy");
  AppendMenuW(menu.Get(), flags(editable && IsClipboardFormatAvailable(CF_UNICODETEXT)), kMenuPaste, L"&Paste");
  AppendMenuW(menu.Get(), flags(selected && editable), kMenuDelete, L"&Delete");
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  const bool allSelected = SelectionStart() == 0 && SelectionEnd() == document_.Length();
  AppendMenuW(menu.Get(), flags(!allSelected), kMenuSelectAll, L"Select &All");
  const auto command = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window_, nullptr));
  if (command == kMenuSelectAll) {
    SendMessageW(window_, EM_SETSEL, 0, -1);
  } else if (command != 0) {
    SendMessageW(window_, command, 0, 0);
  }
}

}  // namespace quillon::runtime::win32
