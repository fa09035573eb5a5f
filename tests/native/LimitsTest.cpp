// The registry's limits met as ordinary input: the longest key and value names, the deepest tree, values of several
// megabytes, and a hundred thousand subkeys and values in one key. After each, no key is left open (fixture).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/native/EditingFixture.h"

namespace quillon::testing {
namespace {

using Strings = std::vector<std::wstring>;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class Limits : public EditingTest {
 protected:
  /// Searches the selected hive or, with `hive` false, the key in txtKey, for the kinds of hit given.
  void Find(bool hive, bool keys, bool values, const std::wstring& findText) {
    w().chkHive->SetValue(hive ? 1 : 0);
    w().chkKeys->SetValue(keys ? 1 : 0);
    w().chkValues->SetValue(values ? 1 : 0);
    w().txtFind->SetText(findText);
    Headless(w().cmdFind).UserClick();
  }
};

TEST_F(Limits, AKeyNameOfTheLongestLengthEndsTheListingYetOneMadeInTheWindowCanBeEntered) {
  const std::string alpha = std::string(kQuill) + "\\Alpha";
  registry.Put(alpha + "\\a");
  registry.Put(alpha + "\\" + std::string(255, 'k'));
  registry.Put(alpha + "\\z");
  Walk(L"HKEY_CURRENT_USER", {L"Software", L"Quill", L"Alpha"});
  // The name does not fit the listing's buffer: the listing, and a search's walk, end there.
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"a"}));
  Find(false, true, false, L"");
  EXPECT_EQ(w().txtFindList->Text(), L"Key : HKEY_CURRENT_USER\\Software\\Quill\\Alpha\\a\r\n");

  const std::string made(255, 'm');
  rt().AnswerInputBox(Wide(made));
  Press(w().cmdCreateSubKey);
  EXPECT_TRUE(registry.KeyExists(alpha + "\\" + made));
  DoubleClickEntry(w().List2, Wide(made));
  EXPECT_EQ(w().CurrentKeyPath(), L"HKEY_CURRENT_USER\\Software\\Quill\\Alpha\\" + Wide(made));
  rt().AnswerInputBox(L"v");
  rt().AnswerInputBox(L"inside");
  Press(w().cmdCreateValueS);
  ExpectValue(alpha + "\\" + made, "v", registry::kRegSz, {'i', 'n', 's', 'i', 'd', 'e', 0});
}

TEST_F(Limits, AValueNameOfTheLongestLengthEndsTheListingYetOneMadeInTheWindowIsShownAndDeleted) {
  const std::string alpha = std::string(kQuill) + "\\Alpha";
  registry.PutString(alpha, "first", "1");
  registry.PutString(alpha, std::string(16383, 'v'), "2");
  registry.PutString(alpha, "last", "3");
  Walk(L"HKEY_CURRENT_USER", {L"Software", L"Quill"});
  ClickEntry(w().List2, L"Alpha");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"first"}));

  const std::string made(16383, 'w');
  rt().AnswerInputBox(Wide(made));
  rt().AnswerInputBox(L"long named");
  Press(w().cmdCreateValueS);
  ExpectValue(alpha, made, registry::kRegSz, {'l', 'o', 'n', 'g', ' ', 'n', 'a', 'm', 'e', 'd', 0});
  ClickEntry(w().List3, Wide(made));
  EXPECT_EQ(w().txtValueName->Text(), Wide(made));
  EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size : 11");
  EXPECT_EQ(w().txtValue->Text(), L"long named");

  rt().AnswerMsgBox(6);
  Press(w().cmdDeleteValue);
  EXPECT_FALSE(registry.GetValue(alpha, made).has_value());
  EXPECT_TRUE(registry.GetValue(alpha, std::string(16383, 'v')).has_value());
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"first"}));
}

