#pragma once
/// Drives real windows the way a user does: posted mouse and keyboard messages, and answers to modal dialogs given
/// from a second thread while the window's thread waits in the dialog. Everything here goes through window
/// messages, which the standard controls answer across processes too.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/win32/Win32Controls.h"
#include "runtime/win32/Win32Form.h"
#include "runtime/win32/Win32Runtime.h"

namespace quillon::winetest {

/// The window of a control of a Win32 form, from its runtime interface.
template <typename Control>
HWND WindowOf(Control& control) { return dynamic_cast<runtime::win32::Win32Control&>(control).Window(); }

/// A form of the runtime with its Win32 side in reach (its window, its controls' windows by name).
std::unique_ptr<runtime::win32::Win32Form> CreateWin32Form(runtime::Win32Runtime& runtime, int clientWidthTwips,
                                                           int clientHeightTwips, const runtime::FontSpec& font);

std::wstring WindowText(HWND window);
/// The client area as shown once painted (what is pending, or all afresh), without the caret: BI_RGB rows, top first.
enum class Repaint { kPending, kWhole };
std::vector<DWORD> ClientPixels(HWND window, Repaint repaint);
/// True when the window's class is `name`, ignoring case.
bool IsClass(HWND window, const wchar_t* name);
std::vector<std::wstring> ListItems(HWND list);
std::vector<std::wstring> ComboItems(HWND combo);
/// A visible top-level window of `process` for which `accept` holds, or null.
HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& accept);

/// Posts user input and waits until it has been handled: by the runtime's own dispatch for windows of this thread,
/// or by a caller-given wait for the windows of another process.
class Win32UserInput {
 public:
  explicit Win32UserInput(runtime::Win32Runtime& runtime);
  explicit Win32UserInput(std::function<void()> waitUntilHandled) : process_(std::move(waitUntilHandled)) {}

  /// Waits until everything the posted input has caused is handled.
  void Process() { process_(); }

  /// Posts a left click (or, with MK_CONTROL in `keys`, a Ctrl+click) at a point of a window's client area without
  /// waiting. Disabled windows get no mouse input from the system, so nothing is posted to them.
  void PostClick(HWND window, POINT point, WPARAM keys = 0);

  void ClickListItem(HWND list, int index, WPARAM keys = 0);
  void DoubleClickListItem(HWND list, int index);
  /// Clicks, or double-clicks, the entry that equals `item` exactly; a test fails when none does.
  void ClickListItem(HWND list, const std::wstring& item);
  void DoubleClickListItem(HWND list, const std::wstring& item);
  /// Clicks the middle of a button or check box.
  void ClickButton(HWND button);
  /// Clicks an edit control on the left edge of character `caret`, which puts the caret before it.
  void ClickEditAt(HWND edit, int caret);
  /// Types characters into the window that has them (WM_CHAR), after selecting what is there as tabbing in would.
  void TypeText(HWND edit, const std::wstring& text);
  /// Replaces the text of a drop-down combo box by typing into its edit field.
  void TypeIntoCombo(HWND combo, const std::wstring& text) {
    TypeText(FindWindowExW(combo, nullptr, L"Edit", nullptr), text);
  }
  /// Opens the combo box's list and clicks entry `index` in it.
  void PickFromCombo(HWND combo, int index);

 private:
  /// Scrolls a list box's entry into view, as a user does before clicking it, and returns its middle.
  static POINT ListItemMiddle(HWND list, int index);

  std::function<void()> process_;
};

/// What a modal dialog showed before it was answered.
struct SeenDialog {
  std::wstring caption;
  /// The longest static text of the dialog: the prompt.
  std::wstring text;
};

/// An answer to a dialog: the text put into its edit field first, if any, and the button pressed.
struct DialogAnswer {
  DialogAnswer(int buttonId, std::optional<std::wstring> editText = std::nullopt)
      : button(buttonId), text(std::move(editText)) {}
  int button;
  std::optional<std::wstring> text;
};

/// Waits on a second thread for the modal dialogs ("#32770") owned by `owner`, records each and gives it its answer,
/// in turn. A dialog beyond the answers is recorded too and refused (Cancel, No), so that an unexpected question
/// shows in what was seen instead of hanging the test; one that never comes is given up after ten seconds.
class ModalDialogAnswerer {
 public:
  ModalDialogAnswerer(HWND owner, std::vector<DialogAnswer> answers);
  ModalDialogAnswerer(const ModalDialogAnswerer&) = delete;
  ModalDialogAnswerer& operator=(const ModalDialogAnswerer&) = delete;
  ~ModalDialogAnswerer() { SeenAll(); }

  /// Joins the thread and returns every dialog it saw.
  std::vector<SeenDialog> SeenAll() {
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  void Run(HWND owner, const std::vector<DialogAnswer>& answers);

  std::vector<SeenDialog> seen_;
  std::thread thread_;
};

}  // namespace quillon::winetest
