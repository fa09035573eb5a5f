#include "runtime/win32/Win32Form.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace quillon::runtime::win32 {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExtendedStyle = WS_EX_CONTROLPARENT;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;
constexpr int kFirstControlId = 100;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

/// GetDpiForWindow exists from Windows 10 1607 on; older systems (and Wine 8) may lack it.
GetDpiForWindowFunction LoadGetDpiForWindow() noexcept {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  FARPROC procedure = GetProcAddress(user32, "GetDpiForWindow");
  return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(procedure));
}

}  // namespace

int WindowDpi(HWND window) noexcept {
  static const GetDpiForWindowFunction getDpiForWindow = LoadGetDpiForWindow();
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  ScreenDc screen(nullptr);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(int twips, int dpi) noexcept { return MulDiv(twips, dpi, 1440); }

Win32Form::Win32Form(Win32Session& session, int clientWidthTwips, int clientHeightTwips, const FontSpec& font)
    : session_(session), font_(font) {
  HWND window = CreateWindowExW(kFormExtendedStyle, kFormClassName, L"", kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, session.Instance(), this);
  // WM_NCCREATE has already given the window to window_.
  if (!window) throw std::runtime_error("CreateWindowEx failed for a form");
  session_.FormOpened(window);

  // The client area is given in twips; the frame around it depends on the style.
  dpi_ = WindowDpi(window);
  RECT frame{0, 0, TwipsToPixels(clientWidthTwips, dpi_), TwipsToPixels(clientHeightTwips, dpi_)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExtendedStyle);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32Form::~Win32Form() {
  // Destroying the form destroys its children; WM_NCDESTROY then tells every control to forget its window.
  window_.Reset();
}

HFONT Win32Form::FontFor(double points) {
  const int centipoints = static_cast<int>(std::lround(points * 100.0));
  auto found = fonts_.find(centipoints);
  if (found != fonts_.end()) return found->second.Get();
  UniqueFont font(CreateFontW(-MulDiv(centipoints, dpi_, 7200), 0, 0, 0, font_.weight, FALSE, FALSE, FALSE,
                              static_cast<DWORD>(font_.charSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_.faceName));
  HFONT handle = font.Get();
  fonts_.emplace(centipoints, std::move(font));
  return handle;
}

Win32Form::ChildPlacement Win32Form::PlacementOf(const ControlSpec& spec) const {
  if (!spec.parent) return {Window(), nullptr};
  auto found = pictureBoxes_.find(spec.parent);
  if (found == pictureBoxes_.end()) throw std::invalid_argument(std::string("unknown parent control ") + spec.parent);
  return {found->second->Window(), found->second};
}

Win32Form::Layout Win32Form::LayoutOf(const ControlSpec& spec) const noexcept {
  const int height = TwipsToPixels(spec.height, dpi_);
  return {TwipsToPixels(spec.left, dpi_), TwipsToPixels(spec.top, dpi_), TwipsToPixels(spec.width, dpi_),
          spec.kind == ControlKind::ComboBox ? height * 9 : height};
}

HWND Win32Form::CreateChild(const ControlSpec& spec, const wchar_t* className, DWORD style, DWORD extendedStyle,
                            const wchar_t* text) {
  const ChildPlacement placement = PlacementOf(spec);
  const int id = kFirstControlId + static_cast<int>(controls_.size());
  const Layout layout = LayoutOf(spec);
  // Children are created in tab order, so their z-order is the tab order the dialog manager follows.
  HWND child = CreateWindowExW(extendedStyle, className, text ? text : L"", kChildStyle | style, layout.left,
                               layout.top, layout.width, layout.height, placement.parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), session_.Instance(), nullptr);
  if (!child) throw std::runtime_error(std::string("CreateWindowEx failed for control ") + spec.name);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec.fontPoints)), FALSE);
  return child;
}

template <typename Control>
Control& Win32Form::Adopt(const ControlSpec& spec, std::unique_ptr<Control> control) {
  Control& adopted = *control;
  byWindow_[control->Window()] = control.get();
  byName_[spec.name] = control.get();
  controls_.push_back(std::move(control));
  specs_.push_back(spec);
  return adopted;
}

