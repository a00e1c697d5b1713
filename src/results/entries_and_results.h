#pragma once

#include "conversion/direction.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tallyvane {

class Clipboard;
class FileDialog;
class ListView;
class Prompts;
class WindowServices;
struct KeptTable;

// Columns an export adds after Reason (the window's time zones, when shown):
// their headings, and a results row's cells, by position.
struct MoreColumns {
    QStringList headings;
    std::function<QStringList(int position)> cells;
};

// The results beside the entries that gave them, beyond the designed exports:
// a table of three columns, Entry, Result and Reason, one row per results row
// in order, each with the entry that produced it (kept right however either
// list has changed since) and, where it found nothing, why.

// On the clipboard as tab-separated text and as an HTML table, so that a paste
// into a spreadsheet gives the columns and one into a text editor the text.
void CopyEntriesAndResults(Prompts& prompts, WindowServices& window, Clipboard& clipboard,
                           const ListView& results, const MoreColumns* more = nullptr);

// Into a CSV file the person chooses (RFC 4180, UTF-8, with tallyvane-convert's
// guard against fields a spreadsheet would run as formulas), written whole or
// not at all; "Done." once it is.
// When every entry came from one table read by columns (whole), the person
// is asked first whether to save that whole table instead: its every column,
// with the results beside the cells they came from (see whole_table.h).
struct WholeTableSource {
    const ListView& entries;
    const KeptTable& kept;
    Direction direction;
};
void SaveEntriesAndResultsAsCsv(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                                const ListView& results, const MoreColumns* more = nullptr,
                                const WholeTableSource* whole = nullptr);

// The dialog's suggested name for the file.
inline const QString kEntriesAndResultsFileName = QStringLiteral("entries-and-results.csv");

} // namespace tallyvane
