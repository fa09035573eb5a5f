#include "runtime/textview/LineGeometry.h"

#include <utility>

#include "runtime/textview/CaretStops.h"

namespace quillon::runtime::textview {

namespace {

/// The width of each unit of a line in the face that draws it; a tab's comes from where it is drawn.
std::vector<int> AdvancesOf(std::wstring_view text, CharWidths& widths) {
  LineLayout layout(widths);
  std::vector<int> advances(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) advances[i] = text[i] == L'\t' ? 0 : layout.Advance(text, i, 0);
  return advances;
}

}  // namespace

LineGeometry::LineGeometry(std::wstring_view text, CharWidths& widths, RunsOf runsOf) noexcept
    : text_(text), widths_(widths), runsOf_(std::move(runsOf)) {}

const VisualLine* LineGeometry::Visual() {
  if (!runsOf_) return nullptr;
  if (!visual_) visual_.emplace(text_, AdvancesOf(text_, widths_), runsOf_(text_), widths_.TabWidth());
  return &*visual_;
}

int LineGeometry::Width() {
  // Only a tab's width depends on the order the runs are drawn in: the plain sum costs less.
  if (runsOf_ && text_.find(L'\t') != std::wstring_view::npos) return Visual()->Width();
  return LineLayout(widths_).Width(text_);
}

int LineGeometry::XOf(std::size_t column) {
  if (const VisualLine* visual = Visual()) return visual->XOf(column);
  LineLayout layout(widths_);
  if (column < text_.size() && !IsClusterStart(text_, column)) {
    const std::size_t first = PreviousClusterStart(text_, column);
    const std::size_t end = NextClusterStart(text_, first);
    const int left = layout.XOf(text_, first);
    const int right = layout.XOf(text_, end);
    return left + static_cast<int>(static_cast<long long>(right - left) * static_cast<long long>(column - first) /
                                   static_cast<long long>(end - first));
  }
  return layout.XOf(text_, column);
}

std::size_t LineGeometry::ColumnAt(int x) {
  if (const VisualLine* visual = Visual()) return visual->ColumnAt(x);
  return LineLayout(widths_).ColumnAt(text_, x);
}

std::vector<std::pair<int, int>> LineGeometry::Ranges(std::size_t from, std::size_t to) {
  if (to <= from) return {};
  if (const VisualLine* visual = Visual()) return visual->Ranges(from, to);
  LineLayout layout(widths_);
  return {{layout.XOf(text_, from), layout.XOf(text_, to)}};
}

std::vector<LineGeometry::DrawnUnit> LineGeometry::Drawn(int fromX, int toX, int& left) {
  std::vector<DrawnUnit> units;
  if (const VisualLine* visual = Visual()) {
    const std::vector<VisualPiece> pieces = visual->Pieces(fromX, toX + 1);
    left = pieces.empty() ? 0 : pieces.front().left;
    for (const VisualPiece& piece : pieces) {
      for (std::size_t column = piece.start; column < piece.end; ++column)
        units.push_back({column, visual->Advance(column)});
    }
    return units;
  }
  LineLayout layout(widths_);
  int x = 0;
  const std::size_t first = layout.FirstColumnReaching(text_, fromX, x);
  left = x;
  for (std::size_t column = first; column < text_.size(); ++column) {
    const int advance = layout.Advance(text_, column, x);
    // Past the right edge, but never inside a cluster: a mark is drawn with its character.
    if (x > toX && IsClusterStart(text_, column)) break;
    units.push_back({column, advance});
    x += advance;
  }
  return units;
}

}  // namespace quillon::runtime::textview
