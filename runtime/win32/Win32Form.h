#pragma once
/// A top-level window of fixed size whose controls are real child windows created in tab order.

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/Form.h"
#include "runtime/win32/Win32Controls.h"
#include "runtime/win32/Win32Handles.h"
#include "runtime/win32/Win32Session.h"

namespace quillon::runtime::win32 {

/// Registered window class names of the runtime.
inline constexpr const wchar_t* kFormClassName = L"QuillonForm";
inline constexpr const wchar_t* kPictureBoxClassName = L"QuillonPictureBox";

/// The screen's pixels per inch for a window: the window's own DPI where the system can tell it, else the screen's.
int WindowDpi(HWND window) noexcept;
/// Twips (1/1440 inch) to pixels at `dpi`.
int TwipsToPixels(int twips, int dpi) noexcept;

class Win32Form final : public Form {
 public:
  Win32Form(Win32Session& session, int clientWidthTwips, int clientHeightTwips, const FontSpec& font);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  ListBox& AddListBox(const ControlSpec& spec) override;
  ComboBox& AddComboBox(const ControlSpec& spec) override;
  TextBox& AddTextBox(const ControlSpec& spec) override;
  CheckBox& AddCheckBox(const ControlSpec& spec) override;
  Label& AddLabel(const ControlSpec& spec) override;
  PictureBox& AddPictureBox(const ControlSpec& spec) override;
  CommandButton& AddCommandButton(const ControlSpec& spec) override;

  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  int WindowState() const override;
  void SetWindowState(int state) override;
  bool Visible() const override;
  std::uint32_t Handle() const override;
  void Show() override;

  HWND Window() const noexcept { return window_.Get(); }
  /// The child window of the control named `name`; nullptr when there is none.
  HWND ControlWindow(const std::string& name) const noexcept;

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  struct ChildPlacement {
    HWND parent;
    const Win32PictureBox* backdrop;
  };

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnControlColor(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnActivate(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam) noexcept;

  /// Where a control goes: its spec's twips at the window's DPI, and its height; a drop-down combo box's window
  /// height includes its list when dropped.
  struct Layout {
    int left, top, width, height;
  };
  Layout LayoutOf(const ControlSpec& spec) const noexcept;
  ChildPlacement PlacementOf(const ControlSpec& spec) const;
  HWND CreateChild(const ControlSpec& spec, const wchar_t* className, DWORD style, DWORD extendedStyle,
                   const wchar_t* text);
  HFONT FontFor(double points);
  template <typename Control>
  Control& Adopt(const ControlSpec& spec, std::unique_ptr<Control> control);

  Win32Session& session_;
  FontSpec font_;
  int dpi_ = 96;
  bool loaded_ = false;
  HWND lastFocus_ = nullptr;
  // Fonts outlive the controls that use them: members are destroyed in reverse order.
  std::map<int, UniqueFont> fonts_;  // by size in hundredths of a point
  UniqueWindow window_;
  std::vector<std::unique_ptr<Win32Control>> controls_;
  std::vector<ControlSpec> specs_;  // each control's, in the order of controls_
  std::unordered_map<HWND, Win32Control*> byWindow_;
  std::map<std::string, Win32Control*> byName_;
  std::map<std::string, Win32PictureBox*> pictureBoxes_;
};

}  // namespace quillon::runtime::win32
