#pragma once
/// Where the characters of one line stand, whichever way it reads, for the caret, the mouse, the selection and the
/// drawing. A line that reads left to right is measured as it is asked (LineLayout: nothing is kept, which the
/// megabyte-long lines of binary data need); a line with right-to-left runs is laid out once, cell by cell, in the
/// order it is drawn (VisualLine).

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/textview/TextLayout.h"
#include "runtime/textview/VisualLine.h"

namespace quillon::runtime::textview {

class LineGeometry {
 public:
  /// A line that reads left to right.
  LineGeometry(std::wstring_view text, CharWidths& widths) noexcept : text_(text), widths_(widths) {}
  /// The runs of a line from left to right, as the platform orders them.
  using RunsOf = std::function<std::vector<VisualRun>(std::wstring_view text)>;
  /// A line holding right-to-left text, laid out when first asked where something stands on it.
  LineGeometry(std::wstring_view text, CharWidths& widths, RunsOf runsOf) noexcept;

  /// Whether the line reads left to right only: beyond its ends a click goes to them.
  bool LeftToRightOnly() const noexcept { return !runsOf_; }
  int Width();
  /// The caret's x before `column`. Inside a cluster of a left-to-right line the cluster's width is shared out
  /// among its code units, as the platform's control answers EM_POSFROMCHAR there.
  int XOf(std::size_t column);
  /// The position a click at `x` lands on (never inside a cluster).
  std::size_t ColumnAt(int x);
  /// The x ranges [left, right) the columns [from, to) cover, left to right.
  std::vector<std::pair<int, int>> Ranges(std::size_t from, std::size_t to);

  /// A code unit to draw and the advance it is drawn with.
  struct DrawnUnit {
    std::size_t column;
    int advance;
  };
  /// The units that reach into [fromX, toX], in drawn order, whole clusters only; `left` is where the first starts.
  std::vector<DrawnUnit> Drawn(int fromX, int toX, int& left);

 private:
  /// The right-to-left line laid out; nullptr for a line that reads left to right.
  const VisualLine* Visual();

  std::wstring_view text_;
  CharWidths& widths_;
  RunsOf runsOf_;
  std::optional<VisualLine> visual_;
};

}  // namespace quillon::runtime::textview
