// The registry contract against the in-memory registry, which follows Windows where Wine and Windows differ. Its
// fixture helpers and injected failures are what every window test stands on.
#include <gtest/gtest.h>

#include "registry/memory/MemoryRegistry.h"
#include "tests/contract/RegistryContract.h"

namespace quillon::registry::contract {
namespace {

struct MemoryBackend {
  using Registry = MemoryRegistry;
  static constexpr Ordering kOrdering = Ordering::Windows;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryBackend);

}  // namespace
}  // namespace quillon::registry::contract
