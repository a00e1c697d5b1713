#include "results/results_editing.h"

#include "commands/procedure.h"
#include "commands/remove_selected_row.h"
#include "lists/list_view.h"
#include "platform/window_services.h"

namespace tallyvane {

void ListView2_DblClick(const WindowServices& window, ListView& results) {
    removeSelectedRow(window, results);
}

void ListView2_KeyDown(const WindowServices& window, ListView& results, int keyCode,
                       int /*shift*/) {
    if (keyCode == kDeleteKeyCode)
        removeSelectedRow(window, results);
}

void PushButton2_Click(Prompts& prompts, ListView& results) {
    Procedure p(prompts,
                locationText(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click")));
    p.step(100, [&] { results.clear(); });
}

} // namespace tallyvane
