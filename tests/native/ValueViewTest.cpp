// The value panel after a selection in the value list: type and size captions, the text and hexadecimal views.
#include <sstream>

#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::wstring>;

constexpr const char* kValues = "HKCU\\Software\\Values";

class ValueView : public WindowTest {
 protected:
  // Walks to the key the way a user does, so that txtKey and the value list are the window's own.
  void ShowValuesOfTheKey() {
    ClickEntry(w().List1, L"HKEY_CURRENT_USER");
    DoubleClickEntry(w().List2, L"Software");
    ClickEntry(w().List2, L"Values");
    ASSERT_EQ(w().txtKey->Text(), L"HKEY_CURRENT_USER\\Software\\Values");
  }

  void Select(const std::wstring& name) { ClickEntry(w().List3, name); }

  std::wstring Type() const { return window->lblValueType->Caption(); }
  std::wstring Size() const { return window->lblValueSize->Caption(); }
  std::wstring Text() const { return window->txtValue->Text(); }
  std::wstring Hex() const { return window->txtValueHex->Text(); }

  static Strings Lines(const std::wstring& text) {
    Strings lines;
    std::size_t start = 0;
    for (auto end = text.find(L"\r\n"); end != std::wstring::npos; end = text.find(L"\r\n", start)) {
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
  }
};

TEST_F(ValueView, StringsAreCutAtTheirFirstNul) {
  registry.PutString(kValues, "abc", "abc");
  registry.PutValue(kValues, "empty", registry::kRegSz, {});
  registry.PutValue(kValues, "noNul", registry::kRegSz, {'x', 'y', 'z'});
  registry.PutValue(kValues, "twoParts", registry::kRegSz, {'a', 'b', 0, 'c', 'd', 0});
  registry.PutValue(kValues, "expand", registry::kRegExpandSz, {'%', 'P', 'A', 'T', 'H', '%', 0});
  registry.PutString(kValues, "accent", "caf\xE9 \x80");
  ShowValuesOfTheKey();

  Select(L"abc");
  EXPECT_EQ(w().txtValueName->Text(), L"abc");
  EXPECT_EQ(Type(), L"Value Type : String");
  EXPECT_EQ(Size(), L"Value Size : 4");
  EXPECT_EQ(Text(), L"abc");
  EXPECT_EQ(Hex(), L"");

  Select(L"empty");
  EXPECT_EQ(Size(), L"Value Size : 0");
  EXPECT_EQ(Text(), L"");

  Select(L"noNul");
  EXPECT_EQ(Size(), L"Value Size : 3");
  EXPECT_EQ(Text(), L"xyz");

  Select(L"twoParts");
  EXPECT_EQ(Size(), L"Value Size : 6");
  EXPECT_EQ(Text(), L"ab");

  // Environment references are shown as stored.
  Select(L"expand");
  EXPECT_EQ(Type(), L"Value Type : String");
  EXPECT_EQ(Text(), L"%PATH%");

  // String data is read in the ANSI code page.
  Select(L"accent");
  EXPECT_EQ(Text(), L"caf\u00E9 \u20AC");
}

TEST_F(ValueView, DwordsAreSignedLittleEndianNumbers) {
  registry.PutDword(kValues, "allOnes", 0xFFFFFFFFu);
  registry.PutDword(kValues, "largest", 0x7FFFFFFFu);
  registry.PutDword(kValues, "smallest", 0x80000000u);
  registry.PutValue(kValues, "twoBytes", registry::kRegDword, {0x34, 0x12});
  registry.PutValue(kValues, "bigEndian", registry::kRegDwordBigEndian, {0x00, 0x00, 0x00, 0x01});
  registry.PutValue(kValues, "tooLong", registry::kRegDword, {1, 0, 0, 0, 0, 0, 0, 0});
  ShowValuesOfTheKey();

  Select(L"allOnes");
  EXPECT_EQ(Type(), L"Value Type : DWORD");
  EXPECT_EQ(Size(), L"Value Size : 4");
  EXPECT_EQ(Text(), L"-1");
  EXPECT_EQ(Hex(), L"");

  Select(L"largest");
  EXPECT_EQ(Text(), L"2147483647");
  Select(L"smallest");
  EXPECT_EQ(Text(), L"-2147483648");

  // Short data fills the low-order bytes.
  Select(L"twoBytes");
  EXPECT_EQ(Size(), L"Value Size : 2");
  EXPECT_EQ(Text(), L"4660");

  // Big-endian data is shown as stored, without a byte swap.
  Select(L"bigEndian");
  EXPECT_EQ(Type(), L"Value Type : DWORD");
  EXPECT_EQ(Text(), L"16777216");

  // Eight bytes do not fit the number: the second read fails and only the captions speak.
  Select(L"tooLong");
  EXPECT_EQ(Type(), L"Value Type : DWORD");
  EXPECT_EQ(Size(), L"Value Size : 8");
  EXPECT_EQ(Text(), L"");
}

TEST_F(ValueView, BinaryShowsCharactersAndHexDigitsInLinesOf51Then50) {
  Bytes long120;
  for (int i = 0; i < 120; ++i) long120.push_back(static_cast<std::uint8_t>('A' + i % 26));
  registry.PutBinary(kValues, "short", {0x41, 0x0A, 0xFF});
  registry.PutBinary(kValues, "long", long120);
  registry.PutBinary(kValues, "none", {});
  // 0x80 is the euro sign in the ANSI code page; 0x00 shows nothing in the text view.
  registry.PutBinary(kValues, "mixed", {0x80, 0x00, 0x42, 0x0F});
  ShowValuesOfTheKey();

  Select(L"short");
  EXPECT_EQ(Type(), L"Value Type : Binary");
  EXPECT_EQ(Size(), L"Value Size : 3");
  EXPECT_EQ(Hex(), L"41AFF");
  EXPECT_EQ(Text(), (std::wstring{L'A', L'\n', static_cast<wchar_t>(0xFF)}));

  Select(L"long");
  EXPECT_EQ(Size(), L"Value Size : 120");
  const Strings textLines = Lines(Text());
  const Strings hexLines = Lines(Hex());
  ASSERT_EQ(textLines.size(), 3u);
  ASSERT_EQ(hexLines.size(), 3u);
  const std::size_t expected[] = {51, 50, 19};
  std::size_t offset = 0;
  for (std::size_t line = 0; line < 3; ++line) {
    EXPECT_EQ(textLines[line].size(), expected[line]);
    EXPECT_EQ(hexLines[line].size(), expected[line] * 2);
    // Each line continues where the last one stopped.
    std::wostringstream hex;
    for (std::size_t i = 0; i < expected[line]; ++i) {
      EXPECT_EQ(textLines[line][i], static_cast<wchar_t>(long120[offset + i]));
      hex << std::uppercase << std::hex << static_cast<int>(long120[offset + i]);
    }
    EXPECT_EQ(hexLines[line], hex.str());
    offset += expected[line];
  }

  Select(L"none");
  EXPECT_EQ(Type(), L"Value Type : Binary");
  EXPECT_EQ(Size(), L"Value Size : 0");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Hex(), L"");

