#include "entries/entry_list_commands.h"

#include "commands/procedure.h"
#include "commands/remove_selected_row.h"
#include "lists/list_view.h"
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

void PushButton6_Click(Prompts& prompts, const MainWindowSurface& surface, ListView& entries) {
    Procedure p(prompts, kAddLocation);
    const QString typed = p.value(100, QString(), [&] {
        return prompts.inputPrompt(QStringLiteral("Enter city, state or zip code to add: "),
                                   surface.applicationTitle(), QString());
    });
    if (typed.isEmpty()) // Cancel, or OK on an empty field
        return;
    p.step(104, [&] { entries.append(typed); });
}

void PushButton1_Click(Prompts& prompts, const WindowServices& window, ListView& entries) {
    Procedure p(prompts, kClearLocation);
    p.step(100, [&] {
        if (!window.isBusy())
            entries.clear();
    });
}

void ListView1_DblClick(const WindowServices& window, ListView& entries) {
    removeSelectedRow(window, entries);
}

void ListView1_KeyDown(const WindowServices& window, ListView& entries, int keyCode) {
    if (keyCode == kDeleteKeyCode)
        removeSelectedRow(window, entries);
}

} // namespace tallyvane
