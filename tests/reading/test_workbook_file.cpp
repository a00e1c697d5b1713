// Workbooks read as workbooks, in both programs: the cells as a person sees
// them (a number stored as a number is its digits, a date is a date, a
// formula its result), any sheet, and the column a person picks.
#include "entries/column_lists.h"
#include "entries/list_file.h"
#include "lists/list_model.h"
#include "platform/failure.h"
#include "reading/file_kind.h"
#include "reading/workbook_file.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/tallyvane-convert");
const QString kDatabase = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/areacodes.db");

// Two sheets: contacts with a blank cell, a phone number stored as a number,
// a date and a formula; and a list of states.
void writeContacts(const QString& path) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* contacts = workbook_add_worksheet(book, "Contacts");
    lxw_worksheet* states = workbook_add_worksheet(book, "Other");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "d mmm yyyy");
    worksheet_write_string(contacts, 0, 0, "Name", nullptr);
    worksheet_write_string(contacts, 0, 1, "Phone", nullptr);
    worksheet_write_string(contacts, 0, 2, "Since", nullptr);
    worksheet_write_string(contacts, 1, 0, "Doe, Jane", nullptr);
    worksheet_write_number(contacts, 1, 1, 6032374934.0, nullptr);
    lxw_datetime since = {2026, 12, 9, 0, 0, 0};
    worksheet_write_datetime(contacts, 1, 2, &since, date);
    worksheet_write_string(contacts, 2, 0, "Roe", nullptr);
    worksheet_write_string(contacts, 2, 1, "+1 206 555 3254", nullptr);
    worksheet_write_number(contacts, 3, 1, 1.5, nullptr);
    worksheet_write_formula_num(contacts, 4, 1, "=600+3", nullptr, 603);
    worksheet_write_string(states, 0, 0, "State", nullptr);
    worksheet_write_string(states, 1, 0, "NH", nullptr);
    QVERIFY(workbook_close(book) == LXW_NO_ERROR);
}

const std::string kContactsCsv = "Name,Phone,Since\n"
                                 "\"Doe, Jane\",6032374934,2026-12-09\n"
                                 "Roe,+1 206 555 3254,\n"
                                 ",1.5,\n"
                                 ",603,\n";

// The same workbook as LibreOffice saves it as .ods: converted here where
// LibreOffice is installed (with a profile of its own, not the person's),
// else the copy kept beside this test.
QString odsOf(const QString& xlsx, QTemporaryDir& dir) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!office.isEmpty()) {
        QProcess convert;
        convert.start(office,
                      {QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                       QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                       QStringLiteral("ods"), QStringLiteral("--outdir"), dir.path(), xlsx});
        const QString ods = dir.filePath(QStringLiteral("contacts.ods"));
        if (convert.waitForFinished(120'000) && QFile::exists(ods))
            return ods;
    }
    return QStringLiteral(TALLYVANE_TEST_DATA "/contacts.ods");
}

} // namespace

class TestWorkbookFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString xlsx_;
    QString ods_;