ListBox& Win32Form::AddListBox(const ControlSpec& spec) {
  DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  if (spec.options & kSorted) style |= LBS_SORT;
  if (spec.options & kExtendedSelection) style |= LBS_EXTENDEDSEL;
  HWND window = CreateChild(spec, L"LISTBOX", style, WS_EX_CLIENTEDGE, nullptr);
  return Adopt(spec, std::make_unique<Win32ListBox>(session_, window, spec.options));
}

ComboBox& Win32Form::AddComboBox(const ControlSpec& spec) {
  HWND window = CreateChild(spec, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                            spec.caption);
  return Adopt(spec, std::make_unique<Win32ComboBox>(session_, window));
}

TextBox& Win32Form::AddTextBox(const ControlSpec& spec) {
  DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
  if (spec.options & kMultiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (spec.options & kScrollBars) style |= WS_VSCROLL | WS_HSCROLL;
  if (spec.options & kReadOnly) style |= ES_READONLY;
  // The text goes to the view that takes the edit control over, never to the edit control itself.
  HWND window = CreateChild(spec, L"EDIT", style, WS_EX_CLIENTEDGE, nullptr);
  return Adopt(spec, std::make_unique<Win32TextBox>(session_, window, spec.options, spec.caption));
}

CheckBox& Win32Form::AddCheckBox(const ControlSpec& spec) {
  DWORD style = WS_TABSTOP | BS_3STATE;
  if (spec.options & kDisabled) style |= WS_DISABLED;
  HWND window = CreateChild(spec, L"BUTTON", style, 0, spec.caption);
  if (spec.options & kChecked) SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
  return Adopt(spec, std::make_unique<Win32CheckBox>(session_, window));
}

Label& Win32Form::AddLabel(const ControlSpec& spec) {
  const ChildPlacement placement = PlacementOf(spec);
  HWND window = CreateChild(spec, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, spec.caption);
  return Adopt(spec, std::make_unique<Win32Label>(session_, window, spec.options, placement.backdrop));
}

PictureBox& Win32Form::AddPictureBox(const ControlSpec& spec) {
  // WS_EX_CONTROLPARENT lets the dialog manager's tabbing walk into the panel's children.
  HWND window = CreateChild(spec, kPictureBoxClassName, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, nullptr);
  auto& box = Adopt(spec, std::make_unique<Win32PictureBox>(session_, window));
  pictureBoxes_[spec.name] = &box;
  return box;
}

CommandButton& Win32Form::AddCommandButton(const ControlSpec& spec) {
  HWND window = CreateChild(spec, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, spec.caption);
  return Adopt(spec, std::make_unique<Win32CommandButton>(session_, window));
}

std::wstring Win32Form::Caption() const { return WindowText(Window()); }

void Win32Form::SetCaption(const std::wstring& caption) { SetWindowTextW(Window(), caption.c_str()); }

int Win32Form::WindowState() const {
  if (IsIconic(Window())) return kMinimized;
  if (IsZoomed(Window())) return kMaximized;
  return kNormal;
}

void Win32Form::SetWindowState(int state) {
  switch (state) {
    case kMinimized:
      ShowWindow(Window(), SW_MINIMIZE);
      return;
    case kMaximized:
      ShowWindow(Window(), SW_MAXIMIZE);
      return;
    default:
      ShowWindow(Window(), SW_RESTORE);
      return;
  }
}

bool Win32Form::Visible() const { return Window() && IsWindowVisible(Window()) != FALSE; }

std::uint32_t Win32Form::Handle() const {
  // Window handles are 32-bit values on 64-bit Windows too, so that 32-bit and 64-bit programs can share them.
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Window()));
}

void Win32Form::Show() {
  if (!loaded_) {
    loaded_ = true;
    if (Load) Load();
  }
  if (!Window()) return;
  ShowWindow(Window(), SW_SHOW);
  UpdateWindow(Window());
}

