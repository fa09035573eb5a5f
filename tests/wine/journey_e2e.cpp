// The real window as a user drives it. One working session with quillon.exe, driven from this process: mouse
// clicks posted to its lists and buttons, typing into its edit fields, and its own prompts and confirmations
// answered; every write is checked in the registry with advapi32, and the favourites are looked for again after a
// restart. Then the window inside this process: Find over a small tree (its results read back from the result box,
// also while the search goes on), and the user and GDI objects counted across a thousand navigations. Last, the
// window at the screen's DPI: laid out from its twips, with fonts made for that DPI, when the program starts at 96,
// 144 or 192 DPI; and laid out again when the DPI changes while it runs, keeping everything it shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Handles.h"
#include "runtime/win32/Win32Runtime.h"
#include "tests/wine/support/QuillonProcess.h"
#include "tests/wine/support/Win32Driver.h"
#include "window/ControlTable.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using Strings = std::vector<std::wstring>;
using Bytes = std::vector<BYTE>;
/// What a dialog showed: its caption and its prompt.
using Seen = std::pair<std::wstring, std::wstring>;
/// The value panel: txtValueName, lblValueType, lblValueSize, txtValue, txtValueHex.
using Panel = std::vector<std::wstring>;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The registry as the test process sees it.

void Put(const std::string& path, const char* name, DWORD type, const Bytes& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
  if (name != nullptr) RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
}

/// Deletes the key and everything below it (RegDeleteTree deletes the key named too).
void DeleteTree(const std::string& path) { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

/// Makes `path` a link to the key `target`, both below HKCU, as another program would.
void PutLink(const std::string& path, const std::string& target) {
  registry::Win32Registry registry;
  registry::Key to = 0, link = 0;
  std::u16string name;
  ASSERT_EQ(registry.OpenKey(registry::kCurrentUser, target, to), registry::kSuccess);
  ASSERT_EQ(registry.KeyName(to, name), registry::kSuccess);
  registry.CloseKey(to);
  ASSERT_EQ(registry.CreateLink(registry::kCurrentUser, path, link), registry::kSuccess);
  Bytes bytes;
  for (const char16_t unit : name) bytes.insert(bytes.end(), {BYTE(unit & 0xFF), BYTE(unit >> 8)});
  registry.SetValueEx(link, registry::kLinkValueName, registry::kRegLink, bytes.data(),
                      static_cast<std::uint32_t>(bytes.size()));
  registry.CloseKey(link);
}

/// Deletes a link itself, so that removing the test's keys afterwards deletes nothing through it.
void DeleteLink(const std::string& path) {
  registry::Win32Registry registry;
  registry::Key link = 0;
  if (registry.OpenLink(registry::kCurrentUser, path, link) != registry::kSuccess) return;
  registry.DeleteKey(link, "");
  registry.CloseKey(link);
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

/// A value's type and bytes (the values written here are short); nothing when it does not exist.
std::optional<std::pair<DWORD, Bytes>> Stored(const std::string& path, const char* name) {
  DWORD type = 0;
  Bytes data(64);
  auto size = static_cast<DWORD>(data.size());
  const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, flags, &type, data.data(), &size) != ERROR_SUCCESS) return {};
  data.resize(size);
  return std::make_pair(type, data);
}

/// The window's controls in the control table's order: the form's children come in tab order, and the title label
/// is the title band's only child.
std::vector<HWND> ControlsOf(HWND form) {
  std::vector<HWND> controls;
  HWND next = GetWindow(form, GW_CHILD);
  HWND panel = nullptr;
  for (const runtime::ControlSpec& row : kControlTable) {
    const HWND control = row.parent ? GetWindow(panel, GW_CHILD) : std::exchange(next, GetWindow(next, GW_HWNDNEXT));
    if (row.kind == runtime::ControlKind::PictureBox) panel = control;
    controls.push_back(control);
  }
  return controls;
}

