// A click into the search results opens the entry of the clicked line through Go To.
#include <algorithm>
#include <string>

#include "window/frmRegEdit.h"

namespace quillon {

namespace {

// The results are read a block at a time around the caret: they can run to hundreds of megabytes, and only the
// clicked line and its neighbourhood matter.
constexpr std::size_t kBlock = 256;

/// The largest i in [1, last] with ':' at i - 1 and ' ' at i, or 0 when there is none.
std::size_t LabelEndAtOrBefore(const runtime::TextBox& box, std::size_t last) {
  for (std::size_t end = last + 1; end > 1;) {
    const std::size_t start = end > kBlock ? end - kBlock : 0;
    const std::wstring block = box.TextRange(start, end - start);
    for (std::size_t i = end - 1; i > start; --i) {
      if (block[i - 1 - start] == L':' && block[i - start] == L' ') return i;
    }
    end = start + 1;  // the pair that straddles the block's start comes with the next block
  }
  return 0;
}

/// The first position at or after `from` where CR LF stands, or npos.
std::size_t LineBreakFrom(const runtime::TextBox& box, std::size_t from) {
  const std::size_t length = box.TextLength();
  for (std::size_t start = from; start + 1 < length; start += kBlock) {
    const std::wstring block = box.TextRange(start, kBlock + 1);  // one more, for a break across blocks
    const std::size_t found = block.find(L"\r\n");
    if (found != std::wstring::npos && found < kBlock) return start + found;
  }
  return std::wstring::npos;
}

}  // namespace

void frmRegEdit::txtFindList_Click() {
  const std::size_t length = txtFindList->TextLength();
  if (length == 0) return;

  // Positions below count from 1, as the caret counts the characters before it: the test at i = caret looks at the
  // character just before the caret and the one just after it.
  const std::size_t caret = std::min<std::size_t>(static_cast<std::size_t>(std::max(txtFindList->SelStart(), 0)),
                                                  length);
  const std::size_t labelEnd = LabelEndAtOrBefore(*txtFindList, std::min(caret, length - 1));
  if (labelEnd == 0) return;

  // Every line the search writes ends with CR LF. Should the last one ever lack it, its entry runs to the end of
  // the text rather than to a line end that is not there.
  const std::size_t crlf = LineBreakFrom(*txtFindList, labelEnd - 1);
  const std::size_t lineEnd = crlf == std::wstring::npos ? length + 1 : crlf + 1;
  const std::size_t entryStart = labelEnd + 1;
  const std::size_t entryLength = lineEnd - (labelEnd + 2);
  txtFindList->SetSelStart(static_cast<int>(entryStart));
  txtFindList->SetSelLength(static_cast<int>(entryLength));

  const std::wstring kept = txtGoTo->Text();
  txtGoTo->SetText(txtFindList->TextRange(entryStart, entryLength));
  cmdGoTo_Click();
  txtGoTo->SetText(kept);
}

}  // namespace quillon
