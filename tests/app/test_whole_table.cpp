// The whole table in the window: entries read from columns of a CSV file or a
// workbook keep the rows they came from, and "Save Entries and Results As
// CSV" writes those rows whole with the results beside them, as
// tallyvane-convert --column writes the same file.
#include "app/qt/form1.h"
#include "app/qt/form1_services.h"
#include "conversion/conversion_run.h"
#include "entries/file_loading.h"
#include "lists/list_model.h"
#include "platform/direction_options.h"
#include "reading/workbook_file.h"
#include "support/temp_files.h"
#include "support/window_fakes.h"

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/tallyvane-convert");

struct Rig : FakePlatform {
    std::unique_ptr<Form1> form;
    QTemporaryDir dir;

    Rig() {
        // Answers the shipped table gives too, so that the command line agrees.
        database.rows = {
            {QStringLiteral("603"), QStringLiteral("NH"), QStringLiteral("New Hampshire")},
            {QStringLiteral("212"), QStringLiteral("NY"), QStringLiteral("New York")},
            {QStringLiteral("860"), QStringLiteral("CT"), QStringLiteral("Connecticut")}};
        form = shownWindow(windowOverrides(*this, &settings));
    }
    void load(const QString& path, QList<int> columns) {
        prompts.columnAnswers = {columns.front()};
        prompts.columnSets = {columns};
        Form1Services& s = form->services();
        loadChosenFiles(s.prompts, s.window, s.entries, {path},
                        {Direction::AreaCodesToStates, s.columns, false, {}, &s.kept});
    }
    // Converts, then removes these entries (1-based, in the order given).
    void convertAndRemove(std::initializer_list<int> positions) {
        form->conversionRun().PushButton17_Click();
        for (const int position : positions)
            form->entryModel().remove(position);
    }
    // Saves through the results list's command, answering its question.
    QByteArray saved(int answer, const QString& name = QStringLiteral("saved.csv")) {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        dialog.saveAnswers = {path};
        prompts.answers = {answer};
        prompts.shown.clear();
        form->findChild<QAction*>(QStringLiteral("SaveEntriesAndResultsAsCsv"))->trigger();
        return readFile(path);
    }
};

QByteArray converted(const QStringList& arguments) {
    QProcess program;
    program.start(kProgram, arguments);
    if (!program.waitForFinished(60000) || program.exitCode() != 0)
        qWarning() << program.readAllStandardError();
    return program.readAllStandardOutput();
}

// Quoted and unquoted fields, a blank phone, a row too short for the column,
// a blank line, a formula-like field, a cell
// with two numbers, CR LF and LF line ends; the row of "Gone" is removed.
constexpr char kContacts[] = "Name,Phone,Amount\r\n"
                             "\"Acme, Inc.\",(603) 237-4934,8602.00\r\n"
                             "Bob,,12.50\n"
                             "\"Quote \"\"Q\"\"\",212-555-0147 ::: +1 860 555 0100,1\n"
                             "Gone,603-555-0100,9\n"
                             "Short\n"
                             "\n"
                             "Long,860-555-0199,3\n"
                             "=Formula,=1+2,0\n";

constexpr char kContactsSaved[] = "Name,Phone,Amount,State,Reason\r\n"
                                  "\"Acme, Inc.\",(603) 237-4934,8602.00,NH,\r\n"
                                  "Bob,,12.50,,\n"
                                  "\"Quote \"\"Q\"\"\",212-555-0147 ::: +1 860 555 0100,1,"
                                  "NY ::: CT,\n"
                                  "Short,,,,\n"
                                  "\n"
                                  "Long,860-555-0199,3,CT,\n"
                                  "=Formula,=1+2,0,Not Found,no area code in this entry\n";

