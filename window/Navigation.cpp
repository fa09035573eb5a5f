#include "window/frmRegEdit.h"

namespace quillon {

void frmRegEdit::List1_Click() {}
void frmRegEdit::List2_Click() {}
void frmRegEdit::List2_DblClick() {}

}  // namespace quillon
