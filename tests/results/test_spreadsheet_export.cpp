#include "platform/xlsx/spreadsheet_launcher.h"
#include "platform/xlsx/xlsx_spreadsheet.h"
#include "reading/workbook_file.h"
#include "results/spreadsheet_export.h"
#include "results/workbook_elsewhere.h"
#include "support/fakes.h"
#include "support/reports.h"
#include "support/tmpfs_mount.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kProbeMessage =
    QStringLiteral("Excel is not installed on this computer. You need to "
                   "have it installed to use this software without error.");
const QString kCommandMessage = QStringLiteral("Excel is not installed on this computer. You need "
                                               "to have it installed to use this feature.");

void fill(ListModel& list, const QStringList& rows) {
    for (const QString& row : rows)
        list.append(row);
}

// Lets the probe's instance start and refuses every later one.
class OnlyTheProbeStarts : public SpreadsheetAutomation {
public:
    explicit OnlyTheProbeStarts(FakeSpreadsheet& inner) : inner_(inner) {}
    std::unique_ptr<SpreadsheetApplication> create() override {
        if (++calls_ > 1)
            throw Failure(QStringLiteral("Automation error"));
        return inner_.create();
    }

private:
    FakeSpreadsheet& inner_;
    int calls_ = 0;
};

// Points the temporary folder elsewhere for one test.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const QString& path) : saved_(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(path));
    }
    ~TemporaryFolderAt() {
        if (saved_.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", saved_);
    }

private:
    QByteArray saved_;
};

} // namespace

class TestSpreadsheetExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headingsAndRowsLandInTheirSheetRows() {
        FakePlatform f;
        fill(f.results,
             {QStringLiteral("NH"), QStringLiteral("Not Found"), QStringLiteral("201 551 609")});
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        QCOMPARE(f.spreadsheet.operations,
                 QStringList({"create", "create", "addWorkbook", "cell 1 1", "autofit 1",
                              "cell 2 1", "cell 3 1", "cell 4 1", "autofitAll", "visible"}));
        QCOMPARE(f.spreadsheet.cellText(1, 1), QStringLiteral("Results"));
        QCOMPARE(f.spreadsheet.cellText(2, 1), QStringLiteral("NH"));
        QCOMPARE(f.spreadsheet.cellText(3, 1), QStringLiteral("Not Found"));
        QCOMPARE(f.spreadsheet.cellText(4, 1), QStringLiteral("201 551 609"));
        QVERIFY(f.prompts.shown.empty());
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
        QCOMPARE(f.window.pumps, 1 + 3 + 3); // per heading, per row, per cell
    }

    void anUncheckedRowLeavesItsSheetRowEmpty() {
        FakePlatform f;
        f.results.append(QStringLiteral("NH"));
        f.results.appendRow({QStringLiteral("NJ")}, false);
        f.results.append(QStringLiteral("NY"));
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        QCOMPARE(f.spreadsheet.cells.size(), size_t(3));
        QCOMPARE(f.spreadsheet.cellText(2, 1), QStringLiteral("NH"));
        QCOMPARE(f.spreadsheet.cellText(4, 1), QStringLiteral("NY"));
        QVERIFY(!f.spreadsheet.operations.contains(QStringLiteral("cell 3 1")));
    }

    void equalsSignsGoOnlyFromTheSecondColumnOn() {
        FakePlatform f;
        f.results.addColumn(QStringLiteral("Sum=Total"));
        f.results.appendRow({QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("a=b=c")});
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        QCOMPARE(f.spreadsheet.cellText(1, 2), QStringLiteral("Sum=Total")); // headings unchanged
        QCOMPARE(f.spreadsheet.cellText(2, 1), QStringLiteral("=HYPERLINK(\"x\")"));
        QCOMPARE(f.spreadsheet.cellText(2, 2), QStringLiteral("abc"));
        QCOMPARE(f.spreadsheet.operations.mid(2),
                 QStringList({"addWorkbook", "cell 1 1", "autofit 1", "cell 1 2", "autofit 2",
                              "cell 2 1", "cell 2 2", "autofitAll", "visible"}));
    }

    void anEmptyListEndsAfterTheProbe() {
        FakePlatform f;
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        QCOMPARE(f.spreadsheet.operations, QStringList({"create"}));
        QVERIFY(f.prompts.shown.empty() && f.window.pointerHistory.empty());
    }

    void withoutASpreadsheetApplicationTwoMessages() {
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH")});
        f.spreadsheet.available = false;
        QVERIFY(!SaveResultsAsExcelFileIsExcelInstalled(f.prompts, f.spreadsheet));
        QCOMPARE(f.prompts.texts(), QStringList({kProbeMessage}));

        f.prompts.shown.clear();
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        QCOMPARE(f.prompts.texts(), QStringList({kProbeMessage, kCommandMessage}));
        QCOMPARE(f.prompts.shown[0].style, MessageStyle::Ok);
        QCOMPARE(f.prompts.shown[1].title, QStringLiteral("Tallyvane"));
        QCOMPARE(f.spreadsheet.created, 2);
        QVERIFY(f.window.pointerHistory.empty());
        QCOMPARE(f.window.pumps, 0);
    }

    // Only a LibreOffice without a user interface: the workbook is saved where
    // the person says, they are told so, and no temporary folder is left;
    // Cancel saves nothing and reports nothing.
    void withoutAnApplicationThatShowsItTheWorkbookIsSavedWhereAsked() {
        QTemporaryDir temporary;
        QTemporaryDir target;
        TemporaryFolderAt scratch(temporary.path());
        const QString path = target.filePath(QStringLiteral("mine.xlsx"));
        for (const bool cancel : {false, true}) {
            FakePlatform f;
            fill(f.results, {QStringLiteral("NH"), QStringLiteral("603")});
            RecordingLauncher launcher;
            launcher.shows = false;
            XlsxSpreadsheetAutomation automation(launcher, [&](const QString& workbook) {
                saveWorkbookWhereAsked(f.prompts, f.dialog, workbook);
            });
            f.dialog.saveAnswers = {cancel ? QString() : path};
            PushButton13_Click(f.prompts, f.window, automation, f.results);
            QVERIFY(f.prompts.errorReports().empty());
            QVERIFY(launcher.opened.isEmpty());
            const QStringList left =
                QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
            if (cancel) {
                QVERIFY(f.prompts.shown.empty());
                continue;
            }
            QCOMPARE(f.prompts.texts(),
                     QStringList{QStringLiteral("No spreadsheet application here can show a "
                                                "workbook, so the results were saved as:\r\n") +
                                 path});
            const WorkbookFile book(QFile::encodeName(path).toStdString(), FileKind::Xlsx);
            QCOMPARE(book.sheetCsv(0), std::string("Results\nNH\n603\n"));
            QFile::remove(path);
        }
    }

    void anApplicationThatCannotStartIsOneReport() {
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH"), QStringLiteral("NJ"), QStringLiteral("NY")});
        OnlyTheProbeStarts automation(f.spreadsheet);
        PushButton13_Click(f.prompts, f.window, automation, f.results);
        QCOMPARE(reportedLines(f.prompts), QList<int>({112}));
        QVERIFY(f.prompts.errorReports()[0].text.contains(
            QStringLiteral("Automation error\r\nin Brisquet2021/08/31.Form1.PushButton13_Click ")));
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
    }

    void aWorkbookThatCannotBeMadeIsOneReportWithItsCause_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing") << "missing" << 114 << "No such file or directory";
        QTest::newRow("not writable") << "read-only" << 114 << "Read-only file system";
        QTest::newRow("full") << "full" << 168 << "No space left on device";
        QTest::newRow("no inodes left") << "no inodes" << 114 << "No space left on device";
    }
    void aWorkbookThatCannotBeMadeIsOneReportWithItsCause() {
        QFETCH(QString, kind);
        QFETCH(int, line);
        QFETCH(QString, cause);
        QTemporaryDir parent;
        std::unique_ptr<TmpfsMount> disk;
        QString folder = parent.filePath(QStringLiteral("missing"));
        if (kind != QStringLiteral("missing")) {
            disk = std::make_unique<TmpfsMount>(
                "size=64k,nr_inodes=8", kind == QStringLiteral("read-only") ? MS_RDONLY : 0);
            TALLYVANE_REQUIRE_MOUNT(*disk);
            folder = disk->path();
            if (kind == QStringLiteral("full"))
                QVERIFY(disk->fillLeaving(0));
            for (int i = 0; kind == QStringLiteral("no inodes"); ++i) {
                if (!QFile(folder + QStringLiteral("/%1").arg(i)).open(QIODevice::WriteOnly))
                    break;
            }
        }
        TemporaryFolderAt temporary(folder);
        FakePlatform f;
        for (int i = 0; i < 20001; ++i)
            f.results.append(QStringLiteral("201 551 609"));
        RecordingLauncher launcher;
        XlsxSpreadsheetAutomation automation(launcher);
        PushButton13_Click(f.prompts, f.window, automation, f.results);

        QCOMPARE(reportedLines(f.prompts), QList<int>({line}));
        const QString text = f.prompts.errorReports()[0].text;
        QVERIFY2(text.section(QStringLiteral("\r\n"), 0, 0).endsWith(cause), qPrintable(text));
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
        QVERIFY(launcher.opened.isEmpty());
        QVERIFY(QDir(folder).entryList({QStringLiteral("tallyvane-*")}).isEmpty());
    }

    void rowsPastTheSheetsLastRowGiveOneReport() {
        FakePlatform f;
        f.spreadsheet.rowLimit = 4; // the heading and three list rows fit
        fill(f.results, {"a", "b", "c", "d", "e", "f"});
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        QCOMPARE(reportedLines(f.prompts), QList<int>({152}));
        QVERIFY(f.prompts.errorReports()[0].text.startsWith(
            QStringLiteral("The sheet holds at most 3 rows below its headings: list rows 4 to 6 "
                           "were not written\r\n")));
        QCOMPARE(f.spreadsheet.cellText(4, 1), QStringLiteral("c"));
        QCOMPARE(f.spreadsheet.cells.size(), size_t(4));
        QVERIFY(f.spreadsheet.operations.endsWith(QStringLiteral("visible")));
    }

    void rowsThatVanishDuringTheExportAreReported() {
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH"), QStringLiteral("NJ")});
        f.window.onPump = [&](int pump) {
            if (pump == 2) // the first row's pump: "Clear Results" was clicked
                f.results.clear();
        };
        PushButton13_Click(f.prompts, f.window, f.spreadsheet, f.results);
        // One report for the rows that are gone, not one per missing cell.
        QCOMPARE(reportedLines(f.prompts), QList<int>({142}));
        QVERIFY(f.prompts.errorReports()[0].text.startsWith(
            QStringLiteral("The list changed while it was read: rows 1 to 2 are gone\r\n")));
        QVERIFY(f.spreadsheet.operations.endsWith(QStringLiteral("visible")));
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetExport)
#include "test_spreadsheet_export.moc"
