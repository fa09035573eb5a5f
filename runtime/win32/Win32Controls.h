#pragma once
/// The controls of a Win32 form, each over one real standard control (LISTBOX, COMBOBOX, EDIT, BUTTON, STATIC) or,
/// for the picture box, a panel window of our own class.

#include <windows.h>

#include <string>

#include "runtime/Controls.h"
#include "runtime/Form.h"
#include "runtime/win32/Win32Handles.h"
#include "runtime/win32/WindowText.h"
#include "runtime/win32/Win32Session.h"
#include "runtime/textview/win32/Win32TextView.h"

namespace quillon::runtime::win32 {

/// What the form needs of each of its controls: the window, and the notifications the control sends its parent.
class Win32Control {
 public:
  Win32Control(Win32Session& session, HWND window) noexcept : session_(session), window_(window) {}
  Win32Control(const Win32Control&) = delete;
  Win32Control& operator=(const Win32Control&) = delete;
  virtual ~Win32Control() = default;

  HWND Window() const noexcept { return window_.Get(); }
  /// WM_COMMAND from this control with its notification code.
  virtual void OnCommand(int /*notification*/) noexcept {}
  /// WM_CTLCOLOR* for this control: the background brush, or nullptr for the system's colours.
  virtual HBRUSH OnControlColor(HDC /*dc*/) noexcept { return nullptr; }
  /// The window was destroyed with its parent: forget it.
  virtual void Forget() noexcept { window_.Release(); }
  /// The form gave the control a new place and font (its DPI changed).
  virtual void OnLayoutChanged() noexcept {}

 protected:
  Win32Session& session_;
  UniqueWindow window_;
};

class Win32ListBox final : public ListBox, public Win32Control {
 public:
  Win32ListBox(Win32Session& session, HWND window, unsigned options) noexcept;

  void AddItem(const std::wstring& text) override;
  void RemoveItem(int index) override;
  void Clear() override;
  int ListCount() const override;
  std::wstring List(int index) const override;
  int ListIndex() const override;
  void SetListIndex(int index) override;
  bool Selected(int index) const override;
  void SetSelected(int index, bool selected) override;
  int SelCount() const override;
  std::wstring Text() const override;
  void SetText(const std::wstring& text) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  void OnCommand(int notification) noexcept override;

 private:
  bool IsExtended() const noexcept { return extended_; }
  void ReserveFor(int count) noexcept;
  bool SortsAfterLastItem(const std::wstring& text, int count) const;

  bool sorted_;
  bool extended_;
  LCID locale_;
  /// The last entry of a sorted list, while it is known without asking the control.
  std::wstring lastItem_;
  bool lastItemKnown_ = false;
  /// Extended-selection lists have no "current entry" until the user or the program moves the focus; the control
  /// itself always reports a caret (item 0), which is not what the window means by a current entry.
  bool hasFocusItem_ = false;
  int updateDepth_ = 0;
  int reserved_ = 0;
};

class Win32ComboBox final : public ComboBox, public Win32Control {
 public:
  Win32ComboBox(Win32Session& session, HWND window);

  std::wstring Text() const override;
  void SetText(const std::wstring& text) override;
  void AddItem(const std::wstring& text) override;
  void Clear() override;
  int ListCount() const override;
  std::wstring List(int index) const override;
  int ListIndex() const override;
  void SetListIndex(int index) override;

  void OnCommand(int notification) noexcept override;

 private:
  /// True after a pick from the list until the text is typed, edited or set from code. The control itself keeps
  /// matching typed text against its list, so its own current index does not say whether the text was picked.
  bool picked_ = false;
  /// The edit field inside the combo box shows its text through a view of our own, as every text box does.
  Win32TextView field_;
};

/// A text box over an EDIT window whose text, drawing and input are a Win32TextView's.
class Win32TextBox final : public TextBox, public Win32Control {
 public:
  Win32TextBox(Win32Session& session, HWND window, unsigned options, const std::wstring& text);

  std::wstring Text() const override;
  std::size_t TextLength() const override { return view_.Document().Length(); }
  std::wstring TextRange(std::size_t start, std::size_t count) const override {
    return view_.Document().Substring(start, count);
  }
  void SetText(const std::wstring& text) override;
  void AppendText(const std::wstring& text) override;
  int SelStart() const override;
  void SetSelStart(int start) override;
  int SelLength() const override;
  void SetSelLength(int length) override;
  std::wstring SelText() const override;

  HBRUSH OnControlColor(HDC dc) noexcept override;

 private:
  bool readOnly_;
  Win32TextView view_;
};

class Win32CheckBox final : public CheckBox, public Win32Control {
 public:
  Win32CheckBox(Win32Session& session, HWND window) noexcept : Win32Control(session, window) {}

  int Value() const override;
  void SetValue(int value) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::wstring Caption() const override;

  void OnCommand(int notification) noexcept override;
};

class Win32PictureBox final : public PictureBox, public Win32Control {
 public:
  Win32PictureBox(Win32Session& session, HWND window);

  std::uint32_t BackColor() const override { return backColor_; }
  void SetBackColor(std::uint32_t color) override;

  HBRUSH Brush() const noexcept { return brush_.Get(); }
  /// The panel's own window procedure: paints the back colour and passes its children's notifications on to the
  /// form, which knows the controls.
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  LRESULT OnEraseBackground(HDC dc) noexcept;

  std::uint32_t backColor_;
  UniqueBrush brush_;
};

class Win32Label final : public Label, public Win32Control {
 public:
  /// `backdrop` is the picture box the label sits in, when it has one.
  Win32Label(Win32Session& session, HWND window, unsigned options, const Win32PictureBox* backdrop) noexcept;

  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;

  HBRUSH OnControlColor(HDC dc) noexcept override;
  void OnLayoutChanged() noexcept override {
    if (autoSize_) SizeToCaption();
  }

 private:
  void SizeToCaption() noexcept;

  bool autoSize_;
  bool whiteTransparent_;
  const Win32PictureBox* backdrop_;
};

class Win32CommandButton final : public CommandButton, public Win32Control {
 public:
  Win32CommandButton(Win32Session& session, HWND window) noexcept : Win32Control(session, window) {}

  std::wstring Caption() const override;
  void OnCommand(int notification) noexcept override;
};

}  // namespace quillon::runtime::win32
