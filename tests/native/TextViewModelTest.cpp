// The text view's model: the document's lines and chunks against a plain string at the real chunk size, and where
// the characters stand on a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "runtime/textview/TextDocument.h"
#include "runtime/textview/TextLayout.h"
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
  // The text limit never keeps half a pair.
  for (const auto& [limit, kept] : {std::pair{3u, 2u}, {4u, 4u}, {9u, 4u}})
    EXPECT_EQ(CodeUnitsWithin(L"ab\xD83D\xDE00", limit), kept) << limit;
}

}  // namespace
}  // namespace quillon::runtime::textview
