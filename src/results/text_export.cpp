#include "results/text_export.h"

#include "commands/file_exists.h"
#include "commands/procedure.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/aligned_text_writer.h"

namespace tallyvane {

namespace {

// No overwrite prompt of the dialog's own: the command asks itself.
constexpr long kSaveFlags = DialogFlag::Explorer | DialogFlag::LongNames |
                            DialogFlag::AllowMultiSelect | DialogFlag::ReadOnlyBox;

} // namespace

void PushButton4_Click(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                       const ListView& results, ProgressBar& progress) {
    Procedure p(prompts,
                locationText(QStringLiteral("Form1"), QStringLiteral("PushButton4_Click")));
    p.step(106, [&] { dialog.setFileName(QString()); });
    p.step(108, [&] { dialog.setFlags(kSaveFlags); });
    p.step(110, [&] { dialog.setTitle(QStringLiteral("Save")); });
    p.step(112, [&] {
        dialog.setFilter(QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    });
    QString path = p.value(114, QString(), [&] { return dialog.showSave(); });
    if (path.isEmpty()) // Cancel
        return;
    // A name typed without a suffix gets the filter's, as Qt's own dialogs
    // give it; the question below then asks about the file really written.
    if (!path.section(QLatin1Char('/'), -1).contains(QLatin1Char('.')))
        path += QStringLiteral(".txt");
    // No answer yet: a question box that fails leaves the file alone.
    int answer = 0;
    if (p.test(120, [&] { return FileExists(path); })) {
        answer = p.value(122, answer, [&] {
            return prompts.messageBox(QStringLiteral("Are you sure you wish to overwrite ") + path +
                                          QStringLiteral(" ?"),
                                      MessageStyle::YesNo);
        });
    } else {
        answer = MessageAnswer::Yes;
    }
    if (answer != MessageAnswer::Yes)
        return;
    p.step(128, [&] { window.setPointer(Pointer::Busy); });
    bool written = false;
    p.step(130, [&] {
        written = SaveListviewProperlySpaced(prompts, window, results, path, &progress);
    });
    p.step(132, [&] { window.setPointer(Pointer::Default); });
    // "Done." after a report would call a failure a success.
    if (written && p.failures() == 0)
        p.step(134, [&] { prompts.messageBox(QStringLiteral("Done.")); });
}

} // namespace tallyvane
