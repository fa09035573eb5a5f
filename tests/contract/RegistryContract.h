#pragma once
// One behaviour contract for every RegistryApi implementation. Instantiated natively for MemoryRegistry and under
// Wine for Win32Registry, so the in-memory registry the window tests use cannot drift from the platform's.
//
// A backend type names the registry class and which platform's listing order it must follow:
//   struct Backend { using Registry = ...; static constexpr Ordering kOrdering = ...; };

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "registry/RegistryApi.h"

namespace quillon::registry::contract {

/// Windows and Wine list in different orders: Windows lists values in the order first written and subkeys
/// compared upper-cased; Wine lists values sorted by name and subkeys compared lower-cased. The in-memory registry
/// follows Windows; under Wine either order passes.
enum class Ordering { Windows, WindowsOrWine };

inline std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

template <typename Backend>
class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = static_cast<int>(getpid());
#endif
    testPath_ = "Software\\QuillonTest-" + std::to_string(pid) + "-" + std::to_string(++serial);
    ASSERT_EQ(reg_.CreateKey(kCurrentUser, testPath_, root_), kSuccess);
  }

  void TearDown() override {
    reg_.CloseKey(root_);
    EXPECT_EQ(reg_.OpenHandleCount(), 0u) << "the test left keys open";
    DeleteTree(kCurrentUser, testPath_);
    EXPECT_EQ(reg_.OpenHandleCount(), 0u);
  }

  // Deletes a key and everything below it; the platform deletes only keys without subkeys.
  void DeleteTree(Key parent, const std::string& name) {
    Key key = 0;
    if (reg_.OpenKey(parent, name, key) != kSuccess) return;
    for (;;) {
      std::string buffer(300, '\0');
      if (reg_.EnumKey(key, 0, buffer) != kSuccess) break;
      const std::string child = buffer.c_str();
      DeleteTree(key, child);
      Key still = 0;
      if (reg_.OpenKey(key, child, still) == kSuccess) {  // not deleted: give up rather than loop
        reg_.CloseKey(still);
        break;
      }
    }
    reg_.CloseKey(key);
    EXPECT_EQ(reg_.DeleteKey(parent, name), kSuccess) << name;
  }

  Key Create(const std::string& name, Key parent = 0) {
    Key key = 0;
    EXPECT_EQ(reg_.CreateKey(parent == 0 ? root_ : parent, name, key), kSuccess) << name;
    return key;
  }

  void MakeKey(const std::string& name) { reg_.CloseKey(Create(name)); }

  Status Set(Key key, const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
    return reg_.SetValueEx(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }

  std::vector<std::string> SubkeyNames(Key key) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
      std::string buffer(300, '\0');
      if (reg_.EnumKey(key, index, buffer) != kSuccess) return names;
      names.emplace_back(buffer.c_str());
    }
  }

  std::vector<std::string> ValueNames(Key key) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
      std::string buffer(300, '\0');
      std::uint32_t size = 300;
      if (reg_.EnumValue(key, index, buffer, size, nullptr, nullptr, nullptr) != kSuccess) return names;
      names.emplace_back(buffer.c_str());
    }
  }

  // The value's data, or the status text when it cannot be read.
  std::string Read(Key key, const std::string& name) {
    std::vector<std::uint8_t> data(100);
    auto size = static_cast<std::uint32_t>(data.size());
    const Status status = reg_.QueryValueEx(key, name, nullptr, data.data(), &size);
    if (status != kSuccess) return "status " + std::to_string(status);
    return std::string(data.begin(), data.begin() + size);
  }

  typename Backend::Registry reg_;
  std::string testPath_;
  Key root_ = 0;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, OpenAndCreateFollowThePlatformsPathRules) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  const Key created = this->Create("A\\B");  // makes the key in between too
  ASSERT_NE(created, 0u);
  Key opened = 0;
  EXPECT_EQ(reg.OpenKey(root, "a\\b", opened), kSuccess);  // names match without case
  EXPECT_NE(opened, created);
  reg.CloseKey(opened);
  reg.CloseKey(created);

  EXPECT_EQ(reg.OpenKey(root, "Missing", opened), kFileNotFound);
  EXPECT_EQ(opened, 0u);
  EXPECT_EQ(reg.OpenKey(root, "A\\Missing", opened), kFileNotFound);

  // An empty name hands back the very handle given: nothing new to close.
  EXPECT_EQ(reg.OpenKey(root, "", opened), kSuccess);
  EXPECT_EQ(opened, root);
  // Creating with an empty name, though, opens a second handle to the same key, even on a hive.
  EXPECT_EQ(reg.CreateKey(root, "", opened), kSuccess);
  EXPECT_NE(opened, root);
  EXPECT_EQ(this->SubkeyNames(opened), std::vector<std::string>{"A"});
  reg.CloseKey(opened);
  EXPECT_EQ(reg.CreateKey(kCurrentUser, "", opened), kSuccess);
  EXPECT_FALSE(IsPredefinedKey(opened));
  reg.CloseKey(opened);
  EXPECT_EQ(reg.OpenKey(kCurrentUser, "", opened), kSuccess);
  EXPECT_EQ(opened, kCurrentUser);

  // Creating an existing key opens it and keeps the name's first spelling.
  const Key again = this->Create("a");
  EXPECT_EQ(this->SubkeyNames(again), std::vector<std::string>{"B"});
  reg.CloseKey(again);
  EXPECT_EQ(this->SubkeyNames(root), std::vector<std::string>{"A"});

  // Doubled and trailing backslashes are passed over; a leading one makes the path unusable.
  EXPECT_EQ(reg.OpenKey(root, "A\\", opened), kSuccess);
  reg.CloseKey(opened);
  EXPECT_EQ(reg.OpenKey(root, "A\\\\B\\\\", opened), kSuccess);
  EXPECT_EQ(this->SubkeyNames(opened), std::vector<std::string>{});
  reg.CloseKey(opened);
  EXPECT_EQ(reg.OpenKey(root, "\\A", opened), kBadPathname);
  EXPECT_EQ(reg.CreateKey(root, "\\C", opened), kBadPathname);

  EXPECT_EQ(reg.OpenKey(0, "A", opened), kInvalidHandle);
  EXPECT_EQ(reg.CreateKey(0, "A", opened), kInvalidHandle);
}

