#pragma once
/// The controls the window is built from: list box, combo box, text box, check box, label, picture box, button.
/// Each has a headless implementation (runtime/headless) and a Win32 one (runtime/win32) that share one contract.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace quillon::runtime {

/// An event of a control; empty when the window does not handle it.
using EventHandler = std::function<void()>;

/// A list box. Sorted lists keep their entries in case-insensitive order; extended-selection lists allow several
/// selected entries.
///
/// Selecting an entry from code (SetListIndex, SetSelected, SetText) raises Click exactly once on a
/// single-selection list, as the user's selection does. On an extended-selection list it marks or moves the focus
/// only and raises nothing: the program calls the click handler itself when it wants it.
class ListBox {
 public:
  virtual ~ListBox() = default;

  virtual void AddItem(const std::wstring& text) = 0;
  virtual void RemoveItem(int index) = 0;
  virtual void Clear() = 0;
  virtual int ListCount() const = 0;
  virtual std::wstring List(int index) const = 0;

  /// The current entry (the focused one on an extended-selection list), -1 when there is none.
  virtual int ListIndex() const = 0;
  virtual void SetListIndex(int index) = 0;
  virtual bool Selected(int index) const = 0;
  virtual void SetSelected(int index, bool selected) = 0;
  virtual int SelCount() const = 0;

  /// The text of the current entry, or "" when there is none.
  virtual std::wstring Text() const = 0;
  /// Selects the entry equal to `text` (ignoring case); with no such entry, none is selected.
  virtual void SetText(const std::wstring& text) = 0;

  /// Bracket a fill of many entries: redrawing is switched off in between.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;

  EventHandler Click;
  EventHandler DblClick;
};

/// A drop-down combo box: an editable text field with a list.
class ComboBox {
 public:
  virtual ~ComboBox() = default;

  virtual std::wstring Text() const = 0;
  virtual void SetText(const std::wstring& text) = 0;
  virtual void AddItem(const std::wstring& text) = 0;
  /// Empties the list and the text field.
  virtual void Clear() = 0;
  virtual int ListCount() const = 0;
  virtual std::wstring List(int index) const = 0;
  /// The entry picked from the list, -1 when the text was typed or edited since.
  virtual int ListIndex() const = 0;
  virtual void SetListIndex(int index) = 0;
};

/// A text box, single or multi-line; read-only boxes still take text from code.
class TextBox {
 public:
  virtual ~TextBox() = default;

  virtual std::wstring Text() const = 0;
  /// The length of the text and a part of it, without copying all of it: a search result runs to many megabytes.
  virtual std::size_t TextLength() const = 0;
  virtual std::wstring TextRange(std::size_t start, std::size_t count) const = 0;
  virtual void SetText(const std::wstring& text) = 0;
  /// Appends at the end without rebuilding the whole text; the text equals SetText(Text() + text), but the caret
  /// and the selection stay where they are (the user may be reading or selecting while text is appended).
  virtual void AppendText(const std::wstring& text) = 0;
  /// Caret position and selection, in characters counted from 0.
  virtual int SelStart() const = 0;
  virtual void SetSelStart(int start) = 0;
  virtual int SelLength() const = 0;
  virtual void SetSelLength(int length) = 0;
  virtual std::wstring SelText() const = 0;

  EventHandler Click;
};

/// A check box. Value 0 is unchecked, 1 checked, 2 greyed.
class CheckBox {
 public:
  virtual ~CheckBox() = default;

  virtual int Value() const = 0;
  virtual void SetValue(int value) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual std::wstring Caption() const = 0;

  EventHandler Click;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
};

/// Colours are colour words: red in the lowest byte, then green, then blue.
class PictureBox {
 public:
  virtual ~PictureBox() = default;
  virtual std::uint32_t BackColor() const = 0;
  virtual void SetBackColor(std::uint32_t color) = 0;
};

class CommandButton {
 public:
  virtual ~CommandButton() = default;
  virtual std::wstring Caption() const = 0;

  EventHandler Click;
};

}  // namespace quillon::runtime
