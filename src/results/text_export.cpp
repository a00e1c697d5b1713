#include "results/text_export.h"

#include "app/file_exists.h"
#include "app/procedure.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/aligned_text_writer.h"

namespace tallyvane {

namespace {

// Explorer style with long names, several files allowed, the read-only box
// ticked; no overwrite prompt of the dialog's own and no default extension.
constexpr long kSaveFlags = 0x80000 | 0x200000 | 0x200 | 0x1;

} // namespace

void PushButton4_Click(Form1Services& s) {
    Procedure p(s.prompts,
                locationText(QStringLiteral("Form1"), QStringLiteral("PushButton4_Click")));
    p.step(106, [&] { s.dialog.setFileName(QString()); });
    p.step(108, [&] { s.dialog.setFlags(kSaveFlags); });
    p.step(110, [&] { s.dialog.setTitle(QStringLiteral("Save")); });
    p.step(112, [&] {
        s.dialog.setFilter(QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    });
    const QString path = p.value(114, QString(), [&] { return s.dialog.showSave(); }); // 114, 116
    if (path.isEmpty())                                                                // 118
        return;
    // No answer yet: a question box that fails leaves the file alone.
    int answer = 0;
    if (p.test(120, [&] { return FileExists(path); })) {
        answer = p.value(122, answer, [&] {
            return s.prompts.messageBox(QStringLiteral("Are you sure you wish to overwrite ") +
                                            path + QStringLiteral(" ?"),
                                        MessageStyle::YesNo);
        });
    } else {
        answer = MessageAnswer::Yes; // 124
    }
    if (answer != MessageAnswer::Yes) // 126
        return;
    p.step(128, [&] { s.window.setPointer(Pointer::Busy); });
    bool written = false;
    p.step(130, [&] {
        written = SaveListviewProperlySpaced(s.prompts, s.window, s.results, path, &s.progress);
    });
    p.step(132, [&] { s.window.setPointer(Pointer::Default); });
    // "Done." after a report would call a failure a success.
    if (written && p.failures() == 0)
        p.step(134, [&] { s.prompts.messageBox(QStringLiteral("Done.")); });
}

} // namespace tallyvane
