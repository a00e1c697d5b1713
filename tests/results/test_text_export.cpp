#include "results/aligned_text_writer.h"
#include "results/text_export.h"
#include "support/fakes.h"
#include "support/temp_files.h"
#include "support/tmpfs_mount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kWriterLocation =
    QStringLiteral("in Brisquet2021/08/31.Main.SaveListviewProperlySpaced ");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void fill(ListModel& list, const QStringList& rows) {
    for (const QString& row : rows)
        list.append(row);
}

// The writer as the save command calls it, with or without a progress bar.
void save(FakePlatform& f, const QString& path, bool withProgress = true) {
    SaveListviewProperlySpaced(f.prompts, f.window, f.results, path,
                               withProgress ? &f.progress : nullptr);
}

// Progress updates and event pumps in the order they happened.
QStringList progressLog(FakePlatform& f, const std::function<void()>& run) {
    QStringList log;
    size_t seen = f.progress.events.size();
    const auto catchUp = [&] {
        for (; seen < f.progress.events.size(); ++seen) {
            const ProgressEvent& e = f.progress.events[seen];
            log << (e.isValue ? QStringLiteral("v ") + QString::number(e.value)
                              : QStringLiteral("t ") + e.text);
        }
    };
    f.window.onPump = [&](int) {
        catchUp();
        log << QStringLiteral("pump");
    };
    run();
    catchUp();
    f.window.onPump = nullptr;
    return log;
}

