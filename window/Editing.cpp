#include "window/frmRegEdit.h"

namespace quillon {

void frmRegEdit::cmdCreateSubKey_Click() {}
void frmRegEdit::cmdDeleteKey_Click() {}
void frmRegEdit::cmdCreateValueS_Click() {}
void frmRegEdit::cmdCreateValueN_Click() {}
void frmRegEdit::cmdCreateValueB_Click() {}
void frmRegEdit::cmdDeleteValue_Click() {}

}  // namespace quillon
