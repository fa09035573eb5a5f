// The text view's model: the document's lines and chunks against a plain string (at the real chunk size and at a
// few characters per chunk, in both line-break modes), and where the caret and the characters stand on a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "runtime/textview/TextDocument.h"
#include "runtime/textview/TextLayout.h"

namespace quillon::runtime::textview {
namespace {

/// The lines of a text as the document must see them: split at CR LF only, or not at all.
std::vector<std::wstring> SplitLines(const std::wstring& text, LineBreaks lineBreaks) {
  std::vector<std::wstring> lines;
  if (lineBreaks == LineBreaks::kNone) return {text};
  std::size_t start = 0;
  for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + 2;
  }
  lines.push_back(text.substr(start));
  return lines;
}

void ExpectSameAs(const TextDocument& document, const std::wstring& expected, std::mt19937& random) {
  ASSERT_EQ(document.Length(), expected.size());
  ASSERT_EQ(document.Text(), expected);
  const std::vector<std::wstring> lines = SplitLines(expected, document.GetLineBreaks());
  ASSERT_EQ(document.LineCount(), lines.size());
  std::size_t start = 0;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    ASSERT_EQ(document.LineStart(line), start) << line;
    ASSERT_EQ(document.LineLength(line), lines[line].size()) << line;
    ASSERT_EQ(document.LineText(line), lines[line]) << line;
    ASSERT_EQ(document.LineOf(start + lines[line].size()), line) << "the end of a line is on it";
    if (line > 0) {
      ASSERT_EQ(document.LineOf(start - 1), line - 1) << "the LF of a CR LF is on the line it ends";
    }
    start += lines[line].size() + 2;
  }
  // Short texts are probed everywhere, long ones here and there.
  const int probes = expected.size() < 100 ? static_cast<int>(expected.size()) : 50;
  for (int probe = 0; probe < probes; ++probe) {
    const std::size_t at = expected.size() < 100 ? static_cast<std::size_t>(probe) : random() % expected.size();
    ASSERT_EQ(document.At(at), expected[at]);
    ASSERT_EQ(document.Substring(at, 300), expected.substr(at, 300));
    ASSERT_EQ(document.Substring(at, 2), expected.substr(at, 2));
  }
  std::wstring copied(expected.size() / 2, L'\0');
  copied.resize(document.CopyTo(copied.data(), copied.size()));
  ASSERT_EQ(copied, expected.substr(0, expected.size() / 2));
}

TEST(TextDocument, AtTheRealChunkSizeKeepsLinesThroughALineLongerThanAChunkAppendsAndEditsAcrossChunks) {
  // Edits of every kind meet chunk boundaries at a few characters a chunk below and in fuzz_text_document; here the
  // chunks of the size the boxes use fill up, the first line runs past one, and edits cut across their boundaries.
  constexpr std::size_t kChunk = TextDocument::kDefaultChunkChars;
  std::wstring expected(kChunk + kChunk / 2, L'a');
  for (int line = 0; line < 60000; ++line) expected += L"Key : HKEY\\x\r\n";
  TextDocument document;
  for (std::size_t at = 0; at < expected.size(); at += 100000) document.Append(expected.substr(at, 100000));
  for (const std::size_t at : {kChunk - 1, kChunk + 1, 2 * kChunk - 2, expected.size() - 3}) {
    document.Replace(at, at + 5, L"\r\nxy\r");
    expected.replace(at, 5, L"\r\nxy\r");
  }
  std::mt19937 random(20261206);
  ASSERT_NO_FATAL_FAILURE(ExpectSameAs(document, expected, random));
  document.Assign(L"a\r\nb");
  ExpectSameAs(document, L"a\r\nb", random);
}

/// Chunks of a few characters, so that edits meet chunk boundaries and lines longer than a chunk all the time.
class TextDocumentInSmallChunks : public testing::TestWithParam<std::size_t> {};

