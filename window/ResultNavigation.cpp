// A click into the search results opens the entry of the clicked line through Go To.
#include "window/frmRegEdit.h"

#include <algorithm>
#include <string>

namespace quillon {

void frmRegEdit::txtFindList_Click() {
  const std::wstring results = txtFindList->Text();
  if (results.empty()) return;

  // Positions below count from 1, as the caret counts the characters before it: the test at i = caret looks at the
  // character just before the caret and the one just after it.
  const std::size_t length = results.size();
  const std::size_t caret = std::min<std::size_t>(static_cast<std::size_t>(std::max(txtFindList->SelStart(), 0)),
                                                  length);
  std::size_t labelEnd = 0;
  for (std::size_t i = caret; i >= 1; --i) {
    if (i < length && results[i - 1] == L':' && results[i] == L' ') {
      labelEnd = i;
      break;
    }
  }
  if (labelEnd == 0) return;

  // Every line the search writes ends with CR LF. Should the last one ever lack it, its entry runs to the end of
  // the text rather than to a line end that is not there.
  const std::size_t crlf = results.find(L"\r\n", labelEnd - 1);
  const std::size_t lineEnd = crlf == std::wstring::npos ? length + 1 : crlf + 1;
  const std::size_t entryStart = labelEnd + 1;
  const std::size_t entryLength = lineEnd - (labelEnd + 2);
  txtFindList->SetSelStart(static_cast<int>(entryStart));
  txtFindList->SetSelLength(static_cast<int>(entryLength));

  const std::wstring kept = txtGoTo->Text();
  txtGoTo->SetText(results.substr(entryStart, entryLength));
  cmdGoTo_Click();
  txtGoTo->SetText(kept);
}

}  // namespace quillon
