#pragma once

#include <QString>

namespace tallyvane {

class FileDialog;
class Procedure;

// Asks where to save a CSV file, in steps 100 to 108 of the calling command:
// the suggested name, the dialog's flags (it asks before replacing a file),
// its title and its filter. The chosen path, or the empty text after Cancel.
QString askForCsvFile(Procedure& p, FileDialog& dialog, const QString& fileName,
                      const QString& title);

} // namespace tallyvane
