#include "results/text_export.h"

namespace tallyvane {

void PushButton4_Click(Form1Services&) {}

} // namespace tallyvane
