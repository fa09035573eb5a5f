#include "tests/wine/support/QuillonProcess.h"

#include "tests/wine/support/Win32Driver.h"

namespace quillon::winetest {

std::wstring QuillonExePath() {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUILLON_EXE", path, MAX_PATH) > 0) return path;
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring self = path;
  self.resize(self.find_last_of(L"\\/"));
  return self.substr(0, self.find_last_of(L"\\/") + 1) + L"quillon.exe";
}

QuillonProcess::QuillonProcess(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + QuillonExePath() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    process_ = {};
    return;
  }
  WaitForInputIdle(process_.hProcess, 10000);
}

QuillonProcess::~QuillonProcess() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND QuillonProcess::MainWindow() const {
  for (int attempt = 0; attempt < 200; ++attempt, Sleep(100)) {
    if (HWND found = FindTopLevel(process_.dwProcessId, [](HWND window) { return !GetWindow(window, GW_OWNER); }))
      return found;
  }
  return nullptr;
}

DWORD QuillonProcess::ExitCode() const {
  WaitForSingleObject(process_.hProcess, 20000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

}  // namespace quillon::winetest
