#pragma once
/// The forms runtime over real Win32 standard controls (LISTBOX, COMBOBOX, EDIT, BUTTON, STATIC); the text boxes
/// draw their text themselves (Win32TextView).

#include <windows.h>

#include <memory>
#include <string>

#include "runtime/Runtime.h"
#include "runtime/win32/Win32SettingsStore.h"
#include "runtime/win32/Win32Handles.h"
#include "runtime/win32/Win32PlatformText.h"
#include "runtime/win32/Win32Session.h"

namespace quillon::runtime {

namespace win32 {

class Win32Application final : public Application {
 public:
  Win32Application(HINSTANCE instance, std::wstring commandLine);

  std::wstring Title() const override { return title_; }
  void SetTitle(const std::wstring& title) override { title_ = title; }
  std::wstring EXEName() const override { return exeName_; }
  std::wstring Command() const override { return commandLine_; }
  std::uintptr_t hInstance() const override { return reinterpret_cast<std::uintptr_t>(instance_); }

 private:
  HINSTANCE instance_;
  std::wstring commandLine_;
  std::wstring exeName_;
  std::wstring title_;
};

}  // namespace win32

class Win32Runtime : public Runtime {
 public:
  /// `commandLine` is the text after the program's own name.
  Win32Runtime(HINSTANCE instance, std::wstring commandLine);
  ~Win32Runtime() override;
  Win32Runtime(const Win32Runtime&) = delete;
  Win32Runtime& operator=(const Win32Runtime&) = delete;

  /// Runs the message loop until the last window created by this runtime is closed; returns the exit code.
  int RunMessageLoop();

  /// Processes every message waiting now, without the time check of DoEvents. Test drivers use it.
  void ProcessPendingMessages();

  Application& App() override { return app_; }
  std::unique_ptr<Form> CreateForm(int clientWidthTwips, int clientHeightTwips, const FontSpec& font) override;
  std::wstring InputBox(const std::wstring& prompt, const std::wstring& title = L"",
                        const std::wstring& defaultText = L"") override;
  int MsgBox(const std::wstring& prompt, int style = kOkOnly, const std::wstring& title = L"") override;
  int MousePointer() const override { return session_.MousePointer(); }
  void SetMousePointer(int pointer) override { session_.SetMousePointer(pointer); }

  /// Processes pending window events once, but at most every 20 milliseconds: the search calls this once per
  /// registry step, hundreds of thousands of times, and under Wine every look at the message queue, even an empty
  /// one, is a round trip to the wine server of 35 to 50 microseconds. A call within 20 ms of the last pump returns
  /// false at once, which the user cannot tell from a pump that found nothing.
  bool DoEvents() override;
  /// Whether DoEvents would pump now. Under Wine a look at the clock costs 0.1 microsecond, a third of a search
  /// step over a fast registry, so the clock is read only every so many calls: as many as take about 10
  /// microseconds, found as the calls come, and never more than 256. A registry call that goes to Wine's server
  /// takes that long alone, so there the clock is read at every call, as a late pump keeps the user waiting.
  bool EventsDue() override;

  /// Kept in the current user's registry, under Software\<application name>.
  SettingsStore& Settings() override { return settings_; }
  const PlatformText& Text() const override { return text_; }

 private:
  void Dispatch(MSG& message);
  std::wstring CaptionOr(const std::wstring& title) const;

  win32::Win32Session session_;
  win32::WindowClass formClass_;
  win32::WindowClass pictureBoxClass_;
  win32::Win32Application app_;
  win32::Win32PlatformText text_;
  win32::Win32SettingsStore settings_;
  /// Dispatches every message waiting now.
  void PumpMessages();

  LONGLONG pumpIntervalTicks_ = 0;
  LONGLONG lastPumpTicks_ = 0;
  bool pumped_ = false;
  LONGLONG clockReadTicks_ = 0;  // how far apart EventsDue aims to read the clock
  LONGLONG lastClockRead_ = 0;
  int callsPerClockRead_ = 1;
  int callsUntilClockRead_ = 0;
};

}  // namespace quillon::runtime
