// The text document at a few characters per chunk, where chunk and line boundaries meet every edit: after each
// append, replace, assign or change of line breaks, everything it answers must be what a plain string answers, in
// both line-break modes; and the caret's steps and word moves over it must land where it may stand.
#include <algorithm>
#include <string>
#include <vector>

#include "runtime/textview/TextDocument.h"
#include "runtime/textview/TextLayout.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;
using runtime::textview::LineBreaks;
using runtime::textview::TextDocument;

namespace {

/// The operations read from the input, a byte at a time; a missing byte reads as zero.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return at_ < size_; }
  unsigned Byte() { return at_ < size_ ? data_[at_++] : 0; }

  /// A short text over characters that sit on boundaries: CR, LF, both halves of a pair, a mark, a tab.
  std::wstring Text() {
    static const wchar_t kAlphabet[] = {L'a', L'\r', L'\n', 0xD83D, 0xDE00, 0x0301, L'\t'};
    std::wstring text;
    for (unsigned count = Byte() % 12; count > 0; --count) text += kAlphabet[Byte() % std::size(kAlphabet)];
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

std::vector<std::size_t> LineStartsOf(const std::wstring& text, LineBreaks lineBreaks) {
  std::vector<std::size_t> starts{0};
  if (lineBreaks == LineBreaks::kNone) return starts;
  for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 1)) {
    starts.push_back(at + 2);
  }
  return starts;
}

void Compare(const TextDocument& document, const std::wstring& expected) {
  const std::size_t length = expected.size();
  fuzz::Require(document.Length() == length && document.Empty() == expected.empty(), "length");
  fuzz::Require(document.Text() == expected, "text");

  const std::vector<std::size_t> starts = LineStartsOf(expected, document.GetLineBreaks());
  fuzz::Require(document.LineCount() == starts.size(), "line count");
  for (std::size_t line = 0; line < starts.size(); ++line) {
    const std::size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : length;
    fuzz::Require(document.LineStart(line) == starts[line], "line start");
    fuzz::Require(document.LineLength(line) == end - starts[line] && document.LineEnd(line) == end, "line length");
    fuzz::Require(document.LineText(line) == std::wstring_view(expected).substr(starts[line], end - starts[line]),
                  "line text");
  }
  for (std::size_t position = 0, line = 0; position <= length; ++position) {
    while (line + 1 < starts.size() && starts[line + 1] <= position) ++line;
    fuzz::Require(document.LineOf(position) == line, "line of a position");
    fuzz::Require(document.At(position) == (position < length ? expected[position] : L'\0'), "character at");
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{9}}) {
      fuzz::Require(document.Substring(position, count) == expected.substr(position, count), "substring");
    }
  }
  for (const std::size_t position : {std::size_t{0}, length / 2, length + 1}) {
    fuzz::Require(document.Substring(position, std::wstring::npos) == expected.substr(std::min(position, length)),
                  "substring to the end");
  }
  for (std::size_t capacity = 0; capacity <= length + 1; capacity += capacity < 6 ? 1 : 5) {
    std::wstring copied(capacity, L'#');
    copied.resize(document.CopyTo(copied.data(), capacity));
    fuzz::Require(copied == expected.substr(0, capacity), "copy");
  }

  // Caret stops: every stop steps forward to a stop and back to itself; everything else snaps back to a stop.
  using namespace runtime::textview;
  for (std::size_t position = 0; position <= length; ++position) {
    const std::size_t snapped = SnapToBoundary(document, position);
    fuzz::Require(snapped <= position && SnapToBoundary(document, snapped) == snapped, "snap to a stop");
    if (snapped != position) continue;
    const std::size_t next = NextPosition(document, position);
    fuzz::Require(next == length ? position == length || next > position : next > position, "next stop goes on");
    fuzz::Require(SnapToBoundary(document, next) == next, "next stop is a stop");
    if (next != position) fuzz::Require(PreviousPosition(document, next) == position, "back to the same stop");
    const std::size_t back = PreviousCodePoint(document, position);
    fuzz::Require(position == 0 ? back == 0 : back < position && back + 2 >= position, "one code point back");
    // Word moves and double-clicks land on stops too; they read whole words, so only short texts are walked.
    if (length > 64) continue;
    const std::size_t nextWord = NextWordStart(document, position);
    const std::size_t previousWord = PreviousWordStart(document, position);
    const auto [wordStart, wordEnd] = WordAround(document, position);
    fuzz::Require((nextWord > position || position == length) && SnapToBoundary(document, nextWord) == nextWord,
                  "next word");
    fuzz::Require((previousWord < position || position == 0) && SnapToBoundary(document, previousWord) == previousWord,
                  "previous word");
    fuzz::Require(wordStart <= position && position <= wordEnd && SnapToBoundary(document, wordStart) == wordStart &&
                      SnapToBoundary(document, wordEnd) == wordEnd,
                  "word around");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader reader(data, size);
  const std::size_t chunkChars = 1 + reader.Byte() % 8;
  // The same edits go to a multi-line and a single-line document, which trade their modes now and then.
  TextDocument documents[] = {TextDocument(LineBreaks::kCrLf, chunkChars), TextDocument(LineBreaks::kNone, chunkChars)};
  std::wstring expected;
  for (int operations = 0; reader.More() && operations < 24; ++operations) {
    const unsigned operation = reader.Byte() % 8;
    if (operation <= 2) {
      const std::wstring text = reader.Text();
      for (TextDocument& document : documents) document.Append(text);
      expected += text;
    } else if (operation <= 5) {
      // Starts and ends a little past the text are clamped.
      const std::size_t start = reader.Byte() % (expected.size() + 2);
      const std::size_t end = start + reader.Byte() % 6;
      const std::wstring text = reader.Text();
      for (TextDocument& document : documents) document.Replace(start, end, text);
      if (start <= expected.size()) expected.replace(start, std::min(end, expected.size()) - start, text);
      else expected += text;
    } else if (operation == 6) {
      const std::wstring text = reader.Text();
      for (TextDocument& document : documents) document.Assign(text);
      expected = text;
    } else {
      for (TextDocument& document : documents) {
        document.SetLineBreaks(document.GetLineBreaks() == LineBreaks::kCrLf ? LineBreaks::kNone : LineBreaks::kCrLf);
      }
    }
    for (const TextDocument& document : documents) Compare(document, expected);
  }
  return 0;
}
