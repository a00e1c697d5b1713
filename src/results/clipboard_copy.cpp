#include "results/clipboard_copy.h"

namespace tallyvane {

void PushButton5_Click(Form1Services&) {}

} // namespace tallyvane