class Journey : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = "QuillonTest-" + std::to_string(GetCurrentProcessId());
    root_ = "Software\\" + name_;
    rootPath_ = L"HKEY_CURRENT_USER\\Software\\" + Wide(name_);
    // The favourites go where the program keeps them; the journey removes them unless they were there before.
    hadSettings_ = KeyExists("Software\\quillon");
    // Values written in name order: Wine lists them by name, Windows in the order written.
    Put(root_, "Path", REG_EXPAND_SZ, {'%', 'T', 'E', 'M', 'P', '%', '\\', 'n', 'e', 'e', 'd', 'l', 'e', 0});
    Put(root_, "Str", REG_SZ, {'p', 'l', 'a', 'i', 'n', ' ', 't', 'e', 'x', 't', 0});
    Put(root_ + "\\Alpha", "NeedleValue", REG_SZ, {'x', 0});
    Put(root_ + "\\Alpha\\NeedleKey", nullptr, 0, {});
    Put(root_ + "\\Beta\\Gamma", "Deep", REG_SZ, {'d', 'e', 'e', 'p', 0});
    PutLink(root_ + "\\Alpha\\NeedleKey\\NeedleLoop", root_);  // back to where the search starts
  }

  void TearDown() override {
    quillon_.reset();
    DeleteLink(root_ + "\\Alpha\\NeedleKey\\NeedleLoop");
    DeleteTree(root_);
    EXPECT_FALSE(KeyExists(root_)) << "test key left behind";
    if (!hadSettings_) DeleteTree("Software\\quillon");
  }

  void Start() {
    quillon_ = std::make_unique<QuillonProcess>();
    ASSERT_TRUE(quillon_->Started()) << "cannot start quillon.exe; build it first or set QUILLON_EXE";
    main_ = quillon_->MainWindow();
    ASSERT_NE(main_, nullptr);
    ASSERT_EQ(WindowText(main_), L"Quillon");
    const std::vector<HWND> controls = ControlsOf(main_);
    for (std::size_t i = 0; i < controls.size(); ++i) c_[kControlTable[i].name] = controls[i];
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
    PostMessageW(c_["txtKey"], EM_SETLIMITTEXT, marker, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      DWORD_PTR limit = 0;
      SendMessageTimeoutW(c_["txtKey"], EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 30000, &limit);
      if (limit == marker) return;
      Sleep(5);
    }
    ADD_FAILURE() << "quillon.exe does not answer";
  }

  /// Clicks the result box on the left edge of character `caret`.
  void ClickResultAt(std::size_t caret) {
    // The box scrolls to its end as results come; the user scrolls the line back into view first.
    const HWND results = c_["txtFindList"];
    const LRESULT line = SendMessageW(results, EM_LINEFROMCHAR, caret, 0);
    SendMessageW(results, EM_LINESCROLL, 0, line - SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0));
    input_.ClickEditAt(results, static_cast<int>(caret));
  }

  /// Clicks a button or check box and answers the dialogs it opens, in turn; returns what they showed once its
  /// handler is done (a search too). Each answer is used, and no dialog comes beyond them.
  std::vector<Seen> Press(const wchar_t* caption, std::vector<DialogAnswer> answers = {}) {
    const std::size_t expected = answers.size();
    ModalDialogAnswerer answerer(main_, std::move(answers));
    input_.ClickButton(FindWindowExW(main_, nullptr, L"Button", caption));
    std::vector<Seen> seen;
    for (const SeenDialog& dialog : answerer.SeenAll()) seen.emplace_back(dialog.caption, dialog.text);
    Settle();
    EXPECT_EQ(seen.size(), expected) << "dialogs seen: " << ::testing::PrintToString(seen);
    return seen;
  }

  Panel ShownValue() {
    return {WindowText(c_["txtValueName"]), WindowText(c_["lblValueType"]), WindowText(c_["lblValueSize"]),
            WindowText(c_["txtValue"]), WindowText(c_["txtValueHex"])};
  }

  std::string name_;
  std::string root_;
  std::wstring rootPath_;
  bool hadSettings_ = false;
  std::unique_ptr<QuillonProcess> quillon_;
  HWND main_ = nullptr;
  std::map<std::string, HWND> c_;  // the controls by name; a name missing from the table gives null
  WPARAM settles_ = 0;
  Win32UserInput input_{[this] { Settle(); }};
};

