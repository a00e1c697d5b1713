#include "results/csv_save.h"

#include "commands/procedure.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/text_file_output.h"

namespace tallyvane {

void saveCsvFile(
    Procedure& p, Prompts& prompts, FileDialog& dialog, WindowServices& window,
    const QString& fileName, const QString& title,
    const std::function<void(const std::function<void(const QString&)>&)>& writeLines) {
    saveFileWith(p, prompts, dialog, window, fileName, title, kCsvFilter, [&](const QString& path) {
        TextFileOutput file;
        file.create(path);
        writeLines([&file](const QString& line) { file.writeLine(line); });
        file.commit();
    });
}

void saveFileWith(Procedure& p, Prompts& prompts, FileDialog& dialog, WindowServices& window,
                  const QString& fileName, const QString& title, const QString& filter,
                  const std::function<void(const QString& path)>& write) {
    p.step(100, [&] { dialog.setFileName(fileName); });
    p.step(102, [&] {
        dialog.setFlags(DialogFlag::Explorer | DialogFlag::LongNames | DialogFlag::OverwritePrompt);
    });
    p.step(104, [&] { dialog.setTitle(title); });
    p.step(106, [&] { dialog.setFilter(filter); });
    const QString path = p.value(108, QString(), [&] { return dialog.showSave(); });
    if (path.isEmpty()) // Cancel
        return;
    p.step(110, [&] { window.setPointer(Pointer::Busy); });
    p.step(112, [&] { write(path); });
    p.step(114, [&] { window.setPointer(Pointer::Default); });
    if (p.failures() == 0)
        p.step(116, [&] { prompts.messageBox(QStringLiteral("Done.")); });
}

} // namespace tallyvane
