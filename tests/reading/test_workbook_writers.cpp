// Workbooks as the programs people use write them: one table of cells, each
// kind a person meets, written by every writer at hand, must read as the
// text a spreadsheet shows.
#include "platform/xlsx/xlsx_workbook.h"
#include "reading/workbook_file.h"
#include "support/temp_files.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

// The cells of column A, top to bottom, as a person sees them, written out
// as CSV lines.
const std::string kShown = "Phone\n"
                           "\"Doe, Jane\"\n"
                           "\"say \"\"hi\"\"\"\n"
                           "6032374934\n"
                           "0.1\n"
                           "2026-12-09\n"          // the default date format, 14
                           "2026-12-09\n"          // d mmm yyyy
                           "13:45:00\n"            // hh:mm
                           "2026-12-09 14:31:00\n" // 14:30:59.7, rounded with the carry
                           "6032374934\n"          // 000-000-0000 \m is no date
                           "603\n"                 // [Red]0 is no date
                           "3000000\n"             // a date past 9999 stays its number
                           "TRUE\n"
                           "603\n" // a formula's stored text result
                           "\"two\nlines\"\n";

void writeWithLibxlsxwriter(const QString& path, bool constantMemory) {
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Cells");
    const auto format = [&](const char* code) {
        lxw_format* made = workbook_add_format(book);
        format_set_num_format(made, code);
        return made;
    };
    lxw_format* defaultDate = workbook_add_format(book);
    format_set_num_format_index(defaultDate, 14);
    lxw_datetime day = {2026, 12, 9, 0, 0, 0};
    lxw_datetime time = {0, 0, 0, 13, 45, 0};
    lxw_datetime moment = {2026, 12, 9, 14, 30, 59.7};
    int row = 0;
    worksheet_write_string(sheet, row++, 0, "Phone", nullptr);
    worksheet_write_string(sheet, row++, 0, "Doe, Jane", nullptr);
    worksheet_write_string(sheet, row++, 0, "say \"hi\"", nullptr);
    worksheet_write_number(sheet, row++, 0, 6032374934.0, nullptr);
    worksheet_write_number(sheet, row++, 0, 0.1, nullptr);
    worksheet_write_datetime(sheet, row++, 0, &day, defaultDate);
    worksheet_write_datetime(sheet, row++, 0, &day, format("d mmm yyyy"));
    worksheet_write_datetime(sheet, row++, 0, &time, format("hh:mm"));
    worksheet_write_datetime(sheet, row++, 0, &moment, format("yyyy-mm-dd hh:mm:ss"));
    worksheet_write_number(sheet, row++, 0, 6032374934.0, format("000-000-0000 \\m"));
    worksheet_write_number(sheet, row++, 0, 603, format("[Red]0"));
    worksheet_write_number(sheet, row++, 0, 3000000, format("yyyy-mm-dd"));
    worksheet_write_boolean(sheet, row++, 0, 1, nullptr);
    worksheet_write_formula_str(sheet, row++, 0, "=\"60\"&\"3\"", nullptr, "603");
    worksheet_write_string(sheet, row++, 0, "two\nlines", nullptr);
    QVERIFY(workbook_close(book) == LXW_NO_ERROR);
}

// openpyxl (the writer behind pandas' to_excel) cannot calculate, so its
// formula row is the text; its write-only mode streams rows as written.
const char* const kOpenpyxlScript = R"(
import datetime, sys
from openpyxl import Workbook
from openpyxl.cell import WriteOnlyCell
write_only = sys.argv[2] == 'write-only'
book = Workbook(write_only=write_only)
sheet = book.create_sheet('Cells') if write_only else book.active
def cell(value, code=None):
    if not write_only:
        return (value, code)
    made = WriteOnlyCell(sheet, value=value)
    if code:
        made.number_format = code
    return made
rows = [cell('Phone'), cell('Doe, Jane'), cell('say "hi"'), cell(6032374934), cell(0.1),
        cell(datetime.date(2026, 12, 9), 'mm-dd-yy'), cell(datetime.date(2026, 12, 9), 'd mmm yyyy'),
        cell(datetime.time(13, 45), 'hh:mm'),
        cell(datetime.datetime(2026, 12, 9, 14, 30, 59, 700000), 'yyyy-mm-dd hh:mm:ss'),
        cell(6032374934, '000-000-0000 \\m'), cell(603, '[Red]0'), cell(3000000, 'yyyy-mm-dd'),
        cell(True), cell('603'), cell('two\nlines')]
