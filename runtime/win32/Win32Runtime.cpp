#include "runtime/win32/Win32Runtime.h"

#include <utility>

#include "runtime/win32/InputBoxDialog.h"
#include "runtime/win32/Win32Controls.h"
#include "runtime/win32/Win32Form.h"

namespace quillon::runtime {

namespace {

constexpr LONGLONG kPumpIntervalMilliseconds = 20;

/// Registers a window class of the runtime; a class some other runtime of this process registered stays its own.
win32::WindowClass RegisterRuntimeClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                        HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  if (!RegisterClassExW(&windowClass)) return {};
  return win32::WindowClass(instance, name);
}

std::wstring ModuleBaseName(HINSTANCE instance) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return name;
}

LONGLONG Ticks() noexcept {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

}  // namespace

namespace win32 {

Win32Application::Win32Application(HINSTANCE instance, std::wstring commandLine)
    : instance_(instance), commandLine_(std::move(commandLine)), exeName_(ModuleBaseName(instance)) {
  // Until the program sets its title, the platform's forms call the application by its executable's name.
  title_ = exeName_;
}

}  // namespace win32

Win32Runtime::Win32Runtime(HINSTANCE instance, std::wstring commandLine)
    : session_(instance),
      formClass_(RegisterRuntimeClass(instance, win32::kFormClassName, win32::Win32Form::WindowProcedure,
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)))),
      pictureBoxClass_(RegisterRuntimeClass(instance, win32::kPictureBoxClassName,
                                            win32::Win32PictureBox::WindowProcedure, nullptr)),
      app_(instance, std::move(commandLine)) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  pumpIntervalTicks_ = frequency.QuadPart * kPumpIntervalMilliseconds / 1000;
  clockReadTicks_ = frequency.QuadPart / 100000;
}

Win32Runtime::~Win32Runtime() = default;

std::unique_ptr<Form> Win32Runtime::CreateForm(int clientWidthTwips, int clientHeightTwips, const FontSpec& font) {
  return std::make_unique<win32::Win32Form>(session_, clientWidthTwips, clientHeightTwips, font);
}

void Win32Runtime::Dispatch(MSG& message) {
  // Keyboard navigation (Tab, arrows, Enter, Esc) is the dialog manager's, for every form of the runtime.
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && session_.IsForm(root) && IsDialogMessageW(root, &message)) {
    session_.RethrowPendingException();
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
  session_.RethrowPendingException();
}

int Win32Runtime::RunMessageLoop() {
  struct LoopFlag {
    explicit LoopFlag(win32::Win32Session& session) noexcept : session_(session) {
      session_.SetMessageLoopRunning(true);
    }
    LoopFlag(const LoopFlag&) = delete;
    LoopFlag& operator=(const LoopFlag&) = delete;
    ~LoopFlag() { session_.SetMessageLoopRunning(false); }
    win32::Win32Session& session_;
  } running(session_);

  if (session_.OpenFormCount() == 0) return 0;
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    Dispatch(message);
  }
}

void Win32Runtime::ProcessPendingMessages() { PumpMessages(); }

bool Win32Runtime::DoEvents() {
  const LONGLONG now = Ticks();
  if (pumped_ && now - lastPumpTicks_ < pumpIntervalTicks_) return false;
  PumpMessages();
  return true;
}

bool Win32Runtime::EventsDue() {
  if (!pumped_) return true;
  if (--callsUntilClockRead_ > 0) return false;
  const LONGLONG now = Ticks();
  const LONGLONG sinceRead = now - lastClockRead_;
  if (sinceRead < clockReadTicks_ / 2 && callsPerClockRead_ < 256) callsPerClockRead_ *= 2;
  if (sinceRead > clockReadTicks_ * 2 && callsPerClockRead_ > 1) callsPerClockRead_ /= 2;
  lastClockRead_ = now;
  callsUntilClockRead_ = callsPerClockRead_;
  return now - lastPumpTicks_ >= pumpIntervalTicks_;
}

void Win32Runtime::PumpMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit belongs to the message loop further out; put it back for it.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
  lastPumpTicks_ = Ticks();
  pumped_ = true;
}

std::wstring Win32Runtime::CaptionOr(const std::wstring& title) const { return title.empty() ? app_.Title() : title; }

std::wstring Win32Runtime::InputBox(const std::wstring& prompt, const std::wstring& title,
                                    const std::wstring& defaultText) {
  return win32::RunInputBox(session_.Instance(), session_.MainWindow(), prompt, CaptionOr(title), defaultText);
}

int Win32Runtime::MsgBox(const std::wstring& prompt, int style, const std::wstring& title) {
  const std::wstring caption = CaptionOr(title);
  return MessageBoxW(session_.MainWindow(), prompt.c_str(), caption.c_str(), static_cast<UINT>(style));
}

}  // namespace quillon::runtime
