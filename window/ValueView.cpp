#include "window/frmRegEdit.h"

namespace quillon {

void frmRegEdit::List3_Click() {}

}  // namespace quillon