TEST_P(TextDocumentInSmallChunks, EditsAcrossChunksAndLineBreaksSplitOrJoinedKeepEveryLineInBothModes) {
  struct Edit {
    const wchar_t* before;
    std::size_t start;
    std::size_t end;
    const wchar_t* text;
  };
  const Edit edits[] = {
      {L"ab\r\ncd\r\nef", 3, 3, L"x"},          // between CR and LF: no break any more
      {L"ab\rx\ncd\r\nef", 3, 4, L""},          // what stood between CR and LF goes: a break
      {L"ab\r\ncd\r\nef", 2, 3, L""},           // the CR goes
      {L"ab\r\ncd\r\nef", 3, 4, L"\r"},         // the LF becomes a CR
      {L"ab\r\ncd\r\nef", 1, 9, L"\r"},         // across chunks, ending on an LF
      {L"ab\r", 3, 3, L"\ncd"},                  // at the end, after a CR
      {L"a\r\n\r\n\r\nb", 2, 6, L"\n\r"},       // a break on each side kept, new ones made
      {L"abcdefgh\r\nij", 2, 5, L"\r\n\r\nxy"},  // a long line cut into lines
      {L"\r\nab\r\ncd\r\n", 0, 7, L""},         // from the start to inside the last line
      {L"abc\r\ndef", 3, 100, L"x\r"},           // an end past the text is clamped
      {L"abc\r\ndef", 9, 9, L"\n"},              // so is a start
  };
  std::mt19937 random(static_cast<unsigned>(GetParam()));
  for (const LineBreaks lineBreaks : {LineBreaks::kCrLf, LineBreaks::kNone}) {
    for (const Edit& edit : edits) {
      TextDocument document(lineBreaks, GetParam());
      std::wstring expected = edit.before;
      // Built up a character at a time, so that the chunks are filled the way a growing text fills them.
      for (const wchar_t unit : expected) document.Append(std::wstring(1, unit));
      document.Replace(edit.start, edit.end, edit.text);
      const std::size_t start = std::min(edit.start, expected.size());
      expected.replace(start, std::min(edit.end, expected.size()) - start, edit.text);
      ASSERT_NO_FATAL_FAILURE(ExpectSameAs(document, expected, random)) << edit.before << " " << edit.start;
    }
  }
  // Random edits over characters that sit on boundaries, at one to eight characters a chunk, in either mode and
  // changing modes (a single-line box's one line holding every line break), are fuzz_text_document's.

}

INSTANTIATE_TEST_SUITE_P(CharsPerChunk, TextDocumentInSmallChunks, testing::Values(1, 2, 3, 5));

