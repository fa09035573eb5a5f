#pragma once
/// Unicode text on the clipboard, read and written whole: what the text boxes cut, copy and paste.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quillon::runtime::win32 {

/// The clipboard's text; nothing when it holds no text, or when another window holds it open.
std::optional<std::wstring> ReadClipboardText(HWND owner);

/// Puts `text` on the clipboard in place of all it held; false when the clipboard could not be opened or filled.
bool WriteClipboardText(HWND owner, std::wstring_view text);

}  // namespace quillon::runtime::win32
