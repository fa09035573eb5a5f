#pragma once
/// The forms runtime the window is written against: application object, windows, prompts, message boxes, mouse
/// pointer, event processing, the settings store and the platform's text functions.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/Form.h"

namespace quillon::runtime {

/// Message box styles and answers, as the platform numbers them.
enum MsgBoxStyle : int {
  kOkOnly = 0,
  kYesNo = 4,
  kCritical = 16,
  kInformation = 64,
  kDefaultButton2 = 256,
};
enum MsgBoxAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

/// Screen mouse pointers.
enum MousePointer : int { kPointerDefault = 0, kPointerHourglass = 11 };

/// The platform's text conversions: the ANSI code page and letter case.
class PlatformText {
 public:
  virtual ~PlatformText() = default;
  /// Text to bytes of the ANSI code page; characters it cannot represent are the platform's matter.
  virtual std::string ToAnsi(const std::wstring& text) const = 0;
  /// Bytes of the ANSI code page to text; each byte of a single-byte code page becomes one character.
  virtual std::wstring FromAnsi(const std::string& bytes) const = 0;
  virtual std::wstring UCase(const std::wstring& text) const = 0;
  virtual std::wstring LCase(const std::wstring& text) const = 0;
};

/// Per-user settings: text values under an application name, a section and a key.
class SettingsStore {
 public:
  using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
  virtual ~SettingsStore() = default;
  virtual void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                           const std::wstring& value) = 0;
  /// All key/value pairs of a section, in the order their keys were first written.
  virtual Pairs GetAllSettings(const std::wstring& app, const std::wstring& section) = 0;
  /// Deletes one key; false (the platform's error) when it does not exist.
  [[nodiscard]] virtual bool DeleteSetting(const std::wstring& app, const std::wstring& section,
                                           const std::wstring& key) = 0;
};

/// The application object.
class Application {
 public:
  virtual ~Application() = default;
  virtual std::wstring Title() const = 0;
  virtual void SetTitle(const std::wstring& title) = 0;
  /// The executable's file name without its extension.
  virtual std::wstring EXEName() const = 0;
  /// Everything the process was given after the program's own name.
  virtual std::wstring Command() const = 0;
  /// The module instance handle as a number (0 headless).
  virtual std::uintptr_t hInstance() const = 0;
};

class Runtime {
 public:
  virtual ~Runtime() = default;

  virtual Application& App() = 0;
  virtual std::unique_ptr<Form> CreateForm(int clientWidthTwips, int clientHeightTwips, const FontSpec& font) = 0;

  /// A modal prompt with one edit field, OK and Cancel; Cancel gives "". An empty title means the application title.
  virtual std::wstring InputBox(const std::wstring& prompt, const std::wstring& title = L"",
                                const std::wstring& defaultText = L"") = 0;
  /// A modal message box; returns the answer (MsgBoxAnswer). An empty title means the application title.
  virtual int MsgBox(const std::wstring& prompt, int style = kOkOnly, const std::wstring& title = L"") = 0;

  virtual int MousePointer() const = 0;
  virtual void SetMousePointer(int pointer) = 0;

  /// Processes pending window events once; handlers of other events may run inside the caller. False when it
  /// looked at nothing (events were processed a moment ago), so nothing the window shows can have changed.
  virtual bool DoEvents() = 0;
  /// Whether DoEvents would look at events now; false means it would return false at once. A caller that holds
  /// work back from the window (lines not yet handed to a box) hands it over only when this is true.
  virtual bool EventsDue() { return true; }

  virtual SettingsStore& Settings() = 0;
  virtual const PlatformText& Text() const = 0;
};

}  // namespace quillon::runtime
