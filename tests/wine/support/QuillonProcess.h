#pragma once
/// quillon.exe run as a process of its own, as a user starts it, and watched from the test process.

#include <windows.h>

#include <string>

namespace quillon::winetest {

/// quillon.exe in the build directory, one level above the test programs; QUILLON_EXE names another one.
std::wstring QuillonExePath();

/// One run of quillon.exe. A run the test did not close is ended when the object goes, so that a failing test
/// leaves no program behind.
class QuillonProcess {
 public:
  explicit QuillonProcess(const std::wstring& arguments = std::wstring());
  QuillonProcess(const QuillonProcess&) = delete;
  QuillonProcess& operator=(const QuillonProcess&) = delete;
  ~QuillonProcess();

  bool Started() const { return process_.hProcess != nullptr; }
  /// The process's visible top-level window without owner, once it has one (up to 20 seconds).
  HWND MainWindow() const;
  /// The exit code once the process has ended by itself (up to 20 seconds), or STILL_ACTIVE.
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION process_{};
};

}  // namespace quillon::winetest