TYPED_TEST_P(RegistryContract, ClosingAHiveHandleIsHarmlessAndOtherHandlesCloseOnce) {
  auto& reg = this->reg_;
  EXPECT_EQ(reg.CloseKey(kCurrentUser), kSuccess);
  EXPECT_EQ(reg.CloseKey(kCurrentUser), kSuccess);
  Key software = 0;
  EXPECT_EQ(reg.OpenKey(kCurrentUser, "Software", software), kSuccess);
  EXPECT_EQ(reg.CloseKey(software), kSuccess);
  EXPECT_EQ(reg.CloseKey(software), kInvalidHandle);
  EXPECT_EQ(reg.CloseKey(0), kInvalidHandle);
  // A closed handle is dead for every operation.
  std::string buffer(10, ' ');
  EXPECT_EQ(reg.EnumKey(software, 0, buffer), kInvalidHandle);
  EXPECT_EQ(reg.FlushKey(software), kInvalidHandle);
  EXPECT_EQ(reg.FlushKey(this->root_), kSuccess);
  EXPECT_EQ(reg.QueryValueEx(software, "x", nullptr, nullptr, nullptr), kInvalidHandle);
  EXPECT_EQ(this->Set(software, "x", kRegSz, Bytes("a")), kInvalidHandle);
  EXPECT_EQ(reg.DeleteKey(software, "x"), kInvalidHandle);
  EXPECT_EQ(reg.DeleteValue(software, "x"), kInvalidHandle);
}

