// The real window over the real registry, driven with mouse messages posted to its list boxes: a walk from the
// hive list down to a test key, a preview of a subkey, and values of each kind shown in the panel.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"
#include "tests/wine/support/Win32Driver.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using Strings = std::vector<std::wstring>;

constexpr std::size_t kBigSize = 1024 * 1024;

std::wstring WindowText(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied);
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

int IndexOf(HWND list, const std::wstring& text) {
  const Strings items = ListItems(list);
  const auto found = std::find(items.begin(), items.end(), text);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

std::vector<std::uint8_t> BigData() {
  // Printable bytes only, each with two hexadecimal digits, so that both views' lengths are easy to predict.
  std::vector<std::uint8_t> data(kBigSize);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x20 + i % 95);
  return data;
}

class BrowseE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    testKeyName_ = "QuillonTest-" + std::to_string(GetCurrentProcessId());
    testPath_ = "Software\\" + testKeyName_;
    Set(testPath_, "TopValue", registry::kRegSz, Bytes("top"));
    Set(testPath_ + "\\Alpha", "Text", registry::kRegSz, Bytes("hello world"));
    Set(testPath_ + "\\Alpha", "Number", registry::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF});
    Set(testPath_ + "\\Alpha", "Bytes", registry::kRegBinary, {0x41, 0x0A, 0xFF});
    Set(testPath_ + "\\Alpha", "Big", registry::kRegBinary, BigData());
    Set(testPath_ + "\\Beta\\Gamma", "Deep", registry::kRegSz, Bytes("deep"));

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
    // The window closes every key it opens.
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    for (const char* leaf : {"\\Beta\\Gamma", "\\Beta", "\\Alpha", ""}) {
      registry_.DeleteKey(registry::kCurrentUser, testPath_ + leaf);
    }
    registry::Key left = 0;
    EXPECT_NE(registry_.OpenKey(registry::kCurrentUser, testPath_, left), registry::kSuccess);
    if (left != 0) registry_.CloseKey(left);
  }

  static std::vector<std::uint8_t> Bytes(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
  }

  void Set(const std::string& path, const std::string& name, std::uint32_t type,
           const std::vector<std::uint8_t>& data) {
    registry::Key key = 0;
    ASSERT_EQ(registry_.CreateKey(registry::kCurrentUser, path, key), registry::kSuccess);
    EXPECT_EQ(registry_.SetValueEx(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())),
              registry::kSuccess);
    registry_.CloseKey(key);
  }

  HWND List1() const { return WindowOf(*window_->List1); }
  HWND List2() const { return WindowOf(*window_->List2); }
  HWND List3() const { return WindowOf(*window_->List3); }

  void Click(HWND list, const std::wstring& item) {
    const int index = IndexOf(list, item);
    ASSERT_GE(index, 0) << "no entry to click";
    input_->ClickListItem(list, index);
  }
  void DoubleClick(HWND list, const std::wstring& item) {
    const int index = IndexOf(list, item);
    ASSERT_GE(index, 0) << "no entry to double-click";
    input_->DoubleClickListItem(list, index);
  }

  std::wstring TestKey() const { return std::wstring(testKeyName_.begin(), testKeyName_.end()); }

  std::string testKeyName_;
  std::string testPath_;
  registry::Win32Registry registry_;
  std::unique_ptr<runtime::Win32Runtime> runtime_;
  std::unique_ptr<frmRegEdit> window_;
  std::unique_ptr<Win32UserInput> input_;
};

