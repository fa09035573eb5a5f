// The text view's model: the document's lines and chunks against a plain string at the real chunk size, the one rule
// for where the caret stands and where words start, where the characters stand on a line, lines with right-to-left
// runs (cells, caret, clicks and selection in drawn order; left-to-right lines as the plain layout), one line's
// geometry in either direction, the scroll arithmetic and the one step of undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "runtime/textview/CaretStops.h"
#include "runtime/textview/LineGeometry.h"
#include "runtime/textview/TextDocument.h"
#include "runtime/textview/TextLayout.h"
#include "runtime/textview/UndoStep.h"
#include "runtime/textview/Viewport.h"
#include "runtime/textview/VisualLine.h"
#include "tests/native/TextDocumentCheck.h"

namespace quillon::runtime::textview {
namespace {

TEST(TextDocument, AtTheRealChunkSizeKeepsLinesThroughALineLongerThanAChunkAppendsAndEditsAcrossChunks) {
  // Edits of every kind meet chunk boundaries at a few characters a chunk in fuzz_text_document (its seeds hold
  // edits that split and join CR LF); here the chunks of the size the boxes use fill up, the first line runs past
  // one, and edits cut across their boundaries.
  constexpr std::size_t kChunk = TextDocument::kDefaultChunkChars;
  std::wstring expected(kChunk + kChunk / 2, L'a');
  for (int line = 0; line < 60000; ++line) expected += L"Key : HKEY\\x\r\n";
  TextDocument document;
  for (std::size_t at = 0; at < expected.size(); at += 100000) document.Append(expected.substr(at, 100000));
  for (const std::size_t at : {kChunk - 1, kChunk + 1, 2 * kChunk - 2, expected.size() - 3}) {
    document.Replace(at, at + 5, L"\r\nxy\r");
    expected.replace(at, 5, L"\r\nxy\r");
  }
  EXPECT_EQ(tests::DocumentMismatch(document, expected), "");
  document.Assign(L"a\r\nb");
  EXPECT_EQ(tests::DocumentMismatch(document, L"a\r\nb"), "");
}

using Stops = std::vector<std::size_t>;

TEST(CaretStops, TheCaretStepsOverClustersJoinedSequencesAndLineBreaksBothWaysAndBackspaceTakesOneCodePoint) {
  struct Case {
    const wchar_t* text;
    LineBreaks lineBreaks;
    Stops stops;
  };
  const Case cases[] = {
      {L"e\x0301\x0302x", LineBreaks::kCrLf, {0, 3, 4}},
      {L"\x0301\x0301" L"a", LineBreaks::kCrLf, {0, 2, 3}},  // marks with nothing before them are a cluster
      {L"a\t\x0301" L"b", LineBreaks::kCrLf, {0, 1, 3, 4}},  // a tab takes marks as any character does
      {L"\xD83D\xDE00\xFE0Fx\x2764\xFE0F", LineBreaks::kCrLf, {0, 3, 4, 6}},  // variation selectors
      {L"\xD83D\xDC69\x200D\xD83D\xDCBB!", LineBreaks::kCrLf, {0, 5, 6}},  // a joiner joins
      // Regional indicators pair off into flags (DE, FR), a lone one last.
      {L"\xD83C\xDDE9\xD83C\xDDEA\xD83C\xDDEB\xD83C\xDDF7\xD83C\xDDEE", LineBreaks::kCrLf, {0, 4, 8, 10}},
      {L"a\xDB40\xDD00" L"b", LineBreaks::kCrLf, {0, 3, 4}},  // a variation selector beyond the basic plane
      {L"\xDE00\x0301\xD83D", LineBreaks::kCrLf, {0, 2, 3}},  // lone halves are characters
      {L"a\x0301\r\n\x0301" L"b", LineBreaks::kCrLf, {0, 2, 4, 5, 6}},
      {L"a\x0301\r\n\x0301" L"b", LineBreaks::kNone, {0, 2, 3, 4, 5, 6}},  // a mark after an LF has no base
      {L"a\r\r\nb\r\r", LineBreaks::kCrLf, {0, 1, 4, 5, 6, 7}},  // CR CR LF is one break, a CR at the end is not
      {L"a\r\r\nb", LineBreaks::kNone, {0, 1, 2, 3, 4, 5}},
  };
  for (const std::size_t chunkChars : {std::size_t{1}, TextDocument::kDefaultChunkChars}) {
    for (const Case& c : cases) {
      TextDocument document(c.lineBreaks, chunkChars);
      document.Assign(c.text);
      // From every position: the stop at or before it, the one before it (Left) and the one after it (Right).
      for (std::size_t position = 0, stop = 0; position <= document.Length(); ++position) {
        if (stop + 1 < c.stops.size() && c.stops[stop + 1] <= position) ++stop;
        const bool onStop = c.stops[stop] == position;
        ASSERT_EQ(IsCaretStop(document, position), onStop) << c.text << " " << position;
        ASSERT_EQ(SnapToCaretStop(document, position), c.stops[stop]) << c.text << " " << position;
        ASSERT_EQ(PreviousCaretStop(document, position), onStop && stop > 0 ? c.stops[stop - 1] : c.stops[stop]);
        ASSERT_EQ(NextCaretStop(document, position), stop + 1 < c.stops.size() ? c.stops[stop + 1] : position);
      }
    }
  }

  // Backspace takes one mark of a cluster, a whole pair, a whole CR LF or CR CR LF; single-line, one CR or LF.
  TextDocument erased;
  erased.Assign(L"e\x0301\xD83D\xDE00\r\nx\r\r\ny");
  for (const auto& [from, to] : {std::pair{2, 1}, {1, 0}, {4, 2}, {6, 4}, {5, 4}, {0, 0}, {10, 7}, {9, 8}})
    EXPECT_EQ(PreviousCodePoint(erased, from), static_cast<std::size_t>(to)) << from;
  erased.SetLineBreaks(LineBreaks::kNone);
  EXPECT_EQ(PreviousCodePoint(erased, 6), 5u);
}

// Through words and line breaks, word moves and the double-click are held to the platform's edit control side by
// side (tests/wine/textbox_side_by_side.cpp); here, what a random run seldom meets, and where the platform's control
// steps apart: inside a joined sequence and a CR CR LF.
TEST(CaretStops, WordMovesAndTheDoubleClickFollowTheSoftBreaksAndStopAtTheLinesEnds) {
  TextDocument document;
  std::vector<std::vector<bool>> flags;  // the line breaker's answer for each line
  const SoftBreaksOfLine breaks = [&](std::size_t line) -> const std::vector<bool>& { return flags[line]; };
  using Move = std::size_t (*)(const TextDocument&, std::size_t, const SoftBreaksOfLine&);
  const auto walk = [&](std::size_t from, Move move) {
    Stops stops{from};
    while (stops.size() < 10 && move(document, stops.back(), breaks) != stops.back())
      stops.push_back(move(document, stops.back(), breaks));
    return stops;
  };
  // A word starts no earlier than its line, even where the line breaker sees no break at the line's start.
  document.Assign(L"ab cd\r\nef gh");
  flags = {{false, false, false, true, false}, {false, false, false, true, false}};
  EXPECT_EQ(WordAround(document, 7, breaks), (std::pair<std::size_t, std::size_t>{7, 10}));
  EXPECT_EQ(walk(9, WordLeft), (Stops{9, 7, 5, 3, 0}));
  // A break inside a joined sequence counts at its edge; a line ending in CR CR LF ends before the CR.
  document.Assign(L"x\x2764\xFE0F\r\r\ny");
  flags = {{false, false, true, false}, {true}};
  EXPECT_EQ(walk(0, WordRight), (Stops{0, 3, 6, 7}));
  EXPECT_EQ(walk(7, WordLeft), (Stops{7, 6, 3, 1, 0}));
  EXPECT_EQ(WordAround(document, 3, breaks), (std::pair<std::size_t, std::size_t>{1, 3}));
}

TEST(TextLayout, CharactersStandWhereTheirWidthsTabStopsAndPairsPutThem) {
  int ranges = 0;
  CharWidths widths([&](char32_t first, std::size_t count,
                        int* out) { ++ranges; for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<int>((first + i) % 5) + 3; },
                    [](char32_t) { return 20; }, 16);
  LineLayout layout(widths);
  // 'a' (97) is 5 wide, 'b' 6, a tab goes to the next multiple of 16, the pair is one character of 20. (Where each
  // character stands is held to VisualLine's own sums by LeftToRightLinesAgreeWithTheLineLayout.)
  const std::wstring line = L"ab\tb\xD83D\xDE00" L"a";
  EXPECT_EQ(layout.Width(line), 47);
  EXPECT_EQ(ranges, 1) << "widths are asked once per block";
  // A line is surely within a width only when its widest Latin-1 characters (7 here) would not pass it; tabs and
  // characters beyond Latin-1 always need measuring.
  EXPECT_TRUE(layout.SurelyWithin(L"abc", 21));
  EXPECT_FALSE(layout.SurelyWithin(L"abc", 20));
  EXPECT_FALSE(layout.SurelyWithin(L"a\tb", 1000));
  EXPECT_FALSE(layout.SurelyWithin(L"a\x0100", 1000));
  // Where clicks land is held to VisualLine's (LeftToRightLinesAgreeWithTheLineLayout); the first drawn column:
  int startX = 0;
  EXPECT_EQ(layout.FirstColumnReaching(line, 25, startX), 4u);
  EXPECT_EQ(startX, 22);
  // A mark (U+0301, 7 wide in this font) goes with the 'a' before it: the first drawn column is at the edge of the
  // pair of them, never between.
  const std::wstring marked = L"a\x0301" L"b";
  EXPECT_EQ(layout.FirstColumnReaching(marked, 6, startX), 0u);
  EXPECT_EQ(layout.FirstColumnReaching(marked, 12, startX), 2u);
  EXPECT_EQ(startX, 12);
  // The text limit never keeps half a pair.
  for (const auto& [limit, kept] : {std::pair{3u, 2u}, {4u, 4u}, {9u, 4u}})
    EXPECT_EQ(CodeUnitsWithin(L"ab\xD83D\xDE00", limit), kept) << limit;
}

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
  // An empty line draws nothing; its width, caret and clicks are held to the plain layout by
  // LeftToRightLinesAgreeWithTheLineLayout.
  EXPECT_TRUE(VisualLine(L"", {}, {}, 32).Pieces(0, 100).empty());
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
  const VisualLine line(text, {7, 0, 12, 0, 6}, {{0, 5, true}}, 32);
  // Cells from the left: bet [0,6), the pair [6,18), the mark at 18, alef [18,25).
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
    for (int x = -2; x < line.Width() + 3; ++x)
      ASSERT_EQ(line.ColumnAt(x), layout.ColumnAt(text, x))
          << "seed " << seed << " x " << x << " line " << ::testing::PrintToString(text);
  }
}

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
  EXPECT_EQ(hebrew.Ranges(0, 1), (Ranges{{10, 20}}));
  EXPECT_EQ(asked, 1);
}

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

