#pragma once
/// Where characters stand on a line of a text view: widths per character (asked of the platform once and kept),
/// tab stops, and clusters (CaretStops.h) that a click or the first drawn column never splits.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace quillon::runtime::textview {

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
/// Clicks and the first drawn column never fall inside a cluster.
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

}  // namespace quillon::runtime::textview