HWND Win32Form::ControlWindow(const std::string& name) const noexcept {
  auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second->Window();
}

LRESULT CALLBACK Win32Form::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* form = static_cast<Win32Form*>(create->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->window_ = UniqueWindow(window);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return OnControlColor(message, wParam, lParam);
    case WM_SETCURSOR:
      return OnSetCursor(wParam, lParam);
    case WM_ACTIVATE:
      return OnActivate(wParam, lParam);
    case WM_DPICHANGED:
      return OnDpiChanged(wParam, lParam);
    case WM_NCDESTROY:
      return OnNcDestroy(wParam, lParam);
    default:
      return DefWindowProcW(Window(), message, wParam, lParam);
  }
}

LRESULT Win32Form::OnCommand(WPARAM wParam, LPARAM lParam) noexcept {
  auto found = byWindow_.find(reinterpret_cast<HWND>(lParam));
  if (lParam == 0 || found == byWindow_.end()) return DefWindowProcW(Window(), WM_COMMAND, wParam, lParam);
  found->second->OnCommand(HIWORD(wParam));
  return 0;
}

LRESULT Win32Form::OnControlColor(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto found = byWindow_.find(reinterpret_cast<HWND>(lParam));
  if (found != byWindow_.end()) {
    if (HBRUSH brush = found->second->OnControlColor(reinterpret_cast<HDC>(wParam)))
      return reinterpret_cast<LRESULT>(brush);
  }
  return DefWindowProcW(Window(), message, wParam, lParam);
}

LRESULT Win32Form::OnSetCursor(WPARAM wParam, LPARAM lParam) noexcept {
  // Children pass WM_SETCURSOR to their parent first, so this covers the whole window.
  if (session_.ApplyMousePointer()) return TRUE;
  return DefWindowProcW(Window(), WM_SETCURSOR, wParam, lParam);
}

LRESULT Win32Form::OnActivate(WPARAM wParam, LPARAM lParam) noexcept {
  // Like a dialog, the window gives the keyboard focus back to the control that had it when it was left.
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(Window(), focus)) lastFocus_ = focus;
    return DefWindowProcW(Window(), WM_ACTIVATE, wParam, lParam);
  }
  if (HIWORD(wParam) != 0) return 0;  // activated while minimised: nothing to focus yet
  HWND focus = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : GetNextDlgTabItem(Window(), nullptr, FALSE);
  if (focus) SetFocus(focus);
  return 0;
}

LRESULT Win32Form::OnDpiChanged(WPARAM wParam, LPARAM lParam) noexcept {
  // The window moved to a screen of another DPI: every control is laid out again from its twips, with fonts made
  // for the new DPI. What the controls hold, select and show stays theirs.
  const int dpi = LOWORD(wParam);
  if (dpi <= 0 || dpi == dpi_) return 0;
  const int oldDpi = std::exchange(dpi_, dpi);
  std::map<int, UniqueFont> oldFonts;
  oldFonts.swap(fonts_);
  try {
    for (const ControlSpec& spec : specs_) FontFor(spec.fontPoints);
  } catch (...) {
    // No memory for the new fonts: everything stays as it was.
    fonts_.swap(oldFonts);
    dpi_ = oldDpi;
    return 0;
  }
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    HWND window = controls_[i]->Window();
    const Layout layout = LayoutOf(specs_[i]);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(specs_[i].fontPoints)), FALSE);
    SetWindowPos(window, nullptr, layout.left, layout.top, layout.width, layout.height, SWP_NOZORDER | SWP_NOACTIVATE);
    controls_[i]->OnLayoutChanged();
  }
  oldFonts.clear();  // no control uses them any more
  if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
    SetWindowPos(Window(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return 0;
}

LRESULT Win32Form::OnNcDestroy(WPARAM wParam, LPARAM lParam) noexcept {
  HWND window = window_.Release();
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  for (const auto& control : controls_) control->Forget();
  byWindow_.clear();
  session_.FormClosed(window);
  return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

}  // namespace quillon::runtime::win32
