#include "tests/wine/support/Win32Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "runtime/win32/Win32Handles.h"

namespace quillon::winetest {

namespace {

LPARAM PointParam(POINT point) { return MAKELPARAM(point.x, point.y); }

POINT Centre(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

std::vector<std::wstring> Items(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::vector<std::wstring> items;
  const auto count = static_cast<int>(SendMessageW(control, countMessage, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = static_cast<std::size_t>(SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0));
    std::wstring item(length + 1, L'\0');
    SendMessageW(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(length);
    items.push_back(item);
  }
  return items;
}

/// A dialog owned by `owner` other than `previous` (which may still be closing), waiting up to `patience`.
HWND WaitForDialog(HWND owner, HWND previous, std::chrono::milliseconds patience) {
  DWORD process = 0;
  GetWindowThreadProcessId(owner, &process);
  const auto deadline = std::chrono::steady_clock::now() + patience;
  do {
    if (HWND dialog = FindTopLevel(process, [&](HWND window) {
          return window != previous && IsClass(window, L"#32770") && GetWindow(window, GW_OWNER) == owner;
        }))
      return dialog;
    Sleep(10);
  } while (std::chrono::steady_clock::now() < deadline);
  return nullptr;
}

/// Gives a window of this thread the focus, as a user's click would; another process's window is left as it is.
void FocusIfOurs(HWND window) {
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) SetFocus(window);
}

SeenDialog Describe(HWND dialog) {
  SeenDialog seen{WindowText(dialog), L""};
  for (HWND child = FindWindowExW(dialog, nullptr, L"Static", nullptr); child != nullptr;
       child = FindWindowExW(dialog, child, L"Static", nullptr)) {
    std::wstring text = WindowText(child);
    if (text.size() > seen.text.size()) seen.text = std::move(text);
  }
  return seen;
}

/// The index of the entry that equals `item` exactly, or -1; a test fails when there is none.
int IndexOf(HWND list, const std::wstring& item) {
  const std::vector<std::wstring> items = ListItems(list);
  const auto found = std::find(items.begin(), items.end(), item);
  EXPECT_NE(found, items.end()) << "no entry " << ::testing::PrintToString(item);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

}  // namespace

std::unique_ptr<runtime::win32::Win32Form> CreateWin32Form(runtime::Win32Runtime& runtime, int clientWidthTwips,
                                                           int clientHeightTwips, const runtime::FontSpec& font) {
  std::unique_ptr<runtime::Form> form = runtime.CreateForm(clientWidthTwips, clientHeightTwips, font);
  return std::unique_ptr<runtime::win32::Win32Form>(static_cast<runtime::win32::Win32Form*>(form.release()));
}

std::wstring WindowText(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::vector<DWORD> ClientPixels(HWND window, Repaint repaint) {
  // Read back from the window's own DC, so that a part left unpainted shows too (an edit control repaints only what a
  // change touched: a font set without redrawing). The caret is inverted into the same pixels: hidden meanwhile.
  RedrawWindow(window, nullptr, nullptr, (repaint == Repaint::kWhole ? RDW_INVALIDATE : 0) | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(window, &client);
  runtime::win32::ScreenDc screen(window);
  const runtime::win32::UniqueDc memory(CreateCompatibleDC(screen.Get()));
  const runtime::win32::UniqueGdiObject<HBITMAP> bitmap(
      CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  const bool hidden = HideCaret(window);
  {
    runtime::win32::SelectedObject into(memory.Get(), bitmap.Get());  // out again before GetDIBits
    BitBlt(memory.Get(), 0, 0, client.right, client.bottom, screen.Get(), 0, 0, SRCCOPY);
  }
  if (hidden) ShowCaret(window);
  BITMAPINFO format{{sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  std::vector<DWORD> pixels(static_cast<std::size_t>(client.right) * static_cast<std::size_t>(client.bottom));
  GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(client.bottom), pixels.data(), &format, DIB_RGB_COLORS);
  return pixels;
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t actual[64] = {};
  GetClassNameW(window, actual, 64);
  return CompareStringOrdinal(actual, -1, name, -1, TRUE) == CSTR_EQUAL;
}

std::vector<std::wstring> ListItems(HWND list) { return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }

std::vector<std::wstring> ComboItems(HWND combo) { return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT); }

HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& accept) {
  struct Search {
    DWORD process;
    const std::function<bool(HWND)>& accept;
    HWND found;
  } search{process, accept, nullptr};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto* s = reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->process || !IsWindowVisible(window) || !s->accept(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Win32UserInput::Win32UserInput(runtime::Win32Runtime& runtime)
    : process_([&runtime] {
        // Input often causes further messages (focus changes, notifications posted back); a few passes take all.
        for (int pass = 0; pass < 3; ++pass) runtime.ProcessPendingMessages();
      }) {}

void Win32UserInput::PostClick(HWND window, POINT point, WPARAM keys) {
  if (!IsWindowEnabled(window)) return;
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, PointParam(point));
  PostMessageW(window, WM_LBUTTONUP, keys, PointParam(point));
}

POINT Win32UserInput::ListItemMiddle(HWND list, int index) {
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return Centre(item);
}

void Win32UserInput::ClickListItem(HWND list, int index, WPARAM keys) {
  PostClick(list, ListItemMiddle(list, index), keys);
  Process();
}

void Win32UserInput::ClickListItem(HWND list, const std::wstring& item) {
  if (const int index = IndexOf(list, item); index >= 0) ClickListItem(list, index);
}

void Win32UserInput::DoubleClickListItem(HWND list, const std::wstring& item) {
  if (const int index = IndexOf(list, item); index >= 0) DoubleClickListItem(list, index);
}

void Win32UserInput::DoubleClickListItem(HWND list, int index) {
  // The messages of a double click: down, up, double-click, up.
  const POINT point = ListItemMiddle(list, index);
  PostClick(list, point);
  if (IsWindowEnabled(list)) {
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(point));
    PostMessageW(list, WM_LBUTTONUP, 0, PointParam(point));
  }
  Process();
}

void Win32UserInput::ClickButton(HWND button) {
  RECT client{};
  GetClientRect(button, &client);
  PostClick(button, Centre(client));
  Process();
}

void Win32UserInput::ClickEditAt(HWND edit, int caret) {
  const LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(caret), 0);
  // The left edge of the character, one pixel down into its line so the click lands inside the line.
  PostClick(edit, {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)) + 1});
  Process();
}

void Win32UserInput::TypeText(HWND edit, const std::wstring& text) {
  FocusIfOurs(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t ch : text) PostMessageW(edit, WM_CHAR, ch, 1);
  Process();
}

void Win32UserInput::PickFromCombo(HWND combo, int index) {
  FocusIfOurs(FindWindowExW(combo, nullptr, L"Edit", nullptr));
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Process();
  // The dropped list is a top-level window of the combo box's process.
  DWORD process = 0;
  GetWindowThreadProcessId(combo, &process);
  HWND dropped = FindTopLevel(process, [](HWND window) { return IsClass(window, L"ComboLBox"); });
  RECT item{};
  SendMessageW(dropped, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  PostClick(dropped, Centre(item));
  Process();
}

ModalDialogAnswerer::ModalDialogAnswerer(HWND owner, std::vector<DialogAnswer> answers)
    : thread_([this, owner, answers = std::move(answers)] { Run(owner, answers); }) {}

void ModalDialogAnswerer::Run(HWND owner, const std::vector<DialogAnswer>& answers) {
  HWND previous = nullptr;
  for (const DialogAnswer& answer : answers) {
    HWND dialog = WaitForDialog(owner, previous, std::chrono::seconds(10));
    if (dialog == nullptr) return;
    seen_.push_back(Describe(dialog));
    if (HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr); edit && answer.text)
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.text->c_str()));
    if (HWND button = GetDlgItem(dialog, answer.button)) {
      PostMessageW(button, BM_CLICK, 0, 0);
    } else {
      PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(answer.button), 0);
    }
    previous = dialog;
  }
  // Once the last dialog is gone the handler runs on to its end, unless it asks again.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (IsWindow(previous) && std::chrono::steady_clock::now() < deadline) Sleep(5);
  if (HWND extra = WaitForDialog(owner, previous, std::chrono::milliseconds(300))) {
    seen_.push_back(Describe(extra));
    PostMessageW(extra, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(extra, WM_COMMAND, IDNO, 0);
  }
}

}  // namespace quillon::winetest
