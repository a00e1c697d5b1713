// tallyvane-convert --column ... -f xlsx -o FILE never destroys a file: a run
// that fails leaves it as it was, so does an input that is the output, a
// device or FIFO is written into rather than replaced, and no scratch folder
// outlives the run.
#include "reading/workbook_file.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/tallyvane-convert");
const QString kDatabase = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/areacodes.db");

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run convert(const QStringList& arguments) {
    QProcess program;
    program.start(kProgram, QStringList{"--database", kDatabase} + arguments);
    program.waitForFinished(120'000);
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
}

std::string sheetOf(const QString& path) {
    return WorkbookFile(QFile::encodeName(path).toStdString(), FileKind::Xlsx).sheetCsv(0);
}

QStringList scratchFolders(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".tallyvane-convert-*")},
                                  QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestWorkbookOutput : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString csv_;

private Q_SLOTS:
    void initTestCase() {
        csv_ = writeFile(dir_, QStringLiteral("in.csv"), "Name,Phone\nAnn,603-237-4934\n");
    }

    // Nothing is created or replaced before the options, the inputs and the
    // column are known to be good.
    void aFailedRunLeavesTheFileAsItWas_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("no such column")
            << QStringList{"--column", "Nope", "-f", "xlsx", "-o", "@keep", "@in"} << 2
            << QByteArray("no column named Nope");
        QTest::newRow("an input that is missing")
            << QStringList{"--column", "Phone", "-f", "xlsx", "-o", "@keep", "@in", "@missing"} << 2
            << QByteArray("No such file");
        QTest::newRow("the output is an input")
            << QStringList{"--column", "Phone", "-f", "xlsx", "-o", "@keep", "@keep"} << 64
            << QByteArray("is both an input and the workbook to write; nothing was written");
        QTest::newRow("the output is the standard input")
            << QStringList{"--column", "Phone", "-f", "xlsx", "-o", "@keep", "-"} << 64
            << QByteArray("the standard input is both an input");
    }
    void aFailedRunLeavesTheFileAsItWas() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, err);
        const QString keep = writeFile(dir_, QStringLiteral("keep.xlsx"), "what was there");
        for (QString& argument : arguments) {
            if (argument == QStringLiteral("@keep"))
                argument = keep;
            else if (argument == QStringLiteral("@in"))
                argument = csv_;
            else if (argument == QStringLiteral("@missing"))
                argument = dir_.filePath(QStringLiteral("missing.csv"));
        }
        QProcess program;
        program.setStandardInputFile(keep);
        program.start(kProgram, QStringList{"--database", kDatabase} + arguments);
        QVERIFY(program.waitForFinished(60'000));
        QVERIFY2(program.readAllStandardError().contains(err), qPrintable(QTest::currentDataTag()));
        QCOMPARE(program.exitCode(), status);
        QCOMPARE(readFile(keep), QByteArray("what was there"));
        QCOMPARE(scratchFolders(dir_.path()), QStringList());
    }

    // A device, a link to one and the standard output are written into; the
    // device node and the link stay what they were.
    void aFileThatIsNotRegularIsWrittenInto() {
        const QString link = dir_.filePath(QStringLiteral("null-link"));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), link));
        for (const QString& target : {QStringLiteral("/dev/null"), link}) {
            const Run run = convert({"--column", "Phone", "-f", "xlsx", "-o", target, csv_});
            QCOMPARE(run.status, 0);
            struct stat device {};
            QCOMPARE(::stat("/dev/null", &device), 0);
            QVERIFY(S_ISCHR(device.st_mode));
        }
        QCOMPARE(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/null"));
        const Run toStdout =
            convert({"--column", "Phone", "-f", "xlsx", "-o", "/dev/stdout", csv_});
        QCOMPARE(toStdout.status, 0);
        QVERIFY(toStdout.out.startsWith("PK\x03\x04"));
        const QString back = writeFile(dir_, QStringLiteral("back.xlsx"), toStdout.out);
        QCOMPARE(sheetOf(back), std::string("Name,Phone,State\nAnn,603-237-4934,NH\n"));
    }

    // Files with different delimiters make one table of cells.
    void eachFileIsSplitByItsOwnDelimiter() {
        const QString semicolons =
            writeFile(dir_, QStringLiteral("semi.csv"), "Name;Phone\n\"Roe, Al\";212-555-0147\n");
        const QString out = dir_.filePath(QStringLiteral("both.xlsx"));
        const Run run = convert({"--column", "Phone", "-f", "xlsx", "-o", out, csv_, semicolons});
        QCOMPARE(run.status, 0);
        QCOMPARE(sheetOf(out), std::string("Name,Phone,State\nAnn,603-237-4934,NH\n"
                                           "\"Roe, Al\",212-555-0147,NY\n"));
    }

    // SIGTERM and SIGINT while the workbook is being made leave no scratch
    // folder; one that SIGKILL left is removed by the next run once its
    // process is gone, and a live run's folder is left alone.
    void noScratchFolderOutlivesARun() {
        QTemporaryDir folder;
        QByteArray rows = "Name,Phone\n";
        for (int i = 0; i < 400'000; ++i)
            rows += "Someone,603-237-4934\n";
        const QString big = writeFile(folder, QStringLiteral("big.csv"), rows);
        for (const int signal : {SIGTERM, SIGINT}) {
            QProcess program;
            program.start(kProgram, {"--database", kDatabase, "--column", "Phone", "-f", "xlsx",
                                     "-o", folder.filePath(QStringLiteral("out.xlsx")), big});
            QVERIFY(program.waitForStarted());
            for (int tries = 0; tries < 2000 && scratchFolders(folder.path()).isEmpty(); ++tries)
                QThread::msleep(5);
            QVERIFY2(!scratchFolders(folder.path()).isEmpty(), "the workbook was made too soon");
            ::kill(pid_t(program.processId()), signal);
            QVERIFY(program.waitForFinished(60'000));
            QCOMPARE(program.exitStatus(), QProcess::CrashExit);
            QCOMPARE(scratchFolders(folder.path()), QStringList());
        }
        QProcess gone; // a process that has ended, and its number
        gone.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo $$")});
        QVERIFY(gone.waitForFinished());
        const QString stale = QStringLiteral(".tallyvane-convert-%1-AbCdEf")
                                  .arg(QString::fromLatin1(gone.readAllStandardOutput().trimmed()));
        const QString live = QStringLiteral(".tallyvane-convert-%1-AbCdEf").arg(::getpid());
        for (const QString& name : {stale, live}) {
            QVERIFY(QDir(folder.path()).mkpath(name + QStringLiteral("/inner")));
            writeFile(folder, name + QStringLiteral("/inner/book.xlsx"), "partial");
        }
        const Run run = convert({"--column", "Phone", "-f", "xlsx", "-o",
                                 folder.filePath(QStringLiteral("out.xlsx")), csv_});
        QCOMPARE(run.status, 0);
        QCOMPARE(scratchFolders(folder.path()), QStringList{live});
    }
};

QTEST_GUILESS_MAIN(TestWorkbookOutput)
#include "test_workbook_output.moc"
