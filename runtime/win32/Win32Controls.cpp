#include "runtime/win32/Win32Controls.h"

#include <algorithm>
#include <utility>

namespace quillon::runtime::win32 {

namespace {

template <typename T = LRESULT>
T Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
  return static_cast<T>(SendMessageW(window, message, wParam, lParam));
}

LPARAM TextParam(const std::wstring& text) noexcept { return reinterpret_cast<LPARAM>(text.c_str()); }

/// The text of item `index` of a list (LB_GETTEXT) or combo box (CB_GETLBTEXT); "" for an index out of range.
std::wstring ItemText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageW(window, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return text;
}

/// A colour word as a COLORREF; words with the high bit set name a system colour, as the platform's forms do.
COLORREF ToColorRef(std::uint32_t color) noexcept {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
  return static_cast<COLORREF>(color & 0xFFFFFFu);
}

}  // namespace

// ----------------------------------------------------------------------------------------------------------------
// List box

Win32ListBox::Win32ListBox(Win32Session& session, HWND window, unsigned options) noexcept
    : Win32Control(session, window),
      sorted_((options & kSorted) != 0),
      extended_((options & kExtendedSelection) != 0),
      locale_(static_cast<LCID>(SendMessageW(window, LB_GETLOCALE, 0, 0))) {}

void Win32ListBox::ReserveFor(int count) noexcept {
  // The control grows its item array by a few entries at a time, which makes a fill of 100,000 entries quadratic;
  // reserving room in doubling steps keeps it linear.
  if (count <= reserved_) return;
  const int current = ListCount();
  const int target = std::max({count, current * 2, 256});
  Send(Window(), LB_INITSTORAGE, static_cast<WPARAM>(target - current), static_cast<LPARAM>(target - current) * 64);
  reserved_ = target;
}

bool Win32ListBox::SortsAfterLastItem(const std::wstring& text, int count) const {
  if (count == 0) return true;
  if (!lastItemKnown_) return false;
  // The comparison the control sorts with: the list's locale, ignoring case.
  return CompareStringW(locale_, NORM_IGNORECASE, text.c_str(), static_cast<int>(text.size()), lastItem_.c_str(),
                        static_cast<int>(lastItem_.size())) == CSTR_GREATER_THAN;
}

void Win32ListBox::AddItem(const std::wstring& text) {
  const int count = ListCount();
  ReserveFor(count + 1);
  if (!sorted_) {
    Send(Window(), LB_ADDSTRING, 0, TextParam(text));
    return;
  }
  // Enumerations deliver names already in order. An entry that sorts after the last one goes where LB_ADDSTRING's
  // binary search would put it, at the end, without the ~17 locale comparisons that search costs per entry.
  if (SortsAfterLastItem(text, count)) {
    Send(Window(), LB_INSERTSTRING, static_cast<WPARAM>(-1), TextParam(text));
    lastItem_ = text;
    lastItemKnown_ = true;
    return;
  }
  const int index = Send<int>(Window(), LB_ADDSTRING, 0, TextParam(text));
  if (index == count) {
    lastItem_ = text;
    lastItemKnown_ = true;
  }
}

void Win32ListBox::RemoveItem(int index) {
  Send(Window(), LB_DELETESTRING, static_cast<WPARAM>(index));
  lastItemKnown_ = false;
  if (ListCount() == 0) hasFocusItem_ = false;
}

void Win32ListBox::Clear() {
  Send(Window(), LB_RESETCONTENT);
  hasFocusItem_ = false;
  lastItemKnown_ = false;
  reserved_ = 0;
}

int Win32ListBox::ListCount() const { return Send<int>(Window(), LB_GETCOUNT); }

std::wstring Win32ListBox::List(int index) const { return ItemText(Window(), LB_GETTEXTLEN, LB_GETTEXT, index); }

int Win32ListBox::ListIndex() const {
  if (!IsExtended()) return Send<int>(Window(), LB_GETCURSEL);
  if (!hasFocusItem_ || ListCount() == 0) return -1;
  return Send<int>(Window(), LB_GETCARETINDEX);
}