TEST_F(Journey, AWorkingSessionWithTheRealProgram) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::wstring name = Wide(name_);
  EXPECT_EQ(ComboItems(c_["txtGoTo"]), Strings{L""});

  // Pick the hive and walk down to the test key. (The hive list, previews and the way up are proven on the headless
  // runtime, the real lists' order and clicks by the runtime contract.)
  input_.ClickListItem(c_["List1"], L"HKEY_CURRENT_USER");
  input_.DoubleClickListItem(c_["List2"], L"Software");
  input_.DoubleClickListItem(c_["List2"], name);
  EXPECT_EQ(WindowText(c_["txtKey"]), rootPath_);
  EXPECT_EQ(ListItems(c_["List2"]), (Strings{L"..", L"Alpha", L"Beta"}));
  EXPECT_EQ(ListItems(c_["List3"]), (Strings{L"", L"Path", L"Str"}));

  // A new key and a string value, written to the real registry through the real prompts; the key deleted again
  // after the confirmation. (Each kind of value, Delete Value, the lists after each edit, and what Cancel, No and a
  // refusal leave are proven on the headless runtime; how the real registry stores and deletes them by the registry
  // contract, and the real prompts' and confirmations' answers by the runtime contract.)
  const std::string fresh = root_ + "\\Fresh";
  EXPECT_EQ(Press(L"New Key", {{IDOK, L"Fresh"}}), (std::vector<Seen>{{L"Quillon 1.0", L"Enter Key Name"}}));
  EXPECT_TRUE(KeyExists(fresh));

  EXPECT_EQ(Press(L"New String Value", {{IDOK, L"S1"}, {IDOK, L"abc"}}),
            (std::vector<Seen>{{L"Quillon 1.0", L"Enter Value Name"}, {L"Quillon 1.0", L"Enter Data"}}));
  EXPECT_EQ(Stored(root_, "S1"), std::make_pair(DWORD{REG_SZ}, Bytes{'a', 'b', 'c', 0}));

  input_.ClickListItem(c_["List2"], L"Fresh");
  EXPECT_EQ(Press(L"Delete Key", {{IDYES}}), (std::vector<Seen>{{L"Delete Fresh", L"Are Sure to Delete this key?"}}));
  EXPECT_FALSE(KeyExists(fresh));
  // (That a link deleted goes itself, not where it leads, is the headless runtime's and the registry contract's.)

  // Search below the shown key, names and data together. The path box still names the deleted key: go up and down
  // again to show the test key. The key's own values come after its subkeys; the link back is listed, not entered.
  input_.DoubleClickListItem(c_["List2"], L"..");
  input_.DoubleClickListItem(c_["List2"], name);
  ASSERT_EQ(WindowText(c_["txtKey"]), rootPath_);
  input_.TypeText(c_["txtFind"], L"nEEdle");
  for (const wchar_t* option : {L"Hive", L"Values", L"Data", L"Find"}) Press(option);
  const std::wstring valueLine = L"Value : " + rootPath_ + L"\\Alpha\\NeedleValue\r\n";
  const std::wstring key = L"Key : " + rootPath_ + L"\\Alpha\\NeedleKey";
  EXPECT_EQ(WindowText(c_["txtFindList"]), valueLine + key + L"\r\n" + key + L"\\NeedleLoop\r\nData : " + rootPath_ +
                                            L"\\Path\\%TEMP%\\needle\r\n");

  // A click on the value line opens it through Go To, which keeps it as a favourite. (That the Go To box keeps what
  // the user typed there is ResultNavigation's.)
  ClickResultAt(valueLine.find(L": ") + 2);
  EXPECT_EQ(WindowText(c_["txtKey"]), rootPath_ + L"\\Alpha");
  const Panel needle{L"NeedleValue", L"Value Type : String", L"Value Size : 2", L"x", L""};
  EXPECT_EQ(ShownValue(), needle);
  const std::wstring clicked = rootPath_ + L"\\Alpha\\NeedleValue";
  EXPECT_EQ(ComboItems(c_["txtGoTo"]), (Strings{L"", clicked}));

  // Closed and started again: the favourite is offered and leads to its value. (Typed paths, aliases, favourites
  // picked and not stored again, and removal from any place are the headless runtime's, the real store the settings
  // contract's.)
  Close();
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(ComboItems(c_["txtGoTo"]), (Strings{L"", clicked}));
  input_.PickFromCombo(c_["txtGoTo"], 1);
  Press(L"Go To");
  EXPECT_EQ(WindowText(c_["txtKey"]), rootPath_ + L"\\Alpha");
  EXPECT_EQ(ShownValue(), needle);
  Press(L"Remove Favorite");
  EXPECT_EQ(ComboItems(c_["txtGoTo"]), Strings{L""});
  Close();
}

