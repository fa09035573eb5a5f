#include "window/frmRegEdit.h"

namespace quillon {

void frmRegEdit::cmdFind_Click() {}
void frmRegEdit::chkKeys_Click() {}
void frmRegEdit::chkValues_Click() {}
void frmRegEdit::chkDatas_Click() {}

void frmRegEdit::AddFindKeys(const std::wstring&) {}
void frmRegEdit::AddFindValues(const std::wstring&) {}

}  // namespace quillon
