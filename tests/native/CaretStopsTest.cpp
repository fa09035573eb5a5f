// The one rule for where the caret stands and where words start: the steps of the arrow keys and of Backspace, and
// the word moves over the line breaker's soft breaks.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/textview/CaretStops.h"

namespace quillon::runtime::textview {
namespace {

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
  // Breaks before "cd", after the line break and before "gh".
  document.Assign(L"ab cd\r\nef gh");
  flags = {{false, false, false, true, false}, {true, false, false, true, false}};
  EXPECT_EQ(walk(0, WordRight), (Stops{0, 3, 5, 7, 10, 12}));
  EXPECT_EQ(walk(12, WordLeft), (Stops{12, 10, 7, 5, 3, 0}));
  EXPECT_EQ(WordAround(document, 4, breaks), (std::pair<std::size_t, std::size_t>{3, 5}));
  EXPECT_EQ(WordAround(document, 1, breaks), (std::pair<std::size_t, std::size_t>{0, 3}));
  EXPECT_EQ(WordAround(document, 7, breaks), (std::pair<std::size_t, std::size_t>{3, 7}))
      << "from a line's start back to the last break, which may be on the line before";
  // A break inside a joined sequence counts at its edge; a line ending in CR CR LF ends before the CR.
  document.Assign(L"x\x2764\xFE0F\r\r\ny");
  flags = {{false, false, true, false}, {true}};
  EXPECT_EQ(walk(0, WordRight), (Stops{0, 3, 6, 7}));
  EXPECT_EQ(walk(7, WordLeft), (Stops{7, 6, 3, 1, 0}));
  EXPECT_EQ(WordAround(document, 3, breaks), (std::pair<std::size_t, std::size_t>{1, 3}));
}

}  // namespace
}  // namespace quillon::runtime::textview
