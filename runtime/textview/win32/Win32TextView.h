#pragma once
/// A text box of our own inside a standard EDIT window. Once attached, this object holds the window's text and
/// answers every text, selection, scrolling, painting, mouse and keyboard message itself; the edit control behind
/// it never sees any text. The window stays an "Edit" to the dialog manager and to other programs, which read and
/// select its text with the usual edit messages.
///
/// Why: Wine's edit control lays out text with its Uniscribe, which reads far outside its glyph array when a run
/// starts with a mark that the font's mark-to-ligature table covers (U+02DA to U+02DD in DejaVu Sans: byte 0x98 of
/// registry data is U+02DC), and the program faults. Drawing with GDI's ExtTextOut never goes there. It also lays
/// out only the lines in view, so a search result of tens of millions of characters costs no more to append to than
/// a short one.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/textview/CaretStops.h"
#include "runtime/textview/TextDocument.h"
#include "runtime/textview/LineGeometry.h"
#include "runtime/textview/TextLayout.h"
#include "runtime/textview/UndoStep.h"
#include "runtime/textview/Viewport.h"
#include "runtime/win32/Win32Handles.h"

namespace quillon::runtime::win32 {

class FontFallback;

/// The combo box an edit field belongs to, or nullptr.
HWND OwningCombo(HWND edit) noexcept;

class Win32TextView {
 public:
  /// Timers of the view: one brings the scroll bars up to date after a burst of appends, the other scrolls while
  /// the user selects with the mouse held outside the text.
  static constexpr UINT_PTR kScrollBarTimer = 1;
  static constexpr UINT_PTR kSelectionTimer = 2;

  Win32TextView() = default;
  Win32TextView(const Win32TextView&) = delete;
  Win32TextView& operator=(const Win32TextView&) = delete;
  ~Win32TextView() = default;

  /// Takes over an EDIT window (single or multi-line, read-only or not, also the edit field of a combo box). Its
  /// style, font and any text it holds are kept.
  void Attach(HWND edit);
  HWND Window() const noexcept { return window_; }

  const textview::TextDocument& Document() const noexcept { return document_; }
  /// Replaces the text: the caret goes to the start, the view to the top, and the view follows appended text.
  void SetText(std::wstring_view text);
  /// Appends without touching the selection. The view keeps following the end while the user has not scrolled
  /// away from it or clicked into the text.
  void Append(std::wstring_view text);

  std::size_t SelectionStart() const noexcept { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelectionEnd() const noexcept { return anchor_ < caret_ ? caret_ : anchor_; }
  /// Selects from `anchor` to `caret` (the caret is where the active end is); positions are clamped to the text.
  void SetSelection(std::size_t anchor, std::size_t caret);
  void ScrollCaretIntoView();

  /// Runs when the left mouse button is released over the text, after the press has placed the caret.
  void SetClickHandler(std::function<void()> handler) { onClick_ = std::move(handler); }

  /// What a user may type into a box before a program sets a limit (EM_SETLIMITTEXT's documented default).
  static constexpr std::size_t kDefaultLimit = 32767;

 private:
  static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR data) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  // Styles, read from the window each time: EM_SETREADONLY and SetWindowLong may change them.
  bool IsMultiLine() const noexcept;
  bool IsReadOnly() const noexcept;
  bool HasFocus() const noexcept { return GetFocus() == window_; }
  bool ShowsSelection() const noexcept;

  // Text messages and editing (Win32TextView.cpp).
  LRESULT OnGetText(WPARAM capacity, LPARAM buffer) const noexcept;
  LRESULT OnSetText(LPARAM text);
  LRESULT OnGetSel(WPARAM start, LPARAM end) const noexcept;
  LRESULT OnSetSel(WPARAM start, LPARAM end);
  LRESULT OnGetLine(WPARAM line, LPARAM buffer) const noexcept;
  LRESULT OnLineIndex(WPARAM line) const noexcept;
  LRESULT OnLineLength(WPARAM position) const noexcept;
  LRESULT OnLineFromChar(WPARAM position) const noexcept;
  /// Sends an EN_ notification to the parent; false when the parent destroyed this window meanwhile.
  bool Notify(WORD code) const noexcept;

