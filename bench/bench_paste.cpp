#include "bench_paste.h"

#include "app/qt/form1.h"
#include "bench_util.h"
#include "entries/column_lists.h"
#include "entries/file_loading.h"
#include "entries/list_file.h"
#include "lists/list_model.h"
#include "platform/qt/qt_window_services.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QShortcut>
#include <QTableView>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace tallyvane::bench {

namespace {

constexpr std::array<const char*, 8> kTexts{
    "603-237-4934",          "1-201-555-0142", "(212) 555-0199", "603", "nh", "New Hampshire", "",
    "S\xC3\xA3o Tom\xC3\xA9"};
// Spreadsheets copy with CR LF; text editors with LF.
constexpr std::array<const char*, 3> kLineEnds{"\r\n", "\r\n", "\n"};

QByteArray lines(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes += kTexts[std::size_t(i) % kTexts.size()];
        bytes += kLineEnds[std::size_t(i / 5) % kLineEnds.size()];
    }
    return bytes;
}

// A contacts export: four columns, quoted names with commas, a blank phone now and then.
QByteArray contacts(int count, char delimiter) {
    QByteArray bytes = QByteArray("Name,Phone,Email,Company\r\n").replace(',', delimiter);
    for (int i = 0; i < count; ++i) {
        bytes += "\"Smith, Ann ";
        bytes += QByteArray::number(i);
        bytes += '"';
        bytes += delimiter;
        if (i % 20 != 0)
            bytes += kTexts[std::size_t(i) % 3];
        bytes += delimiter;
        bytes += "ann";
        bytes += QByteArray::number(i);
        bytes += "@example.com";
        bytes += delimiter;
        bytes += "Acme\r\n";
    }
    return bytes;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the entry file");
}

// Until every row is announced to the list and the list has painted once.
double untilShown(Form1& window, const QElapsedTimer& timer, int expected) {
    ListModel& model = window.entryModel();
    while (model.rowCount() < expected)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.findChild<QTableView*>(QStringLiteral("ListView1"))->viewport()->repaint();
    if (model.count() != expected)
        throw std::runtime_error("a different number of entries arrived");
    return double(timer.nsecsElapsed()) / 1e6;
}

QShortcut* pasteShortcut(Form1& window) {
    for (QShortcut* shortcut : window.findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_V))
            return shortcut;
    }
    throw std::runtime_error("the window has no Ctrl+V");
}

} // namespace

void benchPaste(int count) {
    testing::FakePrompts prompts;
    refuseMessages(prompts);
    Form1Overrides overrides;
    overrides.prompts = &prompts;
    overrides.unload = [] {};
    Form1 window(std::move(overrides));
    window.show();
    QCoreApplication::processEvents();

    const QByteArray bytes = lines(count);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("entries.txt"));
    writeBytes(path, bytes);
    QApplication::clipboard()->setText(QString::fromUtf8(bytes));

    QElapsedTimer timer;
    timer.start();
    LoadListFromFile(prompts, window.entryModel(), path);
    const double loadMs = untilShown(window, timer, count);
    window.entryModel().clear();
    QCoreApplication::processEvents();

    QShortcut* paste = pasteShortcut(window);
    timer.restart();
    Q_EMIT paste->activated();
    const double pasteMs = untilShown(window, timer, count);

    std::printf("paste: %d lines in %.1f ms (%.0f ns/line) until shown; "
                "file load of the same lines: %.1f ms\n",
                count, pasteMs, pasteMs * 1e6 / count, loadMs);
    std::fflush(stdout);
    window.entryModel().clear();
    QCoreApplication::processEvents();

    // The same number of rows in four columns, the phone column chosen: as
    // spreadsheet cells on the clipboard, and as a CSV file dropped.
    QApplication::clipboard()->setText(QString::fromUtf8(contacts(count, '\t')));
    prompts.columnAnswers = {1};
    timer.restart();
    Q_EMIT paste->activated();
    const double cellsMs = untilShown(window, timer, count);
    window.entryModel().clear();
    QCoreApplication::processEvents();

    const QString csv = dir.filePath(QStringLiteral("contacts.csv"));
    writeBytes(csv, contacts(count, ','));
    prompts.columnAnswers = {1};
    RememberedColumns remembered;
    timer.restart();
    loadChosenFiles(prompts, window.windowServices(), window.entryModel(), {csv},
                    {Direction::AreaCodesToStates, remembered});
    const double dropMs = untilShown(window, timer, count);
    std::printf("columns: %d rows of four columns, one taken, until shown: pasted cells "
                "%.1f ms, a dropped CSV file %.1f ms (target: 2000 ms)\n",
                count, cellsMs, dropMs);
    std::fflush(stdout);
}

} // namespace tallyvane::bench
