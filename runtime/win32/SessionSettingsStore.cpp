#include "runtime/win32/SessionSettingsStore.h"

#include <windows.h>

#include <algorithm>

namespace quillon::runtime::win32 {

namespace {

int CompareIgnoringCase(const std::wstring& left, const std::wstring& right) noexcept {
  return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                              static_cast<int>(right.size()), TRUE);
}

}  // namespace

bool SessionSettingsStore::NameLess::operator()(const std::wstring& left, const std::wstring& right) const noexcept {
  return CompareIgnoringCase(left, right) == CSTR_LESS_THAN;
}

bool SessionSettingsStore::SectionLess::operator()(const SectionName& left,
                                                   const SectionName& right) const noexcept {
  const NameLess less;
  if (less(left.first, right.first)) return true;
  if (less(right.first, left.first)) return false;
  return less(left.second, right.second);
}

void SessionSettingsStore::SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                                       const std::wstring& value) {
  Pairs& pairs = sections_[{app, section}];
  auto found = std::find_if(pairs.begin(), pairs.end(),
                            [&](const auto& pair) { return CompareIgnoringCase(pair.first, key) == CSTR_EQUAL; });
  if (found != pairs.end()) {
    found->second = value;
    return;
  }
  pairs.emplace_back(key, value);
}

SettingsStore::Pairs SessionSettingsStore::GetAllSettings(const std::wstring& app, const std::wstring& section) {
  auto found = sections_.find({app, section});
  return found == sections_.end() ? Pairs() : found->second;
}

bool SessionSettingsStore::DeleteSetting(const std::wstring& app, const std::wstring& section,
                                         const std::wstring& key) {
  auto found = sections_.find({app, section});
  if (found == sections_.end()) return false;
  Pairs& pairs = found->second;
  auto entry = std::find_if(pairs.begin(), pairs.end(),
                            [&](const auto& pair) { return CompareIgnoringCase(pair.first, key) == CSTR_EQUAL; });
  if (entry == pairs.end()) return false;
  pairs.erase(entry);
  return true;
}

}  // namespace quillon::runtime::win32
