#include "registry/Links.h"

#include <vector>

namespace quillon::registry {

bool ReadLinkTarget(RegistryApi& registry, Key key, std::u16string& target) {
  // A link's target is a registry path, which is short: one call almost always brings it whole.
  std::vector<std::uint8_t> data(512);
  std::uint32_t type = kRegNone;
  auto size = static_cast<std::uint32_t>(data.size());
  Status status = registry.QueryValueEx(key, kLinkValueName, &type, data.data(), &size);
  if (status == kMoreData && type == kRegLink) {
    data.resize(size);
    status = registry.QueryValueEx(key, kLinkValueName, &type, data.data(), &size);
  }
  if (status != kSuccess || type != kRegLink) return false;
  // UTF-16 code units, low byte first; a closing NUL, which links do not hold, is not part of the name.
  target.clear();
  for (std::size_t i = 0; i + 1 < size && i + 1 < data.size(); i += 2) {
    target.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  while (!target.empty() && target.back() == u'\0') target.pop_back();
  return true;
}

}  // namespace quillon::registry
