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
    const std::wstring path = L"Software\\" + app;
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsContract, Win32Backend);

class Win32Settings : public ::testing::Test {
 protected:
  void TearDown() override {
    Win32SettingsStore unused;
    Win32Backend::RemoveApplication(unused, app_);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, (L"Software\\" + app_).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS)
        << "the test's application key is still there";
  }

  std::wstring SectionPath() const { return L"Software\\" + app_ + L"\\Goto"; }

  const std::wstring app_ = ThrowAwayApplication();
};

TEST_F(Win32Settings, ASecondStoreSeesTheSamePairsAsPlainStringValuesOfTheSectionKey) {
  {
    Win32SettingsStore first;
    first.SaveSetting(app_, L"Goto", L" ", L"");
    first.SaveSetting(app_, L"Goto", L"2", L"HKLM\\SOFTWARE");
    first.SaveSetting(app_, L"Goto", L"1", L"hkcu\\Software");
  }
  Win32SettingsStore second;  // as the program's next start would
  EXPECT_EQ(second.GetAllSettings(app_, L"Goto"),
            (Pairs{{L" ", L""}, {L"2", L"HKLM\\SOFTWARE"}, {L"1", L"hkcu\\Software"}}));

  // Each key is a string value of HKCU\Software\<application>\<section>, readable by anything else.
  wchar_t data[64] = {};
  DWORD size = sizeof(data);
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, SectionPath().c_str(), L"2", RRF_RT_ANY, &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"HKLM\\SOFTWARE");
}

TEST_F(Win32Settings, ValuesChangedBehindTheStoresBackStillComeBackInAnOrder) {
  Win32SettingsStore store;
  for (const wchar_t* key : {L"b", L"a", L"c"}) store.SaveSetting(app_, L"Goto", key, key);

  // By hand: a string value the order list does not name, one that holds no text, and a removal.
  HKEY section = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_SET_VALUE, &section), ERROR_SUCCESS);
  const wchar_t byHand[] = L"by hand";
  RegSetValueExW(section, L"0", 0, REG_SZ, reinterpret_cast<const BYTE*>(byHand), sizeof(byHand));
  const DWORD number = 7;
  RegSetValueExW(section, L"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  RegDeleteValueW(section, L"b");
  RegCloseKey(section);

  // Unlisted values follow the listed ones; the removed one is gone.
  EXPECT_EQ(store.GetAllSettings(app_, L"Goto"), (Pairs{{L"a", L"a"}, {L"c", L"c"}, {L"0", L"by hand"}}));
  // Saved through the store, the hand-written value keeps its place; the removed one comes back as new, last.
  store.SaveSetting(app_, L"Goto", L"0", L"adopted");
  store.SaveSetting(app_, L"Goto", L"b", L"again");
  EXPECT_EQ(Keys(store.GetAllSettings(app_, L"Goto")), (std::vector<std::wstring>{L"a", L"c", L"0", L"b"}));
}

}  // namespace
}  // namespace quillon::runtime::contract
