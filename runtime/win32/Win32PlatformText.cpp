#include "runtime/win32/Win32PlatformText.h"

#include <windows.h>

#include <algorithm>

namespace quillon::runtime::win32 {

namespace {

// Every ANSI code page keeps the ASCII characters as they are, and the platform's case mapping turns A to Z into
// a to z and leaves the rest of ASCII alone. Most names and data in the registry are ASCII; handling those here
// spares a conversion call for each of the million names a search looks at.
template <typename Text>
bool IsAscii(const Text& text) {
  return std::all_of(text.begin(), text.end(), [](auto unit) { return static_cast<unsigned>(unit) < 0x80; });
}

}  // namespace

std::string Win32PlatformText::ToAnsi(const std::wstring& text) const {
  if (IsAscii(text)) return std::string(text.begin(), text.end());
  const int wideLength = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::wstring Win32PlatformText::FromAnsi(const std::string& bytes) const {
  if (IsAscii(bytes)) return std::wstring(bytes.begin(), bytes.end());
  const int byteLength = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteLength, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteLength, text.data(), length);
  return text;
}

std::wstring Win32PlatformText::UCase(const std::wstring& text) const {
  std::wstring upper = text;
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

std::wstring Win32PlatformText::LCase(const std::wstring& text) const {
  std::wstring lower = text;
  if (IsAscii(lower)) {
    for (wchar_t& unit : lower) {
      if (unit >= L'A' && unit <= L'Z') unit = static_cast<wchar_t>(unit + (L'a' - L'A'));
    }
  } else {
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  }
  return lower;
}

}  // namespace quillon::runtime::win32
