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

}  // namespace quillon::runtime::win32
