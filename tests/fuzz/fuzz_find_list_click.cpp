// A click into the search results, with any text and any caret: no crash, no key left open, the selection inside
// the text and within one line, and the Go To box's own text back as it was.
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
  return 0;
}
