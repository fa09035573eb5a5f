// The value panel after a selection in the value list: type and size captions, the text and hexadecimal views.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

constexpr const char* kKey = "HKCU\\Software\\Values";

class ValueView : public WindowTest {
 protected:
  void ShowKey() { Walk(L"HKEY_CURRENT_USER", {L"Software"}), ClickEntry(w().List2, L"Values"); }
  // Selects a value and gives the panel as one text: type | size | text | hex.
  std::wstring Show(const std::wstring& name) {
    ClickEntry(w().List3, name);
    EXPECT_EQ(w().txtValueName->Text(), name);
    return w().lblValueType->Caption() + L"|" + w().lblValueSize->Caption() + L"|" + w().txtValue->Text() + L"|" +
           w().txtValueHex->Text();
  }
};

TEST_F(ValueView, EachTypeIsShownAsItsTableSaysAndBinaryLinesHold51ThenFiftyBytes) {
  const std::tuple<std::wstring, std::uint32_t, Bytes, std::wstring> cases[] = {  // name, type, data, panel
      {L"abc", registry::kRegSz, {'a', 'b', 'c', 0}, L"Value Type : String|Value Size : 4|abc|"},
      {L"noNul", registry::kRegSz, {'x', 'y', 'z'}, L"Value Type : String|Value Size : 3|xyz|"},
      {L"twoParts", registry::kRegSz, {'a', 'b', 0, 'c', 0}, L"Value Type : String|Value Size : 5|ab|"},
      {L"expand", registry::kRegExpandSz, {'%', 'T', '%', 0}, L"Value Type : String|Value Size : 4|%T%|"},
      {L"ansi", registry::kRegSz, {0xE9, 0x80, 0}, L"Value Type : String|Value Size : 3|\u00E9\u20AC|"},
      {L"allOnes", registry::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, L"Value Type : DWORD|Value Size : 4|-1|"},
      {L"smallest", registry::kRegDword, {0, 0, 0, 0x80}, L"Value Type : DWORD|Value Size : 4|-2147483648|"},
      {L"twoBytes", registry::kRegDword, {0x34, 0x12}, L"Value Type : DWORD|Value Size : 2|4660|"},
      {L"bigEndian", registry::kRegDwordBigEndian, {0, 0, 0, 1}, L"Value Type : DWORD|Value Size : 4|16777216|"},
      // Eight bytes do not fit the number: the second read fails.
      {L"tooLong", registry::kRegDword, Bytes(8, 1), L"Value Type : DWORD|Value Size : 8||"},
      {L"emptyBin", registry::kRegBinary, {}, L"Value Type : Binary|Value Size : 0||"},
      // A zero byte shows nothing in the text view; 0x80 is the euro sign of the ANSI code page; no leading zeros.
      {L"mixed", registry::kRegBinary, {0x80, 0, 0x42, 0x0F, 0x0A},
       L"Value Type : Binary|Value Size : 5|\u20ACB\x0F\n|80042FA"},
      // Other types show their size only; the type caption still names the previous value's type.
      {L"multi", registry::kRegMultiSz, {'a', 0, 0}, L"Value Type : Binary|Value Size : 3||"},
  };
  for (const auto& [name, type, bytes, panel] : cases)
    registry.PutValue(kKey, std::string(name.begin(), name.end()), type, bytes);
  Bytes data;
  for (int i = 0; i < 120; ++i) data.push_back(static_cast<std::uint8_t>('A' + i % 26));
  registry.PutBinary(kKey, "long", data);
  ShowKey();
  for (const auto& [name, type, bytes, panel] : cases) {
    EXPECT_EQ(Show(name), panel);
    EXPECT_EQ(Show(name), panel) << "the same selection again: nothing accumulates";
  }

  // Binary lines hold 51, then fifty bytes.
  Show(L"long");
  const std::wstring letters(data.begin(), data.end());
  EXPECT_EQ(w().txtValue->Text(),
            letters.substr(0, 51) + L"\r\n" + letters.substr(51, 50) + L"\r\n" + letters.substr(101));
  std::wstring hex;  // every letter is 41 to 5A: two digits per byte, breaks at the same places
  for (std::size_t i = 0; i < data.size(); ++i) {
    hex += (i == 51 || i == 101 ? L"\r\n" : L"") + std::wstring(1, data[i] < 0x50 ? L'4' : L'5');
    hex += L"0123456789ABCDEF"[data[i] & 0x0F];
  }
  EXPECT_EQ(w().txtValueHex->Text(), hex);
}

TEST_F(ValueView, FailedReadsAndMissingKeysShowLess) {
  registry.PutBinary(kKey, "binary", {0x41, 0x42, 0x43});
  registry.PutString(kKey, "text", "hello");
  registry.PutString(kKey, "doomed", "bye");
  ShowKey();
  // No default value: the size reads 0 and the type caption stays.
  EXPECT_EQ(Show(L""), L"Value Type|Value Size : 0||");

  // The second read fails: the caption is set, the text stays empty; for binary data the rest of the buffer shows.
  registry.FailNthCall(registry::Operation::QueryValueEx, 2, registry::kAccessDenied);
  EXPECT_EQ(Show(L"text"), L"Value Type : String|Value Size : 6||");
  registry.FailNthCall(registry::Operation::QueryValueEx, 2, registry::kAccessDenied);
  EXPECT_EQ(Show(L"binary"), L"Value Type : Binary|Value Size : 3||00");
  // Nor does it for a value deleted after listing.
  RemoveValue("Software\\Values", "doomed");
  EXPECT_EQ(Show(L"doomed"), L"Value Type : Binary|Value Size : 0||");

  // No selection: the name and both views are emptied, the captions stay.
  w().List3->SetListIndex(-1);
  EXPECT_EQ(w().txtValueName->Text() + w().txtValue->Text() + w().txtValueHex->Text(), L"");
  EXPECT_EQ(w().lblValueType->Caption(), L"Value Type : Binary");
  // A path that names no hive: only the name is shown.
  Show(L"text");
  w().txtKey->SetText(L"NOWHERE\\Software\\Values");
  EXPECT_EQ(Show(L"binary"), L"Value Type : String|Value Size : 6||");
}

}  // namespace
}  // namespace quillon::testing