void Win32ListBox::SetListIndex(int index) {
  const bool inRange = index >= 0 && index < ListCount();
  if (IsExtended()) {
    // Moving the focus to no entry is not something the control can do; such an index is ignored.
    if (!inRange) return;
    Send(Window(), LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    hasFocusItem_ = true;
    return;
  }
  // LB_SETCURSEL notifies nobody; the window relies on the click a user's selection would raise.
  Send(Window(), LB_SETCURSEL, static_cast<WPARAM>(inRange ? index : -1));
  if (Click) Click();
}

bool Win32ListBox::Selected(int index) const { return Send<int>(Window(), LB_GETSEL, static_cast<WPARAM>(index)) > 0; }

void Win32ListBox::SetSelected(int index, bool selected) {
  // LB_SETSEL takes -1 for "every entry"; an index out of range must not become that.
  if (index < 0 || index >= ListCount()) return;
  if (IsExtended()) {
    // The control moves its focus to an entry it marks (not to one it unmarks), as a Ctrl+click does.
    Send(Window(), LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    if (selected) hasFocusItem_ = true;
    return;
  }
  if (selected) {
    SetListIndex(index);
    return;
  }
  if (ListIndex() == index) SetListIndex(-1);
}

int Win32ListBox::SelCount() const {
  if (IsExtended()) return std::max(Send<int>(Window(), LB_GETSELCOUNT), 0);
  return ListIndex() >= 0 ? 1 : 0;
}

std::wstring Win32ListBox::Text() const {
  const int index = ListIndex();
  return index >= 0 ? List(index) : std::wstring();
}

void Win32ListBox::SetText(const std::wstring& text) {
  // LB_FINDSTRINGEXACT compares ignoring case, as the window's text matching wants.
  const int found = Send<int>(Window(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), TextParam(text));
  if (IsExtended() && found < 0) return;
  SetListIndex(found);
}

void Win32ListBox::BeginUpdate() {
  if (updateDepth_++ == 0) Send(Window(), WM_SETREDRAW, FALSE);
}

void Win32ListBox::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ > 0) return;
  Send(Window(), WM_SETREDRAW, TRUE);
  InvalidateRect(Window(), nullptr, TRUE);
}

void Win32ListBox::OnCommand(int notification) noexcept {
  switch (notification) {
    case LBN_SELCHANGE:
      hasFocusItem_ = true;
      session_.RaiseEvent(Click);
      return;
    case LBN_DBLCLK:
      session_.RaiseEvent(DblClick);
      return;
    default:
      return;
  }
}

// ----------------------------------------------------------------------------------------------------------------
// Combo box

Win32ComboBox::Win32ComboBox(Win32Session& session, HWND window) : Win32Control(session, window) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(window, &info) && info.hwndItem) field_.Attach(info.hwndItem);
}

std::wstring Win32ComboBox::Text() const { return WindowText(Window()); }

void Win32ComboBox::SetText(const std::wstring& text) {
  SetWindowTextW(Window(), text.c_str());
  picked_ = false;
}

void Win32ComboBox::AddItem(const std::wstring& text) { Send(Window(), CB_ADDSTRING, 0, TextParam(text)); }

void Win32ComboBox::Clear() {
  Send(Window(), CB_RESETCONTENT);
  SetWindowTextW(Window(), L"");
  picked_ = false;
}

int Win32ComboBox::ListCount() const { return Send<int>(Window(), CB_GETCOUNT); }