/// The window in this process over the real registry, and a small tree below HKCU\Software\QuillonTest-<pid>.
class InProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    // Values written in name order: Wine lists them by name, Windows in the order written.
    Put(root_ + "\\Alpha", "Bytes", REG_BINARY, {'a', 'b', 0, 'c'});
    Put(root_ + "\\Alpha", "Number", REG_DWORD, {65, 0, 0, 0});
    Put(root_ + "\\Alpha", "Text", REG_SZ, {'f', 'i', 'n', 'd', ' ', 'm', 'e', 0});
    window_ = std::make_unique<frmRegEdit>(runtime_, registry_, nullptr);
    window_->Show();
    input_.Process();
  }
  void TearDown() override {
    window_.reset();
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    DeleteTree(root_);
  }

  /// Walks the lists down to the test key, as the user does, so that txtKey names it.
  void NavigateToTestKey() {
    input_.ClickListItem(WindowOf(*window_->List1), L"HKEY_CURRENT_USER");
    input_.DoubleClickListItem(WindowOf(*window_->List2), L"Software");
    input_.DoubleClickListItem(WindowOf(*window_->List2), Wide(name_));
    ASSERT_EQ(WindowText(WindowOf(*window_->txtKey)), Root());
  }
  void Click(runtime::CheckBox* box) { input_.ClickButton(WindowOf(*box)); }
  std::wstring Results() const { return WindowText(WindowOf(*window_->txtFindList)); }
  std::wstring Root() const { return L"HKEY_CURRENT_USER\\Software\\" + Wide(name_); }

  std::string name_ = "QuillonTest-" + std::to_string(GetCurrentProcessId());
  std::string root_ = "Software\\" + name_;
  registry::Win32Registry registry_;
  runtime::Win32Runtime runtime_{GetModuleHandleW(nullptr), std::wstring()};
  std::unique_ptr<frmRegEdit> window_;
  Win32UserInput input_{runtime_};
};

TEST_F(InProcess, AClickDuringALiveSearchOpensTheLineClickedWhileTheSearchGoesOn) {
  // Enough keys that the search still runs when the user has scrolled up and clicked its first line.
  for (int i = 0; i < 4000; ++i) Put(root_ + "\\Wide\\Node" + std::to_string(i), "Mode", REG_SZ, {'o', 'n', 0});
  NavigateToTestKey();
  Click(window_->chkValues);
  Click(window_->chkHive);

  // The user, from outside the window's thread: waits for results, scrolls to the top, clicks into the first
  // line. Each sent message waits until the searching window processes events.
  const HWND results = WindowOf(*window_->txtFindList);
  std::atomic<LRESULT> lengthAtClick{-1};
  std::thread user([&] {
    while (SendMessageW(results, WM_GETTEXTLENGTH, 0, 0) < 2000) Sleep(5);
    SendMessageW(results, WM_VSCROLL, SB_TOP, 0);
    const LRESULT position = SendMessageW(results, EM_POSFROMCHAR, 12, 0);
    lengthAtClick = SendMessageW(results, WM_GETTEXTLENGTH, 0, 0);
    const LPARAM point = MAKELPARAM(LOWORD(position), HIWORD(position) + 2);
    PostMessageW(results, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(results, WM_LBUTTONUP, 0, point);
  });
  input_.TypeText(WindowOf(*window_->txtFind), L"\b");  // a backspace over the selected old text empties the box
  input_.ClickButton(WindowOf(*window_->cmdFind));
  user.join();

  const std::wstring firstEntry = Root() + L"\\Alpha";
  ASSERT_EQ(Results().substr(0, Results().find(L"\r\n")), L"Key : " + firstEntry);
  EXPECT_GT(static_cast<LRESULT>(Results().size()), lengthAtClick.load()) << "the search ended before the click";
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), firstEntry) << "the line clicked was opened";
  // (That the clicked entry is selected is ResultNavigation's; that appends keep a selection, the runtime contract's.)
  EXPECT_EQ(SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the line stays in view while results come";
}

