// A click into the search results, with any text and any caret: no crash, no key left open, the selection the one
// the plain reading of the whole text gives (the window reads the text in blocks), and the Go To box's own text
// back as it was.
#include <algorithm>

#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes are the caret, as a signed number so that carets before the start come up too.
  const auto caret = static_cast<std::int16_t>(data[0] | data[1] << 8);
  const std::vector<std::wstring> pieces = fuzz::Pieces(data + 2, size - 2);
  const std::wstring goToText = pieces.size() > 1 ? pieces[1] : L"typed";

  fuzz::FreshWindow fresh;
  frmRegEdit& w = fresh.window;
  w.txtGoTo->SetText(goToText);
  w.txtFindList->SetText(pieces[0]);
  static_cast<runtime::HeadlessTextBox&>(*w.txtFindList).UserClick(caret);

  fuzz::Require(fuzz::FixtureTree().OpenHandleCount() == 0, "no key left open");
  fuzz::Require(w.txtGoTo->Text() == goToText, "the Go To box keeps its text");
  const std::wstring& results = pieces[0];
  const auto start = static_cast<std::size_t>(w.txtFindList->SelStart());
  const auto length = static_cast<std::size_t>(w.txtFindList->SelLength());
  fuzz::Require(start + length <= results.size(), "the selection lies inside the text");
  fuzz::Require(results.substr(start, length).find(L"\r\n") == std::wstring::npos, "the selection is one line");

  // The entry as the whole text reads: the last ": " at or before the caret, up to the next CR LF.
  const std::size_t caretAt = std::min<std::size_t>(static_cast<std::size_t>(std::max<int>(caret, 0)), results.size());
  std::size_t labelEnd = 0;
  for (std::size_t i = caretAt; i >= 1 && labelEnd == 0; --i)
    if (i < results.size() && results[i - 1] == L':' && results[i] == L' ') labelEnd = i;
  if (labelEnd == 0) {
    fuzz::Require(start == caretAt && length == 0, "no entry: the caret stays where the click put it");
    return 0;
  }
  const std::size_t lineEnd = std::min(results.find(L"\r\n", labelEnd - 1), results.size());
  fuzz::Require(start == labelEnd + 1 && start + length == lineEnd, "the clicked line's entry is selected");
  return 0;
}
