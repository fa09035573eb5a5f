#pragma once
/// A settings store that lives only as long as the process: what the Win32 runtime hands out until the store in
/// the user's part of the registry exists. Settings saved here are lost at exit.

#include <map>
#include <string>
#include <utility>

#include "runtime/Runtime.h"

namespace quillon::runtime::win32 {

class SessionSettingsStore final : public SettingsStore {
 public:
  void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override;
  Pairs GetAllSettings(const std::wstring& app, const std::wstring& section) override;
  [[nodiscard]] bool DeleteSetting(const std::wstring& app, const std::wstring& section,
                                   const std::wstring& key) override;

 private:
  /// Names compare ignoring case, as the registry compares key and value names.
  struct NameLess {
    bool operator()(const std::wstring& left, const std::wstring& right) const noexcept;
  };
  using SectionName = std::pair<std::wstring, std::wstring>;
  struct SectionLess {
    bool operator()(const SectionName& left, const SectionName& right) const noexcept;
  };

  std::map<SectionName, Pairs, SectionLess> sections_;
};

}  // namespace quillon::runtime::win32
