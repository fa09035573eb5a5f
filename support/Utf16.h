#pragma once
/// Surrogate pairs of UTF-16 text, for every layer that steps through characters beyond the basic plane.

namespace quillon::support {

constexpr bool IsHighSurrogate(wchar_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

/// The code point a high and a low surrogate stand for together.
constexpr char32_t CombineSurrogates(wchar_t high, wchar_t low) noexcept {
  return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
}

/// The two halves of a code point beyond the basic plane (0x10000 to 0x10FFFF).
constexpr wchar_t HighSurrogateOf(char32_t character) noexcept {
  return static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
}
constexpr wchar_t LowSurrogateOf(char32_t character) noexcept {
  return static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
}

}  // namespace quillon::support
