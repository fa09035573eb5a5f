// The text view's model: the document's lines and chunks against a plain string (at the real chunk size and at a
// few characters per chunk, in both line-break modes), and where the caret and the characters stand on a line.
#include <gtest/gtest.h>

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

    // Then random edits over characters that sit on boundaries, the mode changing now and then.
    const std::wstring pieces[] = {L"a", L"\r", L"\n", L"\r\n", L"\xD83D\xDE00", L"e\x0301", L"abcdefg", L""};
    TextDocument document(lineBreaks, GetParam());
    std::wstring expected;
    for (int round = 0; round < 400; ++round) {
      std::wstring text;
      for (int i = static_cast<int>(random() % 4); i > 0; --i) text += pieces[random() % std::size(pieces)];
      const auto kind = random() % 10;
      if (kind < 6) {
        const std::size_t start = random() % (expected.size() + 1);
        const std::size_t end = std::min(expected.size(), start + random() % 12);
        document.Replace(start, end, text);
        expected.replace(start, end - start, text);
      } else if (kind < 9) {
        document.Append(text);
        expected += text;
      } else {
        document.SetLineBreaks(document.GetLineBreaks() == LineBreaks::kCrLf ? LineBreaks::kNone : LineBreaks::kCrLf);
      }
      if (expected.size() > 300) {
        document.Assign(text);
        expected = text;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSameAs(document, expected, random)) << "round " << round;
    }
  }

  // A single-line box reads its whole text, line breaks and all, as one line in one piece.
  TextDocument single(LineBreaks::kNone, GetParam());
  single.Assign(L"ab\r\ncd\r\n");
  single.Replace(4, 4, L"\r\n\r\n");
  EXPECT_EQ(single.LineCount(), 1u);
  EXPECT_EQ(single.LineText(0), L"ab\r\n\r\n\r\ncd\r\n");
  EXPECT_EQ(single.LineOf(single.Length()), 0u);
  single.SetLineBreaks(LineBreaks::kCrLf);
  EXPECT_EQ(single.LineCount(), 5u);
  EXPECT_EQ(single.LineText(3), L"cd");
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
