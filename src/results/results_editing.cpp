#include "results/results_editing.h"

namespace tallyvane {

void ListView2_DblClick(Form1Services&) {}
void ListView2_KeyDown(Form1Services&, int, int) {}
void PushButton2_Click(Form1Services&) {}

} // namespace tallyvane
