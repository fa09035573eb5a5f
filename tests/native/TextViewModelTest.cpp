// The text view's model: the document's lines and chunks against a plain string (at the real chunk size and at a
// few characters per chunk, in both line-break modes), and where the characters stand on a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/textview/TextDocument.h"
#include "runtime/textview/TextLayout.h"
#include "tests/native/TextDocumentCheck.h"

namespace quillon::runtime::textview {
namespace {

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
  EXPECT_EQ(tests::DocumentMismatch(document, expected), "");
  document.Assign(L"a\r\nb");
  EXPECT_EQ(tests::DocumentMismatch(document, L"a\r\nb"), "");
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
  for (const LineBreaks lineBreaks : {LineBreaks::kCrLf, LineBreaks::kNone}) {
    for (const Edit& edit : edits) {
      TextDocument document(lineBreaks, GetParam());
      std::wstring expected = edit.before;
      // Built up a character at a time, so that the chunks are filled the way a growing text fills them.
      for (const wchar_t unit : expected) document.Append(std::wstring(1, unit));
      document.Replace(edit.start, edit.end, edit.text);
      const std::size_t start = std::min(edit.start, expected.size());
      expected.replace(start, std::min(edit.end, expected.size()) - start, edit.text);
      ASSERT_EQ(tests::DocumentMismatch(document, expected), "") << edit.before << " " << edit.start;
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
}

}  // namespace
}  // namespace quillon::runtime::textview
