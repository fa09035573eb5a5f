#pragma once
/// The forms runtime over real Win32 standard controls (LISTBOX, COMBOBOX, EDIT, BUTTON, STATIC).

#include <windows.h>

#include <memory>

#include "runtime/Runtime.h"

namespace quillon::runtime {

class Win32Runtime : public Runtime {
 public:
  /// `commandLine` is the text after the program's own name.
  Win32Runtime(HINSTANCE instance, std::wstring commandLine);
  ~Win32Runtime() override;

  /// Runs the message loop until the last window created by this runtime is closed; returns the exit code.
  int RunMessageLoop();

  // Runtime (declared in the implementation).
};

}  // namespace quillon::runtime
