// What only the in-memory registry offers: fixture helpers, injected failures, and listing speed on huge keys.
// Its platform behaviour is held by the registry contract.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "registry/memory/MemoryRegistry.h"

namespace quillon::registry {
namespace {

TEST(MemoryRegistry, FixtureHelpersAcceptHiveAliasesAndStoreWhatTheyAreGiven) {
  MemoryRegistry reg;
  reg.PutString("hkcu\\Software\\A", "Mode", "x");
  reg.PutDword("HKEY_CURRENT_USER\\Software\\A", "Count", 0x01020304);
  reg.PutBinary("CU\\Software\\A\\B", "Blob", {0, 255});
  reg.Put("U\\.DEFAULT");
  EXPECT_TRUE(reg.KeyExists("HKU\\.default"));
  EXPECT_TRUE(reg.KeyExists("HKCU\\SOFTWARE\\a\\b"));
  EXPECT_FALSE(reg.KeyExists("HKLM\\Software"));
  EXPECT_EQ(reg.GetValue("HKCU\\Software\\A", "mode")->data, (std::vector<std::uint8_t>{'x', 0}));
  EXPECT_EQ(reg.GetValue("HKCU\\Software\\A", "Count")->type, kRegDword);
  EXPECT_EQ(reg.GetValue("HKCU\\Software\\A", "Count")->data, (std::vector<std::uint8_t>{4, 3, 2, 1}));
  EXPECT_FALSE(reg.GetValue("HKCU\\Software\\A", "Blob").has_value());
  EXPECT_THROW(reg.Put("HKEY_NOWHERE\\A"), std::invalid_argument);

  // Code page 1252 letters match their other case, Ÿ (0x9F) included.
  reg.Put("HKCU\\Caf\xE9\\\x9F");
  EXPECT_TRUE(reg.KeyExists("HKCU\\CAF\xC9\\\xFF"));
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, InjectedFailureHitsOnlyTheNthCallOfThatOperation) {
  MemoryRegistry reg;
  reg.Put("HKCU\\A\\B");
  reg.FailNthCall(Operation::EnumKey, 2, kBadDatabase);
  std::string buffer(10, ' ');
  EXPECT_EQ(reg.EnumKey(kCurrentUser, 0, buffer), kSuccess);
  EXPECT_EQ(reg.EnumKey(kCurrentUser, 0, buffer), kBadDatabase);
  EXPECT_EQ(reg.EnumKey(kCurrentUser, 0, buffer), kSuccess);
  Key key = 0;
  EXPECT_EQ(reg.OpenKey(kCurrentUser, "A", key), kSuccess);
  reg.CloseKey(key);
}

TEST(MemoryRegistry, HandlesAreNotReusedAfterClose) {
  MemoryRegistry reg;
  reg.Put("HKCU\\A");
  Key first = 0;
  Key second = 0;
  ASSERT_EQ(reg.OpenKey(kCurrentUser, "A", first), kSuccess);
  reg.CloseKey(first);
  ASSERT_EQ(reg.OpenKey(kCurrentUser, "A", second), kSuccess);
  EXPECT_NE(first, second);
  EXPECT_EQ(reg.CloseKey(first), kInvalidHandle);
  reg.CloseKey(second);
}

TEST(MemoryRegistry, ListsAHundredThousandSubkeysInOrderWithoutSlowingDown) {
  MemoryRegistry reg;
  constexpr std::uint32_t kCount = 100000;
  Key big = 0;
  ASSERT_EQ(reg.CreateKey(kCurrentUser, "Big", big), kSuccess);
  // Created in an order unlike the listing order, so the listing has to sort.
  for (std::uint32_t i = 0; i < kCount; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "k%06u", (i * 7919u) % kCount);
    Key child = 0;
    ASSERT_EQ(reg.CreateKey(big, name, child), kSuccess);
    reg.CloseKey(child);
  }
  const auto start = std::chrono::steady_clock::now();
  std::string previous;
  std::uint32_t index = 0;
  for (;; ++index) {
    std::string buffer(250, ' ');
    if (reg.EnumKey(big, index, buffer) != kSuccess) break;
    const std::string name = buffer.c_str();
    ASSERT_LT(previous, name);
    previous = name;
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(index, kCount);
  // A walk from the start for every index would take minutes; one step per index takes well under a second.
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  // Going back to the start and to the end is quick too.
  std::string buffer(250, ' ');
  EXPECT_EQ(reg.EnumKey(big, kCount - 1, buffer), kSuccess);
  EXPECT_STREQ(buffer.c_str(), "k099999");
  EXPECT_EQ(reg.EnumKey(big, 0, buffer), kSuccess);
  EXPECT_STREQ(buffer.c_str(), "k000000");
  reg.CloseKey(big);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quillon::registry
