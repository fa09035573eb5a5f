#include "runtime/textview/VisualLine.h"

#include <algorithm>

#include "runtime/textview/CaretStops.h"
#include "support/Utf16.h"

namespace quillon::runtime::textview {

namespace {

/// True when the runs cover [0, length) exactly once, each with at least one column.
bool CoverOnce(std::vector<VisualRun> runs, std::size_t length) {
  std::sort(runs.begin(), runs.end(), [](const VisualRun& a, const VisualRun& b) { return a.start < b.start; });
  std::size_t next = 0;
  for (const VisualRun& run : runs) {
    if (run.start != next || run.end <= run.start) return false;
    next = run.end;
  }
  return next == length;
}

}  // namespace

VisualLine::VisualLine(std::wstring_view text, std::vector<int> advances, std::vector<VisualRun> runsInVisualOrder,
                       int tabWidth)
    : length_(text.size()),
      cellStart_(text.size(), 1),
      runs_(std::move(runsInVisualOrder)),
      advances_(std::move(advances)),
      left_(text.size(), 0),
      cellWidth_(text.size(), 0),
      rightToLeft_(text.size(), 0) {
  if (tabWidth < 0) tabWidth = 0;
  advances_.resize(length_, 0);
  if (length_ == 0) {
    runs_.clear();
    return;
  }
  if (!CoverOnce(runs_, length_)) runs_ = LeftToRight(length_);
  // Cells are the caret's clusters; the second half of a pair draws nothing of its own.
  for (std::size_t i = 0; i < length_; ++i) {
    cellStart_[i] = IsClusterStart(text, i) ? 1 : 0;
    if (i > 0 && support::IsLowSurrogate(text[i]) && support::IsHighSurrogate(text[i - 1])) advances_[i] = 0;
  }
  // A cluster never spans two runs: a run starting inside one starts a cell of its own.
  for (const VisualRun& run : runs_) cellStart_[run.start] = 1;

  visual_.reserve(length_);
  int x = 0;
  for (const VisualRun& run : runs_) {
    // Within a right-to-left run the cells follow each other from right to left: drawn left to right, the last
    // cell comes first, its units still in their own order.
    std::size_t k = 0;
    while (k < run.end - run.start) {
      std::size_t start = run.start + k;
      if (run.rightToLeft) {
        start = run.end - 1 - k;
        while (start > run.start && !cellStart_[start]) --start;
      }
      std::size_t end = start + 1;
      while (end < run.end && !cellStart_[end]) ++end;
      left_[start] = x;
      for (std::size_t column = start; column < end; ++column) {
        rightToLeft_[column] = run.rightToLeft ? 1 : 0;
        if (text[column] == L'\t') advances_[column] = tabWidth > 0 ? (x / tabWidth + 1) * tabWidth - x : 0;
        advances_[column] = std::max(0, advances_[column]);
        left_[column] = x;
        x += advances_[column];
      }
      cellWidth_[start] = x - left_[start];
      visual_.push_back(start);
      k += end - start;
    }
  }
  width_ = x;
}

std::size_t VisualLine::CellEnd(std::size_t column) const noexcept {
  do ++column;
  while (column < length_ && !cellStart_[column]);
  return column;
}

int VisualLine::XOf(std::size_t column) const noexcept {
  if (length_ == 0) return 0;
  column = std::min(column, length_);
  while (column < length_ && !IsCellStart(column)) --column;
  if (column < length_) return rightToLeft_[column] ? left_[column] + cellWidth_[column] : left_[column];
  std::size_t last = length_ - 1;
  while (!IsCellStart(last)) --last;
  return rightToLeft_[last] ? left_[last] : left_[last] + cellWidth_[last];
}

std::size_t VisualLine::ColumnAt(int x) const noexcept {
  // Cells without width (a lone mark, the empty line) are never hit; outside the line the nearest cell with width
  // decides.
  const auto first = std::find_if(visual_.begin(), visual_.end(), [this](std::size_t c) { return cellWidth_[c] > 0; });
  if (first == visual_.end()) return x <= 0 ? 0 : length_;
  const auto last = std::find_if(visual_.rbegin(), visual_.rend(), [this](std::size_t c) { return cellWidth_[c] > 0; });
  // Left of a line that starts reading left to right is its start, even before cells without width.
  if (x < left_[*first] && !rightToLeft_[visual_.front()] && x < 0) return visual_.front();
  // Right of a line that ends reading left to right is its end, after cells without width too.
  if (x > left_[*last] + cellWidth_[*last] && !rightToLeft_[visual_.back()]) return length_;
  std::size_t column = *first;
  bool leftHalf = true;
  if (x >= left_[*last] + cellWidth_[*last]) {
    column = *last;
    leftHalf = false;
  } else if (x >= left_[*first]) {
    // A point on the edge where left-to-right cells without width stand lands before them.
    column = *std::find_if(visual_.begin(), visual_.end(), [this, x](std::size_t c) {
      return cellWidth_[c] > 0 ? x < left_[c] + cellWidth_[c] : !rightToLeft_[c] && x == left_[c];
    });
    if (cellWidth_[column] == 0) return column;
    const int width = cellWidth_[column];
    leftHalf = x < left_[column] + width / 2 + width % 2;
  }
  const bool leading = rightToLeft_[column] ? !leftHalf : leftHalf;
  if (leading) return column;
  // After a cell is before any cells without width that follow it (a tab with no tab stops), as the platform's
  // control places the caret.
  return CellEnd(column);
}

std::vector<std::pair<int, int>> VisualLine::Ranges(std::size_t from, std::size_t to) const {
  std::vector<std::pair<int, int>> ranges;
  for (const std::size_t column : visual_) {
    if (column < from || column >= to || cellWidth_[column] == 0) continue;
    const int left = left_[column];
    const int right = left + cellWidth_[column];
    if (!ranges.empty() && ranges.back().second == left) {
      ranges.back().second = right;
    } else {
      ranges.emplace_back(left, right);
    }
  }
  return ranges;
}

std::vector<VisualPiece> VisualLine::Pieces(int fromX, int toX) const {
  std::vector<VisualPiece> pieces;
  for (const std::size_t column : visual_) {
    const VisualPiece piece{column, CellEnd(column), left_[column], cellWidth_[column]};
    if (piece.left >= toX) break;
    if (piece.left + piece.width > fromX || (piece.width == 0 && piece.left >= fromX)) pieces.push_back(piece);
  }
  return pieces;
}

}  // namespace quillon::runtime::textview
