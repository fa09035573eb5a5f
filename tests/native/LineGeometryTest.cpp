// One line's geometry, either direction: what the view asks of a line, answered once for both.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "runtime/textview/LineGeometry.h"

namespace quillon::runtime::textview {
namespace {

std::vector<std::size_t> ColumnsOf(const std::vector<LineGeometry::DrawnUnit>& units) {
  std::vector<std::size_t> columns;
  for (const LineGeometry::DrawnUnit& unit : units) columns.push_back(unit.column);
  return columns;
}

TEST(LineGeometry, SharesAClustersWidthInsideItDrawsWholeClustersAndLaysOutRightToLeftOnlyWhenAsked) {
  // Every character of the basic plane 10 wide, beyond it 20.
  CharWidths widths([](char32_t, std::size_t count, int* out) { std::fill(out, out + count, 10); },
                    [](char32_t) { return 20; }, 0);
  // Woman, joiner, laptop: one cluster 50 wide, its five units sharing it out.
  LineGeometry joined(L"\xD83D\xDC69\x200D\xD83D\xDCBB", widths);
  EXPECT_TRUE(joined.LeftToRightOnly());
  for (const auto& [column, x] : {std::pair{1u, 10}, {2u, 20}, {4u, 40}, {5u, 50}}) EXPECT_EQ(joined.XOf(column), x);
  EXPECT_EQ(joined.ColumnAt(24), 0u);
  EXPECT_EQ(joined.ColumnAt(25), 5u);

  // Drawn from where the view starts to past its right edge, but a mark goes with its character.
  LineGeometry marked(L"ab\x0301" L"cd", widths);
  int left = -1;
  EXPECT_EQ(ColumnsOf(marked.Drawn(15, 12 + 10, left)), (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(left, 10);
  EXPECT_EQ(ColumnsOf(marked.Drawn(0, 12, left)), (std::vector<std::size_t>{0, 1, 2}));

  // Alef, bet: the runs are asked for once, when something stands on the line, not for its width.
  int asked = 0;
  LineGeometry hebrew(L"\u05D0\u05D1", widths, [&](std::wstring_view) {
    ++asked;
    return std::vector<VisualRun>{{0, 2, true}};
  });
  EXPECT_EQ(hebrew.Width(), 20);
  EXPECT_EQ(asked, 0);
  EXPECT_FALSE(hebrew.LeftToRightOnly());
  EXPECT_EQ(hebrew.XOf(0), 20);
  EXPECT_EQ(hebrew.Ranges(0, 1), (std::vector<std::pair<int, int>>{{10, 20}}));
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace quillon::runtime::textview
