// The real window over the real registry: walk to a test key with mouse messages, press the editing buttons, answer
// the real input boxes and message boxes from a second thread, and read the outcome back with advapi32.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"
#include "tests/wine/support/Win32Driver.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using Strings = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

Strings ListItems(HWND list) {
  Strings items;
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
    std::wstring item(length + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(length);
    items.push_back(item);
  }
  return items;
}

bool Lists(HWND list, const std::wstring& text) {
  const Strings items = ListItems(list);
  return std::find(items.begin(), items.end(), text) != items.end();
}

/// One dialog as the user saw it: its caption and its longest static text, the prompt.
struct Seen {
  std::wstring caption;
  std::wstring prompt;
};

/// Answers, one after the other, the modal dialogs the window opens: each step puts its text into the dialog's edit
/// field when it has one, then presses its button. A dialog beyond the script is refused (Cancel, then No) and
/// recorded, so that an unexpected question fails the test instead of hanging it.
class DialogScript {
 public:
  struct Step {
    int button;
    std::wstring text;
  };

  DialogScript(HWND owner, std::vector<Step> steps)
      : owner_(owner), steps_(std::move(steps)), thread_([this] { Run(); }) {}
  ~DialogScript() { Join(); }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  std::vector<Seen> Join() {
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  struct Search {
    HWND owner;
    HWND previous;
    HWND found;
  };

  static BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (window == search->previous || !IsWindowVisible(window) || std::wstring(name) != L"#32770") return TRUE;
    if (GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    search->found = window;
    return FALSE;
  }

  HWND WaitForDialog(std::chrono::milliseconds patience, HWND previous) const {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
      // A dialog that is still closing is not the next one.
      Search search{owner_, IsWindow(previous) ? previous : nullptr, nullptr};
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) return search.found;
      Sleep(10);
    }
    return nullptr;
  }

  static BOOL CALLBACK Describe(HWND child, LPARAM parameter) {
    auto* seen = reinterpret_cast<Seen*>(parameter);
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    const std::wstring text = TextOf(child);
    if (CompareStringOrdinal(name, -1, L"Static", -1, TRUE) == CSTR_EQUAL && text.size() > seen->prompt.size()) {
      seen->prompt = text;
    }
    return TRUE;
  }

  void Run() {
    HWND previous = nullptr;
    for (const Step& step : steps_) {
      HWND dialog = WaitForDialog(std::chrono::seconds(10), previous);
      if (dialog == nullptr) return;
      Seen seen{TextOf(dialog), L""};
      EnumChildWindows(dialog, Describe, reinterpret_cast<LPARAM>(&seen));
      seen_.push_back(seen);
      if (HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr)) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.text.c_str()));
      }
      PostMessageW(GetDlgItem(dialog, step.button), BM_CLICK, 0, 0);
      previous = dialog;
    }
    if (HWND extra = WaitForDialog(std::chrono::milliseconds(300), previous)) {
      seen_.push_back({L"unexpected: " + TextOf(extra), L""});
      PostMessageW(extra, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(extra, WM_COMMAND, IDNO, 0);
    }
  }

  HWND owner_;
  std::vector<Step> steps_;
  std::vector<Seen> seen_;
  std::thread thread_;
};

class EditE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    keyName_ = L"QuillonTest-" + std::to_wstring(GetCurrentProcessId());
    keyPath_ = "Software\\QuillonTest-" + std::to_string(GetCurrentProcessId());
    for (const char* subkey : {"", "\\Parent\\Child"}) {
      HKEY key = nullptr;
      ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (keyPath_ + subkey).c_str(), &key), ERROR_SUCCESS);
      RegCloseKey(key);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, keyPath_.c_str(), &key), ERROR_SUCCESS);
    for (const char* name : {"Doomed", "Kept"}) RegSetValueExA(key, name, 0, REG_SZ, Ansi("x"), 2);
    RegCloseKey(key);

    runtime_ = std::make_unique<runtime::Win32Runtime>(GetModuleHandleW(nullptr), std::wstring());
    window_ = std::make_unique<frmRegEdit>(*runtime_, registry_, nullptr);
    window_->Show();
    input_ = std::make_unique<Win32UserInput>(*runtime_);
    input_->Process();
  }

  void TearDown() override {
    window_.reset();
    input_.reset();
    runtime_.reset();
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    DeleteTree(HKEY_CURRENT_USER, keyPath_);
    HKEY left = nullptr;
    EXPECT_NE(RegOpenKeyA(HKEY_CURRENT_USER, keyPath_.c_str(), &left), ERROR_SUCCESS);
  }

  static const BYTE* Ansi(const char* text) { return reinterpret_cast<const BYTE*>(text); }

  static void DeleteTree(HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(parent, path.c_str(), &key) != ERROR_SUCCESS) return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) DeleteTree(key, name);
    RegCloseKey(key);
    RegDeleteKeyA(parent, path.c_str());
  }

  bool KeyExists(const std::string& subkey) const {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, (keyPath_ + subkey).c_str(), &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  /// The type and bytes of a value of the test key, read with advapi32; type 0xFFFFFFFF when it is missing.
  std::pair<DWORD, Bytes> Value(const char* name) const {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, keyPath_.c_str(), &key) != ERROR_SUCCESS) return {0xFFFFFFFF, {}};
    DWORD type = 0;
    DWORD size = 0;
    Bytes data;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      type = 0xFFFFFFFF;
    } else {
      data.resize(size);
      RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    }
    RegCloseKey(key);
    return {type, data};
  }

  /// Presses a button with the dialogs it will open scripted, and returns what they showed.
  std::vector<Seen> Press(runtime::CommandButton* button, std::vector<DialogScript::Step> steps) {
    DialogScript script(GetAncestor(WindowOf(*window_->List1), GA_ROOT), std::move(steps));
    input_->ClickButton(WindowOf(*button));
    return script.Join();
  }

  void Click(runtime::ListBox* list, const std::wstring& item, bool twice = false) {
    const Strings items = ListItems(WindowOf(*list));
    const auto found = std::find(items.begin(), items.end(), item);
    ASSERT_NE(found, items.end()) << "no entry to click";
    const int index = static_cast<int>(found - items.begin());
    if (twice) return input_->DoubleClickListItem(WindowOf(*list), index);
    input_->ClickListItem(WindowOf(*list), index);
  }

  std::wstring keyName_;
  std::string keyPath_;
  registry::Win32Registry registry_;
  std::unique_ptr<runtime::Win32Runtime> runtime_;
  std::unique_ptr<frmRegEdit> window_;
  std::unique_ptr<Win32UserInput> input_;
};

