#pragma once
/// Telling links apart: whether a key opened with OpenLink is a link, and where it leads.

#include <string>

#include "registry/RegistryApi.h"

namespace quillon::registry {

/// Whether `key`, opened with OpenLink, is a link; where it leads goes to `target` when it is. One registry call
/// for a key that is not a link, and for almost every link.
[[nodiscard]] bool ReadLinkTarget(RegistryApi& registry, Key key, std::u16string& target);

}  // namespace quillon::registry
