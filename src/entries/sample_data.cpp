#include "entries/sample_data.h"

namespace tallyvane {

void PushButton7_Click(Form1Services&) {}

} // namespace tallyvane