  Select(L"mixed");
  EXPECT_EQ(Text(), L"\u20AC" L"B" L"\x0F");
  EXPECT_EQ(Hex(), L"80042F");
}

TEST_F(ValueView, OtherTypesAndFailedReadsShowLess) {
  registry.PutBinary(kValues, "binary", {0x41, 0x42, 0x43});
  registry.PutValue(kValues, "multi", registry::kRegMultiSz, {'a', 0, 'b', 0, 0});
  registry.PutString(kValues, "text", "hello");
  registry.PutString(kValues, "doomed", "bye");
  ShowValuesOfTheKey();

  // A multi-string shows its size only; the type caption still names the previous value's type.
  Select(L"binary");
  Select(L"multi");
  EXPECT_EQ(Size(), L"Value Size : 5");
  EXPECT_EQ(Type(), L"Value Type : Binary");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Hex(), L"");

  // The key has no default value: the first read fails and the size reads 0.
  Select(L"");
  EXPECT_EQ(w().txtValueName->Text(), L"");
  EXPECT_EQ(Size(), L"Value Size : 0");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Hex(), L"");

  // A value deleted after the list was filled.
  registry::Key doomedKey = 0;
  ASSERT_EQ(registry.OpenKey(registry::kCurrentUser, "Software\\Values", doomedKey), registry::kSuccess);
  ASSERT_EQ(registry.DeleteValue(doomedKey, "doomed"), registry::kSuccess);
  registry.CloseKey(doomedKey);
  Select(L"text");
  Select(L"doomed");
  EXPECT_EQ(w().txtValueName->Text(), L"doomed");
  EXPECT_EQ(Size(), L"Value Size : 0");
  EXPECT_EQ(Type(), L"Value Type : String");
  EXPECT_EQ(Text(), L"");

  // The second read of a string fails: the caption is set, the text stays empty.
  registry.FailNthCall(registry::Operation::QueryValueEx, 2, registry::kAccessDenied);
  Select(L"text");
  EXPECT_EQ(Size(), L"Value Size : 6");
  EXPECT_EQ(Text(), L"");

  // The second read of binary data fails: the first byte is not shown, the rest of the untouched buffer is.
  registry.FailNthCall(registry::Operation::QueryValueEx, 2, registry::kAccessDenied);
  Select(L"binary");
  EXPECT_EQ(Type(), L"Value Type : Binary");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Hex(), L"00");
}

TEST_F(ValueView, PanelIsRebuiltOnEverySelection) {
  registry.PutBinary(kValues, "binary", {0x01, 0x02});
  registry.PutString(kValues, "text", "t");
  ShowValuesOfTheKey();

  Select(L"binary");
  const std::wstring text = Text();
  const std::wstring hex = Hex();
  Select(L"binary");
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(Hex(), L"12");
  EXPECT_EQ(Hex(), hex);

  // A string after binary data empties the hex view.
  Select(L"text");
  EXPECT_EQ(Hex(), L"");
  EXPECT_EQ(Text(), L"t");

  // No selection: both views and the name are emptied, the captions stay.
  w().List3->SetListIndex(-1);
  EXPECT_EQ(w().txtValueName->Text(), L"");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Type(), L"Value Type : String");

  // A path that names no hive: only the name is shown.
  w().txtKey->SetText(L"NOWHERE\\Software\\Values");
  Select(L"binary");
  EXPECT_EQ(w().txtValueName->Text(), L"binary");
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Hex(), L"");
  EXPECT_EQ(Size(), L"Value Size : 2");
}

}  // namespace
}  // namespace quillon::testing
