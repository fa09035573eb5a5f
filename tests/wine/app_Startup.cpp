// quillon.exe started as a user starts it: the "-st" switch, the window's caption, and the end of the process
// when its window is closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// quillon.exe sits in the build directory, one level above the test programs; QUILLON_EXE names another one.
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

// One run of quillon.exe. A run the test did not close is ended when the test finishes, so that a failure leaves no
// program behind.
class QuillonProcess {
 public:
  explicit QuillonProcess(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + QuillonExePath() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
      process_ = {};
      return;
    }
    WaitForInputIdle(process_.hProcess, 10000);
  }
  QuillonProcess(const QuillonProcess&) = delete;
  QuillonProcess& operator=(const QuillonProcess&) = delete;
  ~QuillonProcess() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool Started() const { return process_.hProcess != nullptr; }

  /// The process's visible top-level window, once it has one (up to 20 seconds).
  HWND MainWindow() const {
    for (int attempt = 0; attempt < 200; ++attempt) {
      Search search{process_.dwProcessId, nullptr};
      EnumWindows(&Search::Visit, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(100);
    }
    return nullptr;
  }

  /// The exit code after the process ends by itself (up to 20 seconds), or STILL_ACTIVE.
  DWORD ExitCode() const {
    WaitForSingleObject(process_.hProcess, 20000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  struct Search {
    DWORD processId;
    HWND found;
    static BOOL CALLBACK Visit(HWND window, LPARAM context) {
      auto* search = reinterpret_cast<Search*>(context);
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
      search->found = window;
      return FALSE;
    }
  };

  PROCESS_INFORMATION process_{};
};

std::wstring Caption(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(Startup, SwitchStartsTheLoadedWindowMinimisedAndClosingItEndsTheProgram) {
  QuillonProcess quillon(L"-st");
  ASSERT_TRUE(quillon.Started()) << "cannot start quillon.exe; build it first or set QUILLON_EXE";
  const HWND window = quillon.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsIconic(window));
  EXPECT_EQ(Caption(window), L"Quillon") << "loaded before it was minimised";
  // The window's icons cannot be read from here: Wine refuses WM_GETICON between processes. app_IconResources
  // checks SetFormIcon on real windows inside one process.

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(quillon.ExitCode(), 0u);
}

TEST(Startup, SwitchInAnotherCaseGivesTheNormalWindow) {
  QuillonProcess quillon(L"-ST");
  ASSERT_TRUE(quillon.Started());
  const HWND window = quillon.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(Caption(window), L"Quillon");
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(quillon.ExitCode(), 0u);
}

}  // namespace
