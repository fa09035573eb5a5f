// One working session with the real quillon.exe, driven from this process the way a user drives it: mouse clicks
// posted to its lists, typing into its edit fields, its buttons pressed, and its own prompts and confirmations
// answered. Every write is checked in the registry with advapi32, and the favourites are looked for again after a
// restart. A second test counts the window's user and GDI objects across a thousand navigations.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"
#include "tests/wine/support/QuillonProcess.h"
#include "tests/wine/support/Win32Driver.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using Strings = std::vector<std::wstring>;
using Bytes = std::vector<BYTE>;

// Reading the program's controls from outside: the standard controls answer these messages across processes.

std::wstring WindowText(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

Strings Items(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  Strings items;
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
Strings ListItems(HWND list) { return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }
Strings ComboItems(HWND combo) { return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT); }

int IndexOf(HWND list, const std::wstring& item) {
  const Strings items = ListItems(list);
  const auto found = std::find(items.begin(), items.end(), item);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

std::wstring ClassOf(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return name;
}

// The registry as the test process sees it.

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void Put(const std::string& path, const char* name, DWORD type, const Bytes& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
  if (name != nullptr) RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

/// A value's type and bytes; nothing when it does not exist.
std::optional<std::pair<DWORD, Bytes>> Stored(const std::string& path, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::pair<DWORD, Bytes>> value;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    Bytes data(size);
    if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS) value.emplace(type, data);
  }
  RegCloseKey(key);
  return value;
}

/// The value list as the program should show it: the default entry, then the names in the platform's order (which
/// need not be the order they were written in).
Strings ValueList(const std::string& path) {
  Strings names{L""};
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD length = sizeof name; RegEnumValueA(key, static_cast<DWORD>(names.size() - 1), name, &length, nullptr,
                                                 nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       length = sizeof name) {
    names.push_back(Wide(name));
  }
  RegCloseKey(key);
  return names;
}

/// The texts of the string values of a key, in the platform's order: how the favourites rest in the settings store.
Strings StringData(const std::wstring& path) {
  Strings texts;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return texts;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS) {
      break;
    }
    if (type == REG_SZ && data[0] != L'\0') texts.push_back(data);
  }
  RegCloseKey(key);
  return texts;
}

/// What a dialog showed: its caption and its longest static text, the prompt.
using Seen = std::pair<std::wstring, std::wstring>;
/// The value panel: txtValueName, lblValueType, lblValueSize, txtValue, txtValueHex.
using Panel = std::vector<std::wstring>;

/// One answer to a dialog: the text typed into its edit field, if it has one, and the button pressed.
struct Answer {
  int button;
  std::wstring text;
};

