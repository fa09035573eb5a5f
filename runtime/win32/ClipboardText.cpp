#include "runtime/win32/ClipboardText.h"

#include <cwchar>

#include "runtime/win32/Win32Handles.h"

namespace quillon::runtime::win32 {
namespace {

/// Holds the clipboard open for its lifetime.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const noexcept { return open_; }

 private:
  bool open_;
};

}  // namespace

std::optional<std::wstring> ReadClipboardText(HWND owner) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return std::nullopt;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  std::wstring text;
  if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
    // Up to the first NUL, never beyond the memory: another program's data need not end in one.
    text.assign(locked, wcsnlen(locked, GlobalSize(data) / sizeof(wchar_t)));
    GlobalUnlock(data);
  }
  return text;
}

bool WriteClipboardText(HWND owner, std::wstring_view text) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
  if (!memory) return false;
  auto* locked = static_cast<wchar_t*>(GlobalLock(memory.Get()));
  if (!locked) return false;
  std::wmemcpy(locked, text.data(), text.size());
  locked[text.size()] = L'\0';
  GlobalUnlock(memory.Get());
  // The clipboard owns the memory once it takes it.
  if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) return false;
  memory.Release();
  return true;
}

}  // namespace quillon::runtime::win32
