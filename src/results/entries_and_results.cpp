#include "results/entries_and_results.h"

#include "commands/procedure.h"
#include "lists/list_view.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/clipboard_attempts.h"
#include "results/csv_field.h"
#include "results/csv_save.h"
#include "results/vanished_rows.h"

namespace tallyvane {

namespace {

const QString kCopyLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("CopyEntriesAndResults"));
const QString kSaveLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("SaveEntriesAndResultsAsCsv"));
const QStringList kHeadings{QStringLiteral("Entry"), QStringLiteral("Result"),
                            QStringLiteral("Reason")};

// Calls each with the cells of the heading and of every exported row (the
// three, then any more columns'), keeping the window responsive on the way.
template <class Each>
void forEachRow(WindowServices& window, const ListView& results, const MoreColumns* more,
                Each&& each) {
    each(more ? kHeadings + more->headings : kHeadings);
    const int rows = results.count();
    for (int r = 1; r <= rows; ++r) {
        window.processEvents();
        // Clear Results may empty the list while it is read.
        if (r > results.count())
            throwRowsGone(r, rows);
        if (!results.checked(r))
            continue;
        QStringList cells{results.originEntry(r), results.text(r), results.note(r)};
        if (more)
            cells += more->cells(r);
        each(cells);
    }
}

void appendHtmlCell(QString& html, const QString& text) {
    html += QStringLiteral("<td>");
    html += text.toHtmlEscaped();
    html += QStringLiteral("</td>");
}

} // namespace

void CopyEntriesAndResults(Prompts& prompts, WindowServices& window, Clipboard& clipboard,
                           const ListView& results, const MoreColumns* more) {
    Procedure p(prompts, kCopyLocation);
    p.step(100, [&] { window.setPointer(Pointer::Busy); });
    p.step(102, [&] {
        QString text;
        // Cells are text, so a spreadsheet never takes an entry for a formula.
        QString html = QStringLiteral(
            "<html><head><meta charset=\"utf-8\"><style>td{mso-number-format:\"\\@\";}</style>"
            "</head><body><table>");
        forEachRow(window, results, more, [&](const QStringList& cells) {
            html += QStringLiteral("<tr>");
            for (const QString& cell : cells) {
                text += csv::field(cell, false, '\t');
                text += QLatin1Char('\t');
                appendHtmlCell(html, cell);
            }
            text.back() = QLatin1Char('\n');
            html += QStringLiteral("</tr>");
        });
        html += QStringLiteral("</table></body></html>");
        putTableOnClipboard(clipboard, text, html, QStringLiteral("The table"));
    });
    p.step(104, [&] { window.setPointer(Pointer::Default); });
}

void SaveEntriesAndResultsAsCsv(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                                const ListView& results, const MoreColumns* more) {
    Procedure p(prompts, kSaveLocation);
    saveCsvFile(p, prompts, dialog, window, kEntriesAndResultsFileName,
                QStringLiteral("Save Entries and Results As CSV"), [&](const auto& writeLine) {
                    forEachRow(window, results, more, [&](const QStringList& cells) {
                        // Every field has its place, an empty first one too.
                        QStringList fields;
                        for (const QString& cell : cells)
                            fields << csv::field(cell);
                        writeLine(fields.join(QLatin1Char(',')));
                    });
                });
}

} // namespace tallyvane
