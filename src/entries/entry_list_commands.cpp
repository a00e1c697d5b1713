#include "entries/entry_list_commands.h"

#include "app/procedure.h"
#include "platform/list_view.h"
#include "platform/main_window_surface.h"
#include "platform/prompts.h"
#include "platform/window_services.h"

namespace tallyvane {

namespace {

const QString kAddLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"));
const QString kClearLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
constexpr int kDeleteKeyCode = 46;

// Removal carries no error report, so a failure of the list ends it quietly:
// the entry stays where it was and the window stays usable.
void removeSelectedEntry(Form1Services& s) {
    try {
        if (s.window.isBusy() || s.entries.count() == 0)
            return;
        // With nothing selected there is no position to remove.
        const int position = s.entries.selectedPosition();
        if (position > 0)
            s.entries.remove(position);
    } catch (const Failure&) {
    }
}

} // namespace

void PushButton6_Click(Form1Services& s) {
    Procedure p(s.prompts, kAddLocation);
    const QString typed = p.value(100, QString(), [&] {
        return s.prompts.inputPrompt(QStringLiteral("Enter city, state or zip code to add: "),
                                     s.surface.applicationTitle(), QString());
    });
    if (typed.isEmpty()) // 102: Cancel, or OK on an empty field
        return;
    p.step(104, [&] { s.entries.append(typed); });
}

void PushButton1_Click(Form1Services& s) {
    Procedure p(s.prompts, kClearLocation);
    p.step(100, [&] {
        if (!s.window.isBusy())
            s.entries.clear();
    });
}

void ListView1_DblClick(Form1Services& s) {
    removeSelectedEntry(s);
}

void ListView1_KeyDown(Form1Services& s, int keyCode) {
    if (keyCode == kDeleteKeyCode)
        removeSelectedEntry(s);
}

} // namespace tallyvane
