#include "results/csv_save_dialog.h"

#include "commands/procedure.h"
#include "platform/file_dialog.h"

namespace tallyvane {

QString askForCsvFile(Procedure& p, FileDialog& dialog, const QString& fileName,
                      const QString& title) {
    p.step(100, [&] { dialog.setFileName(fileName); });
    p.step(102, [&] {
        dialog.setFlags(DialogFlag::Explorer | DialogFlag::LongNames | DialogFlag::OverwritePrompt);
    });
    p.step(104, [&] { dialog.setTitle(title); });
    p.step(106, [&] {
        dialog.setFilter(QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|"));
    });
    return p.value(108, QString(), [&] { return dialog.showSave(); });
}

} // namespace tallyvane
