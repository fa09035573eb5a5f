// Key path resolution: whatever the text, the result is 0, a hive, or one open handle to a key that exists, and no
// handle opened on the way stays open.
#include "registry/modRegistry.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  registry::MemoryRegistry& tree = fuzz::FixtureTree();
  const registry::Key key = registry::OpenKeyPath(tree, fuzz::Text(), fuzz::Decode(data, size));
  const bool held = key != 0 && !registry::IsPredefinedKey(key);
  fuzz::Require(tree.OpenHandleCount() == (held ? 1u : 0u), "only the returned key is open");
  if (key != 0) {
    std::uint32_t type = 0;
    std::uint32_t dataSize = 0;
    const registry::Status status = tree.QueryValueEx(key, "", &type, nullptr, &dataSize);
    fuzz::Require(status != registry::kInvalidHandle && status != registry::kKeyDeleted, "the key exists");
  }
  if (held) tree.CloseKey(key);
  fuzz::Require(tree.OpenHandleCount() == 0, "no handle open after closing the result");
  return 0;
}