struct DialogSearch {
  HWND owner;
  HWND previous;
  HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  if (window == search->previous || !IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
  if (GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  search->found = window;
  return FALSE;
}

/// A visible dialog owned by `owner` other than `previous`, waiting up to `patience` for one to appear.
HWND WaitForDialog(HWND owner, HWND previous, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  do {
    DialogSearch search{owner, IsWindow(previous) ? previous : nullptr, nullptr};
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(10);
  } while (std::chrono::steady_clock::now() < deadline);
  return nullptr;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM parameter) {
  auto* seen = reinterpret_cast<Seen*>(parameter);
  const std::wstring text = WindowText(child);
  if (CompareStringOrdinal(ClassOf(child).c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL &&
      text.size() > seen->second.size()) {
    seen->second = text;
  }
  return TRUE;
}

BOOL CALLBACK FindDroppedList(HWND window, LPARAM parameter) {
  auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != found->first || !IsWindowVisible(window) || ClassOf(window) != L"ComboLBox") return TRUE;
  found->second = window;
  return FALSE;
}

/// The controls of the program's window. Buttons and check boxes are found by their captions; the others where
/// the window's fixed layout puts them, given in twips from the client area's corner.
struct Controls {
  HWND List1, List2, List3, txtValue, txtKey, lblValueType, lblValueSize, txtValueName, txtValueHex, txtFindList,
      txtFind, txtGoTo;
};

HWND ChildAt(HWND parent, int leftTwips, int topTwips) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const int left = MulDiv(leftTwips, dpi, 1440);
  const int top = MulDiv(topTwips, dpi, 1440);
  for (HWND child = FindWindowExW(parent, nullptr, nullptr, nullptr); child != nullptr;
       child = FindWindowExW(parent, child, nullptr, nullptr)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    if (std::abs(rect.left - left) <= 1 && std::abs(rect.top - top) <= 1) return child;
  }
  return nullptr;
}

constexpr wchar_t kTypeString[] = L"Value Type : String";
constexpr wchar_t kTypeDword[] = L"Value Type : DWORD";
constexpr wchar_t kTypeBinary[] = L"Value Type : Binary";

class Journey : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = "QuillonTest-" + std::to_string(GetCurrentProcessId());
    root_ = "Software\\" + name_;
    rootPath_ = L"HKEY_CURRENT_USER\\Software\\" + Wide(name_);
    // The favourites go where the program keeps them; the journey removes them unless they were there before.
    hadSettings_ = KeyExists("Software\\quillon");
    Put(root_, "Str", REG_SZ, {'p', 'l', 'a', 'i', 'n', ' ', 't', 'e', 'x', 't', 0});
    Put(root_, "Path", REG_EXPAND_SZ, {'%', 'T', 'E', 'M', 'P', '%', '\\', 'n', 'e', 'e', 'd', 'l', 'e', 0});
    Put(root_, "Num", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF});
    Put(root_, "BigEnd", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1});
    Put(root_, "Bin", REG_BINARY, {0x41, 0x0A, 0xFF});
    Put(root_, "Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
    Put(root_ + "\\Alpha", "NeedleValue", REG_SZ, {'x', 0});
    Put(root_ + "\\Alpha", "Blob", REG_BINARY, {'N', 'e', 'e', 'd', 'l', 'e', 0, 't', 'a', 'i', 'l'});
    Put(root_ + "\\Alpha\\NeedleKey", nullptr, 0, {});
    Put(root_ + "\\Beta\\Gamma", "Deep", REG_SZ, {'d', 'e', 'e', 'p', 0});
  }

  void TearDown() override {
    quillon_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, root_.c_str());
    EXPECT_FALSE(KeyExists(root_)) << "test key left behind";
    if (!hadSettings_) {
      RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\quillon");
      RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quillon");
    }
  }

  void Start() {
    quillon_ = std::make_unique<QuillonProcess>();
    ASSERT_TRUE(quillon_->Started()) << "cannot start quillon.exe; build it first or set QUILLON_EXE";
    main_ = quillon_->MainWindow();
    ASSERT_NE(main_, nullptr);
    ASSERT_EQ(WindowText(main_), L"Quillon");
    c_ = {ChildAt(main_, 120, 840),   ChildAt(main_, 1920, 840), ChildAt(main_, 3720, 840),  ChildAt(main_, 5520, 1320),
          ChildAt(main_, 120, 4080),  ChildAt(main_, 5520, 840), ChildAt(main_, 5520, 1080), ChildAt(main_, 5520, 2160),
          ChildAt(main_, 5520, 3840), ChildAt(main_, 120, 5520), ChildAt(main_, 120, 5040),  ChildAt(main_, 120, 4560)};
    for (HWND control : {c_.List1, c_.List2, c_.List3, c_.txtValue, c_.txtKey, c_.lblValueType, c_.lblValueSize,
                         c_.txtValueName, c_.txtValueHex, c_.txtFindList, c_.txtFind, c_.txtGoTo}) {
      ASSERT_NE(control, nullptr) << "a control is not where the layout puts it";
    }
  }

  void Close() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(quillon_->ExitCode(), 0u);
    quillon_.reset();
  }

  /// Waits until the program has handled everything sent to it so far and shown the text it holds back while
  /// busy. A marker posted to a control (the path box's typing limit, which nothing else uses) reaches it after
  /// every message posted before it; the program shows held-back text before it next waits for input.
  void Settle() {
    const auto marker = static_cast<WPARAM>(0x10000000 + ++settles_);
    PostMessageW(c_.txtKey, EM_SETLIMITTEXT, marker, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      DWORD_PTR limit = 0;
      SendMessageTimeoutW(c_.txtKey, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 30000, &limit);
      if (limit == marker) return;
      Sleep(5);
    }
    ADD_FAILURE() << "quillon.exe does not answer";
  }

  void PostClicks(HWND window, POINT point, bool twice) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
    Settle();
  }

  void ClickItem(HWND list, int index, bool twice = false) {
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    PostClicks(list, {(item.left + item.right) / 2, (item.top + item.bottom) / 2}, twice);
  }
  void Click(HWND list, const std::wstring& item, bool twice = false) {
    const int index = IndexOf(list, item);
    ASSERT_GE(index, 0) << "no entry to click";
    ClickItem(list, index, twice);
  }
  void DoubleClick(HWND list, const std::wstring& item) { Click(list, item, true); }

  /// Clicks the result box on the left edge of character `caret`.
  void ClickResultAt(std::size_t caret) {
    // The box scrolls to its end as results come; the user scrolls the line back into view first.
    const LRESULT line = SendMessageW(c_.txtFindList, EM_LINEFROMCHAR, caret, 0);
    const LRESULT first = SendMessageW(c_.txtFindList, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(c_.txtFindList, EM_LINESCROLL, 0, line - first);
    const LRESULT at = SendMessageW(c_.txtFindList, EM_POSFROMCHAR, caret, 0);
    PostClicks(c_.txtFindList, {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)) + 1}, false);
  }

  /// Types into an edit field over what it holds, as after selecting all of it.
  void Type(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (text.empty()) PostMessageW(edit, WM_CHAR, VK_BACK, 1);
    for (wchar_t ch : text) PostMessageW(edit, WM_CHAR, ch, 1);
    Settle();
  }
  void TypeGoTo(const std::wstring& text) { Type(FindWindowExW(c_.txtGoTo, nullptr, L"Edit", nullptr), text); }

  /// Opens the favourites' drop-down list and clicks entry `index`.
  void PickFavourite(int index) {
    SendMessageW(c_.txtGoTo, CB_SHOWDROPDOWN, TRUE, 0);
    std::pair<DWORD, HWND> dropped{0, nullptr};
    GetWindowThreadProcessId(main_, &dropped.first);
    EnumWindows(FindDroppedList, reinterpret_cast<LPARAM>(&dropped));
    ASSERT_NE(dropped.second, nullptr) << "the drop-down list did not open";
    RECT item{};
    SendMessageW(dropped.second, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    PostClicks(dropped.second, {(item.left + item.right) / 2, (item.top + item.bottom) / 2}, false);
  }

  HWND Button(const wchar_t* caption) const { return FindWindowExW(main_, nullptr, L"Button", caption); }
  /// Presses a button or check box that opens no dialog; returns once its handler is done (a search too).
  void Press(const wchar_t* caption) {
    SendMessageW(Button(caption), BM_CLICK, 0, 0);
    Settle();
  }
  bool Checked(const wchar_t* caption) const { return SendMessageW(Button(caption), BM_GETCHECK, 0, 0) == BST_CHECKED; }

  /// Presses a button and answers the dialogs it opens, in turn; returns what they showed. A dialog beyond the
  /// answers given fails the test and is sent away.
  std::vector<Seen> Press(const wchar_t* caption, const std::vector<Answer>& answers) {
    std::vector<Seen> seen;
    PostMessageW(Button(caption), BM_CLICK, 0, 0);
    HWND previous = nullptr;
    for (const Answer& answer : answers) {
      HWND dialog = WaitForDialog(main_, previous, std::chrono::seconds(10));
      if (dialog == nullptr) {
        ADD_FAILURE() << "no dialog came";
        break;
      }
      Seen shown{WindowText(dialog), L""};
      EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&shown));
      seen.push_back(shown);
      if (HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr)) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.text.c_str()));
      }
      PostMessageW(GetDlgItem(dialog, answer.button), BM_CLICK, 0, 0);
      previous = dialog;
    }
    // Once the last dialog is gone the handler runs on to its end, unless it asks again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (previous != nullptr && IsWindow(previous) && std::chrono::steady_clock::now() < deadline) Sleep(5);
    if (HWND extra = WaitForDialog(main_, previous, std::chrono::milliseconds(300))) {
      const std::wstring shown = WindowText(extra);
      ADD_FAILURE() << "unexpected dialog " << ::testing::PrintToString(shown);
      PostMessageW(extra, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(extra, WM_COMMAND, IDNO, 0);
    }
    Settle();
    return seen;
  }

  Panel ShownValue() const {
    return {WindowText(c_.txtValueName), WindowText(c_.lblValueType), WindowText(c_.lblValueSize),
            WindowText(c_.txtValue), WindowText(c_.txtValueHex)};
  }

  std::string name_;
  std::string root_;
  std::wstring rootPath_;
  bool hadSettings_ = false;
  std::unique_ptr<QuillonProcess> quillon_;
  HWND main_ = nullptr;
  Controls c_{};
  WPARAM settles_ = 0;
};

