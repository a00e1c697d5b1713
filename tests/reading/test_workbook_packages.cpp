// Workbook packages put together by hand, as odd writers and hostile files
// make them: each must read as the cells it holds, or be refused with a
// message that says why, in bounded time and memory.
#include "platform/failure.h"
#include "reading/workbook_file.h"
#include "support/temp_files.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <map>
#include <vector>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

using Parts = std::map<std::string, std::string>;

const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/tallyvane-convert");
const QString kDatabase = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/areacodes.db");

QString writePackage(const QString& path, const Parts& parts) {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        qFatal("cannot make %s", qPrintable(path));
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    if (zip_close(archive) != 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

const std::string kMain = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
const std::string kRelNs =
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
const std::string kRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string relationships(const std::string& entries) {
    return R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
           entries + "</Relationships>";
}

std::string relationship(const std::string& id, const std::string& kind,
                         const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelType + kind + "\" Target=\"" + target +
           "\"/>";
}

// A package of one sheet at sheetPart, its cells given as the sheetData's
// body; workbookPr and styles where a case needs them.
Parts book(const std::string& rows, const std::string& sheetPart = "xl/worksheets/sheet1.xml",
           const std::string& sheetTarget = "worksheets/sheet1.xml",
           const std::string& workbookPr = "", const std::string& styles = "") {
    Parts parts{
        {"_rels/.rels", relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml",
         "<workbook " + kMain + " " + kRelNs + ">" + workbookPr +
             R"(<sheets><sheet name="One" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels",
         relationships(relationship("rId1", "worksheet", sheetTarget) +
                       (styles.empty() ? "" : relationship("rId2", "styles", "styles.xml")))},
        {sheetPart, "<worksheet " + kMain + "><sheetData>" + rows + "</sheetData></worksheet>"}};
    if (!styles.empty())
        parts["xl/styles.xml"] = "<styleSheet " + kMain + ">" + styles + "</styleSheet>";
    return parts;
}

std::string inlineCell(const std::string& reference, const std::string& text) {
    return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

struct Case {
    const char* name;
    Parts parts;
    std::string csv;
    int formulas = 0;
};

std::vector<Case> oddCases() {
    const std::string date14 =
        R"(<cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs>)";
    return {
        {"absolute targets, a sheet elsewhere, numbers only",
         [] {
             Parts parts =
                 book(R"(<row r="1"><c r="A1"><v>603</v></c><c r="B1"><v>6032374934</v></c></row>)",
                      "data/numbers.xml", "/data/numbers.xml");
             parts["_rels/.rels"] =
                 relationships(relationship("rId1", "officeDocument", "/xl/workbook.xml"));
             return parts;
         }(),
         "603,6032374934\n"},
        {"single-quoted attributes",
         book("<row r=\x27"
              "1\x27><c r=\x27"
              "A1\x27 t=\x27inlineStr\x27><is><t>Phone</t></is></c></row>"),
         "Phone\n"},
        {"prefixed elements",
         {{"_rels/.rels", relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"))},
          {"xl/workbook.xml",
           R"(<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )" +
               kRelNs +
               R"(><x:sheets><x:sheet name="One" sheetId="1" r:id="rId1"/></x:sheets></x:workbook>)"},
          {"xl/_rels/workbook.xml.rels",
           relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml"))},
          {"xl/worksheets/sheet1.xml",
           R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData><x:row><x:c t="inlineStr"><x:is><x:t>NH</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>)"}},
         "NH\n"},
        {"rich text runs joined, phonetic runs left out",
         book(
             R"(<row r="1"><c r="A1" t="inlineStr"><is><r><t>Ab</t></r><r><t xml:space="preserve">c d</t></r><rPh sb="0" eb="1"><t>x</t></rPh></is></c></row>)"),
         "Abc d\n"},
        {"a table below row 1 and right of column A",
         book(inlineCell("C3", "Name").insert(0, "<row r=\"3\">") + inlineCell("D3", "Phone") +
              "</row><row r=\"4\">" + inlineCell("C4", "Ann") + inlineCell("D4", "603") + "</row>"),
         ",,Name,Phone\n,,Ann,603\n"},
        {"gaps are blank rows, short rows padded to the first's width",
         book("<row r=\"1\">" + inlineCell("A1", "a") + inlineCell("B1", "b") +
              "</row><row r=\"4\">" + inlineCell("A4", "c") + "</row>"),
         "a,b\n,\n,\nc,\n"},
        {"references left out are taken in order",
         book("<row><c "
              "t=\"inlineStr\"><is><t>a</t></is></c><c><v>1</v></c></row><row><c><v>2</v></c></"
              "row>"),
         "a,1\n2,\n"},
        {"errors, ISO dates and booleans as written",
         book(
             R"(<row r="1"><c r="A1" t="e"><v>#N/A</v></c><c r="B1" t="d"><v>2026-12-09T13:45:00Z</v></c><c r="C1" t="b"><v>0</v></c><c r="D1" t="str"><f>A1</f><v>x</v></c></row>)"),
         "#N/A,2026-12-09 13:45:00,FALSE,x\n"},
        {"the 1904 date system and the default date format",
         book(R"(<row r="1"><c r="A1" s="1"><v>0</v></c><c r="B1" s="1"><v>45000.5</v></c></row>)",
              "xl/worksheets/sheet1.xml", "worksheets/sheet1.xml", R"(<workbookPr date1904="1"/>)",
              date14),
         "1904-01-01,2027-03-16 12:00:00\n"},
        {"formulas with no stored result are empty cells, counted",
         book(
             R"(<row r="1"><c r="A1"><f>1+1</f></c><c r="B1"><f>2+2</f><v></v></c><c r="C1" t="inlineStr"><is><t>603</t></is></c></row>)"),
         ",,603\n", 2},
    };
}

// The doctype case: an entity declared in the sheet's own document type.
Parts withDoctype() {
    Parts doctype = book(inlineCell("A1", "&laugh;").insert(0, "<row>") + "</row>");
    doctype["xl/worksheets/sheet1.xml"].insert(
        0, R"(<?xml version="1.0"?><!DOCTYPE worksheet [<!ENTITY laugh "ha">]>)");
    return doctype;
}

} // namespace

class TestWorkbookPackages : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString path(const char* name) { return dir_.filePath(QString::fromLatin1(name)); }

private Q_SLOTS:
    void oddPackagesReadAsTheirCells_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::string>("csv");
        QTest::addColumn<int>("formulasWithoutResult");
        for (const Case& each : oddCases()) {
            const QString file = path(each.name).replace(u' ', u'_') + QStringLiteral(".xlsx");
            writePackage(file, each.parts);
            QTest::newRow(each.name) << file << each.csv << each.formulas;
        }
    }
    void oddPackagesReadAsTheirCells() {
        QFETCH(QString, name);
        QFETCH(std::string, csv);
        QFETCH(int, formulasWithoutResult);
        const WorkbookFile workbook(QFile::encodeName(name).toStdString(), FileKind::Xlsx);
        QCOMPARE(workbook.sheetNames(), std::vector<std::string>{"One"});
        QCOMPARE(workbook.sheetCsv(0), csv);
        QCOMPARE(int(workbook.formulasWithoutResult()), formulasWithoutResult);
    }

    // A cell at XFD1048576 costs its own row, and the million rows before it
    // are blank lines, not a range of cells.
    void aFarCellCostsItsOwnRow() {
        const QString file =
            writePackage(path("far.xlsx"), book("<row r=\"1\">" + inlineCell("A1", "a") +
                                                "</row><row r=\"1048576\">" +
                                                inlineCell("XFD1048576", "z") + "</row>"));
        const std::string csv =
            WorkbookFile(QFile::encodeName(file).toStdString(), FileKind::Xlsx).sheetCsv(0);
        QCOMPARE(csv.size(), std::size_t(2 + 1048574 + 16383 + 2));
        QVERIFY(csv.starts_with("a\n\n"));
        QVERIFY(csv.ends_with("\n" + std::string(16383, ',') + "z\n"));
    }

    void hostilePackagesAreRefusedByName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("words");
        QTest::newRow("a document type with entities")
            << writePackage(path("doctype.xlsx"), withDoctype()) << "declares a document type";
        // 100 MB of spaces pack into about 100 KB.
        Parts bomb = book("");
        bomb["xl/worksheets/sheet1.xml"].insert(bomb["xl/worksheets/sheet1.xml"].size() - 12,
                                                std::string(std::size_t(100) << 20, ' '));
        QTest::newRow("a zip bomb") << writePackage(path("bomb.xlsx"), bomb) << "zip bomb";
        Parts noSheet = book("");
        noSheet.erase("xl/worksheets/sheet1.xml");
        QTest::newRow("a sheet that is not there")
            << writePackage(path("nosheet.xlsx"), noSheet)
            << "its part xl/worksheets/sheet1.xml is missing";
        const QString whole =
            writePackage(path("whole.xlsx"), book("<row>" + inlineCell("A1", "a") + "</row>"));
        QFile full(whole);
        QVERIFY(full.open(QIODevice::ReadOnly));
        QTest::newRow("a truncated zip")
            << writeFile(dir_, QStringLiteral("truncated.xlsx"), full.read(full.size() / 2))
            << "Not a readable workbook (";
        QTest::newRow("a CSV file named .xlsx")
            << writeFile(dir_, QStringLiteral("text.xlsx"), "Name,Phone\nA,603\n")
            << "Not a readable workbook (";
    }
    void hostilePackagesAreRefusedByName() {
        QFETCH(QString, name);
        QFETCH(QString, words);
        try {
            const WorkbookFile workbook(QFile::encodeName(name).toStdString(), FileKind::Xlsx);
            workbook.sheetCsv(0);
            QFAIL("read without a word");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().contains(words), qPrintable(failure.description()));
            QVERIFY2(!failure.description().contains(QStringLiteral("()")),
                     qPrintable(failure.description()));
        }
    }

    // tallyvane-convert finds the table wherever it starts, and counts the
    // formulas it read as empty.
    void theBatchProgramFindsTheTableAndCountsFormulas() {
        const QString offset =
            writePackage(path("offset.xlsx"), book("<row r=\"3\">" + inlineCell("C3", "Name") +
                                                   inlineCell("D3", "Phone") +
                                                   "</row><row r=\"4\">" + inlineCell("C4", "Ann") +
                                                   "<c r=\"D4\"><f>A1</f></c></row><row r=\"5\">" +
                                                   inlineCell("D5", "603") + "</row>"));
        QProcess program;
        program.start(kProgram, {"--database", kDatabase, "--column", "Phone", offset});
        QVERIFY(program.waitForFinished(60'000));
        QCOMPARE(program.readAllStandardOutput(),
                 QByteArray(",,Name,Phone,State\n,,Ann,,\n,,,603,NH\n"));
        QCOMPARE(
            program.readAllStandardError(),
            QByteArray("tallyvane-convert: " + QFile::encodeName(offset) +
                       ": 1 formula had no stored result; save the workbook from a spreadsheet "
                       "application to store them\n"));
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestWorkbookPackages)
#include "test_workbook_packages.moc"
