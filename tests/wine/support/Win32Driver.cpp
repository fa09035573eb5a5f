#include "tests/wine/support/Win32Driver.h"

#include <chrono>
#include <vector>

namespace quillon::winetest {

namespace {

LPARAM PointParam(POINT point) { return MAKELPARAM(point.x, point.y); }

POINT Centre(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

bool IsClass(HWND window, const wchar_t* name) {
  const std::wstring actual = ClassName(window);
  return CompareStringOrdinal(actual.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

struct DialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  if (ClassName(window) != L"#32770" || GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace

std::unique_ptr<runtime::win32::Win32Form> CreateWin32Form(runtime::Win32Runtime& runtime, int clientWidthTwips,
                                                          int clientHeightTwips, const runtime::FontSpec& font) {
  std::unique_ptr<runtime::Form> form = runtime.CreateForm(clientWidthTwips, clientHeightTwips, font);
  return std::unique_ptr<runtime::win32::Win32Form>(static_cast<runtime::win32::Win32Form*>(form.release()));
}

void Win32UserInput::Process() {
  // Input often causes further messages (focus changes, notifications posted back); a few passes take them all.
  for (int pass = 0; pass < 3; ++pass) runtime_.ProcessPendingMessages();
}

void Win32UserInput::PostClick(HWND window, POINT point, WPARAM keys) {
  if (!IsWindowEnabled(window)) return;
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, PointParam(point));
  PostMessageW(window, WM_LBUTTONUP, keys, PointParam(point));
}

void Win32UserInput::PostDoubleClick(HWND window, POINT point) {
  if (!IsWindowEnabled(window)) return;
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(point));
  PostMessageW(window, WM_LBUTTONUP, 0, PointParam(point));
  PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(point));
  PostMessageW(window, WM_LBUTTONUP, 0, PointParam(point));
}

void Win32UserInput::ClickListItem(HWND list, int index, WPARAM keys) {
  // The item must be on screen to be clicked, as for a user who scrolled to it.
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  PostClick(list, Centre(item), keys);
  Process();
}

void Win32UserInput::DoubleClickListItem(HWND list, int index) {
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  PostDoubleClick(list, Centre(item));
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
  const POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)) + 1};
  PostClick(edit, point);
  Process();
}

void Win32UserInput::TypeText(HWND edit, const std::wstring& text) {
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t ch : text) PostMessageW(edit, WM_CHAR, ch, 1);
  Process();
}

void Win32UserInput::TypeIntoCombo(HWND combo, const std::wstring& text) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(combo, &info);
  TypeText(info.hwndItem, text);
}

void Win32UserInput::PickFromCombo(HWND combo, int index) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(combo, &info);
  SetFocus(info.hwndItem);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Process();
  RECT item{};
  SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  PostClick(info.hwndList, Centre(item));
  Process();
}

ModalDialogAnswerer::ModalDialogAnswerer(HWND owner, int buttonId, std::optional<std::wstring> editText)
    : thread_([this, owner, buttonId, editText] { Run(owner, buttonId, editText); }) {}

ModalDialogAnswerer::~ModalDialogAnswerer() {
  if (thread_.joinable()) thread_.join();
}

SeenDialog ModalDialogAnswerer::Seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void ModalDialogAnswerer::Run(HWND owner, int buttonId, std::optional<std::wstring> editText) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  DialogSearch search{owner, nullptr};
  while (!search.found && std::chrono::steady_clock::now() < deadline) {
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(10);
  }
  if (!search.found) return;
  HWND dialog = search.found;
  seen_.found = true;
  seen_.owner = GetWindow(dialog, GW_OWNER);
  seen_.caption = TextOf(dialog);
  for (HWND child : ChildrenOf(dialog)) {
    if (IsClass(child, L"Static")) {
      std::wstring text = TextOf(child);
      if (text.size() > seen_.text.size()) seen_.text = std::move(text);
    }
    if (editText && IsClass(child, L"Edit"))
      SendMessageW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(editText->c_str()));
  }
  if (HWND button = GetDlgItem(dialog, buttonId)) {
    PostMessageW(button, BM_CLICK, 0, 0);
    return;
  }
  PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(buttonId), 0);
}

}  // namespace quillon::winetest