std::wstring Win32ComboBox::List(int index) const {
  return ItemText(Window(), CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int Win32ComboBox::ListIndex() const { return picked_ ? Send<int>(Window(), CB_GETCURSEL) : -1; }

void Win32ComboBox::SetListIndex(int index) {
  Send(Window(), CB_SETCURSEL, static_cast<WPARAM>(index));
  picked_ = index >= 0 && index < ListCount();
}

void Win32ComboBox::OnCommand(int notification) noexcept {
  switch (notification) {
    case CBN_SELCHANGE:
      picked_ = true;
      return;
    case CBN_EDITCHANGE:
      picked_ = false;
      return;
    default:
      return;
  }
}

// ----------------------------------------------------------------------------------------------------------------
// Text box

Win32TextBox::Win32TextBox(Win32Session& session, HWND window, unsigned options, const std::wstring& text)
    : Win32Control(session, window), readOnly_((options & kReadOnly) != 0) {
  view_.Attach(window);
  view_.SetText(text);
  // The caret the user's click placed is in the text when the click handler reads it.
  view_.SetClickHandler([this] { session_.RaiseEvent(Click); });
}

std::wstring Win32TextBox::Text() const { return view_.Document().Text(); }

void Win32TextBox::SetText(const std::wstring& text) { view_.SetText(text); }

void Win32TextBox::AppendText(const std::wstring& text) { view_.Append(text); }

int Win32TextBox::SelStart() const { return static_cast<int>(view_.SelectionStart()); }

void Win32TextBox::SetSelStart(int start) {
  const auto position = static_cast<std::size_t>(std::max(start, 0));
  view_.SetSelection(position, position);
  view_.ScrollCaretIntoView();
}

int Win32TextBox::SelLength() const { return static_cast<int>(view_.SelectionEnd() - view_.SelectionStart()); }

void Win32TextBox::SetSelLength(int length) {
  const std::size_t start = view_.SelectionStart();
  view_.SetSelection(start, start + static_cast<std::size_t>(std::max(length, 0)));
  view_.ScrollCaretIntoView();
}

std::wstring Win32TextBox::SelText() const {
  return view_.Document().Substring(view_.SelectionStart(), view_.SelectionEnd() - view_.SelectionStart());
}

HBRUSH Win32TextBox::OnControlColor(HDC dc) noexcept {
  // Read-only boxes ask for the dialog colour; the window's boxes stay white like editable ones.
  if (!readOnly_) return nullptr;
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_WINDOW);
}

// ----------------------------------------------------------------------------------------------------------------
// Check box

int Win32CheckBox::Value() const { return Send<int>(Window(), BM_GETCHECK); }

void Win32CheckBox::SetValue(int value) {
  Send(Window(), BM_SETCHECK, static_cast<WPARAM>(std::clamp(value, 0, 2)));
}

bool Win32CheckBox::Enabled() const { return IsWindowEnabled(Window()) != FALSE; }

void Win32CheckBox::SetEnabled(bool enabled) { EnableWindow(Window(), enabled ? TRUE : FALSE); }

std::wstring Win32CheckBox::Caption() const { return WindowText(Window()); }

void Win32CheckBox::OnCommand(int notification) noexcept {
  if (notification != BN_CLICKED) return;
  // A three-state button left to itself would cycle through greyed; the user only ever toggles checked.
  Send(Window(), BM_SETCHECK, Value() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  session_.RaiseEvent(Click);
}

// ----------------------------------------------------------------------------------------------------------------
// Picture box

Win32PictureBox::Win32PictureBox(Win32Session& session, HWND window)
    : Win32Control(session, window), backColor_(0x8000000Fu), brush_(CreateSolidBrush(ToColorRef(backColor_))) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32PictureBox::SetBackColor(std::uint32_t color) {
  backColor_ = color;
  brush_.Reset(CreateSolidBrush(ToColorRef(color)));
  // The labels inside paint on this colour too.
  RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Win32PictureBox::OnEraseBackground(HDC dc) noexcept {
  RECT client{};
  GetClientRect(Window(), &client);
  FillRect(dc, &client, brush_.Get());
  return 1;
}

LRESULT CALLBACK Win32PictureBox::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* box = reinterpret_cast<Win32PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND:
      if (!box) break;
      return box->OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      // The form keeps the table of controls, those inside this panel included.
      return SendMessageW(GetParent(window), message, wParam, lParam);
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// ----------------------------------------------------------------------------------------------------------------
// Label

Win32Label::Win32Label(Win32Session& session, HWND window, unsigned options,
                       const Win32PictureBox* backdrop) noexcept
    : Win32Control(session, window),
      autoSize_((options & kAutoSize) != 0),
      whiteTransparent_((options & kWhiteTransparent) != 0),
      backdrop_(backdrop) {
  if (autoSize_) SizeToCaption();
}

std::wstring Win32Label::Caption() const { return WindowText(Window()); }

void Win32Label::SetCaption(const std::wstring& caption) {
  SetWindowTextW(Window(), caption.c_str());
  if (autoSize_) SizeToCaption();
}

void Win32Label::SizeToCaption() noexcept {
  const std::wstring caption = [this]() noexcept {
    try {
      return Caption();
    } catch (...) {
      return std::wstring();
    }
  }();
  ScreenDc dc(Window());
  if (!dc.Get()) return;
  SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(Window(), WM_GETFONT, 0, 0)));
  RECT extent{};
  DrawTextW(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  // Drawn again whole: what the label showed at its old width is no part of the caption at the new one (a word that
  // did not fit there was wrapped out of sight).
  SetWindowPos(Window(), nullptr, 0, 0, extent.right - extent.left, extent.bottom - extent.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

HBRUSH Win32Label::OnControlColor(HDC dc) noexcept {
  if (whiteTransparent_) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    // The panel's own brush rather than a hollow one: a shorter caption then wipes the longer one it replaces.
    return backdrop_ ? backdrop_->Brush() : GetSysColorBrush(COLOR_BTNFACE);
  }
  if (!backdrop_) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  return backdrop_->Brush();
}

// ----------------------------------------------------------------------------------------------------------------
// Command button

std::wstring Win32CommandButton::Caption() const { return WindowText(Window()); }

void Win32CommandButton::OnCommand(int notification) noexcept {
  if (notification == BN_CLICKED) session_.RaiseEvent(Click);
}

}  // namespace quillon::runtime::win32
