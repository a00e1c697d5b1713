#include "results/results_editing.h"

#include "app/procedure.h"
#include "platform/list_view.h"
#include "platform/window_services.h"

namespace tallyvane {

namespace {

constexpr int kDeleteKeyCode = 46;

// The guards keep the removal from failing; should the list still refuse,
// the row simply stays, which loses nothing and keeps the window usable.
void removeSelectedResult(Form1Services& s) {
    if (s.window.isBusy())
        return;
    try {
        if (s.results.count() == 0)
            return;
        const int position = s.results.selectedPosition();
        if (position > 0)
            s.results.remove(position);
    } catch (const Failure&) {
    }
}

} // namespace

void ListView2_DblClick(Form1Services& s) {
    removeSelectedResult(s);
}

void ListView2_KeyDown(Form1Services& s, int keyCode, int /*shift*/) {
    if (keyCode == kDeleteKeyCode)
        removeSelectedResult(s);
}

void PushButton2_Click(Form1Services& s) {
    Procedure p(s.prompts,
                locationText(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click")));
    p.step(100, [&] { s.results.clear(); });
}

} // namespace tallyvane
