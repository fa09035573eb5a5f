#include "registry/modRegistry.h"

#include <algorithm>

#include "registry/ScopedKey.h"

namespace quillon::registry {

const std::array<HiveRow, 7> kHiveTable{{
    {L"HKEY_CLASSES_ROOT", {L"HKCR", L"HKR", L"CR"}, kClassesRoot},
    {L"HKEY_CURRENT_CONFIG", {L"HKCC", L"HCC", L"CC"}, kCurrentConfig},
    {L"HKEY_CURRENT_USER", {L"HKCU", L"HCU", L"CU"}, kCurrentUser},
    {L"HKEY_LOCAL_MACHINE", {L"HKLM", L"HLM", L"LM"}, kLocalMachine},
    {L"HKEY_USERS", {L"HKU", L"HU", L"U"}, kUsers},
    {L"HKEY_DYN_DATA", {L"HKDD", L"HDD", L"DD"}, kDynData},
    {L"HKEY_PERFORMANCE_DATA", {L"HKPD", L"HPD", L"PD"}, kPerformanceData},
}};

const HiveRow* FindHive(const std::wstring& upperCasedName) {
  for (const HiveRow& row : kHiveTable) {
    if (upperCasedName == row.fullName) return &row;
    const bool isAlias = std::any_of(row.aliases.begin(), row.aliases.end(),
                                     [&](const wchar_t* alias) { return upperCasedName == alias; });
    if (isAlias) return &row;
  }
  return nullptr;
}

namespace {

// Only blanks are trimmed; tabs and other white space belong to the name.
std::wstring TrimBlanks(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  const auto last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

Key ResolvePath(RegistryApi& registry, const runtime::PlatformText& text, const std::wstring& path, bool exact) {
  const std::wstring trimmed = TrimBlanks(path);
  if (trimmed.empty()) return 0;

  // With no backslash the rest is the whole text, which then equals the hive part and so opens nothing more.
  const auto slash = trimmed.find(L'\\');
  const std::wstring hivePart = trimmed.substr(0, slash);
  std::wstring rest = slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);

  const HiveRow* hive = FindHive(text.UCase(hivePart));
  if (hive == nullptr) return 0;
  ScopedKey key(registry, hive->handle);

  // Opens `component` below the key and moves on to it. A component that does not open leaves the key as it was
  // and the walk goes on, unless the path must open exactly.
  const auto step = [&](const std::wstring& component) {
    Key next = 0;
    static_cast<void>(registry.OpenKey(key.Get(), text.ToAnsi(component), next));
    if (next == 0) return !exact;
    // An empty component gives back the same handle; replacing the owner then would close the key we hold.
    if (next != key.Get()) key = ScopedKey(registry, next);
    return true;
  };
  for (auto next = rest.find(L'\\'); next != std::wstring::npos; next = rest.find(L'\\')) {
    const std::wstring component = rest.substr(0, next);
    rest.erase(0, next + 1);
    if (!step(component)) return 0;
  }

  const std::wstring last = TrimBlanks(rest);
  if (last.empty() || last == hivePart) return key.Release();
  if (!step(last)) return 0;
  return key.Release();
}

}  // namespace

Key OpenKeyPath(RegistryApi& registry, const runtime::PlatformText& text, const std::wstring& path) {
  return ResolvePath(registry, text, path, false);
}

Key OpenExactKeyPath(RegistryApi& registry, const runtime::PlatformText& text, const std::wstring& path) {
  return ResolvePath(registry, text, path, true);
}

}  // namespace quillon::registry
