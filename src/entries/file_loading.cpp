#include "entries/file_loading.h"

#include "app/file_exists.h"
#include "app/procedure.h"
#include "entries/entry_file_reader.h"
#include "entries/load_memory.h"
#include "platform/failure.h"
#include "platform/file_dialog.h"
#include "platform/list_view.h"
#include "platform/prompts.h"
#include "platform/window_services.h"

#include <new>

namespace tallyvane {

namespace {
const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
constexpr long kOpenFlags = 2621953; // read-only box, several files, long names
const QString kTitle = QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");
const QString kFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
const QString kSeparator = QStringLiteral("/");
const QString kDoubleSeparator = QStringLiteral("//");

// Lines 114 to 138 of the command: everything after the dialog has answered.
void loadChosenFiles(Form1Services& s, const QStringList& paths, Procedure& p) {
    p.step(114, [&] { s.window.setPointer(Pointer::Busy); });
    if (paths.size() == 1) {                 // 116
        const QString& path = paths.first(); // 118
        p.step(120, [&] { LoadListFromFile(s.prompts, s.entries, path); });
    } else {                                  // 122
        for (const QString& chosen : paths) { // 128
            QString path = chosen;            // 130
            path = p.value(132, path, [&] { return FixDoubleBackslashes(path); });
            p.step(134, [&] { LoadListFromFile(s.prompts, s.entries, path); });
        }
    }
    p.step(138, [&] { s.window.setPointer(Pointer::Default); });
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

void LoadListFromFile(Prompts& prompts, ListView& list, const QString& path) {
    if (!FileExists(path)) {
        prompts.messageBox(QStringLiteral("File not found"), MessageStyle::Ok);
        return;
    }
    refuseLoadBeyondMemory(path);
    const int before = list.count();
    try {
        appendEntriesFromFile(list, path);
    } catch (const std::bad_alloc&) {
        throw Failure(QStringLiteral("Out of memory: %1 entries of this file were loaded and the "
                                     "rest was not.")
                          .arg(list.count() - before));
    }
}

void PushButton3_Click(Form1Services& s) {
    Procedure p(s.prompts, kLocation);
    p.step(100, [&] { s.dialog.setFileName(QString()); });
    p.step(102, [&] { s.dialog.setFlags(kOpenFlags); });
    p.step(104, [&] { s.dialog.setTitle(kTitle); });
    p.step(106, [&] { s.dialog.setFilter(kFilter); });
    // The dialog hands over the chosen files as full paths in its own order.
    const QStringList paths = p.value(108, QStringList(), [&] { return s.dialog.showOpen(); });
    if (paths.isEmpty()) // 110: Cancel
        return;
    loadChosenFiles(s, paths, p);
}

void loadChosenFiles(Form1Services& s, const QStringList& paths) {
    Procedure p(s.prompts, kLocation);
    loadChosenFiles(s, paths, p);
}

} // namespace tallyvane
