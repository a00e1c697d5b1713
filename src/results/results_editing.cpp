#include "results/results_editing.h"

#include "app/procedure.h"
#include "app/remove_selected_row.h"
#include "platform/list_view.h"
#include "platform/window_services.h"

namespace tallyvane {

void ListView2_DblClick(Form1Services& s) {
    removeSelectedRow(s.window, s.results);
}

void ListView2_KeyDown(Form1Services& s, int keyCode, int /*shift*/) {
    if (keyCode == kDeleteKeyCode)
        removeSelectedRow(s.window, s.results);
}

void PushButton2_Click(Form1Services& s) {
    Procedure p(s.prompts,
                locationText(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click")));
    p.step(100, [&] { s.results.clear(); });
}

} // namespace tallyvane