private Q_SLOTS:
    void initTestCase() {
        xlsx_ = dir_.filePath(QStringLiteral("contacts.xlsx"));
        writeContacts(xlsx_);
        ods_ = odsOf(xlsx_, dir_);
    }

    void sheetsReadAsAPersonSeesThem() {
        for (const auto& [path, kind] : {std::pair{xlsx_, FileKind::Xlsx}, {ods_, FileKind::Ods}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(fileLooks(file.read(qint64(kFileKindSample)).toStdString()).kind, kind);
            const WorkbookFile book(QFile::encodeName(path).toStdString(), kind);
            QCOMPARE(book.sheetNames(), (std::vector<std::string>{"Contacts", "Other"}));
            QCOMPARE(book.sheetCsv(0), kContactsCsv);
            QCOMPARE(book.sheetCsv(1), std::string("State\nNH\n"));
        }
    }

    void aSheetIsNamedOrNumbered_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<int>("sheet"); // -1: none
        QTest::newRow("exact") << "Other" << 1;
        QTest::newRow("case and spaces") << " oTHER " << 1;
        QTest::newRow("number") << "2" << 1;
        QTest::newRow("past the last") << "3" << -1;
        QTest::newRow("zero") << "0" << -1;
        QTest::newRow("missing") << "Nope" << -1;
    }
    void aSheetIsNamedOrNumbered() {
        QFETCH(QString, given);
        QFETCH(int, sheet);
        const std::optional<std::size_t> found =
            sheetNamed({"Contacts", "Other"}, given.toStdString());
        QCOMPARE(found ? int(*found) : -1, sheet);
        // Two names alike but for case: only the exact one is meant.
        QCOMPARE(sheetNamed({"a", "A"}, "A"), std::optional<std::size_t>(1));
        QVERIFY(!sheetNamed({"a", "A"}, " a "));
    }

    // The window: the column dialog opens on the first sheet, guesses the
    // phone column, and shows another sheet on request.
    void theWindowReadsTheChosenColumn() {
        FakePrompts prompts;
        prompts.columnAnswers = {1};
        ListModel list;
        RememberedColumns remembered;
        const ColumnReading reading{Direction::AreaCodesToStates, remembered};
        LoadListFromFile(prompts, list, xlsx_, MissingFile::Named, &reading);
        QVERIFY(prompts.shown.empty());
        QCOMPARE(listTexts(list), (QStringList{"6032374934", "+1 206 555 3254", "1.5", "603"}));
        QCOMPARE(prompts.columnQuestions.size(), std::size_t(1));
        ColumnQuestion question = prompts.columnQuestions[0];
        QCOMPARE(question.sheets, (QStringList{"Contacts", "Other"}));
        QVERIFY(question.header);
        QCOMPARE(question.likeliest, 1);

        // Another sheet, chosen in the dialog, is the one read.
        struct OtherSheet : FakePrompts {
            int chooseColumn(ColumnQuestion& asked) override {
                asked.sheet = 1;
                asked.showSheet(asked);
                firstRows = asked.firstRows;
                return 0;
            }
            QList<QStringList> firstRows;
        } other;
        ListModel states;
        LoadListFromFile(other, states, xlsx_, MissingFile::Named, &reading);
        QCOMPARE(other.firstRows, (QList<QStringList>{{"State"}, {"NH"}}));
        QCOMPARE(listTexts(states), QStringList{"NH"});
    }

    // tallyvane-convert: a workbook with --column is written as CSV with the
    // results; without --column, or anything else not text, is refused.
    void theBatchProgramReadsWorkbooksAndRefusesOtherFiles_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("status");
        QTest::newRow("first sheet")
            << QStringList{"--column", "Phone"}
            << QByteArray("Name,Phone,Since,State\n\"Doe, Jane\",6032374934,2026-12-09,NH\n"
                          "Roe,+1 206 555 3254,,WA\n,1.5,,Not Found\n,603,,NH\n")
            << QByteArray() << 0;
        QTest::newRow("another sheet")
            << QStringList{"--column", "State", "--sheet", "other", "--to", "area-codes"}
            << QByteArray("State,Area Codes\nNH,603\n") << QByteArray() << 0;
        QTest::newRow("no such sheet")
            << QStringList{"--column", "State", "--sheet", "9"} << QByteArray()
            << QByteArray("no sheet 9; its sheets are Contacts, Other") << 2;
        QTest::newRow("lines of a workbook")
            << QStringList{} << QByteArray() << QByteArray("is a workbook; read a column of it")
            << 2;
        QTest::newRow("a workbook to a folder that is not there")
            << QStringList{"--column", "Phone", "-f", "xlsx", "-o", "/nonexistent/out.xlsx"}
            << QByteArray() << QByteArray("Cannot write in /nonexistent") << 2;
    }

    // --format xlsx: the table with its results as a workbook, every cell
    // text, which a spreadsheet application reads back, and so does this
    // program (the workbook keeps its text inline, as streaming writers do).
    void theBatchProgramWritesAWorkbook() {
        const QString out = dir_.filePath(QStringLiteral("enriched.xlsx"));
        QProcess program;
        program.start(kProgram, {"--database", kDatabase, "--column", "Phone", "-f", "xlsx", "-o",
                                 out, xlsx_});
        QVERIFY(program.waitForFinished(60'000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(fileLooks(written.read(qint64(kFileKindSample)).toStdString()).kind,
                 FileKind::Xlsx);
        QCOMPARE(WorkbookFile(QFile::encodeName(out).toStdString(), FileKind::Xlsx).sheetCsv(0),
                 std::string("Name,Phone,Since,State\n\"Doe, Jane\",6032374934,2026-12-09,NH\n"
                             "Roe,+1 206 555 3254,,WA\n,1.5,,Not Found\n,603,,NH\n"));
        const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (office.isEmpty())
            QSKIP("No LibreOffice here to read the workbook back");
        QProcess convert;
        convert.start(
            office, {QStringLiteral("-env:UserInstallation=file://") + dir_.filePath("profile"),
                     "--headless", "--convert-to", "csv", "--outdir", dir_.filePath("back"), out});
        QVERIFY(convert.waitForFinished(120'000));
        QFile back(dir_.filePath(QStringLiteral("back/enriched.csv")));
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(),
                 QByteArray("Name,Phone,Since,State\n\"Doe, Jane\",6032374934,2026-12-09,NH\n"
                            "Roe,+1 206 555 3254,,WA\n,1.5,,Not Found\n,603,,NH\n"));
    }
    void theBatchProgramReadsWorkbooksAndRefusesOtherFiles() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, status);
        for (const QString& book : {xlsx_, ods_}) {
            QProcess program;
            program.start(kProgram,
                          QStringList{"--database", kDatabase} + arguments + QStringList{book});
            QVERIFY(program.waitForFinished(60'000));
            QCOMPARE(program.exitCode(), status);
            QCOMPARE(program.readAllStandardOutput(), out);
            QVERIFY(program.readAllStandardError().contains(err));
        }
    }
};

QTEST_GUILESS_MAIN(TestWorkbookFile)
#include "test_workbook_file.moc"