void writeWorkbook(const QString& path) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Contacts");
    const char* rows[][3] = {{"Name", "Phone 1", "Phone 2"},
                             {"Ann", "603-555-0100", "+1 212 555 0147"},
                             {"Gone", "860-555-0100", "603-555-0101"},
                             {"Cy, Jr.", "", "860 555 0199"}};
    for (lxw_row_t r = 0; r < 4; ++r)
        for (lxw_col_t c = 0; c < 3; ++c)
            if (*rows[r][c])
                worksheet_write_string(sheet, r, c, rows[r][c], nullptr);
    workbook_close(book);
}

} // namespace

class TestWholeTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aCsvSourceIsSavedWholeAsTheCommandLineWritesIt() {
        Rig rig;
        const QString path = writeFile(rig.dir, QStringLiteral("contacts.csv"), kContacts);
        rig.load(path, {1});
        QCOMPARE(rig.form->entryModel().count(), 8);
        rig.convertAndRemove({4});
        QCOMPARE(rig.saved(MessageAnswer::Yes), QByteArray(kContactsSaved));
        QCOMPARE(rig.dialog.fileName, QStringLiteral("contacts-results.csv"));
        QVERIFY(rig.prompts.texts().front().startsWith(
            QStringLiteral("The entries came from contacts.csv.")));
        QCOMPARE(rig.prompts.texts().back(), QStringLiteral("Done."));

        // The same file without the removed row, through tallyvane-convert.
        QByteArray kept(kContacts);
        kept.replace("Gone,603-555-0100,9\n", "");
        const QString keptPath = writeFile(rig.dir, QStringLiteral("kept.csv"), kept);
        QCOMPARE(converted({"--column", "Phone", "--reason", keptPath}),
                 QByteArray(kContactsSaved));

        // No: the designed export of entries and results.
        QVERIFY(rig.saved(MessageAnswer::No).startsWith("Entry,Result,Reason\r\n"));
    }

    // Two ticked columns: each row's cells are entries in turn, and each
    // result stands beside its own column; a row goes once all its entries have.
    void aWorkbookSourceWithTwoColumns() {
        Rig rig;
        const QString path = rig.dir.filePath(QStringLiteral("book.xlsx"));
        writeWorkbook(path);
        rig.load(path, {1, 2});
        QCOMPARE(rig.form->entryModel().count(), 6);
        QCOMPARE(rig.form->entryModel().text(2), QStringLiteral("+1 212 555 0147"));
        rig.convertAndRemove({3, 3});
        const QByteArray expected =
            "Name,Phone 1,Phone 2,State (Phone 1),Reason,State (Phone 2),Reason\n"
            "Ann,603-555-0100,+1 212 555 0147,NH,,NY,\n"
            "\"Cy, Jr.\",,860 555 0199,,,CT,\n";
        QCOMPARE(rig.saved(MessageAnswer::Yes), expected);
        QCOMPARE(rig.dialog.fileName, QStringLiteral("book-results.csv"));
        QVERIFY(rig.dialog.filter.contains(QStringLiteral("*.xlsx")));

        // Back into a workbook, each field a text cell.
        rig.saved(MessageAnswer::Yes, QStringLiteral("saved.xlsx"));
        const WorkbookFile book(
            QFile::encodeName(rig.dir.filePath(QStringLiteral("saved.xlsx"))).toStdString(),
            FileKind::Xlsx);
        QCOMPARE(QByteArray::fromStdString(book.sheetCsv(0)), expected);
        QCOMPARE(QDir(rig.dir.path())
                     .entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot)
                     .size(),
                 3);
    }

    // Entries from elsewhere as well: the table no longer holds them all,
    // and only the designed export is offered.
    void noOfferOnceOtherEntriesJoin() {
        Rig rig;
        const QString path = writeFile(rig.dir, QStringLiteral("contacts.csv"), kContacts);
        rig.load(path, {1});
        rig.form->entryModel().append(QStringLiteral("603"));
        rig.form->conversionRun().PushButton17_Click();
        QVERIFY(rig.saved(MessageAnswer::Yes).startsWith("Entry,Result,Reason\r\n"));
        QCOMPARE(rig.prompts.texts(), QStringList{QStringLiteral("Done.")});
    }
};

QTEST_MAIN(TestWholeTable)
#include "test_whole_table.moc"