TEST_F(Limits, ATreeFiveHundredAndTwelveLevelsDeepIsReachedWithGoToAndSearchedToTheBottom) {
  constexpr std::size_t kLevels = 512;
  std::string path = "HKCU";
  std::wstring shown = L"HKEY_CURRENT_USER";
  for (std::size_t level = 1; level <= kLevels; ++level) {
    path += "\\k";
    shown += L"\\k";
  }
  registry.PutString(path, "Treasure", "gold");

  w().txtGoTo->SetText(L"hkcu" + shown.substr(shown.find(L'\\')) + L"\\Treasure");
  Headless(w().cmdGoTo).UserClick();
  EXPECT_EQ(w().CurrentKeyPath(), shown);
  EXPECT_EQ(Items(w().List2), Strings{L".."});
  EXPECT_EQ(w().txtValue->Text(), L"gold");

  // The walk holds one key open per level while it is below it.
  std::size_t mostOpen = 0;
  bool searching = true;
  std::function<void()> watch = [&] {
    mostOpen = std::max(mostOpen, registry.OpenHandleCount());
    if (searching) rt().QueueUserAction(watch);
  };
  rt().QueueUserAction(watch);
  Find(true, false, true, L"treasure");
  searching = false;
  EXPECT_EQ(w().txtFindList->Text(), L"Value : " + shown + L"\\Treasure\r\n");
  EXPECT_EQ(mostOpen, kLevels);
}

TEST_F(Limits, ValuesOfSeveralMegabytesAreShownWhole) {
  constexpr std::size_t kSize = 4 * 1024 * 1024;
  // No zero byte: a text box cannot hold one, and every byte then has its character in the text view.
  std::vector<std::uint8_t> bytes(kSize);
  for (std::size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<std::uint8_t>(1 + i % 255);
  registry.PutBinary(kQuill, "Huge", bytes);
  std::string text(kSize, ' ');
  for (std::size_t i = 0; i < kSize; ++i) text[i] = static_cast<char>('a' + i % 26);
  registry.PutString(kQuill, "Long", text);
  WalkToQuill();

  const auto start = std::chrono::steady_clock::now();
  ClickEntry(w().List3, L"Huge");
  std::printf("4 MB binary value shown in %.2f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size : " + std::to_wstring(kSize));
  const std::size_t breaks = (kSize - 51 + 49) / 50;
  const auto hexDigits = kSize + static_cast<std::size_t>(
                                     std::count_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b >= 16; }));
  const std::wstring shownText = w().txtValue->Text();
  EXPECT_EQ(shownText.size(), kSize + 2 * breaks);
  EXPECT_EQ(w().txtValueHex->Text().size(), hexDigits + 2 * breaks);
  EXPECT_EQ(shownText.substr(51, 2), L"\r\n");
  EXPECT_EQ(shownText.substr(shownText.size() - 2), (std::wstring{wchar_t(bytes[kSize - 2]), wchar_t(bytes.back())}));

  ClickEntry(w().List3, L"Long");
  EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size : " + std::to_wstring(kSize + 1));
  EXPECT_EQ(w().txtValue->Text(), Wide(text));
}

TEST_F(Limits, AHundredThousandSubkeysAndValuesInOneKeyAreAllListed) {
  constexpr std::size_t kCount = 100000;
  const std::string many = "HKCU\\Software\\Many";
  Strings subkeys{L".."};
  Strings values{L""};
  for (std::size_t i = 0; i < kCount; ++i) {
    char name[16];
    // Written in an order unlike the sorted one; values are listed in the order written.
    std::snprintf(name, sizeof name, "n%06zu", (i * 7919) % kCount);
    registry.Put(many + "\\" + name);
    registry.PutDword(many, name, static_cast<std::uint32_t>(i));
    values.push_back(Wide(name));
  }
  for (std::size_t i = 0; i < kCount; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "n%06zu", i);
    subkeys.push_back(Wide(name));
  }

  const auto start = std::chrono::steady_clock::now();
  Walk(L"HKEY_CURRENT_USER", {L"Software", L"Many"});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("100,000 subkeys and values listed in %.2f s\n", seconds);
  EXPECT_EQ(Items(w().List2), subkeys);
  EXPECT_EQ(Items(w().List3), values);
  // Work that grows with the square of the count (a sorted insert from the front, a walk from the first entry for
  // every index) would take minutes here.
  EXPECT_LT(seconds, 60.0);
}

}  // namespace
}  // namespace quillon::testing
