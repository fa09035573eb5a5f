#pragma once
// One behaviour contract for every RegistryApi implementation. Instantiated natively for MemoryRegistry and under
// Wine for Win32Registry, so the in-memory registry the window tests use cannot drift from the platform's.
//
// A backend type names the registry class and which platform's listing order it must follow:
//   struct Backend { using Registry = ...; static constexpr Ordering kOrdering = ...; };

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "registry/RegistryApi.h"

namespace quillon::registry::contract {

/// Windows lists values in the order first written and subkeys compared upper-cased; Wine lists values sorted by
/// name and subkeys compared lower-cased. The in-memory registry follows Windows; under Wine either order passes.
enum class Ordering { Windows, WindowsOrWine };

using Names = std::vector<std::string>;

inline std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

template <typename Backend>
class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    testPath_ = "Software\\QuillonTest-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    ASSERT_EQ(reg_.CreateKey(kCurrentUser, testPath_, root_), kSuccess);
  }
  void TearDown() override {
    reg_.CloseKey(root_);
    EXPECT_EQ(reg_.OpenHandleCount(), 0u) << "the test left keys open";
    DeleteTree(kCurrentUser, testPath_);
  }
  // The platform deletes only keys without subkeys. Links are deleted themselves, never where they lead.
  void DeleteTree(Key parent, const std::string& name) {
    Key key = 0;
    if (reg_.OpenLink(parent, name, key) != kSuccess) return;
    for (const std::string& child : List(key)) DeleteTree(key, child);
    EXPECT_EQ(reg_.DeleteKey(key, ""), kSuccess) << name;
    reg_.CloseKey(key);
  }
  void MakeLink(const std::string& name, const std::u16string& target) {
    Key link = 0;
    ASSERT_EQ(reg_.CreateLink(root_, name, link), kSuccess) << name;
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : target) bytes.insert(bytes.end(), {std::uint8_t(unit & 0xFF), std::uint8_t(unit >> 8)});
    EXPECT_EQ(Set(link, kLinkValueName, kRegLink, bytes), kSuccess);
    reg_.CloseKey(link);
  }
  /// The key's name in the registry's namespace, upper-cased (names there match without case).
  std::u16string UpperName(Key key) {
    std::u16string name;
    EXPECT_EQ(reg_.KeyName(key, name), kSuccess);
    for (char16_t& unit : name) unit = unit >= u'a' && unit <= u'z' ? char16_t(unit - 0x20) : unit;
    return name;
  }
  Key Create(const std::string& name) {
    Key key = 0;
    EXPECT_EQ(reg_.CreateKey(root_, name, key), kSuccess) << name;
    return key;
  }
  Status Set(Key key, const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
    return reg_.SetValueEx(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }
  /// The names of the key's subkeys, or of its values.
  Names List(Key key, bool values = false) {
    Names names;
    std::string buffer(300, '\0');
    for (std::uint32_t index = 0, size = 300;
         (values ? reg_.EnumValue(key, index, buffer, size, nullptr, nullptr, nullptr)
                 : reg_.EnumKey(key, index, buffer)) == kSuccess;
         ++index, size = 300) {
      names.emplace_back(buffer.c_str());
    }
    return names;
  }
  /// The value's type and size as "<type>:<size>", or the status when it cannot be queried.
  std::string Query(Key key, const std::string& name) {
    std::uint32_t type = 0, size = 0;
    const Status status = reg_.QueryValueEx(key, name, &type, nullptr, &size);
    return status == kSuccess ? std::to_string(type) + ":" + std::to_string(size) : "status " + std::to_string(status);
  }
  /// Every operation on a handle that is no longer usable fails with `expected`.
  void ExpectEveryOperationFails(Key key, Status expected) {
    std::string buffer(10, ' ');
    std::uint32_t size = 10;
    Key child = 0;
    const Status results[] = {reg_.EnumKey(key, 0, buffer),
                              reg_.EnumValue(key, 0, buffer, size, nullptr, nullptr, nullptr),
                              reg_.QueryValueEx(key, "v", nullptr, nullptr, &size),
                              Set(key, "v", kRegSz, Bytes("new")),
                              reg_.CreateKey(key, "Child", child),
                              reg_.OpenKey(key, "Child", child),
                              reg_.DeleteValue(key, "v"),
                              reg_.DeleteKey(key, "x"),
                              reg_.FlushKey(key)};
    for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], expected) << "operation " << i;
  }

  typename Backend::Registry reg_;
  std::string testPath_;
  Key root_ = 0;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, OpenAndCreateFollowThePlatformsPathRules) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  reg.CloseKey(this->Create("A\\B"));  // makes the key in between too
  reg.CloseKey(this->Create("a"));     // creating an existing key opens it and keeps the name's first spelling
  EXPECT_EQ(this->List(root), Names{"A"});
  Key opened = 0;
  EXPECT_EQ(reg.OpenKey(root, "a\\\\b\\", opened), kSuccess);  // names match without case; extra backslashes pass
  reg.CloseKey(opened);
  EXPECT_EQ(reg.OpenKey(root, "A\\Missing", opened), kFileNotFound);
  EXPECT_EQ(reg.OpenKey(root, "\\A", opened), kBadPathname);
  EXPECT_EQ(reg.OpenKey(kCurrentUser, "", opened), kSuccess);  // an empty name hands back the very handle given
  EXPECT_EQ(opened, kCurrentUser);
}

