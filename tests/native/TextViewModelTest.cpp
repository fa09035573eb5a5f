// The text view's model: the document's lines and chunks against a plain string, and where the caret and the
// characters stand on a line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/textview/TextDocument.h"
#include "runtime/textview/TextLayout.h"

namespace quillon::runtime::textview {
namespace {

/// The lines of a text as the document must see them: split at CR LF only.
std::vector<std::wstring> SplitAtCrLf(const std::wstring& text) {
  std::vector<std::wstring> lines;
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
  const std::vector<std::wstring> lines = SplitAtCrLf(expected);
  ASSERT_EQ(document.LineCount(), lines.size());
  std::size_t start = 0;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    ASSERT_EQ(document.LineStart(line), start) << line;
    ASSERT_EQ(document.LineText(line), lines[line]) << line;
    ASSERT_EQ(document.LineOf(start + lines[line].size()), line) << "the end of a line is on it";
    start += lines[line].size() + 2;
  }
  for (int probe = 0; probe < 50 && !expected.empty(); ++probe) {
    const std::size_t at = random() % expected.size();
    ASSERT_EQ(document.At(at), expected[at]);
    ASSERT_EQ(document.Substring(at, 300), expected.substr(at, 300));
  }
  std::wstring copied(expected.size() / 2, L'\0');
  copied.resize(document.CopyTo(copied.data(), copied.size()));
  ASSERT_EQ(copied, expected.substr(0, expected.size() / 2));
}

TEST(TextDocument, KeepsLinesAndTextThroughAppendsOfAnySizeEditsAndSplitLineBreaks) {
  std::mt19937 random(20261206);
  const std::wstring pieces[] = {L"\r\n", L"\r", L"\n", L"Key : HKEY\\x", L"\xD83D\xDE00", L"\r\r\n", L""};
  TextDocument document;
  std::wstring expected;
  ExpectSameAs(document, expected, random);
  for (int round = 0; round < 150; ++round) {
    std::wstring text;
    const int kind = static_cast<int>(random() % 6);
    if (kind == 0) {
      // Long lines and many lines, so that chunks fill up and a line can run past a chunk's size.
      text.assign(100000 + random() % 300000, L'a');
      for (std::size_t i = random() % 50000; i < text.size(); i += 1 + random() % 60000) text.replace(i, 1, L"\r\n");
    } else {
      for (int i = random() % 8; i > 0; --i) text += pieces[random() % std::size(pieces)];
    }
    if (kind == 1 && !expected.empty()) {
      const std::size_t from = random() % expected.size();
      const std::size_t to = from + random() % 20;
      document.Replace(from, to, text);
      expected.replace(from, std::min(to, expected.size()) - from, text);
    } else if (round == 20) {
      document.Assign(text);
      expected = text;
    } else {
      document.Append(text);
      expected += text;
    }
    // Every line is compared now and then, the end of the text every time.
    if (round % 5 == 4) {
      ASSERT_NO_FATAL_FAILURE(ExpectSameAs(document, expected, random)) << "round " << round;
    }
    const std::size_t lastBreak = expected.rfind(L"\r\n");
    ASSERT_EQ(document.LineText(document.LineCount() - 1),
              lastBreak == std::wstring::npos ? expected : expected.substr(lastBreak + 2))
        << "round " << round;
  }
  EXPECT_GT(expected.size(), 2u << 20) << "the rounds must have filled several chunks";
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
  // A click goes to the nearer edge of the character under it, never between the halves of a pair.
  EXPECT_EQ(layout.ColumnAt(line, 2), 0u);
  EXPECT_EQ(layout.ColumnAt(line, 3), 1u);
  EXPECT_EQ(layout.ColumnAt(line, 31), 4u);
  EXPECT_EQ(layout.ColumnAt(line, 33), 6u);
  EXPECT_EQ(layout.ColumnAt(line, 1000), line.size());
  int startX = 0;
  EXPECT_EQ(layout.FirstColumnReaching(line, 25, startX), 4u);
  EXPECT_EQ(startX, 22);
}

TEST(TextLayout, TheCaretStepsOverLineBreaksPairsAndWords) {
  TextDocument document;
  document.Assign(L"Key : HKEY\\Soft\r\n\xD83D\xDE00x  word\r\n");
  EXPECT_EQ(NextPosition(document, 15), 17u) << "from the end of a line to the start of the next";
  EXPECT_EQ(PreviousPosition(document, 17), 15u);
  EXPECT_EQ(NextPosition(document, 17), 19u) << "a surrogate pair is one step";
  EXPECT_EQ(PreviousPosition(document, 19), 17u);
  EXPECT_EQ(SnapToBoundary(document, 16), 15u) << "the LF of a CR LF";
  EXPECT_EQ(SnapToBoundary(document, 18), 17u) << "the second half of a pair";
  EXPECT_EQ(NextWordStart(document, 0), 4u);
  EXPECT_EQ(NextWordStart(document, 6), 15u) << "a word runs to the blank or the line's end";
  EXPECT_EQ(PreviousWordStart(document, 24), 22u);
  EXPECT_EQ(PreviousWordStart(document, 17), 15u);
  EXPECT_EQ(WordAround(document, 8), (std::pair<std::size_t, std::size_t>{6, 10}));
  EXPECT_EQ(WordAround(document, 4), (std::pair<std::size_t, std::size_t>{4, 5})) << "punctuation apart from letters";
  EXPECT_EQ(NextPosition(document, document.Length()), document.Length());
}

}  // namespace
}  // namespace quillon::runtime::textview
