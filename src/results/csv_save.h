#pragma once

#include <QString>

#include <functional>

namespace tallyvane {

class FileDialog;
class Procedure;
class Prompts;
class WindowServices;

// Saves a CSV file the person chooses, the way both CSV saves of the results
// list's menu go: steps 100 to 108 ask where (the suggested name, the dialog
// asking before it replaces a file, the title, the filter); 110 sets the busy
// pointer; 112 writes the lines that writeLines hands to its argument into a
// file beside the target that takes its place only when complete, so a full
// disk costs nothing that was there; 114 puts the pointer back, and 116 says
// "Done." when no step failed. Cancel writes nothing.
void saveCsvFile(Procedure& p, Prompts& prompts, FileDialog& dialog, WindowServices& window,
                 const QString& fileName, const QString& title,
                 const std::function<void(const std::function<void(const QString&)>&)>& writeLines);

// The same, for a writer that writes the chosen file itself (whole or not at
// all), with the dialog's filter.
inline const QString kCsvFilter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|");
void saveFileWith(Procedure& p, Prompts& prompts, FileDialog& dialog, WindowServices& window,
                  const QString& fileName, const QString& title, const QString& filter,
                  const std::function<void(const QString& path)>& write);

} // namespace tallyvane