/// Replaces [start, end) as the box does, recording the edit; with no text given, undoes.
void Edit(TextDocument& document, UndoStep& undo, std::size_t start = 0, std::size_t end = 0,
          std::optional<std::wstring> text = std::nullopt) {
  if (!text) {
    UndoStep::Replacement replacement = undo.Take();
    return Edit(document, undo, replacement.start, replacement.end, std::move(replacement.text));
  }
  undo.Record(start, document.Substring(start, end - start), text->size());
  document.Replace(start, end, *text);
}

TEST(UndoStep, RunsOfTypingOrDeletingAreOneStepAndUndoingTwiceRedoes) {
  TextDocument document;
  document.Assign(L"abcdef");
  UndoStep undo;
  EXPECT_FALSE(undo.CanUndo());
  // Delete, Delete, then Backspace twice: one deletion of "bcde".
  for (const std::size_t at : {3, 3, 2, 1}) Edit(document, undo, at, at + 1, L"");
  EXPECT_EQ(document.Text(), L"af");
  Edit(document, undo, 1, 1, L"x");  // typing where it was deleted replaces it
  Edit(document, undo, 2, 2, L"y");
  Edit(document, undo);
  EXPECT_EQ(document.Text(), L"abcdef");
  EXPECT_EQ(undo.Start(), 1u);
  EXPECT_EQ(undo.End(), 5u) << "what was put back is what undoing selects";
  Edit(document, undo);
  EXPECT_EQ(document.Text(), L"axyf");

  Edit(document, undo, 4, 4, L"!");  // typing elsewhere: a step of its own
  Edit(document, undo);
  EXPECT_EQ(document.Text(), L"axyf");
}

}  // namespace
}  // namespace quillon::runtime::textview
