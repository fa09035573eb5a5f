#include "runtime/textview/VisualLine.h"

#include <algorithm>

namespace quillon::runtime::textview {

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

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
      cellLeft_(text.size(), 0),
      cellWidth_(text.size(), 0),
      rightToLeft_(text.size(), 0) {
  if (tabWidth < 1) tabWidth = 1;
  advances.resize(length_, 0);
  if (length_ == 0) {
    runs_.clear();
    return;
  }
  if (!CoverOnce(runs_, length_)) runs_ = LeftToRight(length_);
  for (std::size_t i = 1; i < length_; ++i) {
    if (IsLowSurrogate(text[i]) && IsHighSurrogate(text[i - 1])) cellStart_[i] = 0;
  }
  visual_.reserve(length_);
  int x = 0;
  for (const VisualRun& run : runs_) {
    // Within a right-to-left run the cells follow each other from right to left: drawn left to right, the last
    // character comes first.
    for (std::size_t k = 0; k < run.end - run.start; ++k) {
      const std::size_t column = run.rightToLeft ? run.end - 1 - k : run.start + k;
      rightToLeft_[column] = run.rightToLeft ? 1 : 0;
      if (!IsCellStart(column)) continue;
      const int width = text[column] == L'\t' ? (x / tabWidth + 1) * tabWidth - x : std::max(0, advances[column]);
      cellLeft_[column] = x;
      cellWidth_[column] = width;
      visual_.push_back(column);
      x += width;
    }
  }
  width_ = x;
  // The second half of a pair stands where its pair does, with no width of its own.
  for (std::size_t i = 1; i < length_; ++i) {
    if (!IsCellStart(i)) cellLeft_[i] = cellLeft_[i - 1];
  }
}

std::size_t VisualLine::CellEnd(std::size_t column) const noexcept {
  return column + 1 < length_ && !IsCellStart(column + 1) ? column + 2 : column + 1;
}

int VisualLine::XOf(std::size_t column) const noexcept {
  if (length_ == 0) return 0;
  column = std::min(column, length_);
  if (column < length_ && !IsCellStart(column)) --column;
  if (column < length_) return rightToLeft_[column] ? cellLeft_[column] + cellWidth_[column] : cellLeft_[column];
  std::size_t last = length_ - 1;
  if (!IsCellStart(last)) --last;
  return rightToLeft_[last] ? cellLeft_[last] : cellLeft_[last] + cellWidth_[last];
}

std::size_t VisualLine::ColumnAt(int x) const noexcept {
  // Cells without width (marks, the empty line) are never hit; outside the line the nearest cell with width decides.
  const auto first = std::find_if(visual_.begin(), visual_.end(), [this](std::size_t c) { return cellWidth_[c] > 0; });
  if (first == visual_.end()) return length_;
  const auto last = std::find_if(visual_.rbegin(), visual_.rend(), [this](std::size_t c) { return cellWidth_[c] > 0; });
  std::size_t column = *first;
  bool leftHalf = true;
  if (x >= cellLeft_[*last] + cellWidth_[*last]) {
    column = *last;
    leftHalf = false;
  } else if (x >= cellLeft_[*first]) {
    column = *std::find_if(first, visual_.end(), [this, x](std::size_t c) {
      return cellWidth_[c] > 0 && x < cellLeft_[c] + cellWidth_[c];
    });
    const int width = cellWidth_[column];
    leftHalf = x < cellLeft_[column] + width / 2 + width % 2;
  }
  const bool leading = rightToLeft_[column] ? !leftHalf : leftHalf;
  if (leading) return column;
  // After a character is after the marks that sit on it too.
  std::size_t end = CellEnd(column);
  while (end < length_ && cellWidth_[end] == 0 && rightToLeft_[end] == rightToLeft_[column]) end = CellEnd(end);
  return end;
}

std::vector<std::pair<int, int>> VisualLine::Ranges(std::size_t from, std::size_t to) const {
  std::vector<std::pair<int, int>> ranges;
  for (const std::size_t column : visual_) {
    if (column < from || column >= to || cellWidth_[column] == 0) continue;
    const int left = cellLeft_[column];
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
  std::vector<VisualPiece> run;
  for (const VisualRun& r : runs_) {
    run.clear();
    for (std::size_t column = r.start; column < r.end; column = CellEnd(column)) {
      if (!IsCellStart(column)) continue;  // a run that starts inside a pair
      const bool joins = !run.empty() && cellWidth_[column] == 0;
      if (joins) {
        run.back().end = CellEnd(column);
        continue;
      }
      run.push_back(VisualPiece{column, CellEnd(column), cellLeft_[column], cellWidth_[column]});
    }
    if (r.rightToLeft) std::reverse(run.begin(), run.end());
    for (const VisualPiece& piece : run) {
      const bool inView = piece.left < toX && (piece.left + piece.width > fromX || (piece.width == 0 && piece.left >= fromX));
      if (inView) pieces.push_back(piece);
    }
  }
  return pieces;
}

}  // namespace quillon::runtime::textview
