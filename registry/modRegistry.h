#pragma once
/// The hive table and OpenKeyPath: the program's only vocabulary for the seven registry roots.

#include <array>
#include <string>

#include "registry/RegistryApi.h"
#include "runtime/Runtime.h"

namespace quillon::registry {

/// One hive: its full name as the hive list shows it, its three aliases and its predefined handle.
struct HiveRow {
  const wchar_t* fullName;
  std::array<const wchar_t*, 3> aliases;
  Key handle;
};

/// The rows in the order they are tried.
extern const std::array<HiveRow, 7> kHiveTable;

/// The row whose full name or alias equals `upperCasedName` exactly, or nullptr.
const HiveRow* FindHive(const std::wstring& upperCasedName);

/// Resolves a key path (hive name or alias in any case, then components after backslashes) to an open key the
/// caller must close. Returns 0 for an empty path or an unknown hive. A component that cannot be opened is skipped.
[[nodiscard]] Key OpenKeyPath(RegistryApi& registry, const runtime::PlatformText& text, const std::wstring& path);

/// The same reading of a path as OpenKeyPath, but 0 unless every component opened, so that the caller knows the key
/// is the one its path names and not an ancestor of it.
[[nodiscard]] Key OpenExactKeyPath(RegistryApi& registry, const runtime::PlatformText& text, const std::wstring& path);

}  // namespace quillon::registry
