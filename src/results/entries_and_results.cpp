#include "results/entries_and_results.h"

#include "commands/csv_field.h"
#include "commands/procedure.h"
#include "entries/source_table.h"
#include "lists/list_view.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/clipboard_attempts.h"
#include "results/csv_save.h"
#include "results/text_file_output.h"
#include "results/vanished_rows.h"
#include "results/whole_table.h"

#include <QFileInfo>

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

namespace {

bool wholeTableWanted(Procedure& p, Prompts& prompts, const SourceTable& table) {
    return p.value(118, false, [&] {
        return prompts.messageBox(
                   QStringLiteral("The entries came from %1. Save the whole table, every column "
                                  "of it, with the results beside the entries?\n\n"
                                  "No saves the entries and results alone.")
                       .arg(table.name()),
                   MessageStyle::YesNo) == MessageAnswer::Yes;
    });
}

QString wholeTableFileName(const SourceTable& table) {
    const QString base = QFileInfo(table.name()).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("table") : base) + QStringLiteral("-results.csv");
}

} // namespace

void SaveEntriesAndResultsAsCsv(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                                const ListView& results, const MoreColumns* more,
                                const WholeTableSource* whole) {
    Procedure p(prompts, kSaveLocation);
    if (const std::shared_ptr<const SourceTable> table =
            whole ? wholeTableOf(whole->kept, whole->entries) : nullptr;
        table && wholeTableWanted(p, prompts, *table)) {
        // A workbook's sheet may go back into a workbook.
        const QString filter = table->fromWorkbook()
                                   ? QStringLiteral("CSV Files (*.csv)|*.csv|Excel Workbook "
                                                    "(*.xlsx)|*.xlsx|All Files (*.*)|*.*|")
                                   : kCsvFilter;
        saveFileWith(
            p, prompts, dialog, window, wholeTableFileName(*table),
            QStringLiteral("Save Entries and Results As CSV"), filter, [&](const QString& path) {
                if (table->fromWorkbook() &&
                    path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
                    return writeWholeTableWorkbook(path, *table, whole->entries, results,
                                                   whole->direction, more, window);
                TextFileOutput file;
                file.create(path);
                writeWholeTable(*table, whole->entries, results, whole->direction, more, window,
                                [&file](const QByteArray& piece) { file.writeBytes(piece); });
                file.commit();
            });
        return;
    }
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
