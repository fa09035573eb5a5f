#include "window/frmRegEdit.h"

namespace quillon {

void frmRegEdit::txtFindList_Click() {}

}  // namespace quillon
