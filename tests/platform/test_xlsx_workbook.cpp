#include "platform/failure.h"
#include "platform/xlsx/desktop_spreadsheet_launcher.h"
#include "platform/xlsx/xlsx_spreadsheet.h"
#include "platform/xlsx/xlsx_workbook.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

// LibreOffice's own settings for a headless read-back: its own profile (so it
// neither touches $HOME nor hands the job to a running instance), no first-run
// dialogs, formulas recalculated on load.
const char* const kProfileSettings =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
    "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop "
    "oor:name=\"OOXMLRecalcMode\" oor:op=\"fuse\"><value>0</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop oor:name=\"ODFRecalcMode\" "
    "oor:op=\"fuse\"><value>0</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"ShowTipOfTheDay\" "
    "oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRun\" "
    "oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" "
    "oor:op=\"fuse\"><value>7.4</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Recovery/RecoveryInfo\"><prop oor:name=\"Enabled\" "
    "oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "</oor:items>\n";

// Every sheet to UTF-8 CSV: comma, double quotes, cells as shown, no formulas.
const QString kCsvFilter =
    QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,-1");

QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << cell;
            cell.clear();
        } else if (c == u'\n') {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
        } else if (c != u'\r') {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty())
        rows << (row << cell);
    return rows;
}

QString waitForFile(const QString& path) {
    QFile file(path);
    for (int i = 0; i < 500 && !file.exists(); ++i)
        QTest::qWait(10);
    QTest::qWait(50); // the recorder may still be writing
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<nothing recorded>");
    return QString::fromUtf8(file.readAll()).trimmed();
}

qsizetype openFileCount() {
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
        .size();
}

