#pragma once
/// Where the characters of one line stand when runs of it read right to left (Hebrew, Arabic) among left-to-right
/// ones: the platform says which runs there are and in which order they show; this lays out each character's cell
/// from its width and answers the caret's, the mouse's and the selection's questions in that drawn order.

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::runtime::textview {

/// A run of a line: the columns [start, end) in one direction.
struct VisualRun {
  std::size_t start = 0;
  std::size_t end = 0;
  bool rightToLeft = false;
};

/// A cell to draw from `left` on: the units [start, end) of one cluster (a character with the combining marks after
/// it, or a surrogate pair), in logical order, each at its own advance, whatever the run's direction.
struct VisualPiece {
  std::size_t start = 0;
  std::size_t end = 0;
  int left = 0;
  int width = 0;
};

/// Cells are the caret's clusters (as CaretStops.h has them): the caret stands only between cells.
class VisualLine {
 public:
  /// `advances` holds one width per code unit of `text` (ignored for tabs and for the second half of a surrogate
  /// pair, whose first half carries the pair's width). `runsInVisualOrder` lists the runs from left to right; when
  /// they do not cover the line exactly once, the line is laid out as one left-to-right run. A tab reaches to the
  /// next multiple of `tabWidth` from where its cell is drawn; with no tab stops (0) it takes no room.
  VisualLine(std::wstring_view text, std::vector<int> advances, std::vector<VisualRun> runsInVisualOrder, int tabWidth);

  /// One left-to-right run over the whole line.
  static std::vector<VisualRun> LeftToRight(std::size_t length) { return {VisualRun{0, length, false}}; }

  int Width() const noexcept { return width_; }
  std::size_t Length() const noexcept { return length_; }
  const std::vector<VisualRun>& Runs() const noexcept { return runs_; }

  /// True where a cell starts: the caret may stand there.
  bool IsCellStart(std::size_t column) const noexcept { return column < length_ && cellStart_[column] != 0; }
  /// The left edge and width of the cell starting at `column`.
  int CellLeft(std::size_t column) const noexcept { return left_[column]; }
  int CellWidth(std::size_t column) const noexcept { return cellWidth_[column]; }
  /// The advance a unit is drawn with (a tab's as laid out; 0 for the second half of a pair).
  int Advance(std::size_t column) const noexcept { return advances_[column]; }

  /// The caret's x for a position: the leading edge of the cell after it in the direction of that cell's run; at
  /// the line's end, the trailing edge of the last cell.
  int XOf(std::size_t column) const noexcept;
  /// The position a click at `x` lands on: before a cell when on its leading half, after it when on its trailing
  /// half. Outside the line, the nearest cell decides.
  std::size_t ColumnAt(int x) const noexcept;
  /// The x ranges [left, right) covering the cells starting in [from, to), left to right, adjacent ones merged.
  std::vector<std::pair<int, int>> Ranges(std::size_t from, std::size_t to) const;
  /// The cells to draw that reach into [fromX, toX), left to right.
  std::vector<VisualPiece> Pieces(int fromX, int toX) const;

 private:
  /// The column after the cell starting at `column`.
  std::size_t CellEnd(std::size_t column) const noexcept;

  std::size_t length_;
  std::vector<unsigned char> cellStart_;
  std::vector<VisualRun> runs_;
  std::vector<int> advances_;
  std::vector<int> left_;  // of the cell for a cell's start, of the unit for the others
  std::vector<int> cellWidth_;
  std::vector<unsigned char> rightToLeft_;
  std::vector<std::size_t> visual_;  // the columns starting a cell, left to right
  int width_ = 0;
};

}  // namespace quillon::runtime::textview