TYPED_TEST_P(RegistryContract, SubkeysListInUpperCaseOrderAndEnumerationReportsFitAndEnd) {
  auto& reg = this->reg_;
  for (const char* name : {"b", "A_", "Ab", "a[", "C", "a", "\xE9t\xE9", "Zed"}) reg.CloseKey(this->Create(name));
  // Names compare without case, é (0xE9) after every ASCII letter: Windows upper-cased ("AB" < "A[" < "A_"),
  // Wine lower-cased ("a[" < "a_" < "ab").
  const Names windows{"a", "Ab", "a[", "A_", "b", "C", "Zed", "\xE9t\xE9"};
  const Names wine{"a", "a[", "A_", "Ab", "b", "C", "Zed", "\xE9t\xE9"};
  const Names names = this->List(this->root_);
  EXPECT_TRUE(names == windows || (TypeParam::kOrdering == Ordering::WindowsOrWine && names == wine))
      << ::testing::PrintToString(names);

  // The buffer's size counts the closing NUL: 249 characters fit in 250, 250 do not.
  const Key longs = this->Create("Longs");
  reg.CloseKey(this->Create("Longs\\" + std::string(249, 'x')));
  reg.CloseKey(this->Create("Longs\\" + std::string(250, 'y')));
  std::string buffer(250, ' ');
  EXPECT_EQ(reg.EnumKey(longs, 0, buffer), kSuccess);
  EXPECT_EQ(buffer.c_str(), std::string(249, 'x'));
  buffer.assign(250, ' ');
  EXPECT_EQ(reg.EnumKey(longs, 1, buffer), kMoreData);
  EXPECT_EQ(buffer, std::string(250, ' ')) << "a failed call leaves the buffer as it was";
  EXPECT_EQ(reg.EnumKey(longs, 2, buffer), kNoMoreItems);
  reg.CloseKey(longs);
}

TYPED_TEST_P(RegistryContract, ValuesKeepTheirPlaceAndFirstSpellingAndReportWhatDoesNotFit) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  ASSERT_EQ(this->Set(root, "", kRegSz, Bytes(std::string("def", 4))), kSuccess);
  for (const char* name : {"b", "A", "c"}) ASSERT_EQ(this->Set(root, name, kRegBinary, Bytes("1")), kSuccess);
  ASSERT_EQ(this->Set(root, "a", kRegDword, Bytes("\x01\x02")), kSuccess);  // a short DWORD is kept as it is
  EXPECT_EQ(this->Query(root, "A"), "4:2");
  const Names names = this->List(root, true);
  EXPECT_TRUE(names == Names({"", "b", "A", "c"}) ||
              (TypeParam::kOrdering == Ordering::WindowsOrWine && names == Names({"", "A", "b", "c"})))
      << ::testing::PrintToString(names);
  EXPECT_EQ(reg.DeleteValue(root, "B"), kSuccess);
  EXPECT_EQ(reg.DeleteValue(root, "b"), kFileNotFound);

  // Too small a data buffer learns the size it needs; the unnamed value lists with an empty name.
  std::string name(10, ' ');
  std::uint32_t nameSize = 10, type = 0, size = 3;
  std::vector<std::uint8_t> data(3);
  EXPECT_EQ(reg.EnumValue(root, 0, name, nameSize, &type, data.data(), &size), kMoreData);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 4u);
  size = 3;
  EXPECT_EQ(reg.QueryValueEx(root, "", nullptr, data.data(), &size), kMoreData);
  EXPECT_EQ(size, 4u);
  nameSize = 10;
  EXPECT_EQ(reg.EnumValue(root, 0, name, nameSize, nullptr, nullptr, nullptr), kSuccess);
  EXPECT_EQ(nameSize, 0u);
  EXPECT_EQ(reg.EnumValue(root, 3, name, nameSize, nullptr, nullptr, nullptr), kNoMoreItems);
  EXPECT_EQ(reg.DeleteValue(root, ""), kSuccess);
  EXPECT_EQ(this->Query(root, ""), "status 2");
  EXPECT_EQ(reg.SetValueEx(root, "NoData", kRegBinary, nullptr, 4), kNoAccess);
  EXPECT_EQ(this->Set(root, "Empty", kRegBinary, {}), kSuccess);
  EXPECT_EQ(this->Query(root, "Empty"), "3:0");
}

