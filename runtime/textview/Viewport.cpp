#include "runtime/textview/Viewport.h"

#include <algorithm>

namespace quillon::runtime::textview {

void Viewport::ScaleXOffset(int newAverage, int oldAverage) noexcept {
  if (oldAverage <= 0) return;
  // Rounded to the nearest pixel, as the platform's MulDiv does.
  const long long scaled = static_cast<long long>(xOffset_) * newAverage;
  xOffset_ = static_cast<int>((scaled + (scaled >= 0 ? oldAverage / 2 : -oldAverage / 2)) / oldAverage);
}

std::size_t Viewport::MaxFirstLine(const Extent& extent) noexcept {
  const long long last = static_cast<long long>(extent.lines) - extent.visibleLines;
  return last > 0 ? static_cast<std::size_t>(last) : 0;
}

Viewport::Scroll Viewport::LineScroll(Scroll scroll, const Extent& extent) noexcept {
  const long long dx = std::clamp<long long>(scroll.dx, -static_cast<long long>(xOffset_),
                                             static_cast<long long>(extent.widestLine) - xOffset_);
  const long long lastFirst = static_cast<long long>(MaxFirstLine(extent));
  const long long first = std::min(std::max<long long>(0, static_cast<long long>(firstLine_) + scroll.dy), lastFirst);
  const Scroll scrolled{dx, first - static_cast<long long>(firstLine_)};
  firstLine_ = static_cast<std::size_t>(first);
  xOffset_ += static_cast<int>(dx);
  return scrolled;
}

void Viewport::KeepWithinText(const Extent& extent) noexcept {
  firstLine_ = followsEnd_ ? MaxFirstLine(extent) : std::min(firstLine_, MaxFirstLine(extent));
  xOffset_ = std::clamp(xOffset_, 0, std::max(0, extent.widestLine - extent.width));
}

bool Viewport::ScrollShowing(std::size_t caretLine, int caretX, const Extent& extent, Scroll& scroll) const noexcept {
  const auto line = static_cast<long long>(caretLine);
  const auto first = static_cast<long long>(firstLine_);
  const long long visible = extent.visibleLines;
  scroll = Scroll{};
  if (line >= first + visible) scroll.dy = line - visible + 1 - first;
  if (line < first) scroll.dy = line - first;
  const long long x = static_cast<long long>(caretX) - xOffset_;  // from the text area's left edge
  const int step = std::max(1, extent.averageCharWidth);
  if (x < 0) scroll.dx = x - extent.width / 3 / step * step;
  if (x > extent.width) scroll.dx = x - 2 * extent.width / 3 / step * step;
  const bool pageNotFull = first > 0 && static_cast<long long>(extent.lines) - first < visible;
  if (scroll.dx == 0 && scroll.dy == 0 && !pageNotFull) return false;
  if (xOffset_ + scroll.dx + extent.width > extent.widestLine)
    scroll.dx = static_cast<long long>(extent.widestLine) - extent.width - xOffset_;
  return scroll.dx != 0 || scroll.dy != 0 || pageNotFull;
}

int Viewport::OffsetShowing(std::size_t column, const SingleLine& line) {
  // From the first column the text shows from its left edge, whichever way its first run reads; an empty text
  // shows from there too, though the column is kept, as the platform's control keeps it.
  if (column == 0 || line.length == 0) return 0;
  if (column <= line.length) return line.xOf(column);
  return line.width + static_cast<int>(column - line.length) * line.averageCharWidth;
}

void Viewport::ShowFromColumn(std::size_t column, const SingleLine& line) {
  firstColumn_ = column;
  xOffset_ = OffsetShowing(column, line);
}

std::size_t Viewport::ColumnShowing(int caretX, int width, const SingleLine& line) const {
  const auto caretAt = [&](std::size_t column) { return caretX - OffsetShowing(column, line); };
  const int x = caretAt(firstColumn_);
  if (x < 0 && firstColumn_ > 0) {
    // The nearest column left of the one in view that puts the caret at or beyond a third of the width.
    std::size_t low = 0;
    std::size_t high = firstColumn_ - 1;
    while (low < high) {
      const std::size_t middle = low + (high - low + 1) / 2;
      if (caretAt(middle) >= width / 3) {
        low = middle;
      } else {
        high = middle - 1;
      }
    }
    return low;
  }
  if (x <= width) return firstColumn_;
  // The nearest column right of the one in view that puts the caret within two thirds of the width, or the text's
  // end within the box.
  const auto shows = [&](std::size_t column) {
    return caretAt(column) <= width - width / 3 || line.width - OffsetShowing(column, line) <= width;
  };
  std::size_t high = firstColumn_ + 1;
  while (!shows(high)) high = firstColumn_ + (high - firstColumn_) * 2;
  std::size_t low = firstColumn_ + 1;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (shows(middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

}  // namespace quillon::runtime::textview