TEST_F(BrowseE2E, WalksDownToTheTestKeyAndShowsItsValues) {
  const HWND txtKey = WindowOf(*window_->txtKey);

  Click(List1(), L"HKEY_CURRENT_USER");
  EXPECT_EQ(WindowText(txtKey), L"HKEY_CURRENT_USER");
  EXPECT_GE(IndexOf(List2(), L"Software"), 0);
  EXPECT_EQ(IndexOf(List2(), L".."), -1);
  ASSERT_GE(SendMessageW(List3(), LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ListItems(List3()).front(), L"");

  DoubleClick(List2(), L"Software");
  EXPECT_EQ(WindowText(txtKey), L"HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(ListItems(List2()).front(), L"..");

  DoubleClick(List2(), TestKey());
  const std::wstring testKey = L"HKEY_CURRENT_USER\\Software\\" + TestKey();
  EXPECT_EQ(WindowText(txtKey), testKey);
  EXPECT_EQ(window_->CurrentKeyPath(), testKey);
  EXPECT_EQ(ListItems(List2()), (Strings{L"..", L"Alpha", L"Beta"}));
  EXPECT_EQ(ListItems(List3()), (Strings{L"", L"TopValue"}));

  // A single click previews Alpha's values without entering it.
  Click(List2(), L"Alpha");
  EXPECT_EQ(WindowText(txtKey), testKey + L"\\Alpha");
  Strings values = ListItems(List3());
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.front(), L"");
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (Strings{L"", L"Big", L"Bytes", L"Number", L"Text"}));
  EXPECT_EQ(ListItems(List2()), (Strings{L"..", L"Alpha", L"Beta"}));

  const HWND name = WindowOf(*window_->txtValueName);
  const HWND type = WindowOf(*window_->lblValueType);
  const HWND size = WindowOf(*window_->lblValueSize);
  const HWND text = WindowOf(*window_->txtValue);
  const HWND hex = WindowOf(*window_->txtValueHex);

  Click(List3(), L"Text");
  EXPECT_EQ(WindowText(name), L"Text");
  EXPECT_EQ(WindowText(type), L"Value Type : String");
  EXPECT_EQ(WindowText(size), L"Value Size : 12");
  EXPECT_EQ(WindowText(text), L"hello world");
  EXPECT_EQ(WindowText(hex), L"");

  Click(List3(), L"Number");
  EXPECT_EQ(WindowText(type), L"Value Type : DWORD");
  EXPECT_EQ(WindowText(size), L"Value Size : 4");
  EXPECT_EQ(WindowText(text), L"-1");

  Click(List3(), L"Bytes");
  EXPECT_EQ(WindowText(type), L"Value Type : Binary");
  EXPECT_EQ(WindowText(size), L"Value Size : 3");
  EXPECT_EQ(WindowText(hex), L"41AFF");
  EXPECT_EQ(WindowText(text), (std::wstring{L'A', L'\n', static_cast<wchar_t>(0xFF)}));

  // Double-clicking ".." goes back up to Software.
  DoubleClick(List2(), L"..");
  EXPECT_EQ(WindowText(txtKey), L"HKEY_CURRENT_USER\\Software");
  EXPECT_GE(IndexOf(List2(), TestKey()), 0);
}

TEST_F(BrowseE2E, AMegabyteOfBinaryDataShowsWithoutAFreeze) {
  Click(List1(), L"HKEY_CURRENT_USER");
  DoubleClick(List2(), L"Software");
  DoubleClick(List2(), TestKey());
  Click(List2(), L"Alpha");

  const auto start = std::chrono::steady_clock::now();
  Click(List3(), L"Big");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("1 MB binary value shown in %.3f s\n", seconds);
  // Nearly all of this time is the edit controls taking three million characters (about 10 s under Wine on a busy
  // machine); building the texts takes a few hundredths of a second. The bound catches work that grows faster
  // than the data, such as rebuilding the text for every byte.
  EXPECT_LT(seconds, 30.0);

  const std::wstring text = WindowText(WindowOf(*window_->txtValue));
  const std::wstring hex = WindowText(WindowOf(*window_->txtValueHex));
  EXPECT_EQ(WindowText(WindowOf(*window_->lblValueSize)), L"Value Size : 1048576");
  // A break in front of every 50 bytes after the first line's 51.
  const std::size_t breaks = (kBigSize - 51 + 49) / 50;
  EXPECT_EQ(text.size(), kBigSize + 2 * breaks);
  EXPECT_EQ(hex.size(), 2 * kBigSize + 2 * breaks);
  const std::vector<std::uint8_t> data = BigData();
  EXPECT_EQ(text.substr(0, 53), std::wstring(data.begin(), data.begin() + 51) + L"\r\n");
  EXPECT_EQ(text.substr(text.size() - 3), std::wstring(data.end() - 3, data.end()));
}

}  // namespace
}  // namespace quillon::winetest
