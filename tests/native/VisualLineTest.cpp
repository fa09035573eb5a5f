// Lines with right-to-left runs: where the cells, the caret, clicks and the selection fall once the runs are drawn
// in their visual order, and, for lines that read left to right only, the same answers as the plain line layout.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "runtime/textview/TextLayout.h"
#include "runtime/textview/VisualLine.h"

namespace quillon::runtime::textview {
namespace {

using Ranges = std::vector<std::pair<int, int>>;
using Ints = std::vector<int>;

/// Each column's cell left edge, or its width, or (up to the length) each position's caret x.
Ints Each(const VisualLine& line, int (VisualLine::*of)(std::size_t) const, std::size_t extra = 0) {
  Ints values;
  for (std::size_t column = 0; column < line.Length() + extra; ++column) values.push_back((line.*of)(column));
  return values;
}
Ints Lefts(const VisualLine& line) { return Each(line, &VisualLine::CellLeft); }
Ints Widths(const VisualLine& line) { return Each(line, &VisualLine::CellWidth); }
Ints Carets(const VisualLine& line) { return Each(line, &VisualLine::XOf, 1); }

std::vector<std::size_t> PieceStarts(const std::vector<VisualPiece>& pieces) {
  std::vector<std::size_t> starts;
  for (const VisualPiece& piece : pieces) starts.push_back(piece.start);
  return starts;
}

/// Each position: the x where its caret stands, then a click just inside that edge of the character after it
/// lands back on it.
void ExpectClicksOnLeadingEdgesComeBack(const VisualLine& line) {
  for (std::size_t column = 0; column < line.Length(); ++column) {
    if (line.CellWidth(column) < 2) continue;  // the second half of a pair; marks
    const int x = line.XOf(column);
    const bool rightToLeft = x != line.CellLeft(column);
    EXPECT_EQ(line.ColumnAt(rightToLeft ? x - 1 : x), column) << column;
  }
}

// "ab", then Hebrew alef, bet, gimel, then "cd": the Hebrew run shows reversed between the two Latin ones.
TEST(VisualLine, MixedLineHasCellsCaretsAndClicksInDrawnOrder) {
  const std::wstring text = L"ab\u05D0\u05D1\u05D2cd";
  const VisualLine line(text, {5, 6, 7, 8, 9, 3, 4}, {{0, 2, false}, {2, 5, true}, {5, 7, false}}, 32);
  EXPECT_EQ(line.Width(), 42);
  // Cells: a [0,5) b [5,11) gimel [11,20) bet [20,28) alef [28,35) c [35,38) d [38,42).
  EXPECT_EQ(Lefts(line), (Ints{0, 5, 28, 20, 11, 35, 38}));

  // The caret before a Hebrew letter stands at its right edge; after the last character, at d's right edge.
  EXPECT_EQ(Carets(line), (Ints{0, 5, 35, 28, 20, 35, 38, 42}));

  // A click on a Hebrew letter's right half lands before it, on its left half after it: gimel's left and right
  // halves, alef's, then c's; beyond either end, the nearest cell decides.
  const std::pair<int, std::size_t> clicks[] = {{12, 5}, {18, 4}, {29, 3}, {34, 2}, {36, 5}, {37, 6}, {-20, 0}, {500, 7}};
  for (const auto& [x, column] : clicks) EXPECT_EQ(line.ColumnAt(x), column) << x;
  ExpectClicksOnLeadingEdgesComeBack(line);

  // A selection from b into the Hebrew run covers b and, apart from it, the run's right end.
  EXPECT_EQ(line.Ranges(1, 4), (Ranges{{5, 11}, {20, 35}}));
  // From inside the Hebrew run into the Latin after it: gimel, then c and d beside it.
  EXPECT_EQ(line.Ranges(4, 7), (Ranges{{11, 20}, {35, 42}}));
  EXPECT_EQ(line.Ranges(0, 7), (Ranges{{0, 42}}));
  EXPECT_TRUE(line.Ranges(3, 3).empty());

  // Drawing goes left to right: a, b, then the Hebrew from its last letter, then c, d.
  EXPECT_EQ(PieceStarts(line.Pieces(0, 42)), (std::vector<std::size_t>{0, 1, 4, 3, 2, 5, 6}));
  // Only what reaches into the view, including a cell cut by either edge.
  EXPECT_EQ(PieceStarts(line.Pieces(22, 36)), (std::vector<std::size_t>{3, 2, 5}));
}

TEST(VisualLine, RightToLeftOnlyLineStartsAtItsRightEdgeAndEndsAtItsLeft) {
  const std::wstring text = L"\u05E9\u05DC\u05D5\u05DD";
  const VisualLine line(text, {7, 6, 3, 8}, {{0, 4, true}}, 32);
  EXPECT_EQ(Carets(line), (Ints{24, 17, 11, 8, 0}));
  EXPECT_EQ(line.ColumnAt(-3), 4u);
  EXPECT_EQ(line.ColumnAt(100), 0u);
  ExpectClicksOnLeadingEdgesComeBack(line);

  // Runs that do not cover the line once are not trusted: it reads left to right.
  for (const std::vector<VisualRun>& runs : {std::vector<VisualRun>{}, std::vector<VisualRun>{{0, 3, true}},
                                             std::vector<VisualRun>{{0, 3, true}, {2, 4, false}}}) {
    const VisualLine fallback(text, {7, 6, 3, 8}, runs, 32);
    EXPECT_EQ(Carets(fallback), (Ints{0, 7, 13, 16, 24}));
  }

  const VisualLine empty(L"", {}, {}, 32);
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_EQ(empty.XOf(0), 0);
  EXPECT_EQ(empty.ColumnAt(10), 0u);
  EXPECT_TRUE(empty.Pieces(0, 100).empty());
}

TEST(VisualLine, TabsReachTheNextStopFromWhereTheyAreDrawnInEitherDirection) {
  // (Left to right, tabs are held to the line layout by the last test.) Right to left: bet is drawn first, at 0, so the tab reaches from 7 to 8 and alef follows it.
  const VisualLine rtl(L"\u05D0\t\u05D1", {7, 99, 7}, {{0, 3, true}}, 8);
  EXPECT_EQ(Lefts(rtl), (Ints{8, 7, 0}));
  EXPECT_EQ(Widths(rtl), (Ints{7, 1, 7}));
  EXPECT_EQ(Carets(rtl), (Ints{15, 8, 7, 0}));  // before the tab: its right edge

  // After a right-to-left run of 10 pixels the tab of the Latin run goes from 10 to 16.
  const VisualLine mixed(L"\u05D0\u05D1\tx", {5, 5, 99, 4}, {{0, 2, true}, {2, 4, false}}, 16);
  EXPECT_EQ(Lefts(mixed), (Ints{5, 0, 10, 16}));
  EXPECT_EQ(Widths(mixed), (Ints{5, 5, 6, 4}));
  EXPECT_EQ(Carets(mixed), (Ints{10, 5, 10, 16, 20}));

  // Without tab stops (a single-line box) a tab takes no room: alef's left half lands after alef, before the tab;
  // bet's right half before bet, after the tab.
  const VisualLine single(L"\u05D0\t\u05D1", {7, 99, 7}, {{0, 3, true}}, 0);
  EXPECT_EQ(Widths(single), (Ints{7, 0, 7}));
  EXPECT_EQ(single.ColumnAt(8), 1u);
  EXPECT_EQ(single.ColumnAt(6), 2u);
  EXPECT_EQ(single.ColumnAt(12), 0u);
}

TEST(VisualLine, SurrogatePairsAndMarksStayWithTheirCharacter) {
  // Alef with a mark on it, then a pair beyond the basic plane, then bet, all one right-to-left run.
  const std::wstring text = L"\u05D0\u05B8\xD802\xDD00\u05D1";
  ASSERT_EQ(text.size(), 5u);
  const VisualLine line(text, {7, 0, 12, 0, 6}, {{0, 5, true}}, 32);
  // Cells from the left: bet [0,6), the pair [6,18), the mark at 18, alef [18,25).
  EXPECT_EQ(Widths(line), (Ints{7, 0, 12, 0, 6}));
  const Ints lefts = Lefts(line);
  EXPECT_EQ((Ints{lefts[0], lefts[2], lefts[4]}), (Ints{18, 6, 0}));
  // The caret never stands inside the cluster or the pair: there it stands where they start.
  EXPECT_EQ(Carets(line), (Ints{25, 25, 18, 18, 6, 0}));
  // A click on alef's left half lands after it and after its mark; on the pair's left half, after the whole pair.
  EXPECT_EQ(line.ColumnAt(19), 2u);
  EXPECT_EQ(line.ColumnAt(7), 4u);
  EXPECT_EQ(line.ColumnAt(17), 2u);
  // The mark is drawn after alef and the pair as one piece, whatever the run's direction.
  std::vector<std::vector<int>> pieces;  // start, end, left, width
  for (const VisualPiece& piece : line.Pieces(0, 100))
    pieces.push_back({static_cast<int>(piece.start), static_cast<int>(piece.end), piece.left, piece.width});
  EXPECT_EQ(pieces, (std::vector<std::vector<int>>{{4, 5, 0, 6}, {2, 4, 6, 12}, {0, 2, 18, 7}}));
  // A selection of the pair alone covers its cell.
  EXPECT_EQ(line.Ranges(2, 4), (Ranges{{6, 18}}));
}

// Random left-to-right lines of letters, tabs, pairs, marks and joiners, with tab stops and without: the same x for
// every position between clusters and the same position for every click as the plain layout.
TEST(VisualLine, LeftToRightLinesAgreeWithTheLineLayout) {
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  auto widthOf = [](char32_t c) { return static_cast<int>(c % 7); };
  auto measure = [&](char32_t first, std::size_t count, int* out) {
    for (std::size_t i = 0; i < count; ++i) out[i] = widthOf(first + static_cast<char32_t>(i));
  };
  CharWidths multiLine(measure, widthOf, 16);
  CharWidths singleLine(measure, widthOf, 0);  // no tab stops
  const std::wstring alphabet[] = {L"a", L"W", L"\t", L"\xD83D\xDE00", L"\u0301", L" ", L"\u05D0", L"\u200D"};
  for (int round = 0; round < 400; ++round) {
    CharWidths& widths = round % 2 == 0 ? multiLine : singleLine;
    LineLayout layout(widths);
    std::wstring text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += alphabet[random() % std::size(alphabet)];
    std::vector<int> advances;
    for (std::size_t i = 0; i < text.size(); ++i) advances.push_back(layout.Advance(text, i, 0));
    const VisualLine line(text, advances, VisualLine::LeftToRight(text.size()), widths.TabWidth());
    ASSERT_EQ(line.Width(), layout.Width(text)) << "seed " << seed;
    for (std::size_t column = 0; column <= text.size(); ++column) {
      if (column < text.size() && !line.IsCellStart(column)) continue;
      ASSERT_EQ(line.XOf(column), layout.XOf(text, column)) << "seed " << seed << " column " << column;
    }
    for (int x = -2; x < line.Width() + 3; ++x) {
      ASSERT_EQ(line.ColumnAt(x), layout.ColumnAt(text, x))
          << "seed " << seed << " x " << x << " line " << ::testing::PrintToString(text);
    }
  }
}

}  // namespace
}  // namespace quillon::runtime::textview
