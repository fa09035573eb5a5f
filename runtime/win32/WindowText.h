#pragma once
/// The text of a window, whatever its length: what both the controls and the text view read from a window.

#include <windows.h>

#include <algorithm>
#include <string>

namespace quillon::runtime::win32 {

inline std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace quillon::runtime::win32
