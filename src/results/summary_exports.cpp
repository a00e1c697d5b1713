#include "results/summary_exports.h"

#include "commands/procedure.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/clipboard_attempts.h"
#include "results/csv_save_dialog.h"
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
    const QString path =
        askForCsvFile(p, dialog, kSummaryFileName, QStringLiteral("Save Summary As CSV"));
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