QString unzipped(const QString& archive, const QString& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, member});
    unzip.waitForFinished(60000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

class TestXlsxWorkbook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void withoutAnApplicationNothingStarts() {
        RecordingLauncher launcher;
        launcher.answer = false;
        XlsxSpreadsheetAutomation automation(launcher);
        QVERIFY_THROWS_EXCEPTION(Failure, automation.create());
    }

    void aWorkbookNeverShownLeavesNothingBehind() {
        RecordingLauncher launcher;
        XlsxSpreadsheetAutomation automation(launcher);
        const qsizetype openFiles = openFileCount();
        QString folder;
        {
            auto application = automation.create();
            auto& workbook = dynamic_cast<XlsxWorkbook&>(application->addWorkbook());
            workbook.setCell(1, 1, QStringLiteral("Results"));
            folder = QFileInfo(workbook.path()).absolutePath();
            QVERIFY(QFileInfo(folder).isDir());
            QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFileDevice::Permissions());
        }
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(openFileCount(), openFiles); // the library's row file is closed too
        QVERIFY(launcher.opened.isEmpty());
    }

    void theDesktopLauncherPrefersCalcAndFallsBackToTheRegisteredApplication() {
        const QByteArray savedPath = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", savedPath); });
        QTemporaryDir bin;
        const QString record = bin.filePath(QStringLiteral("record"));
        qputenv("PATH", QFile::encodeName(bin.path()));
        DesktopSpreadsheetLauncher launcher;
        QVERIFY(!launcher.available());

        // Only an application registered for .xlsx: opened through xdg-open.
        writeProgram(bin.path(), QStringLiteral("xdg-mime"), "echo calc.desktop");
        writeProgram(bin.path(), QStringLiteral("xdg-open"),
                     "echo \"xdg-open $*\" > \"" + QFile::encodeName(record) + "\"");
        QVERIFY(launcher.available());
        launcher.open(QStringLiteral("/tmp/x/Results.xlsx"));
        QCOMPARE(waitForFile(record), QStringLiteral("xdg-open /tmp/x/Results.xlsx"));
        QFile::remove(record);

        // A LibreOffice that cannot show files stands aside for it.
        writeProgram(bin.path(), QStringLiteral("soffice"),
                     "echo \"soffice $*\" > \"" + QFile::encodeName(record) + "\"");
        launcher.open(QStringLiteral("/tmp/x/Results.xlsx"));
        QCOMPARE(waitForFile(record), QStringLiteral("xdg-open /tmp/x/Results.xlsx"));
        QFile::remove(record);

        // LibreOffice with its user interface: a new untitled document made from the file.
        writeFile(bin, QStringLiteral("libvclplug_genlo.so"), "");
        QVERIFY(launcher.available());
        launcher.open(QStringLiteral("/tmp/x/Results.xlsx"));
        QCOMPARE(waitForFile(record), QStringLiteral("soffice --calc -n /tmp/x/Results.xlsx"));
    }

    void cellsAreTextsThatLibreOfficeReadsBack() {
        RecordingLauncher launcher;
        XlsxSpreadsheetAutomation automation(launcher);
        auto application = automation.create();
        Workbook& sheet = application->addWorkbook();
        const QList<QStringList> expected = {
            {QStringLiteral("Results"), QStringLiteral("Second column")},
            {QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("+1-603-555-0100")},
            {QStringLiteral("00123"), QStringLiteral("1e5")},
            {QString(), QString()}, // an unchecked row leaves its sheet row empty
            {QStringLiteral("Not Found"), QStringLiteral("caf\u00e9, \"quoted\" \u2713")},
        };
        for (int r = 0; r < expected.size(); ++r) {
            for (int c = 0; c < expected[r].size(); ++c) {
                if (!expected[r][c].isEmpty())
                    sheet.setCell(r + 1, c + 1, expected[r][c]);
            }
            if (r == 0) {
                sheet.autofitColumn(1);
                sheet.autofitColumn(2);
            }
        }
        sheet.autofitAllColumns();
        // Constant-memory mode streams the rows: an earlier row is refused.
        QVERIFY_THROWS_EXCEPTION(Failure, sheet.setCell(2, 1, QStringLiteral("late")));
        application->setVisible(true);
        QCOMPARE(launcher.opened.size(), 1);
        const QString path = launcher.opened[0];
        QVERIFY(QFileInfo(path).isFile());
        QVERIFY_THROWS_EXCEPTION(Failure, sheet.setCell(6, 1, QStringLiteral("after")));
        application.reset();
        QVERIFY(QFileInfo(path).isFile()); // the application reads it after the hand-over
        const auto removeFolder =
            qScopeGuard([&] { QFileInfo(path).absoluteDir().removeRecursively(); });

        if (!QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
            const QString xml = unzipped(path, QStringLiteral("xl/worksheets/sheet1.xml"));
            QVERIFY(!xml.contains(QStringLiteral("<f>")));
            QVERIFY(xml.contains(QStringLiteral("t=\"inlineStr\"")));
            // Fitted widths: the longest text (15 and 16 characters) plus a margin.
            QVERIFY2(xml.contains(QStringLiteral("<col min=\"1\" max=\"1\" width=\"16.")),
                     qPrintable(xml.left(600)));
            QVERIFY(xml.contains(QStringLiteral("<col min=\"2\" max=\"2\" width=\"17.")));
        }

        const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (office.isEmpty())
            QSKIP("soffice is not installed (Debian: libreoffice-calc-nogui): the workbook was "
                  "written but not read back");
        QTemporaryDir work;
        const QString profile = work.filePath(QStringLiteral("profile"));
        QVERIFY(QDir().mkpath(profile + QStringLiteral("/user")));
        QVERIFY(QDir().mkpath(profile + QStringLiteral("/home")));
        QFile settings(profile + QStringLiteral("/user/registrymodifications.xcu"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(kProfileSettings);
        settings.close();
        const QString out = work.filePath(QStringLiteral("out"));
        QProcess convert;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), profile + QStringLiteral("/home"));
        convert.setProcessEnvironment(env);
        convert.setProcessChannelMode(QProcess::MergedChannels);
        convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + profile,
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                               kCsvFilter, QStringLiteral("--outdir"), out, path});
        QVERIFY(convert.waitForFinished(240000));
        const QString log = QString::fromUtf8(convert.readAll());
        QVERIFY2(convert.exitCode() == 0, qPrintable(log));
        const QStringList csvs = QDir(out).entryList({QStringLiteral("*.csv")});
        QVERIFY2(csvs.size() == 1, qPrintable(log));
        QFile csv(QDir(out).filePath(csvs[0]));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QStringList> rows = parseCsv(QString::fromUtf8(csv.readAll()));
        QCOMPARE(rows, expected);
    }
};

QTEST_GUILESS_MAIN(TestXlsxWorkbook)
#include "test_xlsx_workbook.moc"