TEST_F(Journey, AWorkingSessionWithTheRealProgram) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::wstring name = Wide(name_);
  EXPECT_EQ(ListItems(c_.List1),
            (Strings{L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_CONFIG",
                     L"HKEY_DYN_DATA", L"HKEY_PERFORMANCE_DATA", L"HKEY_USERS"}));
  EXPECT_EQ(ComboItems(c_.txtGoTo), Strings{L""});

  // Pick hives, walk down to the test key, preview a subkey, and go down and up again.
  Click(c_.List1, L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(WindowText(c_.txtKey), L"HKEY_LOCAL_MACHINE");
  EXPECT_GE(IndexOf(c_.List2, L"Software"), 0);
  Click(c_.List1, L"HKEY_CURRENT_USER");
  EXPECT_EQ(WindowText(c_.txtKey), L"HKEY_CURRENT_USER");
  EXPECT_EQ(IndexOf(c_.List2, L".."), -1);
  DoubleClick(c_.List2, L"Software");
  DoubleClick(c_.List2, name);
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_);
  EXPECT_EQ(ListItems(c_.List2), (Strings{L"..", L"Alpha", L"Beta"}));
  const Strings rootValues = ValueList(root_);
  ASSERT_EQ(rootValues.size(), 7u);
  EXPECT_EQ(ListItems(c_.List3), rootValues);
  Click(c_.List2, L"Alpha");
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_ + L"\\Alpha");
  EXPECT_EQ(ListItems(c_.List3), ValueList(root_ + "\\Alpha"));
  DoubleClick(c_.List2, L"Beta");
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_ + L"\\Beta");
  EXPECT_EQ(ListItems(c_.List2), (Strings{L"..", L"Gamma"}));
  DoubleClick(c_.List2, L"..");
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_);
  EXPECT_EQ(ListItems(c_.List2), (Strings{L"..", L"Alpha", L"Beta"}));

  // Every kind of value in the panel. Kinds the panel does not show keep the type caption of the one before.
  const struct {
    const wchar_t* value;
    Panel shown;
  } kinds[] = {
      {L"Str", {L"Str", kTypeString, L"Value Size : 11", L"plain text", L""}},
      {L"Path", {L"Path", kTypeString, L"Value Size : 14", L"%TEMP%\\needle", L""}},
      {L"Num", {L"Num", kTypeDword, L"Value Size : 4", L"-2", L""}},
      {L"BigEnd", {L"BigEnd", kTypeDword, L"Value Size : 4", L"16777216", L""}},
      {L"Bin", {L"Bin", kTypeBinary, L"Value Size : 3", std::wstring{L'A', L'\n', wchar_t{0xFF}}, L"41AFF"}},
      {L"Multi", {L"Multi", kTypeBinary, L"Value Size : 5", L"", L""}},
      {L"", {L"", kTypeBinary, L"Value Size : 0", L"", L""}},
  };
  for (const auto& kind : kinds) {
    Click(c_.List3, kind.value);
    EXPECT_EQ(ShownValue(), kind.shown) << "value " << ::testing::PrintToString(std::wstring(kind.value));
  }

  // A new key: Cancel creates nothing, OK creates it. Values of each kind; Cancel at the number writes nothing.
  const std::string fresh = root_ + "\\Fresh";
  std::vector<Seen> seen = Press(L"New Key", {{IDCANCEL, L"Ignored"}});
  EXPECT_EQ(seen, (std::vector<Seen>{{L"Quillon 1.0", L"Enter Key Name"}}));
  EXPECT_FALSE(KeyExists(fresh));
  EXPECT_FALSE(KeyExists(root_ + "\\Ignored"));
  Press(L"New Key", {{IDOK, L"Fresh"}});
  EXPECT_TRUE(KeyExists(fresh));
  EXPECT_EQ(ListItems(c_.List2), (Strings{L"..", L"Alpha", L"Beta", L"Fresh"}));

  seen = Press(L"New String Value", {{IDOK, L"S1"}, {IDOK, L"abc"}});
  EXPECT_EQ(seen, (std::vector<Seen>{{L"Quillon 1.0", L"Enter Value Name"}, {L"Quillon 1.0", L"Enter Data"}}));
  EXPECT_EQ(Stored(root_, "S1"), std::make_pair(DWORD{REG_SZ}, Bytes{'a', 'b', 'c', 0}));
  Press(L"New Numeric Value", {{IDOK, L"N1"}, {IDOK, L"-7"}});
  EXPECT_EQ(Stored(root_, "N1"), std::make_pair(DWORD{REG_DWORD}, Bytes{0xF9, 0xFF, 0xFF, 0xFF}));
  seen = Press(L"New Numeric Value", {{IDOK, L"N2"}, {IDCANCEL, L"5"}});
  EXPECT_EQ(seen.back().second, L"Enter Numeric Data");
  EXPECT_EQ(Stored(root_, "N2"), std::nullopt);
  Press(L"New Binary Value", {{IDOK, L"B1"}, {IDOK, L" AB "}});
  EXPECT_EQ(Stored(root_, "B1"), std::make_pair(DWORD{REG_BINARY}, Bytes{'A', 'B'}));
  Strings appended = rootValues;
  appended.insert(appended.end(), {L"S1", L"N1", L"B1"});
  EXPECT_EQ(ListItems(c_.List3), appended);
  Click(c_.List3, L"S1");
  EXPECT_EQ(WindowText(c_.txtValue), L"abc");

  // Deleting: No keeps, Yes removes; the other values stay.
  seen = Press(L"Delete Value", {{IDNO, L""}});
  EXPECT_EQ(seen, (std::vector<Seen>{{L"Delete S1", L"Are Sure to Delete this Value?"}}));
  EXPECT_NE(Stored(root_, "S1"), std::nullopt);
  Press(L"Delete Value", {{IDYES, L""}});
  EXPECT_EQ(Stored(root_, "S1"), std::nullopt);
  for (const wchar_t* value : {L"N1", L"B1"}) {
    Click(c_.List3, value);
    Press(L"Delete Value", {{IDYES, L""}});
  }
  EXPECT_EQ(Stored(root_, "N1"), std::nullopt);
  EXPECT_EQ(Stored(root_, "B1"), std::nullopt);
  EXPECT_NE(Stored(root_, "Str"), std::nullopt);
  EXPECT_EQ(ListItems(c_.List3), rootValues);

  Click(c_.List2, L"Fresh");
  seen = Press(L"Delete Key", {{IDNO, L""}});
  EXPECT_EQ(seen, (std::vector<Seen>{{L"Delete Fresh", L"Are Sure to Delete this key?"}}));
  EXPECT_TRUE(KeyExists(fresh));
  Press(L"Delete Key", {{IDYES, L""}});
  EXPECT_FALSE(KeyExists(fresh));
  EXPECT_TRUE(KeyExists(root_ + "\\Alpha"));
  EXPECT_EQ(ListItems(c_.List2), (Strings{L"..", L"Alpha", L"Beta"}));

  // Search the selected hive with each option in turn; nothing else in the throw-away prefix holds the text.
  const std::wstring keyLine = L"Key : " + rootPath_ + L"\\Alpha\\NeedleKey\r\n";
  const std::wstring valueLine = L"Value : " + rootPath_ + L"\\Alpha\\NeedleValue\r\n";
  const std::wstring binaryLine = L"Data : " + rootPath_ + L"\\Alpha\\Blob\\Needle\r\n";
  const std::wstring dataLine = L"Data : " + rootPath_ + L"\\Path\\%TEMP%\\needle\r\n";
  Type(c_.txtFind, L"nEEdle");
  Press(L"Find");
  EXPECT_EQ(WindowText(c_.txtFindList), keyLine);
  Press(L"Keys");
  Press(L"Values");
  Press(L"Find");
  EXPECT_EQ(WindowText(c_.txtFindList), valueLine);
  Press(L"Values");
  EXPECT_FALSE(IsWindowEnabled(Button(L"Binary")));
  Press(L"Data");
  Press(L"Find");
  EXPECT_EQ(WindowText(c_.txtFindList), dataLine);
  ASSERT_TRUE(IsWindowEnabled(Button(L"Binary")));
  Press(L"Binary");
  Press(L"Find");
  // A key's values are searched when the walk meets the key, before its subkeys: the test key before Alpha.
  EXPECT_EQ(WindowText(c_.txtFindList), dataLine + binaryLine);
  Press(L"Fast");
  Press(L"Find");
  EXPECT_EQ(WindowText(c_.txtFindList), dataLine + binaryLine);
  Press(L"Fast");

  // Below the shown key only, names and data together; "Keys" clears "Binary". The key's own values come last.
  // Fresh is still shown in the path box after its deletion: go up and down again to show the test key.
  DoubleClick(c_.List2, L"..");
  DoubleClick(c_.List2, name);
  ASSERT_EQ(WindowText(c_.txtKey), rootPath_);
  Press(L"Hive");
  Press(L"Keys");
  EXPECT_FALSE(Checked(L"Binary"));
  Press(L"Values");
  Press(L"Find");
  const std::wstring results = valueLine + keyLine + dataLine;
  EXPECT_EQ(WindowText(c_.txtFindList), results);

  // A click on the value line opens it through Go To, which keeps it as a favourite.
  TypeGoTo(L"half typed");
  ClickResultAt(valueLine.find(L": ") + 2);
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_ + L"\\Alpha");
  EXPECT_EQ(ShownValue(), (Panel{L"NeedleValue", kTypeString, L"Value Size : 2", L"x", L""}));
  const std::wstring clicked = rootPath_ + L"\\Alpha\\NeedleValue";
  EXPECT_EQ(ComboItems(c_.txtGoTo), (Strings{L"", clicked}));
  EXPECT_EQ(WindowText(c_.txtGoTo), L"half typed");
  const std::wstring favourites = L"Software\\quillon\\Goto";
  EXPECT_EQ(StringData(favourites), Strings{clicked});

  // A typed path with an alias, then the clicked one removed from the favourites.
  const std::wstring typed = L"hkcu\\Software\\" + name + L"\\Beta\\Gamma\\Deep";
  TypeGoTo(typed);
  Press(L"Go To");
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_ + L"\\Beta\\Gamma");
  EXPECT_EQ(WindowText(c_.txtValue), L"deep");
  EXPECT_EQ(ComboItems(c_.txtGoTo), (Strings{L"", clicked, typed}));
  EXPECT_EQ(StringData(favourites), (Strings{clicked, typed}));
  PickFavourite(1);
  EXPECT_EQ(WindowText(c_.txtGoTo), clicked);
  Press(L"Remove Favorite");
  EXPECT_EQ(ComboItems(c_.txtGoTo), (Strings{L"", typed}));
  EXPECT_EQ(StringData(favourites), Strings{typed});

  // Closed and started again: the favourite is offered and leads to its value.
  Close();
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(ComboItems(c_.txtGoTo), (Strings{L"", typed}));
  PickFavourite(1);
  Press(L"Go To");
  EXPECT_EQ(WindowText(c_.txtKey), rootPath_ + L"\\Beta\\Gamma");
  EXPECT_EQ(ShownValue(), (Panel{L"Deep", kTypeString, L"Value Size : 5", L"deep", L""}));
  EXPECT_EQ(ComboItems(c_.txtGoTo), (Strings{L"", typed})) << "a picked favourite is not stored again";
  Press(L"Remove Favorite");
  EXPECT_EQ(ComboItems(c_.txtGoTo), Strings{L""});
  EXPECT_EQ(StringData(favourites), Strings{});
  Close();
}

