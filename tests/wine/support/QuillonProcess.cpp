#include "tests/wine/support/QuillonProcess.h"

namespace quillon::winetest {

namespace {

struct TopLevelSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::wstring QuillonExePath() {
  wchar_t fromEnvironment[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUILLON_EXE", fromEnvironment, MAX_PATH) > 0) return fromEnvironment;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path.resize(path.find_last_of(L"\\/"));
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"quillon.exe";
}

QuillonProcess::QuillonProcess(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + QuillonExePath() + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
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
  for (int attempt = 0; attempt < 200; ++attempt) {
    TopLevelSearch search{process_.dwProcessId, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
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