TEST(TextLayout, CharactersStandWhereTheirWidthsTabStopsAndPairsPutThem) {
  int ranges = 0;
  CharWidths widths([&](char32_t first, std::size_t count,
                        int* out) { ++ranges; for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<int>((first + i) % 5) + 3; },
                    [](char32_t) { return 20; }, 16);
  LineLayout layout(widths);
  // 'a' (97) is 5 wide, 'b' 6, a tab goes to the next multiple of 16, the pair is one character of 20.
  const std::wstring line = L"ab\tb\xD83D\xDE00" L"a";
  EXPECT_EQ(layout.XOf(line, 2), 11);
  EXPECT_EQ(layout.XOf(line, 3), 16);
  EXPECT_EQ(layout.XOf(line, 4), 22);
  EXPECT_EQ(layout.XOf(line, 6), 42);
  EXPECT_EQ(layout.Width(line), 47);
  EXPECT_EQ(ranges, 1) << "widths are asked once per block";
  // A line is surely within a width only when its widest Latin-1 characters (7 here) would not pass it; tabs and
  // characters beyond Latin-1 always need measuring.
  EXPECT_TRUE(layout.SurelyWithin(L"abc", 21));
  EXPECT_FALSE(layout.SurelyWithin(L"abc", 20));
  EXPECT_FALSE(layout.SurelyWithin(L"a\tb", 1000));
  EXPECT_FALSE(layout.SurelyWithin(L"a\x0100", 1000));
  // Without tab stops (a single-line box) a tab takes no room.
  CharWidths noStops([](char32_t, std::size_t count, int* out) { std::fill(out, out + count, 5); },
                     [](char32_t) { return 20; }, 0);
  EXPECT_EQ(LineLayout(noStops).Width(L"a\tb"), 10);
  // A click on the right half of the 'a' lands before the tab that takes no room, on the 'b' after it.
  EXPECT_EQ(LineLayout(noStops).ColumnAt(L"a\tb", 4), 1u);
  EXPECT_EQ(LineLayout(noStops).ColumnAt(L"a\tb", 5), 1u);  // on the edge where the tab stands
  EXPECT_EQ(LineLayout(noStops).ColumnAt(L"a\tb", 6), 2u);
  // A click goes to the nearer edge of the character under it, never between the halves of a pair.
  for (const auto& [x, column] : {std::pair{2, 0u}, {3, 1u}, {31, 4u}, {33, 6u}, {1000, 7u}})
    EXPECT_EQ(layout.ColumnAt(line, x), column) << x;
  int startX = 0;
  EXPECT_EQ(layout.FirstColumnReaching(line, 25, startX), 4u);
  EXPECT_EQ(startX, 22);
  // A mark (U+0301, 7 wide in this font) goes with the 'a' before it: a click or the first drawn column is at the
  // edge of the pair of them, never between.
  const std::wstring marked = L"a\x0301" L"b";
  EXPECT_EQ(layout.ColumnAt(marked, 5), 0u);
  EXPECT_EQ(layout.ColumnAt(marked, 7), 2u);
  EXPECT_EQ(layout.FirstColumnReaching(marked, 6, startX), 0u);
  EXPECT_EQ(layout.FirstColumnReaching(marked, 12, startX), 2u);
  EXPECT_EQ(startX, 12);
}

TEST(TextLayout, TheCaretStepsOverWords) {
  TextDocument document;
  // Steps over line breaks and pairs are the next test's; here, where words start and end.
  document.Assign(L"Key : HKEY\\Soft\r\n\xD83D\xDE00x  word\r\n");
  EXPECT_EQ(NextWordStart(document, 0), 4u);
  EXPECT_EQ(NextWordStart(document, 6), 15u) << "a word runs to the blank or the line's end";
  EXPECT_EQ(PreviousWordStart(document, 24), 22u);
  EXPECT_EQ(PreviousWordStart(document, 17), 15u);
  EXPECT_EQ(WordAround(document, 8), (std::pair<std::size_t, std::size_t>{6, 10}));
  EXPECT_EQ(WordAround(document, 4), (std::pair<std::size_t, std::size_t>{4, 5})) << "punctuation apart from letters";
  EXPECT_EQ(NextPosition(document, document.Length()), document.Length());
}

/// Every caret stop of a text, found by stepping forward from its start.
std::vector<std::size_t> StopsOf(const TextDocument& document) {
  std::vector<std::size_t> stops{0};
  while (stops.back() < document.Length()) stops.push_back(NextPosition(document, stops.back()));
  return stops;
}

