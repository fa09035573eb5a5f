#include "runtime/headless/Windows1252Text.h"

#include <array>

namespace quillon::runtime {

namespace {

// Bytes 0x80-0x9F of code page 1252. The five unassigned bytes map to the control character of the same number,
// as the platform's conversion does.
constexpr std::array<wchar_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

wchar_t ByteToChar(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80u];
  return static_cast<wchar_t>(byte);
}

char CharToByte(wchar_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<char>(static_cast<unsigned char>(ch));
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == ch) return static_cast<char>(static_cast<unsigned char>(0x80 + i));
  }
  return '?';
}

wchar_t ToUpper(wchar_t ch) {
  if (ch >= L'a' && ch <= L'z') return static_cast<wchar_t>(ch - 32);
  if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return static_cast<wchar_t>(ch - 32);
  if (ch == 0xFF) return 0x0178;
  if (ch == 0x0161 || ch == 0x017E) return static_cast<wchar_t>(ch - 1);
  if (ch == 0x0153) return 0x0152;
  return ch;
}

wchar_t ToLower(wchar_t ch) {
  if (ch >= L'A' && ch <= L'Z') return static_cast<wchar_t>(ch + 32);
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return static_cast<wchar_t>(ch + 32);
  if (ch == 0x0178) return 0xFF;
  if (ch == 0x0160 || ch == 0x017D) return static_cast<wchar_t>(ch + 1);
  if (ch == 0x0152) return 0x0153;
  return ch;
}

}  // namespace

std::string Windows1252Text::ToAnsi(const std::wstring& text) const {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t ch : text) bytes.push_back(CharToByte(ch));
  return bytes;
}

std::wstring Windows1252Text::FromAnsi(const std::string& bytes) const {
  std::wstring text;
  text.reserve(bytes.size());
  for (char byte : bytes) text.push_back(ByteToChar(static_cast<unsigned char>(byte)));
  return text;
}

std::wstring Windows1252Text::UCase(const std::wstring& text) const {
  std::wstring result(text);
  for (wchar_t& ch : result) ch = ToUpper(ch);
  return result;
}

std::wstring Windows1252Text::LCase(const std::wstring& text) const {
  std::wstring result(text);
  for (wchar_t& ch : result) ch = ToLower(ch);
  return result;
}

}  // namespace quillon::runtime
