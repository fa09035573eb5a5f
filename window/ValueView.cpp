// The value panel: name, type, size and data of the value selected in the value list.
#include <algorithm>
#include <array>
#include <vector>

#include "registry/ScopedKey.h"
#include "window/frmRegEdit.h"

namespace quillon {

namespace {

constexpr const wchar_t* kCrLf = L"\r\n";
// The first line of the binary views holds the first byte and 50 more; every later line holds 50.
constexpr std::uint8_t kBytesPerLine = 50;

// Upper-case hexadecimal without a leading zero: one digit below 16, two from there on.
void AppendHex(std::wstring& out, std::uint8_t byte) {
  constexpr const wchar_t* kDigits = L"0123456789ABCDEF";
  if (byte >= 16) out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0x0F]);
}

// Little-endian signed 32-bit number from up to four bytes; missing high bytes stay 0. Big-endian data is read the
// same way on purpose: the panel shows the bytes as they are stored, without a swap.
std::int32_t LittleEndianNumber(const std::array<std::uint8_t, 4>& bytes) {
  const std::uint32_t raw = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                            (static_cast<std::uint32_t>(bytes[2]) << 16) |
                            (static_cast<std::uint32_t>(bytes[3]) << 24);
  // Two's complement without relying on an implementation-defined narrowing conversion.
  if (raw < 0x80000000u) return static_cast<std::int32_t>(raw);
  return static_cast<std::int32_t>(raw - 0x80000000u) - 0x7FFFFFFF - 1;
}

// The two binary views of a value. Both texts are built here in full and set once: appending to a text box byte by
// byte redraws and copies the whole text each time, which freezes the window for a long time on large values.
struct BinaryViews {
  std::wstring text;
  std::wstring hex;
};

BinaryViews BuildBinaryViews(const runtime::PlatformText& platformText, const std::vector<std::uint8_t>& buffer,
                             bool firstByteShown, std::size_t lastIndex) {
  // Each byte becomes the character its code stands for in the ANSI code page. The 256 conversions are made once
  // instead of once per byte. A zero byte gives nothing: a text box cannot hold NUL (it would end the text there),
  // and showing nothing is what appending the byte alone would show; it also keeps text stored as UTF-16 readable.
  // A visible stand-in was rejected because any printable character is also a real byte of the code page.
  std::array<std::wstring, 256> characters;
  for (std::size_t code = 1; code < characters.size(); ++code) {
    characters[code] = platformText.FromAnsi(std::string(1, static_cast<char>(code)));
  }

  BinaryViews views;
  const std::size_t count = buffer.empty() ? 0 : std::min(lastIndex, buffer.size() - 1) + 1;
  views.text.reserve(count + count / kBytesPerLine * 2 + 2);
  views.hex.reserve(count * 2 + count / kBytesPerLine * 2 + 2);

  if (firstByteShown) {
    views.text += characters[buffer[0]];
    AppendHex(views.hex, buffer[0]);
  }
  // The first byte is not counted, which makes the first line one byte longer than the others.
  std::uint8_t lineCount = 0;
  for (std::size_t index = 1; index < count; ++index) {
    if (lineCount >= kBytesPerLine) {
      views.text += kCrLf;
      views.hex += kCrLf;
      lineCount = 0;
    }
    ++lineCount;
    views.text += characters[buffer[index]];
    AppendHex(views.hex, buffer[index]);
  }
  return views;
}

}  // namespace

void frmRegEdit::List3_Click() {
  // Both views are emptied first, so nothing of an earlier selection survives.
  txtValue->SetText(std::wstring());
  txtValueName->SetText(List3->Text());
  txtValueHex->SetText(std::wstring());
  if (List3->ListIndex() == -1) return;

  const registry::ScopedKey owner(registry_, OpenKeyPath(txtKey->Text()));
  const std::string name = runtime_.Text().ToAnsi(List3->Text());
  if (!owner) return;
  const registry::Key key = owner.Get();

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  const registry::Status status = registry_.QueryValueEx(key, name, &type, nullptr, &size);
  // The size is shown even when the query failed: it then reads what the query left, 0 when it reported none.
  lblValueSize->SetCaption(L"Value Size : " + std::to_wstring(size));
  if (status != registry::kSuccess) return;

  switch (type) {
    case registry::kRegSz:
    case registry::kRegExpandSz: {
      lblValueType->SetCaption(L"Value Type : String");
      std::string buffer(size, ' ');
      std::uint32_t dataSize = size;
      if (registry_.QueryValueEx(key, name, &type, reinterpret_cast<std::uint8_t*>(buffer.data()), &dataSize) ==
          registry::kSuccess) {
        const auto nul = buffer.find('\0');
        if (nul != std::string::npos) buffer.erase(nul);
        txtValue->SetText(runtime_.Text().FromAnsi(buffer));
      }
      break;
    }
    case registry::kRegDword:
    case registry::kRegDwordBigEndian: {
      lblValueType->SetCaption(L"Value Type : DWORD");
      // Shorter data fills the low-order bytes; longer data does not fit and the query fails.
      std::array<std::uint8_t, 4> bytes{};
      std::uint32_t dataSize = static_cast<std::uint32_t>(bytes.size());
      if (registry_.QueryValueEx(key, name, &type, bytes.data(), &dataSize) == registry::kSuccess) {
        txtValue->SetText(std::to_wstring(LittleEndianNumber(bytes)));
      }
      break;
    }
    case registry::kRegBinary: {
      lblValueType->SetCaption(L"Value Type : Binary");
      std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(size, 1), 0);
      std::uint32_t dataSize = size;
      const bool read = registry_.QueryValueEx(key, name, &type, buffer.data(), &dataSize) == registry::kSuccess;
      // A failed read still shows the buffer from its second byte on (zeros where nothing was written), as far as
      // the size the query left and never beyond the data the first query announced.
      if (dataSize > 0 && size > 0) {
        const std::size_t lastIndex = std::min(dataSize, size) - 1;
        BinaryViews views = BuildBinaryViews(runtime_.Text(), buffer, read, lastIndex);
        txtValue->SetText(views.text);
        txtValueHex->SetText(views.hex);
      }
      break;
    }
    default:
      // Other types show only their size; the type caption keeps what it said before.
      break;
  }
}

}  // namespace quillon
