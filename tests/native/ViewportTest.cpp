// The view's scroll arithmetic: kept within the text, following the end, and the scroll that shows the caret.
#include <gtest/gtest.h>

#include "runtime/textview/Viewport.h"

namespace quillon::runtime::textview {
namespace {

TEST(Viewport, ScrollsStayWithinTheTextAndTheCaretIsShownAThirdInsideTheEdgeItCrossed) {
  // 100 lines, 10 in view, 300 pixels wide over a widest line of 1000, characters 7 wide.
  const Viewport::Extent extent{100, 10, 300, 1000, 7};
  Viewport view;
  const Viewport::Scroll scrolled = view.LineScroll({5000, 500}, extent);
  EXPECT_EQ(scrolled.dx, 1000);
  EXPECT_EQ(scrolled.dy, 90);
  EXPECT_TRUE(view.ShowsLastLine(extent));
  view.KeepWithinText({50, 10, 300, 400, 7});  // the text and its widest line shrank; the view follows the end
  EXPECT_EQ(view.FirstLine(), 40u);
  EXPECT_EQ(view.XOffset(), 100);
  // A text area cut above its first line holds no page: the view may scroll past the last line, one further each
  // line it is cut above.
  EXPECT_EQ(view.LineScroll({0, 500}, {50, 0, 300, 400, 7}).dy, 10);
  EXPECT_EQ(view.LineScroll({0, 500}, {50, -2, 300, 400, 7}).dy, 2);
  view.LineScroll({0, -12}, extent);

  // A caret below the page scrolls it a line past; left of the text area, back by a third of the width in whole
  // characters (98 pixels); a caret in view needs nothing.
  Viewport::Scroll scroll;
  ASSERT_TRUE(view.ScrollShowing(55, 150, extent, scroll));
  EXPECT_EQ(scroll.dy, 6);
  EXPECT_EQ(scroll.dx, 0);
  ASSERT_TRUE(view.ScrollShowing(45, 50, extent, scroll));
  EXPECT_EQ(scroll.dx, 50 - 100 - 98);
  EXPECT_FALSE(view.ScrollShowing(45, 150, extent, scroll));

  // A single line of 40 characters 10 wide, 90 wide in view: the first column that shows the caret, worked out
  // without moving the view.
  const Viewport::SingleLine line{40, 400, 10, [](std::size_t column) { return static_cast<int>(column) * 10; }};
  Viewport single;
  EXPECT_EQ(single.ColumnShowing(200, 90, line), 14u) << "the caret two thirds into the width";
  EXPECT_EQ(single.ColumnShowing(400, 90, line), 31u) << "the text's end within the box";
  EXPECT_EQ(single.FirstColumn(), 0u);
  single.ShowFromColumn(14, line);
  EXPECT_EQ(single.ColumnShowing(50, 90, line), 2u) << "back to a third of the width";
}

}  // namespace
}  // namespace quillon::runtime::textview
