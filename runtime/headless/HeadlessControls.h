#pragma once
/// In-memory controls with the observable behaviour of the Win32 ones, plus the user's actions for tests.

#include <string>
#include <vector>

#include "runtime/Form.h"

namespace quillon::runtime {

class HeadlessListBox : public ListBox {
 public:
  explicit HeadlessListBox(const ControlSpec& spec);

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

  // The user's actions.
  /// A plain click: selects only this entry and raises Click.
  void UserClick(int index);
  /// A Ctrl+click on the extended-selection list: toggles this entry, focuses it and raises Click.
  void UserCtrlClick(int index);
  /// A double click: the click, then DblClick.
  void UserDoubleClick(int index);

  bool RedrawSuspended() const { return updateDepth_ > 0; }

 private:
  bool IsExtended() const { return extended_; }
  bool InRange(int index) const { return index >= 0 && index < ListCount(); }
  void SelectOnly(int index);
  void RaiseClick();

  bool sorted_;
  bool extended_;
  std::vector<std::wstring> items_;
  std::vector<bool> marks_;  // selection marks of the extended list
  int current_ = -1;         // the selected entry, or the focused one on the extended list
  int updateDepth_ = 0;
};

class HeadlessComboBox : public ComboBox {
 public:
  std::wstring Text() const override { return text_; }
  void SetText(const std::wstring& text) override;
  void AddItem(const std::wstring& text) override { items_.push_back(text); }
  void Clear() override;
  int ListCount() const override { return static_cast<int>(items_.size()); }
  std::wstring List(int index) const override;
  int ListIndex() const override { return index_; }
  void SetListIndex(int index) override;

  // The user's actions.
  void UserType(const std::wstring& text) { SetText(text); }
  void UserPick(int index) { SetListIndex(index); }

 private:
  std::wstring text_;
  std::vector<std::wstring> items_;
  int index_ = -1;
};

class HeadlessTextBox : public TextBox {
 public:
  explicit HeadlessTextBox(const ControlSpec& spec) : text_(spec.caption) {}

  std::wstring Text() const override { return text_; }
  std::size_t TextLength() const override { return text_.size(); }
  std::wstring TextRange(std::size_t start, std::size_t count) const override {
    return start < text_.size() ? text_.substr(start, count) : std::wstring();
  }
  void SetText(const std::wstring& text) override;
  /// The caret and the selection stay where they are, as on Win32.
  void AppendText(const std::wstring& text) override;
  int SelStart() const override { return selStart_; }
  void SetSelStart(int start) override;
  int SelLength() const override { return selLength_; }
  void SetSelLength(int length) override;
  std::wstring SelText() const override { return text_.substr(selStart_, selLength_); }

  /// A click that puts the caret at `caret` and raises Click.
  void UserClick(int caret);

 private:
  std::wstring text_;
  int selStart_ = 0;
  int selLength_ = 0;
};

class HeadlessCheckBox : public CheckBox {
 public:
  explicit HeadlessCheckBox(const ControlSpec& spec);

  int Value() const override { return value_; }
  void SetValue(int value) override { value_ = value; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  std::wstring Caption() const override { return caption_; }

  /// Toggles between unchecked and checked and raises Click; a disabled box ignores it.
  void UserClick();

 private:
  std::wstring caption_;
  int value_;
  bool enabled_;
};

class HeadlessLabel : public Label {
 public:
  explicit HeadlessLabel(const ControlSpec& spec) : caption_(spec.caption) {}
  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override { caption_ = caption; }

 private:
  std::wstring caption_;
};

class HeadlessPictureBox : public PictureBox {
 public:
  std::uint32_t BackColor() const override { return color_; }
  void SetBackColor(std::uint32_t color) override { color_ = color; }

 private:
  std::uint32_t color_ = 0x8000000F;  // the system's button face colour until set
};

class HeadlessCommandButton : public CommandButton {
 public:
  explicit HeadlessCommandButton(const ControlSpec& spec) : caption_(spec.caption) {}
  std::wstring Caption() const override { return caption_; }

  void UserClick() {
    if (Click) Click();
  }

 private:
  std::wstring caption_;
};

}  // namespace quillon::runtime
