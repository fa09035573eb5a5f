#pragma once
/// The per-user settings store on Windows: text values in the current user's part of the registry, under
/// Software\<application>\<section>, one string value per key.

#include <string>

#include "runtime/Runtime.h"

namespace quillon::runtime::win32 {

/// Keeps each section's keys in the order they were first written. Windows enumerates a key's values in that order
/// already, but Wine enumerates them sorted by name, so the store records the order itself: the application's key
/// holds, for each section, a list value named "<section> order" with the section's key names, first written first.
/// Values the list does not name (written by hand, say) follow the listed ones in the platform's order.
class Win32SettingsStore final : public SettingsStore {
 public:
  void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override;
  Pairs GetAllSettings(const std::wstring& app, const std::wstring& section) override;
  [[nodiscard]] bool DeleteSetting(const std::wstring& app, const std::wstring& section,
                                   const std::wstring& key) override;

  /// The name of the value of the application's key that lists a section's keys in the order first written.
  static std::wstring OrderValueName(const std::wstring& section) { return section + L" order"; }
};

}  // namespace quillon::runtime::win32
