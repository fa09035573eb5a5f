// The text document at a few characters per chunk, where chunk and line boundaries meet every edit: after each
// append, replace, assign or change of line breaks, everything it answers must be what a plain string answers, in
// both line-break modes; and the caret's steps over it must land where it may stand.
#include <algorithm>
#include <string>

#include "runtime/textview/CaretStops.h"
#include "runtime/textview/TextDocument.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/native/TextDocumentCheck.h"

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

  /// A short text over characters that sit on boundaries: CR, LF, halves of pairs (regional indicators too), a
  /// mark, a joiner, a tab.
  std::wstring Text() {
    static const wchar_t kAlphabet[] = {L'a', L'\r', L'\n', 0xD83D, 0xDE00, 0x0301, L'\t', 0x200D, 0xD83C, 0xDDE9};
    std::wstring text;
    for (unsigned count = Byte() % 12; count > 0; --count) text += kAlphabet[Byte() % std::size(kAlphabet)];
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void Compare(const TextDocument& document, const std::wstring& expected) {
  const std::string mismatch = tests::DocumentMismatch(document, expected);
  fuzz::Require(mismatch.empty(), mismatch.c_str());

  // Caret stops: from anywhere, the stops before and after, snapped to, are stops that lead back to each other.
  using namespace runtime::textview;
  const std::size_t length = expected.size();
  for (std::size_t position = 0; position <= length; ++position) {
    const std::size_t snapped = SnapToCaretStop(document, position);
    const std::size_t next = NextCaretStop(document, position);
    fuzz::Require(snapped <= position && IsCaretStop(document, snapped) &&
                      IsCaretStop(document, position) == (snapped == position),
                  "snap to a stop");
    fuzz::Require(next == length ? position == length || next > position : next > position, "next stop goes on");
    fuzz::Require(IsCaretStop(document, next) && (next == position || PreviousCaretStop(document, next) == snapped),
                  "back to the stop before");
    const std::size_t back = PreviousCodePoint(document, position);
    fuzz::Require(position == 0 ? back == 0 : back < position && back + 3 >= position, "one code point back");
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
      for (TextDocument& document : documents)
        document.SetLineBreaks(document.GetLineBreaks() == LineBreaks::kCrLf ? LineBreaks::kNone : LineBreaks::kCrLf);
    }
    for (const TextDocument& document : documents) Compare(document, expected);
  }
  return 0;
}