// User and GDI objects of this process. Wine's GetGuiResources is a stub that answers 0 for both. For GDI objects
// every slot of the handle table is then asked for its object's type, which Wine answers for a handle given by its
// slot alone; for user objects the windows of this thread are counted, the only user objects the window makes.
std::pair<DWORD, DWORD> CountGuiObjects() {
  std::pair<DWORD, DWORD> objects{GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                                  GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)};
  if (objects.first != 0 && objects.second != 0) return objects;
  objects = {0, 0};
  struct Counter {
    static BOOL CALLBACK Count(HWND window, LPARAM count) {
      ++*reinterpret_cast<DWORD*>(count);
      EnumChildWindows(window, Count, count);
      return TRUE;
    }
  };
  EnumThreadWindows(GetCurrentThreadId(), Counter::Count, reinterpret_cast<LPARAM>(&objects.first));
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++objects.second;
  return objects;
}

TEST_F(InProcess, UserAndGdiObjectsStayFlatAcrossAThousandNavigations) {
  // Eight navigations: a hive, down two levels, a preview, three values, and up again to Software.
  int navigations = 0;
  const auto round = [&] {
    NavigateToTestKey();
    input_.ClickListItem(WindowOf(*window_->List2), L"Alpha");
    for (const wchar_t* value : {L"Text", L"Number", L"Bytes"}) input_.ClickListItem(WindowOf(*window_->List3), value);
    input_.DoubleClickListItem(WindowOf(*window_->List2), L"..");
    navigations += 8;
  };
  round();
  ASSERT_EQ(WindowText(WindowOf(*window_->txtValueHex)), L"6162063") << "the round did not arrive";
  round();  // fills the caches the system keeps for a window before counting
  Sleep(600);  // and lets the text boxes' scroll bars catch up, which they do at most every 0.4 s
  input_.Process();
  const auto before = CountGuiObjects();
  navigations = 0;
  while (navigations < 1000) round();
  const auto after = CountGuiObjects();
  std::printf("%d navigations: user objects %lu -> %lu, GDI objects %lu -> %lu\n", navigations,
              static_cast<unsigned long>(before.first), static_cast<unsigned long>(after.first),
              static_cast<unsigned long>(before.second), static_cast<unsigned long>(after.second));
  if (before.second == 0) GTEST_SKIP() << "neither GetGuiResources nor the GDI handle table gives a count here";
  EXPECT_EQ(after, before);
}

// The window at the screen's DPI. The tests above run first: they take the screen as the test process found it.

using runtime::ControlKind;

/// The height a control's font must have at `dpi`, in pixels (negative: the character height).
LONG FontHeightAt(const runtime::ControlSpec& row, int dpi) {
  return -MulDiv(static_cast<int>(std::lround(row.fontPoints * 100)), dpi, 7200);
}

/// Checks every control of the window against the control table at `dpi`: its place and its size (the combo box and
/// the labels that size themselves to their caption excepted); `checkFont` checks its font.
void ExpectLaidOutAt(HWND form, int dpi, const std::function<void(HWND, const runtime::ControlSpec&)>& checkFont) {
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, MulDiv(kClientWidthTwips, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(kClientHeightTwips, dpi, 1440));
  const std::vector<HWND> controls = ControlsOf(form);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const runtime::ControlSpec& row = kControlTable[i];
    const HWND child = controls[i];
    RECT place{};  // in its parent's client area
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, MulDiv(row.left, dpi, 1440)) << row.name << " at " << dpi;
    EXPECT_EQ(place.top, MulDiv(row.top, dpi, 1440)) << row.name;
    if (row.kind != ControlKind::Label || !(row.options & runtime::kAutoSize)) {
      EXPECT_EQ(place.right - place.left, MulDiv(row.width, dpi, 1440)) << row.name;
      if (row.kind != ControlKind::ComboBox) {
        EXPECT_EQ(place.bottom - place.top, MulDiv(row.height, dpi, 1440)) << row.name;
      }
    }
    checkFont(child, row);
  }
}

