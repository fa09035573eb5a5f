#include "runtime/win32/Win32PlatformText.h"

#include <windows.h>

namespace quillon::runtime::win32 {

std::string Win32PlatformText::ToAnsi(const std::wstring& text) const {
  if (text.empty()) return {};
  const int wideLength = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::wstring Win32PlatformText::FromAnsi(const std::string& bytes) const {
  if (bytes.empty()) return {};
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
  if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}

}  // namespace quillon::runtime::win32
