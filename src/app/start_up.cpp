#include "app/start_up.h"

#include "platform/list_view.h"

namespace tallyvane {

void Form_Load(Form1Services& s) {
    s.entries.addColumn(QStringLiteral("States or Area Codes"));
    s.entries.setFirstColumnWidthTwips(7000);
    s.results.addColumn(QStringLiteral("Results"));
    s.results.setFirstColumnWidthTwips(7000);
}
void Option1_Click(Form1Services&) {}
void Option2_Click(Form1Services&) {}

} // namespace tallyvane