/// The line height of the window's font at a height: what a list box's entries and a text box's lines take.
LONG LineHeightOf(LONG fontHeight) {
  const runtime::win32::UniqueFont font(CreateFontW(fontHeight, 0, 0, 0, kWindowFont.weight, FALSE, FALSE, FALSE,
                                                    static_cast<DWORD>(kWindowFont.charSet), 0, 0, 0, 0,
                                                    kWindowFont.faceName));
  const runtime::win32::ScreenDc screen(nullptr);
  const runtime::win32::SelectedObject selected(screen.Get(), font.Get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight;
}

/// The screen's DPI that programs started from now on get, kept in the throw-away prefix's user settings.
void SetStartingDpi(DWORD dpi) {
  HKEY desktop = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop), ERROR_SUCCESS);
  RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(desktop);
}

TEST(WindowDpi, TheProgramStartsLaidOutInTwipsAtTheScreensDpi) {
  for (const DWORD dpi : {96u, 144u, 192u}) {
    SetStartingDpi(dpi);
    QuillonProcess program;
    ASSERT_TRUE(program.Started());
    HWND form = program.MainWindow();
    ASSERT_NE(form, nullptr);
    // The fonts live in the program's process: the lines of its lists and text boxes show their height.
    int fontsChecked = 0;
    ExpectLaidOutAt(form, static_cast<int>(dpi), [&](HWND control, const runtime::ControlSpec& row) {
      const LONG lineHeight = LineHeightOf(FontHeightAt(row, static_cast<int>(dpi)));
      if (IsClass(control, L"ListBox")) {
        EXPECT_EQ(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0), lineHeight) << row.name;
        ++fontsChecked;
      } else if (IsClass(control, L"Edit")) {
        RECT text{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        if (!(GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE)) {
          EXPECT_EQ(text.bottom - text.top, lineHeight) << row.name;
        }
        ++fontsChecked;
      }
    });
    EXPECT_EQ(fontsChecked, 9);
  }
  SetStartingDpi(96);
}

TEST_F(InProcess, ADpiChangeLaysEverythingOutAgainAndKeepsWhatTheWindowShows) {
  frmRegEdit& window = *window_;
  const auto form = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window.Form().Handle()));
  const HWND list2 = WindowOf(*window.List2);
  const HWND results = WindowOf(*window.txtFindList);

  // Something shown, selected and scrolled in every kind of control.
  input_.ClickListItem(WindowOf(*window.List1), 1);
  const std::vector<std::wstring> subkeys = ListItems(list2);
  std::wstring lines;
  for (int i = 0; i < 300; ++i) lines += L"Key : HKEY_CURRENT_USER\\Node " + std::to_wstring(i) + L"\r\n";
  window.txtFindList->SetText(lines);
  SendMessageW(results, EM_SETSEL, 100, 120);  // scrolls the selection into view, as any edit control does
  SendMessageW(results, EM_LINESCROLL, 0, 40);
  const LRESULT firstVisible = SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GE(firstVisible, 40);
  window.txtFind->SetText(L"typed");
  window.txtGoTo->SetText(L"HKCU\\Software");

  const int after = 2 * runtime::win32::WindowDpi(form);
  RECT frame{0, 0, MulDiv(kClientWidthTwips, after, 1440), MulDiv(kClientHeightTwips, after, 1440)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(form, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(form, GWL_EXSTYLE)));
  SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&frame));
  input_.Process();

  ExpectLaidOutAt(form, after, [&](HWND control, const runtime::ControlSpec& row) {
    LOGFONTW font{};
    if (row.kind == ControlKind::PictureBox) return;
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, FontHeightAt(row, after)) << row.name;
    EXPECT_EQ(std::wstring(font.lfFaceName), kWindowFont.faceName) << row.name;
    EXPECT_EQ(font.lfCharSet, kWindowFont.charSet) << row.name;
  });
  EXPECT_TRUE(window.List1->Selected(1));
  EXPECT_EQ(ListItems(list2), subkeys);
  EXPECT_EQ(window.txtFindList->Text(), lines);
  EXPECT_EQ(SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0), firstVisible);
  EXPECT_EQ(window.txtFindList->SelStart(), 100);
  EXPECT_EQ(window.txtFindList->SelLength(), 20);
  EXPECT_EQ(window.txtFind->Text(), L"typed");
  EXPECT_EQ(window.txtGoTo->Text(), L"HKCU\\Software");
}

}  // namespace
}  // namespace quillon::winetest
