#pragma once
// One behaviour contract for every SettingsStore. Instantiated natively for the in-memory store and under Wine for
// the store in the user's registry, so the favourites behave the same in the window tests and in the program.
//
// A backend type names the store and how to remove what a test wrote:
//   struct Backend { using Store = ...; static void RemoveApplication(Store&, const std::wstring& app); };

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "runtime/Runtime.h"

namespace quillon::runtime::contract {

using Pairs = SettingsStore::Pairs;
/// An application name nobody else uses: the test's own, removed again at its end.
inline std::wstring ThrowAwayApplication() {
  return L"quillon-test-" + std::to_wstring(std::chrono::steady_clock::now().time_since_epoch().count());
}

template <typename Backend>
class SettingsContract : public ::testing::Test {
 protected:
  void TearDown() override { Backend::RemoveApplication(store_, app_); }
  Pairs Section() { return store_.GetAllSettings(app_, L"Goto"); }
  void Save(const std::wstring& key, const std::wstring& value) { store_.SaveSetting(app_, L"Goto", key, value); }
  bool Delete(const std::wstring& key, const std::wstring& section = L"Goto") {
    return store_.DeleteSetting(app_, section, key);
  }

  typename Backend::Store store_;
  const std::wstring app_ = ThrowAwayApplication();
};

TYPED_TEST_SUITE_P(SettingsContract);

TYPED_TEST_P(SettingsContract, PairsComeBackExactlyInTheOrderFirstWrittenAndKeepTheirPlaceWhenSavedAgain) {
  EXPECT_TRUE(this->Section().empty());
  // Sorted by name the keys would read "", " ", "1", "10", "2"; the registry under Wine enumerates that way.
  const Pairs written{{L" ", L""},
                      {L"2", L"  HKLM\\SOFTWARE  "},
                      {L"10", L"caf\u00e9 \u20ac \u65e5\u672c"},
                      {L"", std::wstring(5000, L'x') + L"end"},
                      {L"1", L"HKEY_CURRENT_USER\\Software\\a: b\\"}};
  for (const auto& [key, value] : written) this->Save(key, value);
  EXPECT_EQ(this->Section(), written);
  this->Save(L"10", L"changed");
  Pairs expected = written;
  expected[2].second = L"changed";
  EXPECT_EQ(this->Section(), expected);
}

TYPED_TEST_P(SettingsContract, DeleteRemovesOnlyThatKeyAndAKeySavedAgainGoesLast) {
  EXPECT_FALSE(this->Delete(L"1"));  // nothing stored
  for (const auto& key : {L" ", L"1", L"2", L"3"}) this->Save(key, std::wstring(L"v") + key);
  EXPECT_TRUE(this->Delete(L"2"));
  EXPECT_FALSE(this->Delete(L"2"));
  EXPECT_FALSE(this->Delete(L" ", L"Other"));
  EXPECT_EQ(this->Section(), (Pairs{{L" ", L"v "}, {L"1", L"v1"}, {L"3", L"v3"}}));
  this->Save(L"2", L"back");
  EXPECT_EQ(this->Section(), (Pairs{{L" ", L"v "}, {L"1", L"v1"}, {L"3", L"v3"}, {L"2", L"back"}}));
  // Emptied completely, the section starts its order afresh.
  for (const auto& key : {L" ", L"1", L"3", L"2"}) EXPECT_TRUE(this->Delete(key)) << key;
  this->Save(L"3", L"c");
  this->Save(L"1", L"a");
  EXPECT_EQ(this->Section(), (Pairs{{L"3", L"c"}, {L"1", L"a"}}));
}

REGISTER_TYPED_TEST_SUITE_P(SettingsContract,
                            PairsComeBackExactlyInTheOrderFirstWrittenAndKeepTheirPlaceWhenSavedAgain,
                            DeleteRemovesOnlyThatKeyAndAKeySavedAgainGoesLast);

}  // namespace quillon::runtime::contract