for index, made in enumerate(rows, start=1):
    if write_only:
        sheet.append([made])
    else:
        target = sheet.cell(row=index, column=1, value=made[0])
        if made[1]:
            target.number_format = made[1]
book.save(sys.argv[1])
)";

// Debian's python3, where python3-openpyxl lives (a person's own Python
// on the PATH may lack it).
QString systemPython() {
    return QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
}

bool writeWithOpenpyxl(const QString& path, const QString& mode) {
    QProcess python;
    python.start(systemPython(),
                 {QStringLiteral("-c"), QString::fromUtf8(kOpenpyxlScript), path, mode});
    return python.waitForFinished(60'000) && python.exitCode() == 0 && QFile::exists(path);
}

// LibreOffice saving a workbook as another kind, with a profile of its own.
bool convertWithLibreOffice(const QString& from, const QString& kind, const QString& folder) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        return false;
    QProcess convert;
    convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + folder +
                               QStringLiteral("/profile"),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), kind,
                           QStringLiteral("--outdir"), folder + QStringLiteral("/office"), from});
    return convert.waitForFinished(180'000) && convert.exitCode() == 0;
}

} // namespace

class TestWorkbookWriters : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private Q_SLOTS:
    void everyWritersCellsReadAsShown_data() {
        QTest::addColumn<QString>("writer");
        for (const char* writer : {"libxlsxwriter", "libxlsxwriter constant memory", "openpyxl",
                                   "openpyxl write-only", "LibreOffice xlsx", "LibreOffice ods"})
            QTest::newRow(writer) << QString::fromLatin1(writer);
    }
    void everyWritersCellsReadAsShown() {
        QFETCH(QString, writer);
        QString path = dir_.filePath(QString(writer).replace(u' ', u'-') + QStringLiteral(".xlsx"));
        FileKind kind = FileKind::Xlsx;
        if (writer.startsWith(QStringLiteral("libxlsxwriter"))) {
            writeWithLibxlsxwriter(path, writer.endsWith(QStringLiteral("memory")));
        } else if (writer.startsWith(QStringLiteral("openpyxl"))) {
            if (systemPython().isEmpty())
                QSKIP("No python3 in /usr/bin to run openpyxl");
            if (!writeWithOpenpyxl(path, writer.endsWith(QStringLiteral("only"))
                                             ? QStringLiteral("write-only")
                                             : QStringLiteral("normal")))
                QSKIP("openpyxl (python3-openpyxl) is not installed");
        } else {
            const QString source = dir_.filePath(QStringLiteral("cells.xlsx"));
            writeWithLibxlsxwriter(source, false);
            const bool ods = writer.endsWith(QStringLiteral("ods"));
            if (!convertWithLibreOffice(
                    source, ods ? QStringLiteral("ods") : QStringLiteral("xlsx"), dir_.path()))
                QSKIP("No LibreOffice here to write the workbook");
            path = dir_.filePath(ods ? QStringLiteral("office/cells.ods")
                                     : QStringLiteral("office/cells.xlsx"));
            kind = ods ? FileKind::Ods : FileKind::Xlsx;
        }
        const WorkbookFile book(QFile::encodeName(path).toStdString(), kind);
        QCOMPARE(book.sheetCsv(book.sheetNames().size() - 1), kShown);
        QCOMPARE(book.formulasWithoutResult(), std::size_t(0));
    }

    // The window's own export ("Save Results As Excel File") reads back as
    // it was written: every cell text, a gap kept in its place.
    void theWindowsOwnWorkbookReadsBack() {
        QTemporaryDir folder;
        {
            XlsxWorkbook book(folder.path(), QStringLiteral("Results.xlsx"));
            const QStringList texts{"NH",         "6032374934", "Doe, Jane",  "say \"hi\"",
                                    "two\nlines", "=1+1",       "  spaced  ", "Not Found"};
            for (int i = 0; i < texts.size(); ++i)
                book.setCell(i + 1, 1 + i % 2 * 2, texts[i]);
            book.autofitAllColumns();
            book.close();
        }
        const WorkbookFile back(
            QFile::encodeName(folder.filePath(QStringLiteral("Results.xlsx"))).toStdString(),
            FileKind::Xlsx);
        QCOMPARE(back.sheetCsv(0), std::string("NH\n,,6032374934\n\"Doe, Jane\"\n"
                                               ",,\"say \"\"hi\"\"\"\n\"two\nlines\"\n,,=1+1\n"
                                               "  spaced  \n,,Not Found\n"));
    }
};

QTEST_GUILESS_MAIN(TestWorkbookWriters)
#include "test_workbook_writers.moc"
