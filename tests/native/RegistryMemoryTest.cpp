// The registry contract against the in-memory registry, which follows Windows where Wine and Windows differ, and
// what only the in-memory registry offers: fixture helpers, injected failures and handles never reused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/memory/MemoryRegistry.h"
#include "tests/contract/RegistryContract.h"

namespace quillon::registry::contract {
namespace {

struct MemoryBackend {
  using Registry = MemoryRegistry;
  static constexpr Ordering kOrdering = Ordering::Windows;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryBackend);

TEST(MemoryRegistry, HelpersAcceptHiveAliasesMatchCodePageLettersAndInjectOneFailure) {
  MemoryRegistry reg;
  reg.PutDword("hkcu\\Software\\A", "Count", 0x01020304);
  reg.Put("CU\\Caf\xE9\\\x9F");  // code page 1252 letters match their other case, Ÿ (0x9F) included
  EXPECT_TRUE(reg.KeyExists("HKEY_CURRENT_USER\\CAF\xC9\\\xFF"));
  EXPECT_FALSE(reg.KeyExists("HKLM\\Software"));
  EXPECT_EQ(reg.GetValue("HKCU\\Software\\a", "count")->data, (std::vector<std::uint8_t>{4, 3, 2, 1}));
  EXPECT_THROW(reg.Put("HKEY_NOWHERE\\A"), std::invalid_argument);

  reg.FailNthCall(Operation::EnumKey, 2, kBadDatabase);
  std::string buffer(10, ' ');
  for (const Status expected : {kSuccess, kBadDatabase, kSuccess}) {
    EXPECT_EQ(reg.EnumKey(kCurrentUser, 0, buffer), expected);
  }
  // A handle is never handed out again, so a stale one cannot reach another key.
  Key first = 0, second = 0;
  ASSERT_EQ(reg.OpenKey(kCurrentUser, "Software", first), kSuccess);
  reg.CloseKey(first);
  ASSERT_EQ(reg.OpenKey(kCurrentUser, "Software", second), kSuccess);
  EXPECT_NE(first, second);
  reg.CloseKey(second);
}

}  // namespace
}  // namespace quillon::registry::contract
