#include "runtime/win32/Win32Session.h"

#include <algorithm>
#include <utility>

#include "runtime/Runtime.h"

namespace quillon::runtime::win32 {

void Win32Session::RaiseEvent(const EventHandler& handler) noexcept {
  if (!handler) return;
  try {
    handler();
  } catch (...) {
    // The first failure is the one worth reporting; later ones are usually its consequences.
    if (!pendingException_) pendingException_ = std::current_exception();
  }
}

void Win32Session::RethrowPendingException() {
  if (!pendingException_) return;
  std::rethrow_exception(std::exchange(pendingException_, nullptr));
}

void Win32Session::SetMousePointer(int pointer) noexcept {
  mousePointer_ = pointer;
  // The system asks for the cursor only when the mouse moves; show the change at once.
  SetCursor(LoadCursorW(nullptr, pointer == kPointerHourglass ? IDC_WAIT : IDC_ARROW));
}

bool Win32Session::ApplyMousePointer() const noexcept {
  if (mousePointer_ != kPointerHourglass) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

void Win32Session::FormOpened(HWND form) { forms_.push_back(form); }

void Win32Session::FormClosed(HWND form) noexcept {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  // Only a running loop is told to end; a quit message left behind would end a later loop at once.
  if (forms_.empty() && loopRunning_) PostQuitMessage(0);
}

bool Win32Session::IsForm(HWND window) const noexcept {
  return std::find(forms_.begin(), forms_.end(), window) != forms_.end();
}

void Win32Session::AddPendingText(const PendingTextHolder& holder) {
  if (std::find(pendingText_.begin(), pendingText_.end(), &holder) == pendingText_.end())
    pendingText_.push_back(&holder);
}

void Win32Session::RemovePendingText(const PendingTextHolder& holder) noexcept {
  pendingText_.erase(std::remove(pendingText_.begin(), pendingText_.end(), &holder), pendingText_.end());
}

void Win32Session::FlushPendingText() const {
  if (pendingText_.empty()) return;
  // Each flush removes its holder from the list, so work on a copy.
  const std::vector<const PendingTextHolder*> holders = pendingText_;
  for (const PendingTextHolder* holder : holders) holder->FlushPendingText();
}

bool Win32Session::FlushPendingTextChunk() const {
  // About 50 ms of work for Wine's edit control (some 2 us a character, plus a fixed cost for the scroll bars);
  // small enough for the window to answer between two chunks within 100 ms while the box is not huge.
  constexpr std::size_t kChunkChars = 24 * 1024;
  if (pendingText_.empty()) return false;
  pendingText_.front()->FlushPendingTextChunk(kChunkChars);
  return !pendingText_.empty();
}

}  // namespace quillon::runtime::win32