TYPED_TEST_P(RegistryContract, DeleteKeyRefusesKeysWithSubkeysAndHandlesOfDeletedOrClosedKeysFail) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  reg.CloseKey(this->Create("P\\C"));
  EXPECT_EQ(reg.DeleteKey(root, "P"), kAccessDenied);
  EXPECT_EQ(reg.DeleteKey(root, "Missing"), kFileNotFound);
  EXPECT_EQ(reg.DeleteKey(root, "p\\c"), kSuccess);
  const Key doomed = this->Create("P");
  ASSERT_EQ(this->Set(doomed, "v", kRegSz, Bytes("old")), kSuccess);
  EXPECT_EQ(reg.DeleteKey(doomed, ""), kSuccess);  // an empty name deletes the key the handle is open on
  this->ExpectEveryOperationFails(doomed, kKeyDeleted);
  const Key reborn = this->Create("P");  // a different key: the old handle does not reach it
  EXPECT_EQ(this->Query(reborn, "v"), "status 2");
  EXPECT_EQ(reg.CloseKey(doomed), kSuccess);
  EXPECT_EQ(reg.CloseKey(reborn), kSuccess);
  EXPECT_EQ(reg.CloseKey(reborn), kInvalidHandle);
  this->ExpectEveryOperationFails(reborn, kInvalidHandle);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(reg.CloseKey(kCurrentUser), kSuccess);  // closing a hive is harmless
  EXPECT_FALSE(this->List(kCurrentUser).empty());
}

TYPED_TEST_P(RegistryContract, LinksLeadWhereTheyPointByNameAndAreThemselvesWhenOpenedAsLinks) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  std::u16string rootName, tail = u"\\";
  ASSERT_EQ(reg.KeyName(root, rootName), kSuccess);
  const std::u16string upperRoot = this->UpperName(root);
  for (const char c : this->testPath_) tail.push_back(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 0x20 : c));
  EXPECT_EQ(this->UpperName(kCurrentUser) + tail, upperRoot);
  EXPECT_EQ(upperRoot.rfind(u"\\REGISTRY\\USER\\", 0), 0u);
  EXPECT_EQ(this->UpperName(kLocalMachine), u"\\REGISTRY\\MACHINE");

  const Key target = this->Create("Target");
  ASSERT_EQ(this->Set(target, "Keep", kRegSz, Bytes(std::string("1", 2))), kSuccess);
  reg.CloseKey(this->Create("Target\\Child"));
  this->MakeLink("Up", rootName + u"\\Target");
  this->MakeLink("Nowhere", rootName + u"\\Missing");
  this->MakeLink("Self", rootName + u"\\Self");
  EXPECT_EQ(this->List(root), (Names{"Nowhere", "Self", "Target", "Up"}));

  // By name a link is where it leads: its values, its name, and the paths that go on through it.
  Key opened = 0;
  ASSERT_EQ(reg.OpenKey(root, "Up", opened), kSuccess);
  EXPECT_EQ(this->Query(opened, "Keep"), "1:2");
  EXPECT_EQ(this->UpperName(opened), this->UpperName(target));
  reg.CloseKey(opened);
  // Opened as a link, it is itself: its own name, the target as its one value, no subkeys; a key made below it
  // goes where it leads.
  Key link = 0;
  ASSERT_EQ(reg.OpenLink(root, "Up", link), kSuccess);
  EXPECT_EQ(this->UpperName(link), upperRoot + u"\\UP");
  EXPECT_EQ(this->Query(link, kLinkValueName), "6:" + std::to_string(2 * (rootName.size() + 7)));
  EXPECT_EQ(this->List(link), Names{});
  ASSERT_EQ(reg.CreateKey(link, "Made", opened), kSuccess);
  reg.CloseKey(opened);
  EXPECT_EQ(this->List(target), (Names{"Child", "Made"}));
  // A link that leads nowhere, or round to itself, does not open by name.
  EXPECT_EQ(reg.OpenKey(root, "Nowhere", opened), kFileNotFound);
  EXPECT_NE(reg.OpenKey(root, "Self", opened), kSuccess);
  EXPECT_EQ(opened, 0u);

  // Deleting by name goes through a link to where it leads; deleting the link itself leaves that key alone.
  EXPECT_EQ(reg.DeleteKey(root, "Up"), kAccessDenied);  // Target still has subkeys
  EXPECT_EQ(reg.DeleteKey(root, "Up\\Made"), kSuccess);
  EXPECT_EQ(reg.DeleteKey(link, ""), kSuccess);
  reg.CloseKey(link);
  EXPECT_EQ(this->Query(target, "Keep"), "1:2");
  EXPECT_EQ(this->List(target), Names{"Child"});
  EXPECT_EQ(reg.DeleteKey(target, "Child"), kSuccess);
  this->MakeLink("Up", rootName + u"\\Target");
  EXPECT_EQ(reg.DeleteKey(root, "Up"), kSuccess);
  this->ExpectEveryOperationFails(target, kKeyDeleted);
  reg.CloseKey(target);
  EXPECT_EQ(this->List(root), (Names{"Nowhere", "Self", "Up"}));
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, OpenAndCreateFollowThePlatformsPathRules,
                            SubkeysListInUpperCaseOrderAndEnumerationReportsFitAndEnd,
                            ValuesKeepTheirPlaceAndFirstSpellingAndReportWhatDoesNotFit,
                            DeleteKeyRefusesKeysWithSubkeysAndHandlesOfDeletedOrClosedKeysFail,
                            LinksLeadWhereTheyPointByNameAndAreThemselvesWhenOpenedAsLinks);

}  // namespace quillon::registry::contract
