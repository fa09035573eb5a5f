// Find through the real window over the real registry: options clicked, the search text typed, "Find" clicked,
// and the results read back from the result box itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
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

std::wstring WindowText(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

int IndexOf(HWND list, const std::wstring& item) {
  return static_cast<int>(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item.c_str())));
}

class SearchE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = "QuillonTest-" + std::to_string(GetCurrentProcessId());
    const std::string root = "Software\\" + name_;
    Set(root, "TopMode", registry::kRegSz, {'t', 'o', 'p', 0});
    // Values written in name order: Wine lists them by name, Windows in the order written.
    Set(root + "\\Alpha", "Bytes", registry::kRegBinary, {'a', 'b', 0, 'c'});
    Set(root + "\\Alpha", "Number", registry::kRegDword, {65, 0, 0, 0});
    Set(root + "\\Alpha", "Text", registry::kRegSz, {'f', 'i', 'n', 'd', ' ', 'm', 'e', 0});
    Set(root + "\\Alpha\\Deep", "", registry::kRegSz, {'d', 'e', 'e', 'p', 0});
    Set(root + "\\Beta", "Grow", registry::kRegExpandSz, {'%', 'x', '%', 0});
    Set(root + "\\Beta", "Multi", registry::kRegMultiSz, {'a', 'b', 'c', 0, 0});
    // Data that reads CR LF and then byte 0x98, U+02DC in the ANSI code page: a line starting with it once made
    // the edit control fault.
    Set(root + "\\Beta", "Tilde", registry::kRegDword, {13, 10, 0x98, 0});

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
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + name_ + "\\Wide").c_str());
    for (const char* leaf : {"\\Alpha\\Deep", "\\Alpha", "\\Beta", ""}) {
      registry_.DeleteKey(registry::kCurrentUser, "Software\\" + name_ + leaf);
    }
  }

  void Set(const std::string& path, const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) {
    registry::Key key = 0;
    ASSERT_EQ(registry_.CreateKey(registry::kCurrentUser, path, key), registry::kSuccess);
    registry_.SetValueEx(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
    registry_.CloseKey(key);
  }

  /// Walks the lists down to the test key, as the user does, so that txtKey names it.
  void NavigateToTestKey() {
    const HWND list1 = WindowOf(*window_->List1);
    const HWND list2 = WindowOf(*window_->List2);
    input_->ClickListItem(list1, IndexOf(list1, L"HKEY_CURRENT_USER"));
    input_->DoubleClickListItem(list2, IndexOf(list2, L"Software"));
    const int test = IndexOf(list2, std::wstring(name_.begin(), name_.end()));
    ASSERT_GE(test, 0);
    input_->DoubleClickListItem(list2, test);
    ASSERT_EQ(WindowText(WindowOf(*window_->txtKey)), Root());
  }

  void Click(runtime::CheckBox* box) { input_->ClickButton(WindowOf(*box)); }
  void Find(const std::wstring& text) {
    // Typing over the selected old text; a backspace alone empties the box.
    input_->TypeText(WindowOf(*window_->txtFind), text.empty() ? std::wstring(1, L'\b') : text);
    input_->ClickButton(WindowOf(*window_->cmdFind));
  }
  std::wstring Results() const { return WindowText(WindowOf(*window_->txtFindList)); }
  /// The result lines, each of which must end with CR LF.
  Strings Lines() const {
    const std::wstring text = Results();
    Strings lines;
    std::size_t start = 0;
    for (auto end = text.find(L"\r\n"); end != std::wstring::npos; end = text.find(L"\r\n", start)) {
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
  }
  std::wstring Root() const { return L"HKEY_CURRENT_USER\\Software\\" + std::wstring(name_.begin(), name_.end()); }

  std::string name_;
  registry::Win32Registry registry_;
  std::unique_ptr<runtime::Win32Runtime> runtime_;
  std::unique_ptr<frmRegEdit> window_;
  std::unique_ptr<Win32UserInput> input_;
};

TEST_F(SearchE2E, FindsEveryKindOfHitInWalkOrderThenRefusesAMalformedText) {
  NavigateToTestKey();
  Click(window_->chkValues);
  Click(window_->chkDatas);
  Click(window_->chkHive);
  ASSERT_EQ(window_->chkHive->Value(), 0);
  ASSERT_TRUE(window_->chkFindBinary->Enabled());

  // An empty text lists everything; binary data is searched as empty text while "Binary" is unchecked.
  const std::wstring p = Root();
  Find(L"");
  const Strings expected{
      L"Key : " + p + L"\\Alpha",          L"Value : " + p + L"\\Alpha\\Bytes",    L"Data : " + p + L"\\Alpha\\Bytes\\",
      L"Value : " + p + L"\\Alpha\\Number", L"Data : " + p + L"\\Alpha\\Number\\A", L"Value : " + p + L"\\Alpha\\Text",
      L"Data : " + p + L"\\Alpha\\Text\\find me", L"Key : " + p + L"\\Alpha\\Deep",
      L"Value : " + p + L"\\Alpha\\Deep\\", L"Data : " + p + L"\\Alpha\\Deep\\\\deep", L"Key : " + p + L"\\Beta",
      L"Value : " + p + L"\\Beta\\Grow",   L"Data : " + p + L"\\Beta\\Grow\\%x%",  L"Value : " + p + L"\\Beta\\Multi",
      L"Data : " + p + L"\\Beta\\Multi\\", L"Value : " + p + L"\\Beta\\Tilde", L"Data : " + p + L"\\Beta\\Tilde\\",
      L"\x02DC",                          L"Value : " + p + L"\\TopMode",          L"Data : " + p + L"\\TopMode\\top"};
  EXPECT_EQ(Lines(), expected);
  EXPECT_EQ(runtime_->MousePointer(), 0);

  // A malformed text is refused with a message captioned with the application title, after clearing the results.
  ModalDialogAnswerer answerer(GetAncestor(WindowOf(*window_->cmdFind), GA_ROOT), IDOK);
  Find(L"[b");
  const SeenDialog seen = answerer.Seen();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.caption, L"Quillon 1.0");
  EXPECT_NE(seen.text.find(L"never closed"), std::wstring::npos) << ::testing::PrintToString(seen.text);
  EXPECT_EQ(Results(), L"");
  EXPECT_EQ(runtime_->MousePointer(), 0);
}

}  // namespace
}  // namespace quillon::winetest

