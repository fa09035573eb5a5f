// The settings contract against the in-memory store the window tests use.
#include "runtime/headless/HeadlessRuntime.h"
#include "contract/SettingsContract.h"

namespace quillon::runtime::contract {
namespace {

struct MemoryBackend {
  using Store = MemorySettingsStore;
  // The store goes with the test; there is nothing to remove.
  static void RemoveApplication(Store&, const std::wstring&) {}
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsContract, MemoryBackend);

}  // namespace
}  // namespace quillon::runtime::contract
