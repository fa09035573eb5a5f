// Registry links through the real window over the real registry: a search over cycles of links ends with the window
// alive and lists what the in-memory registry's search lists. (Deleting a link itself is in the registry contract.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Form.h"
#include "runtime/win32/Win32Runtime.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using registry::Key;

class LinksE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = "Software\\QuillonTest-" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(registry_.CreateKey(registry::kCurrentUser, root_, rootKey_), registry::kSuccess);
    ASSERT_EQ(registry_.KeyName(rootKey_, rootName_), registry::kSuccess);
    window_.Show();
  }
  void TearDown() override {
    DeleteTree(registry::kCurrentUser, root_);
    registry_.CloseKey(rootKey_);
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
  }
  // Links are deleted themselves, never where they lead.
  void DeleteTree(Key parent, const std::string& name) {
    Key key = 0;
    if (registry_.OpenLink(parent, name, key) != registry::kSuccess) return;
    std::string buffer(256, '\0');
    while (registry_.EnumKey(key, 0, buffer) == registry::kSuccess) DeleteTree(key, buffer.c_str());
    registry_.DeleteKey(key, "");
    registry_.CloseKey(key);
  }
  void Put(const std::string& path, const std::string& value = std::string()) {
    Key key = 0;
    ASSERT_EQ(registry_.CreateKey(rootKey_, path, key), registry::kSuccess);
    if (!value.empty()) registry_.SetValueEx(key, value, registry::kRegSz, reinterpret_cast<const std::uint8_t*>("1"), 2);
    registry_.CloseKey(key);
  }
  void Link(const std::string& path, const std::string& target) {
    Key link = 0;
    ASSERT_EQ(registry_.CreateLink(rootKey_, path, link), registry::kSuccess);
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : rootName_ + u"\\" + std::u16string(target.begin(), target.end())) {
      bytes.insert(bytes.end(), {std::uint8_t(unit & 0xFF), std::uint8_t(unit >> 8)});
    }
    registry_.SetValueEx(link, registry::kLinkValueName, registry::kRegLink, bytes.data(),
                         static_cast<std::uint32_t>(bytes.size()));
    registry_.CloseKey(link);
  }
  std::wstring Path(const std::string& tail) const {
    return L"HKEY_CURRENT_USER\\" + std::wstring(root_.begin(), root_.end()) + (tail.empty() ? L"" : L"\\") +
           std::wstring(tail.begin(), tail.end());
  }
  std::vector<std::wstring> FindBelow(const std::string& tail) {
    window_.chkKeys->SetValue(1);
    window_.chkValues->SetValue(1);
    window_.chkDatas->SetValue(0);
    window_.txtFind->SetText(L"");
    window_.List1->SetSelected(1, true);  // a hive, as Find asks for one
    window_.chkHive->SetValue(0);
    window_.txtKey->SetText(Path(tail));
    window_.cmdFind_Click();
    std::vector<std::wstring> lines;
    const std::wstring text = window_.txtFindList->Text();
    for (std::size_t start = 0, end = text.find(L"\r\n"); end != std::wstring::npos;
         start = end + 2, end = text.find(L"\r\n", start)) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

  registry::Win32Registry registry_;
  runtime::Win32Runtime runtime_{GetModuleHandleW(nullptr), std::wstring()};
  frmRegEdit window_{runtime_, registry_, nullptr};
  std::string root_;
  Key rootKey_ = 0;
  std::u16string rootName_;
};

TEST_F(LinksE2E, SearchesOverCyclesOfOneAndTwoLinksEndWithTheWindowAlive) {
  Put("QLoop\\A\\B");
  Link("QLoop\\A\\B\\Up", "QLoop");
  Link("QLoop\\A\\Twin", "QLoop\\C");  // a cycle of two links: A\Twin to C, C\Back to A
  Put("QLoop\\C", "InC");
  Link("QLoop\\C\\Back", "QLoop\\A");
  const auto key = [&](const std::string& tail) { return L"Key : " + Path("QLoop\\" + tail); };
  EXPECT_EQ(FindBelow("QLoop"),
            (std::vector<std::wstring>{key("A"), key("A\\B"), key("A\\B\\Up"), key("A\\Twin"),
                                       L"Value : " + Path("QLoop\\A\\Twin\\InC"), key("A\\Twin\\Back"), key("C"),
                                       L"Value : " + Path("QLoop\\C\\InC"), key("C\\Back"), key("C\\Back\\B"),
                                       key("C\\Back\\B\\Up"), key("C\\Back\\Twin")}));
  EXPECT_TRUE(IsWindow(dynamic_cast<runtime::win32::Win32Form&>(window_.Form()).Window()));

}

}  // namespace
}  // namespace quillon::winetest