namespace quillon::winetest {
namespace {

TEST_F(SearchE2E, AClickDuringALiveSearchOpensTheLineClickedWhileTheSearchGoesOn) {
  // Enough keys that the search still runs when the user has scrolled up and clicked its first line.
  HKEY wide = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, ("Software\\" + name_ + "\\Wide").c_str(), &wide), ERROR_SUCCESS);
  for (int i = 0; i < 4000; ++i) {
    HKEY node = nullptr;
    RegCreateKeyA(wide, ("Node" + std::to_string(i)).c_str(), &node);
    RegSetValueExA(node, "Mode", 0, REG_SZ, reinterpret_cast<const BYTE*>("on"), 3);
    RegCloseKey(node);
  }
  RegCloseKey(wide);
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
  Find(L"");
  user.join();

  const std::wstring firstEntry = Root() + L"\\Alpha";
  ASSERT_EQ(Lines().front(), L"Key : " + firstEntry);
  EXPECT_GT(static_cast<LRESULT>(Results().size()), lengthAtClick.load()) << "the search ended before the click";
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), firstEntry) << "the line clicked was opened";
  DWORD start = 0, end = 0;
  SendMessageW(results, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(Results().substr(start, end - start), firstEntry) << "the clicked entry stays selected";
  EXPECT_EQ(SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "and in view while results were added";
}

}  // namespace
}  // namespace quillon::winetest