TYPED_TEST_P(RegistryContract, SubkeysListInUpperCaseOrderAndEnumerationReportsFitAndEnd) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  for (const char* name : {"b", "A_", "Ab", "a[", "C", "a", "\xE9t\xE9", "Zed"}) this->MakeKey(name);
  // Names compare without case, é (0xE9) after every ASCII letter. Windows compares upper-cased ("AB" < "A[" <
  // "A_"), Wine lower-cased ("a[" < "a_" < "ab").
  const std::vector<std::string> windows{"a", "Ab", "a[", "A_", "b", "C", "Zed", "\xE9t\xE9"};
  const std::vector<std::string> wine{"a", "a[", "A_", "Ab", "b", "C", "Zed", "\xE9t\xE9"};
  const auto names = this->SubkeyNames(root);
  if (TypeParam::kOrdering == Ordering::Windows) {
    EXPECT_EQ(names, windows);
  } else {
    EXPECT_TRUE(names == windows || names == wine) << ::testing::PrintToString(names);
  }

  // The buffer's size counts the closing NUL: 249 characters fit in 250, 250 do not.
  const Key longs = this->Create("Longs");
  this->MakeKey("Longs\\" + std::string(249, 'x'));
  this->MakeKey("Longs\\" + std::string(250, 'y'));
  std::string buffer(250, ' ');
  EXPECT_EQ(reg.EnumKey(longs, 0, buffer), kSuccess);
  EXPECT_EQ(buffer.c_str(), std::string(249, 'x'));
  buffer.assign(250, ' ');
  EXPECT_EQ(reg.EnumKey(longs, 1, buffer), kMoreData);
  EXPECT_EQ(buffer, std::string(250, ' ')) << "a failed call leaves the buffer as it was";
  EXPECT_EQ(reg.EnumKey(longs, 2, buffer), kNoMoreItems);
  EXPECT_EQ(reg.EnumKey(longs, 1000, buffer), kNoMoreItems);
  std::string roomy(251, ' ');
  EXPECT_EQ(reg.EnumKey(longs, 1, roomy), kSuccess);
  EXPECT_EQ(roomy.c_str(), std::string(250, 'y'));
  reg.CloseKey(longs);
}

TYPED_TEST_P(RegistryContract, EnumValueReportsNamesTypesAndSizes) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  // Written in name order, so the indexes agree whichever order the platform lists in.
  ASSERT_EQ(this->Set(root, "", kRegSz, Bytes(std::string("def", 4))), kSuccess);
  ASSERT_EQ(this->Set(root, std::string(249, 'v'), kRegBinary, Bytes("12345")), kSuccess);
  ASSERT_EQ(this->Set(root, std::string(250, 'w'), kRegDword, Bytes("1234")), kSuccess);

  std::string name(250, ' ');
  std::uint32_t nameSize = 250;
  EXPECT_EQ(reg.EnumValue(root, 0, name, nameSize, nullptr, nullptr, nullptr), kSuccess);
  EXPECT_EQ(name[0], '\0') << "the unnamed value comes back with an empty name";
  EXPECT_EQ(nameSize, 0u);

  name.assign(250, ' ');
  nameSize = 250;
  std::uint32_t type = 0;
  std::uint32_t dataSize = 0;
  EXPECT_EQ(reg.EnumValue(root, 1, name, nameSize, &type, nullptr, &dataSize), kSuccess);
  EXPECT_EQ(name.c_str(), std::string(249, 'v'));
  EXPECT_EQ(nameSize, 249u);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(dataSize, 5u);

  std::vector<std::uint8_t> data(4, 0xEE);
  dataSize = 4;
  nameSize = 250;
  EXPECT_EQ(reg.EnumValue(root, 1, name, nameSize, &type, data.data(), &dataSize), kMoreData);
  EXPECT_EQ(dataSize, 5u) << "a short data buffer learns the size it needs";
  data.resize(5);
  nameSize = 250;
  EXPECT_EQ(reg.EnumValue(root, 1, name, nameSize, &type, data.data(), &dataSize), kSuccess);
  EXPECT_EQ(data, Bytes("12345"));

  // Data without room fails the call before the name is written; type and size are reported all the same.
  name.assign(250, ' ');
  nameSize = 250;
  dataSize = 3;
  type = 0;
  EXPECT_EQ(reg.EnumValue(root, 2, name, nameSize, &type, data.data(), &dataSize), kMoreData);
  EXPECT_EQ(name, std::string(250, ' '));
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(dataSize, 4u);
  // A name without room comes back cut to fit the buffer, its size left as given.
  EXPECT_EQ(reg.EnumValue(root, 2, name, nameSize, nullptr, nullptr, nullptr), kMoreData);
  EXPECT_EQ(name.c_str(), std::string(249, 'w'));
  EXPECT_EQ(nameSize, 250u);
  EXPECT_EQ(reg.EnumValue(root, 3, name, nameSize, nullptr, nullptr, nullptr), kNoMoreItems);
}

