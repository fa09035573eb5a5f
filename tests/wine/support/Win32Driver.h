#pragma once
/// Drives real windows the way a user does: posted mouse and keyboard messages, processed by the runtime's own
/// dispatch, and answers to modal dialogs given from a second thread while the GUI thread waits in the dialog.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "runtime/win32/Win32Controls.h"
#include "runtime/win32/Win32Form.h"
#include "runtime/win32/Win32Runtime.h"

namespace quillon::winetest {

/// The window of a control of a Win32 form, from its runtime interface.
template <typename Control>
HWND WindowOf(Control& control) {
  return dynamic_cast<runtime::win32::Win32Control&>(control).Window();
}

/// A form of the runtime with its Win32 side in reach (its window, its controls' windows by name).
std::unique_ptr<runtime::win32::Win32Form> CreateWin32Form(runtime::Win32Runtime& runtime, int clientWidthTwips,
                                                          int clientHeightTwips, const runtime::FontSpec& font);

/// Posts user input to windows of this thread and lets the runtime dispatch it, as its message loop would.
class Win32UserInput {
 public:
  explicit Win32UserInput(runtime::Win32Runtime& runtime) : runtime_(runtime) {}

  /// Dispatches everything the posted input has caused.
  void Process();

  /// A left click (or, with MK_CONTROL in `keys`, a Ctrl+click) at a point of a window's client area. Disabled
  /// windows get no mouse input from the system, so nothing is posted to them.
  void PostClick(HWND window, POINT point, WPARAM keys = 0);
  /// The messages of a double click: down, up, double-click, up.
  void PostDoubleClick(HWND window, POINT point);

  void ClickListItem(HWND list, int index, WPARAM keys = 0);
  void DoubleClickListItem(HWND list, int index);
  /// Clicks the middle of a button or check box.
  void ClickButton(HWND button);
  /// Clicks an edit control on the left edge of character `caret`, which puts the caret before it.
  void ClickEditAt(HWND edit, int caret);
  /// Types characters into the window that has them (WM_CHAR), after selecting what is there as tabbing in would.
  void TypeText(HWND edit, const std::wstring& text);
  /// Replaces the text of a drop-down combo box by typing into its edit field.
  void TypeIntoCombo(HWND combo, const std::wstring& text);
  /// Opens the combo box's list and clicks entry `index` in it.
  void PickFromCombo(HWND combo, int index);

 private:
  runtime::Win32Runtime& runtime_;
};

/// What a modal dialog showed before it was answered.
struct SeenDialog {
  bool found = false;
  std::wstring caption;
  /// The longest static text of the dialog: the prompt.
  std::wstring text;
  HWND owner = nullptr;
};

/// Waits on a second thread for a modal dialog ("#32770") owned by `owner` to appear, records it, then answers:
/// with `editText` it first puts that text into the dialog's edit field, then presses the button `buttonId`.
/// Gives up after a few seconds and presses Cancel so that a failing test cannot hang.
class ModalDialogAnswerer {
 public:
  ModalDialogAnswerer(HWND owner, int buttonId, std::optional<std::wstring> editText = std::nullopt);
  ModalDialogAnswerer(const ModalDialogAnswerer&) = delete;
  ModalDialogAnswerer& operator=(const ModalDialogAnswerer&) = delete;
  ~ModalDialogAnswerer();

  /// Joins the thread and returns what it saw.
  SeenDialog Seen();

 private:
  void Run(HWND owner, int buttonId, std::optional<std::wstring> editText);

  SeenDialog seen_;
  std::thread thread_;
};

}  // namespace quillon::winetest
