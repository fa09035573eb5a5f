#include "runtime/headless/Windows1252Text.h"

#include "support/CodePage1252.h"

namespace quillon::runtime {

namespace {

wchar_t ByteToChar(unsigned char byte) { return static_cast<wchar_t>(support::FromCodePage1252(byte)); }

char CharToByte(wchar_t ch) {
  unsigned char byte = 0;
  return support::ToCodePage1252(static_cast<char32_t>(ch), byte) ? static_cast<char>(byte) : '?';
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
