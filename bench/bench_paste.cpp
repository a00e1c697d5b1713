#include "bench_paste.h"

#include "app/qt/form1.h"
#include "bench_util.h"
#include "entries/file_loading.h"
#include "lists/list_model.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTreeView>

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

// Until every row is announced to the list and the list has painted once.
double untilShown(Form1& window, const QElapsedTimer& timer, int expected) {
    ListModel& model = window.entryModel();
    while (model.rowCount() < expected)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport()->repaint();
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the entry file");
    file.close();
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
}

} // namespace tallyvane::bench
