// Loads under a capped address space, in a child process that runs the real
// load command in the real window (offscreen): a file that cannot fit is
// refused before it starts, and one that runs out of memory part way keeps
// what it loaded and leaves a working window.
#include "app/qt/form1.h"
#include "entries/entry_list_commands.h"
#include "entries/file_loading.h"
#include "entries/load_memory.h"
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

// A figure of /proc/self/status, in bytes: VmRSS now, VmHWM the most so far.
qint64 statusBytes(const QByteArray& name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
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
    FakePlatform fakes;
    FakePrompts& prompts = fakes.prompts;
    FakeFileDialog& dialog = fakes.dialog;
    Form1Overrides o = windowOverrides(fakes, &fakes.settings);
    o.unload = [] {};
    Form1 form(o);
    form.show();
    form.entryModel().append(QStringLiteral("kept"));
    QTest::qWait(100);
    // Read once: the window's threads may map more between two reads, and a
    // soft limit above the hard one is refused.
    const rlim_t limit = rlim_t(virtualSizeBytes() + headroom);
    const rlimit cap{limit, limit};
    if (::setrlimit(RLIMIT_AS, &cap) != 0)
        return 3;
    dialog.openAnswers = {{path}, {small}};
    const qint64 before = statusBytes("VmRSS");
    clickButton(form, "PushButton3");
    std::printf("loaded %d\n", form.entryModel().count());
    std::fflush(stdout);
    QTest::qWait(300); // the views lay out the rows
    std::printf("shown rows %d\n", form.entryModel().rowCount());
    std::printf("memory grew %lld, estimate %lld\n", statusBytes("VmHWM") - before,
                static_cast<long long>(estimateLoad(path).bytes));
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
        QVERIFY2(reports[0].contains(QStringLiteral("Not enough memory to load ") + path),
                 qPrintable(reports[0]));
        QVERIFY(run.lines.contains(QStringLiteral("after clearing 3")));
    }

    // The refusal is only as good as its two figures. The estimate must see at
    // least what a load costs at its peak, in the window as shown, or a file
    // that needs more memory than there is gets through; much more, and files
    // that fit are refused.
    void theEstimateCoversWhatALoadCosts() {
        for (const QByteArray& line :
             {QByteArray("7\r\n"), QByteArray("1-603-237-4934\n"),
              QByteArray("NEW HAMPSHIRE, THE GRANITE STATE, ") + QByteArray(60, 'x') + "\r\n"}) {
            const QString path = writeBytes(dir_, QStringLiteral("measured.txt"), 400'000, line);
            const ChildRun run = runChild(path, 1 << 20, small_);
            QCOMPARE(run.exitCode, 0);
            const QString figures = run.lines.filter(QStringLiteral("memory grew ")).value(0);
            const qint64 cost = figures.section(QLatin1Char(' '), 2, 2).chopped(1).toLongLong();
            const qint64 estimate = figures.section(QLatin1Char(' '), 4, 4).toLongLong();
            QVERIFY2(cost > 0 && estimate >= cost && estimate < 3 * cost, qPrintable(figures));
        }
    }

    // And the memory there is must be what the limits leave: a file estimated
    // at one and a half times that is refused, one at half of it loads.
    void theRefusalHoldsToTheMemoryLeft() {
        const QByteArray line("1-603-237-4934\r\n");
        const QString probe = writeBytes(dir_, QStringLiteral("probe.txt"), 100'000, line);
        const double perLine = double(estimateLoad(probe).bytes) / 100'000;
        for (const double share : {1.5, 0.5}) {
            constexpr int kHeadroomMb = 200;
            const auto lines = qint64(share * kHeadroomMb * 1e6 / perLine);
            const QString path = writeBytes(dir_, QStringLiteral("sized.txt"), lines, line);
            const double estimated = double(estimateLoad(path).bytes) / (kHeadroomMb * 1e6);
            QVERIFY2(estimated > share * 0.9 && estimated < share * 1.1,
                     qPrintable(QString::number(estimated)));
            const ChildRun run = runChild(path, kHeadroomMb, small_);
            QCOMPARE(run.exitCode, 0);
            const QStringList reports = run.lines.filter(QStringLiteral("report "));
            if (share > 1) {
                QCOMPARE(reports.size(), 1);
                QVERIFY(reports[0].contains(QStringLiteral("Not enough memory to load ") + path));
            } else {
                QVERIFY2(reports.isEmpty(), qPrintable(reports.join('|')));
                QVERIFY(run.lines.contains(QStringLiteral("loaded %1").arg(lines + 1)));
            }
        }
    }

    void runningOutPartWayKeepsTheEntriesAndTheWindow() {
        // 32 million one-character lines, except where the estimate samples
        // the file: there it sees one long line, and expects far less.
        constexpr qint64 kSize = qint64(64) << 20;
        QByteArray bytes = QByteArray("7\n").repeated(kSize / 2);
        for (int i = 0; i < 4; ++i)
            bytes.replace(kSize * i / 4, qsizetype(64) * 1024,
                          QByteArray(qsizetype(64) * 1024, 'x'));
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
                     QStringLiteral("Out of memory: %1 entries of %2").arg(loaded - 1).arg(path)),
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