TEST(TextLayout, TheCaretStopsAtClustersAndBackspaceTakesOneCodePoint) {
  using Stops = std::vector<std::size_t>;
  struct Case {
    const wchar_t* text;
    LineBreaks lineBreaks;
    Stops stops;
  };
  const Case cases[] = {
      {L"e\x0301\x0302x", LineBreaks::kCrLf, {0, 3, 4}},
      {L"\x0301\x0301" L"a", LineBreaks::kCrLf, {0, 2, 3}},  // marks with nothing before them are a cluster
      {L"a\t\x0301" L"b", LineBreaks::kCrLf, {0, 1, 2, 3, 4}},  // a tab takes no marks
      {L"\x05E9\x05C1\x05B8x\x05D1\x05BC", LineBreaks::kCrLf, {0, 3, 4, 6}},
      {L"\xD83D\xDE00\xFE0Fx", LineBreaks::kCrLf, {0, 3, 4}},  // a pair and its variation selector
      {L"\xD83D\xDC69\x200D\xD83D\xDCBB!", LineBreaks::kCrLf, {0, 5, 6}},  // a joiner joins
      {L"a\xDB40\xDD00" L"b", LineBreaks::kCrLf, {0, 3, 4}},  // a variation selector beyond the basic plane
      {L"\xDE00\x0301\xD83D", LineBreaks::kCrLf, {0, 2, 3}},  // lone halves are characters
      {L"a\x0301\r\n\x0301" L"b", LineBreaks::kCrLf, {0, 2, 4, 5, 6}},
      {L"a\x0301\r\n\x0301" L"b", LineBreaks::kNone, {0, 2, 3, 4, 5, 6}},  // a mark after an LF has no base
  };
  for (const std::size_t chunkChars : {std::size_t{1}, TextDocument::kDefaultChunkChars}) {
    for (const Case& c : cases) {
      TextDocument document(c.lineBreaks, chunkChars);
      document.Assign(c.text);
      ASSERT_EQ(StopsOf(document), c.stops) << c.text;
      Stops backwards{document.Length()};
      while (backwards.back() > 0) backwards.push_back(PreviousPosition(document, backwards.back()));
      ASSERT_EQ(Stops(backwards.rbegin(), backwards.rend()), c.stops) << c.text;
      // Any position snaps back to the stop at or before it.
      for (std::size_t position = 0, stop = 0; position <= document.Length(); ++position) {
        if (stop + 1 < c.stops.size() && c.stops[stop + 1] <= position) ++stop;
        ASSERT_EQ(SnapToBoundary(document, position), c.stops[stop]) << c.text << " " << position;
      }
    }
  }

  // Words go by clusters too: a blank with a mark on it is a blank.
  TextDocument words;
  words.Assign(L"ab\x0301 \x0301" L"cd x");
  EXPECT_EQ(NextWordStart(words, 0), 5u);
  EXPECT_EQ(PreviousWordStart(words, 5), 0u);
  EXPECT_EQ(WordAround(words, 1), (std::pair<std::size_t, std::size_t>{0, 3}));
  EXPECT_EQ(WordAround(words, 4), (std::pair<std::size_t, std::size_t>{3, 5})) << "snapped back to the blank";

  // Backspace takes one mark of a cluster, a whole pair, a whole CR LF.
  TextDocument erased;
  erased.Assign(L"e\x0301\xD83D\xDE00\r\nx");
  EXPECT_EQ(PreviousCodePoint(erased, 2), 1u);
  EXPECT_EQ(PreviousCodePoint(erased, 1), 0u);
  EXPECT_EQ(PreviousCodePoint(erased, 4), 2u);
  EXPECT_EQ(PreviousCodePoint(erased, 6), 4u);
  EXPECT_EQ(PreviousCodePoint(erased, 5), 4u) << "from between CR and LF";
  EXPECT_EQ(PreviousCodePoint(erased, 0), 0u);

  // The text limit never keeps half a pair.
  EXPECT_EQ(CodeUnitsWithin(L"ab\xD83D\xDE00", 3), 2u);
  EXPECT_EQ(CodeUnitsWithin(L"ab\xD83D\xDE00", 4), 4u);
  EXPECT_EQ(CodeUnitsWithin(L"ab\xD83D\xDE00", 9), 4u);
  EXPECT_EQ(CodeUnitsWithin(L"\xDE00\xD83D", 1), 1u);

  for (const char32_t mark : {0x0300, 0x036F, 0x05BF, 0x0670, 0x20D0, 0xFE0F, 0xFE2F, 0xE0100}) {
    EXPECT_TRUE(IsCombiningMark(mark)) << std::hex << mark;
  }
  for (const char32_t other : {0x02FF, 0x0370, 0x05BE, 0x05C0, 0x05C6, 0x200D, 0xFE10, 0x1F600}) {
    EXPECT_FALSE(IsCombiningMark(other)) << std::hex << other;
  }
}

}  // namespace
}  // namespace quillon::runtime::textview
