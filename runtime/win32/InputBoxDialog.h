#pragma once
/// The input prompt: a modal dialog built from an in-memory template, with the prompt text, one edit field, OK and
/// Cancel.

#include <windows.h>

#include <string>

namespace quillon::runtime::win32 {

/// Control identifiers of the prompt; OK and Cancel are the system's IDOK and IDCANCEL.
inline constexpr int kInputBoxPromptId = 0x100;
inline constexpr int kInputBoxEditId = 0x101;

/// Shows the prompt owned by `owner` and waits for the answer: the edit text on OK, "" on Cancel or close.
std::wstring RunInputBox(HINSTANCE instance, HWND owner, const std::wstring& prompt, const std::wstring& caption,
                         const std::wstring& defaultText);

}  // namespace quillon::runtime::win32