TEST_F(EditE2E, CreatesWritesAndDeletesThroughTheRealDialogs) {
  Click(window_->List1, L"HKEY_CURRENT_USER");
  Click(window_->List2, L"Software", true);
  Click(window_->List2, keyName_, true);
  ASSERT_EQ(window_->CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\" + keyName_);

  std::vector<Seen> seen = Press(window_->cmdCreateSubKey, {{IDOK, L"Fresh"}});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"Quillon 1.0");
  EXPECT_EQ(seen[0].prompt, L"Enter Key Name");
  EXPECT_TRUE(KeyExists("\\Fresh"));
  EXPECT_TRUE(Lists(WindowOf(*window_->List2), L"Fresh"));

  seen = Press(window_->cmdCreateValueS, {{IDOK, L"Str"}, {IDOK, L"abc"}});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].prompt, L"Enter Data");
  EXPECT_EQ(Value("Str"), std::make_pair(DWORD{REG_SZ}, Bytes{'a', 'b', 'c', 0}));

  Press(window_->cmdCreateValueN, {{IDOK, L"Num"}, {IDOK, L"-2"}});
  EXPECT_EQ(Value("Num"), std::make_pair(DWORD{REG_DWORD}, Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  seen = Press(window_->cmdCreateValueN, {{IDOK, L"Over"}, {IDOK, L"4294967295"}, {IDOK, L""}});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2].caption, L"Quillon 1.0");
  EXPECT_EQ(seen[2].prompt, L"Overflow");
  EXPECT_EQ(Value("Over"), std::make_pair(DWORD{REG_DWORD}, Bytes{0, 0, 0, 0}));

  Press(window_->cmdCreateValueB, {{IDOK, L"Bin"}, {IDOK, L" AB "}});
  EXPECT_EQ(Value("Bin"), std::make_pair(DWORD{REG_BINARY}, Bytes{'A', 'B'}));
  EXPECT_EQ(ListItems(WindowOf(*window_->List3)), (Strings{L"", L"Doomed", L"Kept", L"Str", L"Num", L"Over", L"Bin"}));

  // No deletes nothing; Yes deletes.
  Click(window_->List3, L"Doomed");
  seen = Press(window_->cmdDeleteValue, {{IDNO, L""}});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"Delete Doomed");
  EXPECT_EQ(seen[0].prompt, L"Are Sure to Delete this Value?");
  EXPECT_EQ(Value("Doomed").first, DWORD{REG_SZ});
  Press(window_->cmdDeleteValue, {{IDYES, L""}});
  EXPECT_EQ(Value("Doomed").first, 0xFFFFFFFF);
  EXPECT_EQ(Value("Kept").first, DWORD{REG_SZ});
  EXPECT_FALSE(Lists(WindowOf(*window_->List3), L"Doomed"));

  // The platform refuses a key that has subkeys; its entry leaves the list all the same.
  Click(window_->List2, L"Parent");
  seen = Press(window_->cmdDeleteKey, {{IDYES, L""}});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"Delete Parent");
  EXPECT_EQ(seen[0].prompt, L"Are Sure to Delete this key?");
  EXPECT_TRUE(KeyExists("\\Parent\\Child"));
  EXPECT_FALSE(Lists(WindowOf(*window_->List2), L"Parent"));

  Click(window_->List2, L"Fresh");
  Press(window_->cmdDeleteKey, {{IDYES, L""}});
  EXPECT_FALSE(KeyExists("\\Fresh"));
  EXPECT_EQ(ListItems(WindowOf(*window_->List2)), (Strings{L".."}));
}

}  // namespace
}  // namespace quillon::winetest
