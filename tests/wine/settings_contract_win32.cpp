// The settings contract against the store in the current user's registry, run under Wine in a throw-away prefix,
// and what only a store that outlives the process can show.
#include <windows.h>

#include "runtime/win32/Win32SettingsStore.h"
#include "contract/SettingsContract.h"

namespace quillon::runtime::contract {
namespace {

using win32::Win32SettingsStore;

struct Win32Backend {
  using Store = Win32SettingsStore;
  static void RemoveApplication(Store&, const std::wstring& app) {
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\" + app).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, (L"Software\\" + app).c_str());
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsContract, Win32Backend);

TEST(Win32Settings, ANewStoreSeesThePairsInOrderAsStringValuesOfTheSectionKey) {
  const std::wstring app = ThrowAwayApplication();
  const Pairs written{{L"b", L"HKLM\\SOFTWARE"}, {L"a", L""}, {L"c", L"hkcu\\Software"}};
  {
    Win32SettingsStore first;
    for (const auto& [key, value] : written) first.SaveSetting(app, L"Goto", key, value);
  }
  Win32SettingsStore second;  // as the program's next start would
  EXPECT_EQ(second.GetAllSettings(app, L"Goto"), written);
  // Each key is a string value of HKCU\Software\<application>\<section>, readable by anything else.
  wchar_t data[32] = {};
  DWORD size = sizeof(data), type = 0;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (L"Software\\" + app + L"\\Goto").c_str(), L"b", RRF_RT_ANY, &type, data,
                         &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"HKLM\\SOFTWARE");
  Win32Backend::RemoveApplication(second, app);
}

}  // namespace
}  // namespace quillon::runtime::contract
