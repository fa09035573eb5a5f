// The registry contract against the in-memory registry, which follows Windows where Wine and Windows differ.
#include "registry/memory/MemoryRegistry.h"
#include "contract/RegistryContract.h"

namespace quillon::registry::contract {
namespace {

struct MemoryBackend {
  using Registry = MemoryRegistry;
  static constexpr Ordering kOrdering = Ordering::Windows;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryBackend);

}  // namespace
}  // namespace quillon::registry::contract