QStringList dirEntries(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestTextExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileLayout() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));

        FakePlatform worked;
        fill(worked.results, {QStringLiteral("603"), QStringLiteral("201 609 732")});
        save(worked, path);
        QCOMPARE(readFile(path), QByteArray("Results    \t\r\n603        \t\r\n201 609 732\t\r\n"));
        QCOMPARE(readFile(path).size(), 42);

        FakePlatform empty;
        save(empty, path);
        QCOMPARE(readFile(path), QByteArray("Results\t\r\n")); // 10 bytes, replaced completely

        // Short rows are padded to the heading; "Not Found" widens to 9.
        FakePlatform shortRows;
        fill(shortRows.results, {QStringLiteral("NH"), QStringLiteral("Not Found")});
        save(shortRows, path);
        QCOMPARE(readFile(path), QByteArray("Results  \t\r\nNH       \t\r\nNot Found\t\r\n"));

        // A row that is not exported still widens its column.
        FakePlatform unchecked;
        unchecked.results.append(QStringLiteral("NH"));
        unchecked.results.appendRow({QStringLiteral("201 551 609 732")}, false);
        save(unchecked, path);
        QCOMPARE(readFile(path), QByteArray("Results        \t\r\nNH             \t\r\n"));

        QVERIFY(worked.prompts.shown.empty() && unchecked.prompts.shown.empty());
    }

    void severalColumns() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("columns"));
        FakePlatform f;
        f.results.addColumn(QStringLiteral("Where"));
        f.results.addColumn(QStringLiteral("x"));
        f.results.appendRow({QStringLiteral("a"), QStringLiteral("New Hampshire"), QString()});
        f.results.appendRow({QStringLiteral("bbbbbbbbb")}); // no sub-items: empty cells
        f.results.appendRow({QStringLiteral("c"), QStringLiteral("zz"), QStringLiteral("xyz")},
                            false);
        save(f, path);
        QCOMPARE(readFile(path), QByteArray("Results  \tWhere        \tx  \t\r\n"
                                            "a        \tNew Hampshire\t   \t\r\n"
                                            "bbbbbbbbb\t             \t   \t\r\n"));
    }

    void aTextThatGrewAfterMeasuringIsNotPadded() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        FakePlatform f;
        fill(f.results, {QStringLiteral("a"), QStringLiteral("b")});
        // Pumps 1 and 2 measure; at pump 3 (the heading) the list is rebuilt.
        f.window.onPump = [&](int pump) {
            if (pump != 3)
                return;
            f.results.clear();
            fill(f.results, {QStringLiteral("grown longer"), QStringLiteral("b")});
        };
        save(f, path, false);
        QCOMPARE(readFile(path), QByteArray("Results\t\r\ngrown longer\t\r\nb      \t\r\n"));
    }

    void rowsClearedWhileWrittenGiveOneReportAndNoBlankLines() {
        for (const int clearAtPump : {2, 7}) { // in the widths pass; after row 1 is written
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("r.txt"));
            FakePlatform f;
            fill(f.results, {QStringLiteral("NH"), QStringLiteral("NJ"), QStringLiteral("NY")});
            f.window.onPump = [&](int pump) {
                if (pump == clearAtPump)
                    f.results.clear();
            };
            save(f, path, false);
            const auto reports = f.prompts.errorReports();
            QCOMPARE(reports.size(), size_t(1));
            QVERIFY(
                reports[0].text.startsWith(QStringLiteral("The list changed while it was read")));
            QVERIFY(reports[0].text.contains(clearAtPump == 2 ? QStringLiteral("at line 126")
                                                              : QStringLiteral("at line 188")));
            QCOMPARE(readFile(path), clearAtPump == 2 ? QByteArray("Results\t\r\n")
                                                      : QByteArray("Results\t\r\nNH     \t\r\n"));
        }
    }

    // What a person watching sees: the bar names the file and rises to full,
    // the window answers between every two steps of the bar, and the bar
    // ends at rest.
    void progressRisesAndEndsAtRest() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("results.txt"));
        FakePlatform f;
        fill(f.results,
             {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
        f.results.appendRow({QStringLiteral("5")}, false);
        const QStringList log = progressLog(f, [&] { save(f, path); });

        QCOMPARE(log.mid(log.size() - 2), QStringList({"v 0", "t Progress Bar"}));
        double last = 0;
        bool pumpedSinceLast = true;
        for (const QString& event : log.mid(0, log.size() - 2)) {
            if (event == QLatin1String("pump")) {
                pumpedSinceLast = true;
            } else if (event.startsWith(QLatin1String("v "))) {
                const double value = event.mid(2).toDouble();
                QVERIFY2(value >= last && value <= 100, qPrintable(log.join(" | ")));
                QVERIFY2(pumpedSinceLast || value == 100, qPrintable(log.join(" | ")));
                last = value;
                pumpedSinceLast = false;
            } else {
                QVERIFY(event == QLatin1String("t Writing file: results.txt") ||
                        event == QLatin1String("t Done."));
            }
        }
        QCOMPARE(last, 100.0);
        QVERIFY(log.contains(QStringLiteral("t Done.")));
        QVERIFY(log.indexOf(QStringLiteral("t Writing file: results.txt")) <
                log.indexOf(QStringLiteral("v 20")));
    }

    void progressOfALongList() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("results.txt"));
        FakePlatform f;
        for (int i = 0; i < 2500; ++i)
            f.results.append(QStringLiteral("NH"));
        save(f, path);
        QCOMPARE(f.progress.textsSet(),
                 QStringList({QStringLiteral("Writing file: results.txt"),
                              QStringLiteral("Writing file: results.txt"),
                              QStringLiteral("Writing file: results.txt"),
                              QStringLiteral("Writing file: results.txt (1000)"),
                              QStringLiteral("Writing file: results.txt (2000)"),
                              QStringLiteral("Done."), QStringLiteral("Progress Bar")}));
        const std::vector<double> values = f.progress.values();
        QCOMPARE(values.size(), size_t(3 + 2500 + 2));
        QVERIFY(qFuzzyCompare(values[3], 2.0 / 2500 * 100)); // row 1: (1 + 1) / 2500
        QVERIFY(qFuzzyCompare(values[values.size() - 3], 100.04));
        QCOMPARE(values[values.size() - 2], 100.0);
        QCOMPARE(values.back(), 0.0);

        // Without a progress bar: the same bytes, no progress, fewer pumps.
        const QByteArray withBar = readFile(path);
        FakePlatform g;
        for (int i = 0; i < 2500; ++i)
            g.results.append(QStringLiteral("NH"));
        save(g, path, false);
        QCOMPARE(readFile(path), withBar);
        QVERIFY(g.progress.events.empty());
        QVERIFY(g.window.pumps >= 2500); // the window answers at every row
    }

    void saveCommandAsksBeforeReplacing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        writeFile(path, "old contents that are longer than the new file\r\n");
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH")});

        f.dialog.fileName = QStringLiteral("stale");
        f.dialog.saveAnswers = {QString()}; // Cancel
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        QCOMPARE(f.dialog.fileName, QString());
        // The command asks before replacing; the dialog must not ask as well.
        QVERIFY(!(f.dialog.flags & DialogFlag::OverwritePrompt));
        QCOMPARE(f.dialog.title, QStringLiteral("Save"));
        QCOMPARE(f.dialog.filter, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QCOMPARE(f.dialog.shownSave, 1);
        QVERIFY(f.prompts.shown.empty() && f.window.pointerHistory.empty());

        f.dialog.saveAnswers = {path};
        f.prompts.answers = {MessageAnswer::No};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        QCOMPARE(f.prompts.texts(),
                 QStringList({QStringLiteral("Are you sure you wish to overwrite ") + path +
                              QStringLiteral(" ?")}));
        QCOMPARE(f.prompts.shown[0].style, MessageStyle::YesNo);
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Tallyvane"));
        QCOMPARE(readFile(path), QByteArray("old contents that are longer than the new file\r\n"));
        QVERIFY(f.progress.events.empty() && f.window.pointerHistory.empty());

        f.prompts.shown.clear();
        f.dialog.saveAnswers = {path};
        f.prompts.answers = {MessageAnswer::Yes};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        QCOMPARE(readFile(path), QByteArray("Results\t\r\nNH     \t\r\n"));
        QCOMPARE(f.prompts.texts().last(), QStringLiteral("Done."));
        QCOMPARE(f.prompts.shown.back().style, MessageStyle::Ok);
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
        QCOMPARE(dirEntries(dir.path()), QStringList({QStringLiteral("r.txt")}));
    }

    // A name without a suffix gets ".txt"; the question asks about that file.
    void newFileIsWrittenWithoutAQuestion() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("no extension"));
        FakePlatform f;
        f.dialog.saveAnswers = {path};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        QCOMPARE(f.prompts.texts(), QStringList({QStringLiteral("Done.")}));
        QCOMPARE(readFile(path + QStringLiteral(".txt")), QByteArray("Results\t\r\n"));
        QCOMPARE(dirEntries(dir.path()), QStringList({QStringLiteral("no extension.txt")}));

        f.prompts.shown.clear();
        f.dialog.saveAnswers = {path};
        f.prompts.answers = {MessageAnswer::No};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        QCOMPARE(f.prompts.texts(),
                 QStringList({QStringLiteral("Are you sure you wish to overwrite ") + path +
                              QStringLiteral(".txt ?")}));

        // The suffix is the name's, not a dotted folder's above it.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("my.lists")));
        const QString inDottedFolder = dir.filePath(QStringLiteral("my.lists/results"));
        f.dialog.saveAnswers = {inDottedFolder};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        QCOMPARE(dirEntries(dir.filePath(QStringLiteral("my.lists"))),
                 QStringList({QStringLiteral("results.txt")}));
    }

    void aFileThatCannotBeCreatedIsReportedOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/r.txt"));
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH"), QStringLiteral("NJ")});
        f.dialog.saveAnswers = {path};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);
        const auto reports = f.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.contains(kWriterLocation + QStringLiteral("at line 156\r\r")));
        QVERIFY(!f.prompts.texts().contains(QStringLiteral("Done.")));
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(f.progress.value(), 0.0);
        QCOMPARE(f.progress.text(), QStringLiteral("Progress Bar"));
    }

    void aWriteThatFailsLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        writeFile(path, "old\r\n");
        FakePlatform f;
        for (int i = 0; i < 200000; ++i)
            f.results.append(QStringLiteral("201 551 609"));
        // A file size limit makes the first large write fail part-way.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = rlim_t(64) * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        save(f, path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        const auto reports = f.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.contains(kWriterLocation + QStringLiteral("at line 222\r\r")));
        QCOMPARE(readFile(path), QByteArray("old\r\n"));
        QCOMPARE(dirEntries(dir.path()), QStringList({QStringLiteral("r.txt")}));
        // Writing stopped there: no more row progress after the failed row.
        QVERIFY(f.progress.values().size() < 200000);
        QCOMPARE(f.progress.text(), QStringLiteral("Progress Bar"));
    }

    void aFullDiskNeverCostsTheOldFile_data() {
        QTest::addColumn<qint64>("free");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("line");
        QTest::newRow("already full") << qint64(0) << 1000 << 234;
        QTest::newRow("fills at the last write") << qint64(4096) << 1000 << 234;
        QTest::newRow("fills part way through") << qint64(64 * 1024) << 200000 << 222;
    }
    void aFullDiskNeverCostsTheOldFile() {
        QFETCH(qint64, free);
        QFETCH(int, rows);
        QFETCH(int, line);
        TmpfsMount disk("size=4m");
        TALLYVANE_REQUIRE_MOUNT(disk);
        const QString path = disk.path() + QStringLiteral("/r.txt");
        const QByteArray old = QByteArray("old results\r\n").repeated(750); // 10,500 bytes
        writeFile(path, old);
        QVERIFY(disk.fillLeaving(free));
        FakePlatform f;
        for (int i = 0; i < rows; ++i)
            f.results.append(QStringLiteral("201 551 609"));
        f.dialog.saveAnswers = {path};
        f.prompts.answers = {MessageAnswer::Yes};
        PushButton4_Click(f.prompts, f.dialog, f.window, f.results, f.progress);

        const auto reports = f.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QCOMPARE(reports[0].text.section(QStringLiteral("\r\r"), 0, 0),
                 QStringLiteral("No space left on device\r\n") + kWriterLocation +
                     QStringLiteral("at line ") + QString::number(line));
        QVERIFY(!f.prompts.texts().contains(QStringLiteral("Done.")));
        QCOMPARE(readFile(path), old);
        QCOMPARE(dirEntries(disk.path()), QStringList({"filler", "r.txt"}));
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
    }

    void aFolderRemovedDuringTheExportFailsTheCommitOnce() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/r.txt");
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH"), QStringLiteral("NJ"), QStringLiteral("NY")});
        f.window.onPump = [&](int pump) {
            if (pump == 10)
                QDir(folder).removeRecursively();
        };
        save(f, path);
        const auto reports = f.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.contains(kWriterLocation + QStringLiteral("at line 234\r\r")));
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_GUILESS_MAIN(TestTextExport)
#include "test_text_export.moc"