  /// How a replacement of the selection behaves: the edit control's paths differ in whether the change can be
  /// undone, whether the parent hears of it and whether the text limit holds.
  enum ReplaceFlags : unsigned {
    kQuietly = 0,
    kUndoable = 1,
    kNotifying = 2,
    kWithinLimit = 4,
    kAsUser = kUndoable | kNotifying | kWithinLimit,
  };
  /// Replaces the selection as typing, pasting, EM_REPLACESEL, undo and WM_SETTEXT do: the caret goes after the new
  /// text. Replacing nothing by nothing changes nothing and tells nobody.
  void ReplaceSelection(std::wstring_view text, unsigned flags);
  /// Widens the widest line by the lines an edit from `start` to `end` touched.
  void MeasureEditedLines(std::size_t start, std::size_t end);
  /// EM_UNDO: puts back what the last run of typing or deleting changed and selects it; its result.
  LRESULT Undo();
  void CopySelection() const;
  void Cut();
  void Clear();
  void Paste();
  void ShowContextMenu(LPARAM where);

  // Display (Win32TextViewDisplay.cpp).
  void TakeFont(HFONT font);
  RECT ClientArea() const noexcept;
  RECT TextArea() const noexcept { return textArea_; }
  /// Lays the text out in `bounds` (the client area, or what EM_SETRECT gives): the rectangle the platform's control
  /// makes of them, and the view kept within the text. Returns the whole lines the rectangle holds before it is
  /// cut at the bottom of the box.
  std::size_t SetTextArea(RECT bounds);
  std::size_t AdjustTextArea();
  /// The left and right margins: the pixels given, or the font's own margin for EC_USEFONTINFO.
  void SetMargins(WPARAM sides, WORD left, WORD right);
  int VisibleLines() const noexcept;  // at least one
  int PageLines() const noexcept;     // whole lines in the text area, none or fewer when it is cut above them
  textview::Viewport::Extent ViewExtent() const noexcept;
  textview::Viewport::SingleLine SingleLineExtent();
  POINT PointOf(std::size_t position);
  /// Where the characters of a line stand, whichever way it reads.
  textview::LineGeometry GeometryOf(std::size_t line);
  /// The caret's x for a position, in line coordinates: 0 is the line's left edge, before scrolling and the margin.
  int XOfPosition(std::size_t position);
  /// The width of a line as drawn. Not the x of its end: a line ending in right-to-left text ends further left.
  int LineWidth(std::size_t line);
  void MeasureAllLines();
  void MeasureLinesFrom(std::size_t line);
  void SetScrollBar(int bar, SCROLLINFO& info);
  void OnPaint(HDC target, const RECT& area);
  void DrawLine(HDC dc, std::size_t line, int y, const RECT& area, COLORREF textColor);
  enum class ScrollBarUpdate { kNow, kWhenDue };
  void UpdateScrollBars(ScrollBarUpdate when);
  void BeforePaint();
  /// Scrolls by `dx` pixels and `dy` lines, kept within the text, as EM_LINESCROLL does after its conversion.
  void LineScroll(long long dx, long long dy);
  /// After a new size, font or rectangle no page starts past the last one; `pageLines` counts a page when given.
  void KeepViewWithinText(std::size_t pageLines = 0);
  LRESULT OnScrollMessage(UINT message, WPARAM request);
  LRESULT OnEmScroll(WORD action);
  void OnVerticalScroll(WPARAM request);
  void OnHorizontalScroll(WPARAM request);
  /// Where a thumb message asks to go on `bar`: the position, or the full tracking position while our own bar is
  /// dragged; without the bar (`withBar` unset), a percentage of `range`. Nothing when out of bounds.
  std::optional<long long> ThumbTarget(int bar, LONG_PTR withBar, long long range, WPARAM request) const;
  void OnWheel(short delta, WPARAM keys);
  void PlaceCaret();
  void Changed();

