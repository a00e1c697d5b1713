#include "entries/file_loading.h"

namespace tallyvane {

void PushButton3_Click(Form1Services&) {}

} // namespace tallyvane
