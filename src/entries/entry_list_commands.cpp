#include "entries/entry_list_commands.h"

#include "app/procedure.h"
#include "app/remove_selected_row.h"
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
    removeSelectedRow(s.window, s.entries);
}

void ListView1_KeyDown(Form1Services& s, int keyCode) {
    if (keyCode == kDeleteKeyCode)
        removeSelectedRow(s.window, s.entries);
}

} // namespace tallyvane
