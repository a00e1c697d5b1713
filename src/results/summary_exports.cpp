#include "results/summary_exports.h"

#include "commands/procedure.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/clipboard_attempts.h"
#include "results/results_summary.h"
#include "results/text_file_output.h"

namespace tallyvane {

namespace {
const QString kCopyLocation =
    locationText(QStringLiteral("Summary"), QStringLiteral("CopySummary"));
const QString kSaveLocation =
    locationText(QStringLiteral("Summary"), QStringLiteral("SaveSummaryAsCsv"));
} // namespace

void CopySummary(Prompts& prompts, Clipboard& clipboard, const ResultsSummary& summary) {
    Procedure p(prompts, kCopyLocation);
    p.step(100, [&] {
        const QString text = summaryTsv(summary);
        const QString html = summaryHtml(summary);
        putTableOnClipboard(clipboard, text, html, QStringLiteral("The summary"));
    });
}

void SaveSummaryAsCsv(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                      const ResultsSummary& summary) {
    Procedure p(prompts, kSaveLocation);
    p.step(100, [&] { dialog.setFileName(kSummaryFileName); });
    p.step(102, [&] {
        dialog.setFlags(DialogFlag::Explorer | DialogFlag::LongNames | DialogFlag::OverwritePrompt);
    });
    p.step(104, [&] { dialog.setTitle(QStringLiteral("Save Summary As CSV")); });
    p.step(106, [&] {
        dialog.setFilter(QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|"));
    });
    const QString path = p.value(108, QString(), [&] { return dialog.showSave(); });
    if (path.isEmpty()) // Cancel
        return;
    p.step(110, [&] { window.setPointer(Pointer::Busy); });
    TextFileOutput file;
    p.step(112, [&] {
        file.create(path);
        const QString csv = summaryCsv(summary);
        for (const QStringView line : QStringTokenizer(csv, u'\n', Qt::SkipEmptyParts))
            file.writeLine(line.toString());
        file.commit();
    });
    file.abandon();
    p.step(114, [&] { window.setPointer(Pointer::Default); });
    if (p.failures() == 0)
        p.step(116, [&] { prompts.messageBox(QStringLiteral("Done.")); });
}

} // namespace tallyvane