TYPED_TEST_P(RegistryContract, ValuesKeepTheirPlaceAndFirstSpellingWhenOverwritten) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  for (const char* name : {"b", "A", "c"}) ASSERT_EQ(this->Set(root, name, kRegBinary, Bytes("1")), kSuccess);
  ASSERT_EQ(this->Set(root, "a", kRegBinary, Bytes("2")), kSuccess);
  EXPECT_EQ(this->Read(root, "A"), "2");
  const std::vector<std::string> written{"b", "A", "c"};
  const std::vector<std::string> sorted{"A", "b", "c"};
  const auto names = this->ValueNames(root);
  if (TypeParam::kOrdering == Ordering::Windows) {
    EXPECT_EQ(names, written);
  } else {
    // Wine keeps values sorted by name where Windows keeps the order they were first written in.
    EXPECT_TRUE(names == written || names == sorted) << ::testing::PrintToString(names);
  }
  EXPECT_EQ(reg.DeleteValue(root, "B"), kSuccess);
  EXPECT_EQ(reg.DeleteValue(root, "b"), kFileNotFound);
  EXPECT_EQ(this->ValueNames(root), (std::vector<std::string>{"A", "c"}));
}

TYPED_TEST_P(RegistryContract, QueryValueReportsTypeAndSizeAndStoresDataAsGiven) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  ASSERT_EQ(this->Set(root, "Mode", kRegSz, Bytes(std::string("xyz", 4))), kSuccess);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(reg.QueryValueEx(root, "MODE", &type, nullptr, &size), kSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 4u);
  std::vector<std::uint8_t> data(3, 0xEE);
  size = 3;
  EXPECT_EQ(reg.QueryValueEx(root, "Mode", &type, data.data(), &size), kMoreData);
  EXPECT_EQ(size, 4u);
  data.resize(4);
  EXPECT_EQ(reg.QueryValueEx(root, "Mode", &type, data.data(), &size), kSuccess);
  EXPECT_EQ(data, Bytes(std::string("xyz", 4)));
  EXPECT_EQ(reg.QueryValueEx(root, "Mode", nullptr, nullptr, nullptr), kSuccess);

  EXPECT_EQ(reg.QueryValueEx(root, "Missing", &type, nullptr, &size), kFileNotFound);
  EXPECT_EQ(reg.QueryValueEx(root, "", &type, nullptr, &size), kFileNotFound) << "no unnamed value yet";
  ASSERT_EQ(this->Set(root, "", kRegSz, Bytes(std::string("d", 2))), kSuccess);
  EXPECT_EQ(this->Read(root, ""), std::string("d", 2));

  // Types and sizes are stored as given, even where they disagree.
  EXPECT_EQ(this->Set(root, "Short", kRegDword, Bytes("\x01\x02")), kSuccess);
  EXPECT_EQ(reg.QueryValueEx(root, "Short", &type, nullptr, &size), kSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(size, 2u);
  // Strings are stored as given, without a NUL added. (Wine takes in a NUL that happens to follow the given bytes,
  // so the byte after them here is not one.)
  const std::string unterminated = "abcX";
  for (const std::uint32_t valueType : {kRegSz, kRegMultiSz, kRegBinary}) {
    EXPECT_EQ(reg.SetValueEx(root, "NoNul", valueType, reinterpret_cast<const std::uint8_t*>(unterminated.data()), 3),
              kSuccess);
    EXPECT_EQ(this->Read(root, "NoNul"), "abc") << "type " << valueType;
  }
  EXPECT_EQ(reg.SetValueEx(root, "NoData", kRegBinary, nullptr, 4), kNoAccess);
  EXPECT_EQ(this->Set(root, "Empty", kRegBinary, {}), kSuccess);
  EXPECT_EQ(reg.QueryValueEx(root, "Empty", &type, nullptr, &size), kSuccess);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(this->Set(root, "mode", kRegDword, Bytes("\x07\0\0\0")), kSuccess);
  EXPECT_EQ(reg.QueryValueEx(root, "Mode", &type, nullptr, &size), kSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(reg.DeleteValue(root, ""), kSuccess);
  EXPECT_EQ(reg.DeleteValue(root, ""), kFileNotFound);
}

TYPED_TEST_P(RegistryContract, DeleteKeyRefusesKeysWithSubkeys) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  this->MakeKey("P\\C");
  EXPECT_EQ(reg.DeleteKey(root, "P"), kAccessDenied);
  EXPECT_EQ(reg.DeleteKey(root, "Missing"), kFileNotFound);
  EXPECT_EQ(reg.DeleteKey(root, "p\\c"), kSuccess);
  EXPECT_EQ(reg.DeleteKey(root, "P"), kSuccess);
  // An empty name deletes the key the handle is open on.
  const Key self = this->Create("Self");
  EXPECT_EQ(reg.DeleteKey(self, ""), kSuccess);
  reg.CloseKey(self);
  EXPECT_EQ(this->SubkeyNames(root), std::vector<std::string>{});
}

