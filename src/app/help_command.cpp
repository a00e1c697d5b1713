#include "app/help_command.h"

namespace tallyvane {

void PushButton8_Click(Form1Services&) {}

} // namespace tallyvane
