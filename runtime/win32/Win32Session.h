#pragma once
/// State that the Win32 runtime, its forms and their controls share on the GUI thread: the open forms, the mouse
/// pointer, and an exception caught inside a window procedure on its way out.

#include <windows.h>

#include <exception>
#include <vector>

#include "runtime/Controls.h"

namespace quillon::runtime::win32 {

class Win32Session {
 public:
  explicit Win32Session(HINSTANCE instance) noexcept : instance_(instance) {}
  Win32Session(const Win32Session&) = delete;
  Win32Session& operator=(const Win32Session&) = delete;

  HINSTANCE Instance() const noexcept { return instance_; }

  /// Runs an event handler from inside a window procedure. An exception must not cross the system's frames, so it
  /// is kept and rethrown by RethrowPendingException once the message has been dispatched.
  void RaiseEvent(const EventHandler& handler) noexcept;
  void RethrowPendingException();

  int MousePointer() const noexcept { return mousePointer_; }
  void SetMousePointer(int pointer) noexcept;
  /// WM_SETCURSOR: shows the runtime's pointer over a window; false when the window's own cursor applies.
  bool ApplyMousePointer() const noexcept;

  void FormOpened(HWND form);
  void FormClosed(HWND form) noexcept;
  bool IsForm(HWND window) const noexcept;
  int OpenFormCount() const noexcept { return static_cast<int>(forms_.size()); }
  /// The first form still open: the owner of prompts and message boxes.
  HWND MainWindow() const noexcept { return forms_.empty() ? nullptr : forms_.front(); }
  void SetMessageLoopRunning(bool running) noexcept { loopRunning_ = running; }

 private:
  HINSTANCE instance_;
  std::exception_ptr pendingException_;
  int mousePointer_ = 0;
  std::vector<HWND> forms_;
  bool loopRunning_ = false;
};

}  // namespace quillon::runtime::win32
