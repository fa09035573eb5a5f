#pragma once
/// Where characters stand on a line of a text view: widths per character (asked of the platform once and kept),
/// tab stops, surrogate pairs, combining marks, and the caret's moves by character, word and line.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <unordered_map>

#include "runtime/textview/TextDocument.h"

namespace quillon::runtime::textview {

/// True for a nonspacing or enclosing mark or a variation selector: it belongs to the character before it, and the
/// caret never stands between them.
bool IsCombiningMark(char32_t character) noexcept;

/// How much of `text` fits in `limit` code units without splitting a surrogate pair.
std::size_t CodeUnitsWithin(std::wstring_view text, std::size_t limit) noexcept;

/// Advance widths of characters in one font, in pixels.
class CharWidths {
 public:
  /// Fills `widths` with the widths of the `count` characters from `first` on (all in the basic plane).
  using MeasureRange = std::function<void(char32_t first, std::size_t count, int* widths)>;
  /// The width of one character beyond the basic plane (written as a surrogate pair).
  using MeasureOne = std::function<int(char32_t character)>;

  /// `tabWidth` is the distance between tab stops; 0 makes a tab take no room.
  CharWidths(MeasureRange measureRange, MeasureOne measureOne, int tabWidth);

  int Of(char32_t character);
  /// The widths of U+0000 to U+00FF, indexed by character: most text is in it, and a line is summed from it directly.
  const int* Latin1();
  /// The widest character of U+0000 to U+00FF.
  int WidestLatin1();
  int TabWidth() const noexcept { return tabWidth_; }

 private:
  static constexpr std::size_t kBlock = 256;
  MeasureRange measureRange_;
  MeasureOne measureOne_;
  int tabWidth_;
  const int* Block(char32_t character);

  std::array<std::unique_ptr<int[]>, 0x10000 / kBlock> blocks_;
  std::unordered_map<char32_t, int> beyondBasicPlane_;
  int widestLatin1_ = -1;
};

/// Positions on one line: x is measured from the line's left edge, columns count code units from the line's start.
/// A surrogate pair is one character, and a character with the combining marks after it one cluster: clicks and the
/// first drawn column never fall inside either.
class LineLayout {
 public:
  explicit LineLayout(CharWidths& widths) noexcept : widths_(widths) {}

  /// The width of the character that starts at `column` when it starts at `x`; 0 for the second half of a pair.
  int Advance(std::wstring_view line, std::size_t column, int x);
  int XOf(std::wstring_view line, std::size_t column);
  int Width(std::wstring_view line) { return XOf(line, line.size()); }
  /// True when the line cannot be wider than `width` without measuring it: it is Latin-1 without tabs, and as many
  /// of its widest characters would not pass `width`. Telling costs a fraction of measuring.
  bool SurelyWithin(std::wstring_view line, int width);
  /// The cluster edge nearest to `x` (a click on a cluster's right half goes after it).
  std::size_t ColumnAt(std::wstring_view line, int x);
  /// The first cluster that reaches past `x`, and the x where it starts.
  std::size_t FirstColumnReaching(std::wstring_view line, int x, int& startX);

 private:
  CharWidths& widths_;
};

/// The caret's moves over a document. Positions never fall inside a CR LF, a surrogate pair or between a character
/// and the combining marks (or zero-width joiner) after it; a mark with no character before it on its line stands
/// for itself.
std::size_t NextPosition(const TextDocument& document, std::size_t position);
std::size_t PreviousPosition(const TextDocument& document, std::size_t position);
/// The code point before `position`, as Backspace removes it: one mark of a cluster, a whole surrogate pair, or a
/// whole CR LF.
std::size_t PreviousCodePoint(const TextDocument& document, std::size_t position);
/// Ctrl+Right: to the start of the next word (or the line's end); Ctrl+Left: to the start of this or the last word.
std::size_t NextWordStart(const TextDocument& document, std::size_t position);
std::size_t PreviousWordStart(const TextDocument& document, std::size_t position);
/// The word (a run of letters, digits and underscores, or else of other non-blank characters) around a position,
/// as a double-click selects it: [start, end).
std::pair<std::size_t, std::size_t> WordAround(const TextDocument& document, std::size_t position);
/// A position moved off the LF of a CR LF, the low half of a surrogate pair or the marks of a cluster, back to the
/// boundary before it.
std::size_t SnapToBoundary(const TextDocument& document, std::size_t position);

}  // namespace quillon::runtime::textview