// User and GDI objects of this process. Wine's GetGuiResources is a stub that answers 0 for both. For GDI objects
// every slot of the handle table is then asked for its object's type, which Wine answers for a handle given by its
// slot alone; for user objects the windows of this thread are counted, the only user objects the window makes.
struct GuiObjects {
  DWORD user;
  DWORD gdi;
  bool counted;  // by GetGuiResources itself
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

GuiObjects CountGuiObjects() {
  GuiObjects objects{GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                     GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), true};
  if (objects.user != 0 && objects.gdi != 0) return objects;
  objects = {0, 0, false};
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&objects.user));
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++objects.gdi;
  }
  return objects;
}

TEST(Resources, UserAndGdiObjectsStayFlatAcrossAThousandNavigations) {
  const std::string root = "Software\\QuillonTest-" + std::to_string(GetCurrentProcessId());
  Put(root + "\\Alpha", "Text", REG_SZ, {'t', 'e', 'x', 't', 0});
  Put(root + "\\Alpha", "Number", REG_DWORD, {1, 2, 3, 4});
  Put(root + "\\Alpha", "Bytes", REG_BINARY, Bytes(120, 0x41));
  {
    registry::Win32Registry registry;
    runtime::Win32Runtime runtime(GetModuleHandleW(nullptr), std::wstring());
    frmRegEdit window(runtime, registry, nullptr);
    window.Show();
    Win32UserInput input(runtime);
    input.Process();
    const HWND list1 = WindowOf(*window.List1);
    const HWND list2 = WindowOf(*window.List2);
    const HWND list3 = WindowOf(*window.List3);
    const auto index = [](HWND list, const std::wstring& item) {
      return static_cast<int>(
          SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str())));
    };
    // Eight navigations: a hive, down two levels, a preview, three values, and up again.
    int navigations = 0;
    const auto round = [&] {
      input.ClickListItem(list1, index(list1, L"HKEY_CURRENT_USER"));
      input.DoubleClickListItem(list2, index(list2, L"Software"));
      input.DoubleClickListItem(list2, index(list2, Wide(root.substr(9))));
      input.ClickListItem(list2, index(list2, L"Alpha"));
      for (const wchar_t* value : {L"Text", L"Number", L"Bytes"}) input.ClickListItem(list3, index(list3, value));
      input.DoubleClickListItem(list2, index(list2, L".."));
      navigations += 8;
    };
    round();  // the first round fills the caches the system keeps for a window
    ASSERT_EQ(WindowText(WindowOf(*window.txtValueHex)).size(), 2 * 120 + 2 * 2) << "the round did not arrive";
    const GuiObjects before = CountGuiObjects();
    navigations = 0;
    while (navigations < 1000) round();
    const GuiObjects after = CountGuiObjects();
    std::printf("%d navigations: user objects %lu -> %lu, GDI objects %lu -> %lu (%s)\n", navigations,
                static_cast<unsigned long>(before.user), static_cast<unsigned long>(after.user),
                static_cast<unsigned long>(before.gdi), static_cast<unsigned long>(after.gdi),
                before.counted ? "GetGuiResources" : "GetGuiResources answers 0: windows and GDI handle slots");
    if (before.gdi == 0) GTEST_SKIP() << "neither GetGuiResources nor the GDI handle table gives a count here";
    EXPECT_EQ(after.user, before.user);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, root.c_str());
}

}  // namespace
}  // namespace quillon::winetest
