// Loads under a capped address space, in a child process that runs the real
// load command in the real window (offscreen): a file that cannot fit is
// refused before it starts, and one that runs out of memory part way keeps
// what it loaded and leaves a working window.
#include "app/qt/form1.h"
#include "entries/entry_list_commands.h"
#include "entries/file_loading.h"
#include "lists/list_model.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

#include <sys/resource.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const char kChildFlag[] = "--capped-load";

qint64 virtualSizeBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// The child: the window with one entry, the address space capped at what it
// uses now plus headroom, then the load command on the file, then a small
// file to show that the window still works. Prints what the user would see.
int runCappedLoad(int argc, char** argv) {
    const QString path = QString::fromLocal8Bit(argv[2]);
    const qint64 headroom = QByteArray(argv[3]).toLongLong() << 20;
    const QString small = QString::fromLocal8Bit(argv[4]);
    QApplication app(argc, argv);
    FakePrompts prompts;
    FakeFileDialog dialog;
    FakeSettingsStore settings;
    Form1Overrides o;
    o.prompts = &prompts;
    o.dialog = &dialog;
    o.settings = &settings;
    o.unload = [] {};
    Form1 form(o);
    form.show();
    form.entryModel().append(QStringLiteral("kept"));
    QTest::qWait(100);
    const rlimit cap{rlim_t(virtualSizeBytes() + headroom), rlim_t(virtualSizeBytes() + headroom)};
    if (::setrlimit(RLIMIT_AS, &cap) != 0)
        return 3;
    dialog.openAnswers = {{path}, {small}};
    clickButton(form, "PushButton3");
    std::printf("loaded %d\n", form.entryModel().count());
    std::fflush(stdout);
    QTest::qWait(300); // the views lay out the rows
    std::printf("shown rows %d\n", form.entryModel().rowCount());
    for (const QString& text : prompts.texts())
        std::printf("report %s\n", qPrintable(text.simplified()));
    // The window goes on working: clearing gives the memory back, and the
    // next load is whole.
    clickButton(form, "PushButton1");
    clickButton(form, "PushButton3");
    QTest::qWait(100);
    std::printf("after clearing %d\n", form.entryModel().count());
    return 0;
}

struct ChildRun {
    int exitCode = -1;
    QStringList lines;
};

ChildRun runChild(const QString& path, int headroomMb, const QString& small) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kChildFlag), path, QString::number(headroomMb), small});
    ChildRun run;
    if (!child.waitForFinished(240'000))
        return run;
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -2;
    run.lines = QString::fromLocal8Bit(child.readAllStandardOutput()).split(QLatin1Char('\n'));
    return run;
}

QString writeBytes(const QTemporaryDir& dir, const QString& name, qint64 repeat,
                   const QByteArray& piece, const QByteArray& head = {}) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(head);
    const QByteArray block = piece.repeated(qMax<qsizetype>(1, (1 << 20) / piece.size()));
    const qint64 perBlock = block.size() / piece.size();
    for (qint64 done = 0; done < repeat; done += perBlock)
        file.write(done + perBlock <= repeat ? block : piece.repeated(repeat - done));
    return path;
}

} // namespace

class TestLoadMemoryLimits : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString small_;

private Q_SLOTS:
    void initTestCase() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("The address sanitizer's own memory does not run under an address-space cap");
#endif
        QVERIFY(dir_.isValid());
        small_ = writeBytes(dir_, QStringLiteral("small.txt"), 3, "603\r\n");
    }

    void aFileThatCannotFitIsRefusedBeforeItStarts() {
        // 30 million short lines: far beyond 600 MB once listed and shown.
        const QString path = writeBytes(dir_, QStringLiteral("many.txt"), 30'000'000, "7\r\n");
        const ChildRun run = runChild(path, 600, small_);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.lines.contains(QStringLiteral("loaded 1")), qPrintable(run.lines.join('|')));
        const QStringList reports = run.lines.filter(QStringLiteral("report "));
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports[0].contains(QStringLiteral("Not enough memory to load this file")),
                 qPrintable(reports[0]));
        QVERIFY(run.lines.contains(QStringLiteral("after clearing 3")));
    }

    void runningOutPartWayKeepsTheEntriesAndTheWindow() {
        // 32 million one-character lines, except where the estimate samples
        // the file: there it sees one long line, and expects far less.
        constexpr qint64 kSize = qint64(64) << 20;
        QByteArray bytes = QByteArray("7\n").repeated(kSize / 2);
        for (int i = 0; i < 4; ++i)
            bytes.replace(kSize * i / 4, 64 * 1024, QByteArray(64 * 1024, 'x'));
        const QString path = dir_.filePath(QStringLiteral("fools-the-estimate.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == kSize);
        file.close();
        bytes.clear();

        const ChildRun run = runChild(path, 400, small_);
        QCOMPARE(run.exitCode, 0); // no crash, then or later
        const int loaded = run.lines.filter(QStringLiteral("loaded ")).value(0).mid(7).toInt();
        QVERIFY2(loaded > 1'000'000 && loaded < 30'000'000, qPrintable(run.lines.join('|')));
        // The entries appended so far stay, and the views show them all.
        QVERIFY(run.lines.contains(QStringLiteral("shown rows %1").arg(loaded)));
        const QStringList reports = run.lines.filter(QStringLiteral("report "));
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports[0].contains(
                     QStringLiteral("Out of memory: %1 entries of this file").arg(loaded - 1)),
                 qPrintable(reports[0]));
        QVERIFY(run.lines.contains(QStringLiteral("after clearing 3")));
    }
};

int main(int argc, char** argv) {
    if (argc == 5 && qstrcmp(argv[1], kChildFlag) == 0)
        return runCappedLoad(argc, argv);
    QCoreApplication app(argc, argv);
    TestLoadMemoryLimits test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_load_memory_limits.moc"
