#include "entries/file_loading.h"

#include "commands/procedure.h"
#include "lists/list_view.h"
#include "platform/file_dialog.h"
#include "platform/prompts.h"
#include "platform/window_services.h"

#include <QDir>

namespace tallyvane {

namespace {
const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
constexpr long kOpenFlags = DialogFlag::Explorer | DialogFlag::LongNames |
                            DialogFlag::AllowMultiSelect | DialogFlag::ReadOnlyBox;
const QString kTitle = QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");
// The lists the program reads come first; the designed two stay after them.
const QString kFilter = QStringLiteral(
    "Lists (*.txt *.csv *.tsv *.xlsx *.ods *.vcf)|*.txt;*.csv;*.tsv;*.xlsx;*.ods;*.vcf|"
    "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
const QString kSeparator = QStringLiteral("/");
const QString kDoubleSeparator = QStringLiteral("//");

// Everything after the dialog has answered.
void loadChosenFiles(Prompts& prompts, WindowServices& window, ListView& entries,
                     const QStringList& paths, Procedure& p, const ColumnReading& columns,
                     MissingFile missing) {
    ColumnReading reading = columns;
    reading.keepResponsive = [&window] { window.processEvents(); };
    const auto load = [&](const QString& path) {
        LoadListFromFile(prompts, entries, path, missing, &reading);
    };
    p.step(114, [&] { window.setPointer(Pointer::Busy); });
    if (paths.size() == 1) {
        const QString& path = paths.first();
        p.step(120, [&] { load(path); });
    } else {
        for (const QString& chosen : paths) {
            QString path = chosen;
            path = p.value(132, path, [&] { return FixDoubleBackslashes(path); });
            p.step(134, [&] { load(path); });
        }
    }
    p.step(138, [&] { window.setPointer(Pointer::Default); });
}
} // namespace

QString FixDoubleBackslashes(const QString& path) {
    if (!path.startsWith(kSeparator)) {
        QString fixed = path;
        return fixed.replace(kDoubleSeparator, kSeparator);
    }
    // A path of this form elsewhere would keep two leading separators for a
    // network share; here "//" names nothing but the root, so one is kept.
    qsizetype start = 1;
    while (start < path.size() && path[start] == QLatin1Char('/'))
        ++start;
    QString rest = path.mid(start);
    return kSeparator + rest.replace(kDoubleSeparator, kSeparator);
}

void PushButton3_Click(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                       ListView& entries, const ColumnReading& reading) {
    Procedure p(prompts, kLocation);
    p.step(100, [&] { dialog.setFileName(QString()); });
    p.step(102, [&] { dialog.setFlags(kOpenFlags); });
    p.step(104, [&] { dialog.setTitle(kTitle); });
    p.step(106, [&] { dialog.setFilter(kFilter); });
    // The dialog hands over the chosen files as full paths in its own order.
    const QStringList paths = p.value(108, QStringList(), [&] { return dialog.showOpen(); });
    if (paths.isEmpty()) // Cancel
        return;
    ColumnReading tablesOnly = reading;
    tablesOnly.onlyNamedTables = true;
    loadChosenFiles(prompts, window, entries, paths, p, tablesOnly, MissingFile::Designed);
}

void loadChosenFiles(Prompts& prompts, WindowServices& window, ListView& entries,
                     const QStringList& paths, const ColumnReading& reading) {
    Procedure p(prompts, kLocation);
    loadChosenFiles(prompts, window, entries, paths, p, reading, MissingFile::Named);
}

} // namespace tallyvane
