// The registry's limits met as ordinary input: the longest key and value names, the deepest tree, values of several
// megabytes, and a hundred thousand subkeys and values in one key. After each, no key is left open (fixture).
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

using Limits = EditingTest;

TEST_F(Limits, NamesOfTheLongestLengthMadeInTheWindowAreEnteredShownAndDeleted) {
  const std::string alpha = std::string(kQuill) + "\\Alpha", key(255, 'm'), value(16383, 'w');
  // Such names end the listings and a search's walk (Enumeration and Search prove it), not what the window makes.
  Walk(L"HKEY_CURRENT_USER", {L"Software", L"Quill", L"Alpha"});
  Answer(w().cmdCreateSubKey, {Wide(key)});
  Answer(w().cmdCreateValueS, {Wide(value), L"long named"});
  ExpectValue(alpha, value, registry::kRegSz, {'l', 'o', 'n', 'g', ' ', 'n', 'a', 'm', 'e', 'd', 0});
  Confirm(w().List3, Wide(value), w().cmdDeleteValue);  // the panel still shows what was deleted
  EXPECT_EQ(w().txtValueName->Text(), Wide(value));
  EXPECT_EQ(w().lblValueSize->Caption() + w().txtValue->Text(), L"Value Size : 11long named");
  EXPECT_FALSE(registry.GetValue(alpha, value).has_value());

  DoubleClickEntry(w().List2, Wide(key));
  Answer(w().cmdCreateValueS, {L"v", L"inside"});
  ExpectValue(alpha + "\\" + key, "v", registry::kRegSz, {'i', 'n', 's', 'i', 'd', 'e', 0});
}

TEST_F(Limits, ATreeFiveHundredAndTwelveLevelsDeepIsReachedWithGoToAndSearchedToTheBottom) {
  constexpr std::size_t kLevels = 512;
  std::string path = "HKCU";
  std::wstring below;
  for (std::size_t level = 1; level <= kLevels; ++level) path += "\\k", below += L"\\k";
  registry.PutString(path, "Treasure", "gold");
  w().txtGoTo->SetText(L"hkcu" + below + L"\\Treasure");
  Press(w().cmdGoTo);
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER" + below);
  EXPECT_EQ(Items(w().List2), Strings{L".."});
  EXPECT_EQ(w().txtValue->Text(), L"gold");

  // Value names below the selected hive (HKCU, where Go To went).
  w().chkHive->SetValue(1);
  w().chkKeys->SetValue(0);
  w().chkValues->SetValue(1);
  w().txtFind->SetText(L"treasure");
  Press(w().cmdFind);
  EXPECT_EQ(w().txtFindList->Text(), L"Value : HKEY_CURRENT_USER" + below + L"\\Treasure\r\n");
}

TEST_F(Limits, ValuesOfSeveralMegabytesAreShownWhole) {
  constexpr std::size_t kSize = 4 * 1024 * 1024;
  // No zero byte: a text box cannot hold one, and every byte then has its character in the text view.
  Bytes bytes(kSize);
  std::string text(kSize, ' ');
  for (std::size_t i = 0; i < kSize; ++i) {
    bytes[i] = static_cast<std::uint8_t>(1 + i % 255);
    text[i] = static_cast<char>('a' + i % 26);
  }
  registry.PutBinary(kQuill, "Huge", bytes);
  registry.PutString(kQuill, "Long", text);
  WalkToQuill();
  ClickEntry(w().List3, L"Huge");
  EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size : " + std::to_wstring(kSize));
  const std::size_t breaks = (kSize - 51 + 49) / 50;
  const auto digits =
      kSize + static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](auto b) { return b >= 16; }));
  const std::wstring shown = w().txtValue->Text();
  EXPECT_EQ(shown.size(), kSize + 2 * breaks);
  EXPECT_EQ(w().txtValueHex->Text().size(), digits + 2 * breaks);
  EXPECT_EQ(shown.substr(shown.size() - 2), (std::wstring{wchar_t(bytes[kSize - 2]), wchar_t(bytes.back())}));
  ClickEntry(w().List3, L"Long");
  EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size : " + std::to_wstring(kSize + 1));
  EXPECT_EQ(w().txtValue->Text(), Wide(text));
}

TEST_F(Limits, AHundredThousandSubkeysAndValuesInOneKeyAreAllListed) {
  constexpr std::size_t kCount = 100000;
  Strings subkeys{L".."}, values{L""};
  for (std::size_t i = 0; i < kCount; ++i) {
    char name[16];
    // Written in an order unlike the sorted one; values are listed in the order written.
    std::snprintf(name, sizeof name, "n%06zu", (i * 7919) % kCount);
    registry.Put(std::string("HKCU\\Software\\Many\\") + name);
    registry.PutDword("HKCU\\Software\\Many", name, static_cast<std::uint32_t>(i));
    values.push_back(Wide(name));
    std::snprintf(name, sizeof name, "n%06zu", i);
    subkeys.push_back(Wide(name));
  }
  const auto start = std::chrono::steady_clock::now();
  Walk(L"HKEY_CURRENT_USER", {L"Software", L"Many"});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Work that grows with the square of the count would take hours here, and meet the test command's time limit.
  std::printf("100,000 subkeys and values listed in %.2f s\n", seconds);
  EXPECT_EQ(Items(w().List2), subkeys);
  EXPECT_EQ(Items(w().List3), values);
}

}  // namespace
}  // namespace quillon::testing
