#pragma once
/// Start-up: Main, the routine the process entry hands over to, and the decisions it takes from the command line.
/// The decisions and the order of showing the window are portable, so that they are tested without Windows.

#include <string_view>

#include "runtime/Form.h"
#include "window/frmRegEdit.h"

namespace quillon {

namespace startup {

/// Spaces and tabs separate a program's name from its arguments and the arguments from each other.
constexpr bool IsBlank(wchar_t c) noexcept { return c == L' ' || c == L'\t'; }

/// The switch that starts the window minimised.
constexpr std::wstring_view kMinimisedSwitch = L"-st";

}  // namespace startup

/// The argument text of a whole process command line: what follows the program's name, without the blanks between
/// the two. A name that starts with a quote ends at the closing quote (paths with spaces), any other name at the
/// first blank. This is the rule Windows' C runtime applies to the text it hands to WinMain.
inline std::wstring_view ArgumentText(std::wstring_view commandLine) noexcept {
  std::size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const std::size_t close = commandLine.find(L'"', 1);
    at = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  } else {
    while (at < commandLine.size() && !startup::IsBlank(commandLine[at])) ++at;
  }
  while (at < commandLine.size() && startup::IsBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

/// True when the window is to start minimised: the argument text, without blanks at either end, is exactly "-st",
/// letter case included. Blanks are trimmed because they only separate arguments (a shortcut or script may leave
/// one behind); anything else, quotes, a second argument, another case, gives the normal start.
inline bool IsMinimisedStart(std::wstring_view arguments) noexcept {
  while (!arguments.empty() && startup::IsBlank(arguments.front())) arguments.remove_prefix(1);
  while (!arguments.empty() && startup::IsBlank(arguments.back())) arguments.remove_suffix(1);
  return arguments == startup::kMinimisedSwitch;
}

/// Shows the window (its first Show runs Form_Load) and, for the minimised start, minimises it afterwards: the
/// window is loaded and visible before it is minimised.
inline void ShowMainWindow(frmRegEdit& window, std::wstring_view arguments) {
  window.Show();
  if (IsMinimisedStart(arguments)) window.Form().SetWindowState(runtime::kMinimized);
}

/// The program: fills the product identity, requests the common controls, shows frmRegEdit as the command line
/// asks, and runs the message loop until the window is closed. Returns the process's exit code. Its Win32
/// definition is in app/win32/mdlMain.cpp.
int Main();

}  // namespace quillon
