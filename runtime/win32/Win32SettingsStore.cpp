#include "runtime/win32/Win32SettingsStore.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "support/UniqueHandle.h"

namespace quillon::runtime::win32 {

namespace {

/// Owns an open registry key and closes it once.
using UniqueKey = support::UniqueHandle<HKEY, &RegCloseKey>;

// The longest value name the registry allows, in characters, and room for its terminator.
constexpr DWORD kValueNameCapacity = 16384;

// Each entry of an order list starts with this mark, so that the empty key name (the key's unnamed value) is an
// entry too: a list value cannot hold an empty string, which would end it.
constexpr wchar_t kEntryMark = L'>';

std::wstring AppPath(const std::wstring& app) { return L"Software\\" + app; }
std::wstring SectionPath(const std::wstring& app, const std::wstring& section) {
  return AppPath(app) + L"\\" + section;
}

/// Value names compare as the registry compares them: ignoring case.
bool SameName(const std::wstring& left, const std::wstring& right) noexcept {
  return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                              static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

UniqueKey OpenKey(const std::wstring& path, REGSAM access) noexcept {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return UniqueKey(key);
}

UniqueKey CreateKey(const std::wstring& path) noexcept {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return UniqueKey(key);
}

/// The data of a value of the given types as text, with the byte count rounded down to whole characters; nothing
/// when the value is missing or of another type.
std::optional<std::wstring> ReadText(HKEY key, const std::wstring& name, DWORD wanted, DWORD alsoWanted) {
  // The value may grow between asking for its size and reading it; ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != wanted && type != alsoWanted) return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LONG result =
        RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &capacity);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return std::nullopt;
    text.resize(capacity / sizeof(wchar_t));
    return text;
  }
  return std::nullopt;
}

/// A string value's text, up to its terminator.
std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name) {
  std::optional<std::wstring> text = ReadText(key, name, REG_SZ, REG_EXPAND_SZ);
  if (text) text->resize(std::min(text->size(), text->find(L'\0')));
  return text;
}

std::vector<std::wstring> ReadOrder(HKEY appKey, const std::wstring& section) {
  std::vector<std::wstring> order;
  const std::optional<std::wstring> list = ReadText(appKey, Win32SettingsStore::OrderValueName(section),
                                                    REG_MULTI_SZ, REG_MULTI_SZ);
  if (!list) return order;
  std::size_t start = 0;
  while (start < list->size()) {
    std::size_t end = list->find(L'\0', start);
    if (end == std::wstring::npos) end = list->size();
    if (end == start) break;  // the empty string that ends the list
    if ((*list)[start] == kEntryMark) order.push_back(list->substr(start + 1, end - start - 1));
    start = end + 1;
  }
  return order;
}

void WriteOrder(HKEY appKey, const std::wstring& section, const std::vector<std::wstring>& order) {
  std::wstring list;
  for (const std::wstring& key : order) {
    list += kEntryMark;
    list += key;
    list += L'\0';
  }
  list += L'\0';
  RegSetValueExW(appKey, Win32SettingsStore::OrderValueName(section).c_str(), 0, REG_MULTI_SZ,
                 reinterpret_cast<const BYTE*>(list.c_str()), static_cast<DWORD>(list.size() * sizeof(wchar_t)));
}

std::vector<std::wstring> ValueNames(HKEY key) {
  std::vector<std::wstring> names;
  std::wstring buffer(kValueNameCapacity, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kValueNameCapacity;
    if (RegEnumValueW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), length);
  }
  return names;
}

}  // namespace

void Win32SettingsStore::SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                                     const std::wstring& value) {
  const UniqueKey sectionKey = CreateKey(SectionPath(app, section));
  if (!sectionKey) return;
  const bool existed =
      RegQueryValueExW(sectionKey.Get(), key.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  if (RegSetValueExW(sectionKey.Get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
    return;
  }

  const UniqueKey appKey = CreateKey(AppPath(app));
  if (!appKey) return;
  std::vector<std::wstring> order = ReadOrder(appKey.Get(), section);
  const auto listed = std::find_if(order.begin(), order.end(), [&](const auto& name) { return SameName(name, key); });
  // A key saved again keeps its place; a new one goes last, even when an old list still names it because the
  // value was removed behind the store's back.
  if (existed && listed != order.end()) return;
  if (listed != order.end()) order.erase(listed);
  order.push_back(key);
  WriteOrder(appKey.Get(), section, order);
}

SettingsStore::Pairs Win32SettingsStore::GetAllSettings(const std::wstring& app, const std::wstring& section) {
  const UniqueKey sectionKey = OpenKey(SectionPath(app, section), KEY_READ);
  if (!sectionKey) return {};
  Pairs unordered;
  for (std::wstring& name : ValueNames(sectionKey.Get())) {
    if (std::optional<std::wstring> text = ReadString(sectionKey.Get(), name)) {
      unordered.emplace_back(std::move(name), std::move(*text));
    }
  }

  std::vector<std::wstring> order;
  if (const UniqueKey appKey = OpenKey(AppPath(app), KEY_READ)) order = ReadOrder(appKey.Get(), section);
  Pairs pairs;
  for (const std::wstring& key : order) {
    const auto found = std::find_if(unordered.begin(), unordered.end(),
                                    [&](const auto& pair) { return SameName(pair.first, key); });
    if (found == unordered.end()) continue;
    pairs.push_back(std::move(*found));
    unordered.erase(found);
  }
  for (auto& pair : unordered) pairs.push_back(std::move(pair));
  return pairs;
}

bool Win32SettingsStore::DeleteSetting(const std::wstring& app, const std::wstring& section,
                                       const std::wstring& key) {
  const UniqueKey sectionKey = OpenKey(SectionPath(app, section), KEY_SET_VALUE);
  if (!sectionKey) return false;
  if (RegDeleteValueW(sectionKey.Get(), key.c_str()) != ERROR_SUCCESS) return false;

  if (const UniqueKey appKey = OpenKey(AppPath(app), KEY_READ | KEY_SET_VALUE)) {
    std::vector<std::wstring> order = ReadOrder(appKey.Get(), section);
    const auto kept = std::remove_if(order.begin(), order.end(), [&](const auto& name) { return SameName(name, key); });
    if (kept != order.end()) {
      order.erase(kept, order.end());
      WriteOrder(appKey.Get(), section, order);
    }
  }
  return true;
}

}  // namespace quillon::runtime::win32
