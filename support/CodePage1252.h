#pragma once
/// Code page 1252, the ANSI code page of Wine and most Western systems, for the layers that stand in for the
/// platform's conversions: the in-memory registry and the headless runtime.

#include <array>
#include <cstddef>

namespace quillon::support {

/// Bytes 0x80-0x9F of code page 1252. The five unassigned bytes map to the control character of the same number,
/// as the platform's conversion does.
inline constexpr std::array<char16_t, 32> kCodePage1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

/// The character a byte of code page 1252 stands for.
constexpr char16_t FromCodePage1252(unsigned char byte) noexcept {
  return byte >= 0x80 && byte <= 0x9F ? kCodePage1252High[byte - 0x80u] : static_cast<char16_t>(byte);
}

/// The byte that stands for `character` in code page 1252; false when the code page has no such character.
constexpr bool ToCodePage1252(char32_t character, unsigned char& byte) noexcept {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
    byte = static_cast<unsigned char>(character);
    return true;
  }
  for (std::size_t i = 0; i < kCodePage1252High.size(); ++i) {
    if (static_cast<char32_t>(kCodePage1252High[i]) != character) continue;
    byte = static_cast<unsigned char>(0x80 + i);
    return true;
  }
  return false;
}

}  // namespace quillon::support
