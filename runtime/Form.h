#pragma once
/// A top-level window and the description of the controls placed on it.

#include <cstdint>
#include <string>

#include "runtime/Controls.h"

namespace quillon::runtime {

enum class ControlKind { ListBox, ComboBox, TextBox, CheckBox, Label, PictureBox, CommandButton };

/// Options of a control; combine with |.
enum ControlOption : unsigned {
  kNoOptions = 0,
  kSorted = 1u << 0,             ///< list box: entries kept in case-insensitive order
  kExtendedSelection = 1u << 1,  ///< list box: click, Shift+click and Ctrl+click selection
  kMultiLine = 1u << 2,          ///< text box
  kScrollBars = 1u << 3,         ///< text box: horizontal and vertical scroll bars
  kReadOnly = 1u << 4,           ///< text box
  kAutoSize = 1u << 5,           ///< label: sizes itself to its caption
  kDisabled = 1u << 6,           ///< check box starts disabled
  kChecked = 1u << 7,            ///< check box starts checked
  kWhiteTransparent = 1u << 8,   ///< label: white text on its parent's background
};

/// One control of a window. Coordinates are twips (1/1440 inch) from the client area's corner, or from the parent
/// control's corner when `parent` names one.
struct ControlSpec {
  const char* name;
  ControlKind kind;
  const wchar_t* caption;
  int left;
  int top;
  int width;
  int height;
  unsigned options;
  double fontPoints;
  const char* parent;  ///< nullptr: placed on the window itself
};

/// Fonts of a window: every control uses `faceName` at its spec's size, at this weight and character set.
struct FontSpec {
  const wchar_t* faceName;
  int weight;
  int charSet;
};

/// Window states, as the platform numbers them.
enum WindowState { kNormal = 0, kMinimized = 1, kMaximized = 2 };

/// A top-level window. Controls are created in tab order; the window owns them.
class Form {
 public:
  virtual ~Form() = default;

  virtual ListBox& AddListBox(const ControlSpec& spec) = 0;
  virtual ComboBox& AddComboBox(const ControlSpec& spec) = 0;
  virtual TextBox& AddTextBox(const ControlSpec& spec) = 0;
  virtual CheckBox& AddCheckBox(const ControlSpec& spec) = 0;
  virtual Label& AddLabel(const ControlSpec& spec) = 0;
  virtual PictureBox& AddPictureBox(const ControlSpec& spec) = 0;
  virtual CommandButton& AddCommandButton(const ControlSpec& spec) = 0;

  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual int WindowState() const = 0;
  virtual void SetWindowState(int state) = 0;
  virtual bool Visible() const = 0;
  /// The platform's window handle as a 32-bit number (0 for a headless window).
  virtual std::uint32_t Handle() const = 0;

  /// Shows the window modeless. The first Show raises Load before the window becomes visible.
  virtual void Show() = 0;

  EventHandler Load;
};

}  // namespace quillon::runtime