TYPED_TEST_P(RegistryContract, HandlesOfADeletedKeyFailButStillClose) {
  auto& reg = this->reg_;
  const Key root = this->root_;
  const Key doomed = this->Create("D");
  ASSERT_EQ(this->Set(doomed, "v", kRegSz, Bytes("old")), kSuccess);
  ASSERT_EQ(reg.DeleteKey(root, "D"), kSuccess);

  std::string buffer(10, ' ');
  std::uint32_t size = 10;
  Key child = 0;
  EXPECT_EQ(reg.EnumKey(doomed, 0, buffer), kKeyDeleted);
  EXPECT_EQ(reg.EnumValue(doomed, 0, buffer, size, nullptr, nullptr, nullptr), kKeyDeleted);
  EXPECT_EQ(reg.QueryValueEx(doomed, "v", nullptr, nullptr, &size), kKeyDeleted);
  EXPECT_EQ(this->Set(doomed, "v", kRegSz, Bytes("new")), kKeyDeleted);
  EXPECT_EQ(reg.CreateKey(doomed, "Child", child), kKeyDeleted);
  EXPECT_EQ(reg.OpenKey(doomed, "Child", child), kKeyDeleted);
  EXPECT_EQ(reg.DeleteValue(doomed, "v"), kKeyDeleted);
  EXPECT_EQ(reg.DeleteKey(doomed, "x"), kKeyDeleted);
  EXPECT_EQ(reg.FlushKey(doomed), kKeyDeleted);
  EXPECT_EQ(reg.CreateKey(doomed, "", child), kKeyDeleted);
  EXPECT_EQ(reg.OpenKey(doomed, "", child), kSuccess) << "an empty name is answered without looking at the key";
  EXPECT_EQ(child, doomed);

  // A key made again under the same name is a different key; the old handle does not reach it.
  const Key reborn = this->Create("D");
  EXPECT_EQ(this->Read(reborn, "v"), "status 2");
  EXPECT_EQ(reg.EnumKey(doomed, 0, buffer), kKeyDeleted);
  EXPECT_EQ(reg.CloseKey(doomed), kSuccess);
  reg.CloseKey(reborn);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, OpenAndCreateFollowThePlatformsPathRules,
                            ClosingAHiveHandleIsHarmlessAndOtherHandlesCloseOnce,
                            SubkeysListInUpperCaseOrderAndEnumerationReportsFitAndEnd,
                            EnumValueReportsNamesTypesAndSizes,
                            ValuesKeepTheirPlaceAndFirstSpellingWhenOverwritten,
                            QueryValueReportsTypeAndSizeAndStoresDataAsGiven, DeleteKeyRefusesKeysWithSubkeys,
                            HandlesOfADeletedKeyFailButStillClose);

}  // namespace quillon::registry::contract
