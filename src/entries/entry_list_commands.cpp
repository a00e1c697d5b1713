#include "entries/entry_list_commands.h"

namespace tallyvane {

void PushButton6_Click(Form1Services&) {}
void PushButton1_Click(Form1Services&) {}
void ListView1_DblClick(Form1Services&) {}
void ListView1_KeyDown(Form1Services&, int) {}

} // namespace tallyvane
