#include "window/frmRegEdit.h"

namespace quillon {

void frmRegEdit::cmdGoTo_Click() {}
void frmRegEdit::cmdDeleteGoto_Click() {}
void frmRegEdit::FillGotoList() {}

}  // namespace quillon
