#include "results/summary_exports.h"

#include "commands/procedure.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/clipboard_attempts.h"
#include "results/csv_save.h"
#include "results/results_summary.h"

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
    saveCsvFile(p, prompts, dialog, window, kSummaryFileName, QStringLiteral("Save Summary As CSV"),
                [&](const auto& writeLine) {
                    for (const QString& line : summaryCsvLines(summary))
                        writeLine(line);
                });
}

} // namespace tallyvane
