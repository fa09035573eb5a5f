#pragma once
/// What a text view shows of its text: the first line in view, the pixels the text is scrolled to the left by and,
/// in a single-line box, which scrolls by whole characters, the first character in view; and whether the view
/// follows text appended at the end. Only the arithmetic: the view measures the text and its window and passes the
/// measures in, so that nothing here changes while a position is being worked out.

#include <cstddef>
#include <functional>

namespace quillon::runtime::textview {

class Viewport {
 public:
  /// The measures of a multi-line view.
  struct Extent {
    std::size_t lines = 1;
    long long visibleLines = 1;  // whole lines the text area holds (none or fewer when cut above its first line)
    int width = 0;               // of the text area
    int widestLine = 0;
    int averageCharWidth = 1;
  };
  /// The measures of a single-line view: its length, its width as drawn, and the x of a column on it.
  struct SingleLine {
    std::size_t length = 0;
    int width = 0;
    int averageCharWidth = 1;
    std::function<int(std::size_t column)> xOf;
  };
  struct Scroll {
    long long dx = 0;  // pixels
    long long dy = 0;  // lines
  };

  std::size_t FirstLine() const noexcept { return firstLine_; }
  int XOffset() const noexcept { return xOffset_; }
  std::size_t FirstColumn() const noexcept { return firstColumn_; }
  bool FollowsEnd() const noexcept { return followsEnd_; }
  void SetFollowsEnd(bool follows) noexcept { followsEnd_ = follows; }
  /// A new font keeps the view on the same characters: the offset scaled from the old average width to the new.
  void ScaleXOffset(int newAverage, int oldAverage) noexcept;
  /// The top of the text, following the end.
  void Reset() noexcept { *this = Viewport(); }

  static std::size_t MaxFirstLine(const Extent& extent) noexcept;
  bool ShowsLastLine(const Extent& extent) const noexcept { return firstLine_ >= MaxFirstLine(extent); }

  /// Scrolls by `scroll`, kept within the text: sideways from 0 to the widest line, down to the last page. What it
  /// scrolled by.
  Scroll LineScroll(Scroll scroll, const Extent& extent) noexcept;
  /// After appended text: to the last page when following the end.
  void FollowEnd(const Extent& extent) noexcept {
    if (followsEnd_) firstLine_ = MaxFirstLine(extent);
  }
  /// After a new size or font: no page starts past the last one (the last when following the end), and no scroll
  /// goes past the widest line.
  void KeepWithinText(const Extent& extent) noexcept;
  /// The scroll that brings a caret at `caretX` (line coordinates) on `caretLine` into view: a line at a time, and
  /// sideways until it stands a third of the width inside the edge it crossed, in whole average characters, no
  /// further than the widest line allows. Also a page that is not full is scrolled back (by a zero scroll).
  bool ScrollShowing(std::size_t caretLine, int caretX, const Extent& extent, Scroll& scroll) const noexcept;

  /// The offset that shows a single line from `column` on; past its end each column counts an average character.
  static int OffsetShowing(std::size_t column, const SingleLine& line);
  void ShowFromColumn(std::size_t column, const SingleLine& line);
  /// The first column that shows a caret at `caretX` on a single line `width` wide: the one in view when it shows
  /// it, else the nearest that puts it a third of the width inside the edge it crossed (or the text's end within).
  std::size_t ColumnShowing(int caretX, int width, const SingleLine& line) const;

 private:
  std::size_t firstLine_ = 0;
  int xOffset_ = 0;
  std::size_t firstColumn_ = 0;
  bool followsEnd_ = true;
};

}  // namespace quillon::runtime::textview