  // Input (Win32TextViewInput.cpp).
  void OnLeftButtonDown(LPARAM where, WPARAM keys);
  void OnLeftButtonDoubleClick();
  void OnMouseMove(LPARAM where);
  void OnLeftButtonUp();
  void OnSelectionTimer();
  void OnKeyDown(WPARAM key);
  LRESULT OnSysKeyDown(WPARAM key, LPARAM flags);
  void OnChar(wchar_t character);
  LRESULT OnGetDlgCode(LPARAM message) noexcept;
  /// A key the combo box's list handles (arrows, F4, page keys) when this is a combo box's edit field; true when
  /// passed on.
  bool PassToComboList(UINT message, WPARAM key) const noexcept;
  /// Moves the caret to `caret`; the anchor follows unless the selection is extended.
  enum class Selecting { kMove, kExtend };
  void MoveCaret(std::size_t caret, Selecting how);
  void OnKeyDownMoveSideways(WPARAM key, Selecting how, bool byWord);
  void OnKeyDownMoveUpOrDown(WPARAM key, Selecting how, bool control);
  /// The same x `dy` pixels higher or lower.
  void OnKeyDownMoveVertically(int dy, Selecting how);
  void OnKeyDownDelete(bool shift, bool control);
  void OnKeyDownReturn();
  /// Where the line breaker lets `line` break, as the edit control's word moves and double-click use it.
  const std::vector<bool>& SoftBreaksOf(std::size_t line);
  textview::SoftBreaksOfLine SoftBreaks();
  /// The position a click at a client point means, as the edit control reads a point (EM_CHARFROMPOS too).
  std::size_t PositionFromPoint(int x, int y);
  /// The nearest point of the text's rectangle.
  POINT IntoTextArea(POINT point);

  HWND window_ = nullptr;
  bool inCombo_ = false;  // the edit field of a combo box
  WindowSubclass subclass_;
  textview::TextDocument document_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  std::function<void()> onClick_;

  // Font and measures.
  HFONT font_ = nullptr;
  int lineHeight_ = 16;
  int averageCharWidth_ = 7;
  int letterWidth_ = 7;  // the average width of the Latin letters, the platform's unit for margins and tabs
  int margin_ = 3;       // left of the text
  int rightMargin_ = 3;
  int fontMargin_ = 3;   // what the font asks for on either side (EC_USEFONTINFO)
  RECT textArea_{};  // where the text is laid out and drawn: the platform's formatting rectangle
  std::unique_ptr<textview::CharWidths> widths_;
  std::shared_ptr<FontFallback> fallback_;  // the faces that draw what the font lacks
  int ascent_ = 13;
  int widestLine_ = 0;

  // What waits for the next paint.
  bool repaintPending_ = false;
  bool caretStale_ = true;
  bool scrollBarsStale_ = true;
  bool scrollBarTimer_ = false;
  ULONGLONG lastScrollBarUpdate_ = 0;

  textview::Viewport view_;
  int wheelRemainder_ = 0;

  // Mouse selection in progress.
  bool selecting_ = false;
  LPARAM lastMouse_ = 0;  // the pointer's client position in the last mouse message
  bool dialogMode_ = false;  // the dialog manager asked for the box's keys: Tab and Enter belong to it

  // Where lines may break on one line, as the line breaker found them; the line is forgotten when the text changes.
  std::size_t breaksLine_ = static_cast<std::size_t>(-1);
  std::vector<bool> breaks_;

  // Editing.
  std::size_t limit_ = kDefaultLimit;
  bool modified_ = false;
  textview::UndoStep undo_;
};

}  // namespace quillon::runtime::win32
