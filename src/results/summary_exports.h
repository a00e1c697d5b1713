#pragma once

#include <QString>

namespace tallyvane {

class Clipboard;
class FileDialog;
class Prompts;
class WindowServices;
struct ResultsSummary;

// The summary of the results, beyond the designed exports: the same table
// tallyvane-convert --summary writes.

// On the clipboard as tab-separated text and as an HTML table.
void CopySummary(Prompts& prompts, Clipboard& clipboard, const ResultsSummary& summary);

// Into a CSV file the person chooses, written whole or not at all; "Done."
// once it is.
void SaveSummaryAsCsv(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                      const ResultsSummary& summary);

inline const QString kSummaryFileName = QStringLiteral("summary.csv");

} // namespace tallyvane
