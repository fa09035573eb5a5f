#pragma once
// One behaviour contract for every SettingsStore. Instantiated natively for the in-memory store and under Wine for
// the store in the user's registry, so the favourites behave the same in the window tests and in the program.
//
// A backend type names the store and how to remove what a test wrote:
//   struct Backend { using Store = ...; static void RemoveApplication(Store&, const std::wstring& app); };

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "runtime/Runtime.h"

namespace quillon::runtime::contract {

using Pairs = SettingsStore::Pairs;

/// The keys of the pairs, in their order.
inline std::vector<std::wstring> Keys(const Pairs& pairs) {
  std::vector<std::wstring> keys;
  for (const auto& pair : pairs) keys.push_back(pair.first);
  return keys;
}

/// An application name nobody else uses: the test's own, removed again at its end.
inline std::wstring ThrowAwayApplication() {
  static int serial = 0;
#ifdef _WIN32
  const int pid = _getpid();
#else
  const int pid = static_cast<int>(getpid());
#endif
  return L"quillon-test-" + std::to_wstring(pid) + L"-" + std::to_wstring(++serial);
}

template <typename Backend>
class SettingsContract : public ::testing::Test {
 protected:
  void TearDown() override { Backend::RemoveApplication(store_, app_); }

  Pairs Section(const std::wstring& section = L"Goto") { return store_.GetAllSettings(app_, section); }
  void Save(const std::wstring& key, const std::wstring& value, const std::wstring& section = L"Goto") {
    store_.SaveSetting(app_, section, key, value);
  }
  bool Delete(const std::wstring& key, const std::wstring& section = L"Goto") {
    return store_.DeleteSetting(app_, section, key);
  }

  typename Backend::Store store_;
  const std::wstring app_ = ThrowAwayApplication();
};

TYPED_TEST_SUITE_P(SettingsContract);

TYPED_TEST_P(SettingsContract, NothingStoredMeansNoPairsAndNothingToDelete) {
  EXPECT_TRUE(this->Section().empty());
  EXPECT_FALSE(this->Delete(L"1"));
  // The section exists now, the key still does not.
  this->Save(L" ", L"");
  EXPECT_FALSE(this->Delete(L"1"));
  EXPECT_FALSE(this->Delete(L" ", L"Other"));
  EXPECT_EQ(this->Section(), (Pairs{{L" ", L""}}));
}

TYPED_TEST_P(SettingsContract, KeysComeBackInTheOrderFirstWrittenAndKeepTheirPlaceWhenSavedAgain) {
  // Sorted by name these would read "", " ", "1", "10", "2", "A", "b"; the registry under Wine enumerates that way.
  // The empty name is a key like any other.
  const std::vector<std::wstring> written{L" ", L"2", L"10", L"", L"1", L"b", L"A"};
  for (const auto& key : written) this->Save(key, L"value of " + key);
  EXPECT_EQ(Keys(this->Section()), written);

  this->Save(L"10", L"changed");
  this->Save(L" ", L"");
  const Pairs pairs = this->Section();
  EXPECT_EQ(Keys(pairs), written);
  ASSERT_EQ(pairs.size(), written.size());
  EXPECT_EQ(pairs[2].second, L"changed");
  EXPECT_EQ(pairs[0].second, L"");
  EXPECT_EQ(pairs[3].second, L"value of ");
  EXPECT_EQ(pairs[6].second, L"value of A");
}

TYPED_TEST_P(SettingsContract, DeleteRemovesOnlyThatKeyAndAKeySavedAgainGoesLast) {
  for (const auto& key : {L" ", L"1", L"2", L"3"}) this->Save(key, std::wstring(L"v") + key);
  EXPECT_TRUE(this->Delete(L"2"));
  EXPECT_FALSE(this->Delete(L"2"));
  EXPECT_EQ(this->Section(), (Pairs{{L" ", L"v "}, {L"1", L"v1"}, {L"3", L"v3"}}));

  this->Save(L"2", L"back");
  EXPECT_EQ(Keys(this->Section()), (std::vector<std::wstring>{L" ", L"1", L"3", L"2"}));

  // Emptied completely, the section starts its order afresh.
  for (const auto& key : {L" ", L"1", L"3", L"2"}) EXPECT_TRUE(this->Delete(key)) << key;
  EXPECT_TRUE(this->Section().empty());
  this->Save(L"3", L"c");
  this->Save(L"1", L"a");
  EXPECT_EQ(this->Section(), (Pairs{{L"3", L"c"}, {L"1", L"a"}}));
}

TYPED_TEST_P(SettingsContract, ValuesComeBackExactly) {
  const std::vector<std::wstring> values{
      L"",
      L"  HKLM\\SOFTWARE  ",
      L"HKEY_CURRENT_USER\\Software\\a: b\\",
      L"caf\u00e9 \u20ac \u65e5\u672c",
      std::wstring(5000, L'x') + L"end",
  };
  for (std::size_t i = 0; i < values.size(); ++i) this->Save(std::to_wstring(i + 1), values[i]);
  const Pairs pairs = this->Section();
  ASSERT_EQ(pairs.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(pairs[i].first, std::to_wstring(i + 1));
    EXPECT_EQ(pairs[i].second, values[i]) << "value " << i;
  }
}

TYPED_TEST_P(SettingsContract, SectionsAndApplicationsAreKeptApart) {
  const std::wstring otherApp = ThrowAwayApplication();
  this->Save(L"1", L"goto one");
  this->Save(L"1", L"other one", L"Other");
  this->Save(L"2", L"other two", L"Other");
  this->store_.SaveSetting(otherApp, L"Goto", L"1", L"elsewhere");

  EXPECT_EQ(this->Section(), (Pairs{{L"1", L"goto one"}}));
  EXPECT_EQ(this->Section(L"Other"), (Pairs{{L"1", L"other one"}, {L"2", L"other two"}}));
  EXPECT_TRUE(this->Delete(L"1", L"Other"));
  EXPECT_EQ(this->Section(), (Pairs{{L"1", L"goto one"}}));
  EXPECT_EQ(this->store_.GetAllSettings(otherApp, L"Goto"), (Pairs{{L"1", L"elsewhere"}}));
  TypeParam::RemoveApplication(this->store_, otherApp);
}

REGISTER_TYPED_TEST_SUITE_P(SettingsContract, NothingStoredMeansNoPairsAndNothingToDelete,
                            KeysComeBackInTheOrderFirstWrittenAndKeepTheirPlaceWhenSavedAgain,
                            DeleteRemovesOnlyThatKeyAndAKeySavedAgainGoesLast, ValuesComeBackExactly,
                            SectionsAndApplicationsAreKeptApart);

}  // namespace quillon::runtime::contract
