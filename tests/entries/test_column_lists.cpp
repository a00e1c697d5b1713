// Whether a list is taken for columns, split by what, with or without a
// header, and which column is offered first. A wrong guess either asks about
// a plain list or reads a contacts file line by line.
#include "entries/column_lists.h"
#include "reading/table_names.h"

#include <QTest>

#include <optional>

using namespace tallyvane;

class TestColumnLists : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Columns and sheets are named by one rule: the exact name, else the only
    // one alike but for case and white space around it.
    void whichNameIsMeant() {
        const std::vector<std::string_view> names{"Phone",     "phone ", "Mobile",
                                                  "TÉLÉPHONE", "Notes",  " Notes"};
        const struct {
            const char* wanted;
            std::optional<std::size_t> meant;
        } cases[] = {{"Phone", 0},     {"phone ", 1},        {"PHONE", std::nullopt},
                     {" mobile\t", 2}, {"téléphone", 3},     {"notes", std::nullopt},
                     {"Notes", 4},     {"Fax", std::nullopt}};
        for (const auto& c : cases)
            QCOMPARE(nameMeant(names, c.wanted), c.meant);
    }

    // One rule for both programs: the name's last four characters, any case.
    void namesThatSayTabsOrCommas() {
        const struct {
            const char* name;
            bool tsv;
            bool csv;
        } cases[] = {{"list.tsv", true, false},     {"LIST.TSV", true, false},
                     {"List.Csv", false, true},     {"list.tsv.txt", false, false},
                     {"tsv", false, false},         {"", false, false},
                     {"dir.tsv/list", false, false}};
        for (const auto& c : cases) {
            QCOMPARE(namedTsv(std::string_view(c.name)), c.tsv);
            QCOMPARE(namedCsv(std::string_view(c.name)), c.csv);
            QCOMPARE(namedTsv(QString::fromUtf8(c.name)), c.tsv);
            QCOMPARE(namedCsv(QString::fromUtf8(c.name)), c.csv);
        }
    }
    void layoutOfTheList_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("toStates");
        QTest::addColumn<char>("delimiter");
        QTest::addColumn<bool>("header");
        QTest::addColumn<int>("likeliest");

        const QString none;
        const QString csv = QStringLiteral("contacts.csv");
        QTest::newRow("one entry a line")
            << QByteArray("603\n604\n") << true << none << true << char(0) << false << 0;
        QTest::newRow("one typed line with a comma")
            << QByteArray("603,604\n") << true << none << true << char(0) << false << 0;
        QTest::newRow("spreadsheet cells") << QByteArray("Name\tPhone\r\nAnn\t603-555-0100\r\n")
                                           << true << none << true << '\t' << true << 1;
        QTest::newRow("short rows in a CSV file")
            << QByteArray("Name,Phone,Email\nAnn,603-555-0100,a@x\nCy\n") << true << csv << true
            << ',' << true << 1;
        QTest::newRow("short rows in other text")
            << QByteArray("Name,Phone\nAnn,603-555-0100\nCy\n") << true << none << true << char(0)
            << false << 0;
        QTest::newRow("commas inside a TSV file's cells")
            << QByteArray("Smith, Ann\t603-555-0100\nJones, Bo\t201-555-0100\n") << true
            << QStringLiteral("x.tsv") << true << '\t' << false << 1;
        QTest::newRow("semicolons, as some locales export")
            << QByteArray("Name;Phone\nAnn;603 555 0100\n") << true << csv << true << ';' << true
            << 1;
        QTest::newRow("quoted commas, no header")
            << QByteArray("\"Smith, Ann\",603-555-0100\n\"Jones, Bo\",201-555-0100\n") << true
            << csv << true << ',' << false << 1;
        QTest::newRow("states column when converting states")
            << QByteArray("Id,State\n1,Texas\n2,New Hampshire\n") << true << csv << false << ','
            << true << 1;
        QTest::newRow("a repeated cell names no columns")
            << QByteArray("x,x,603-555-0100\na,b,201-555-0100\n") << true << csv << true << ','
            << false << 2;
        QTest::newRow("a repeated name names no columns")
            << QByteArray("Ann,Ann\nBo,603-555-0100\nCy,201-555-0100\n") << true << csv << true
            << ',' << false << 1;
        QTest::newRow("of two phone columns, the first")
            << QByteArray("Name,Home,Work\nAnn,603-555-0100,201-555-0100\n") << true << csv << true
            << ',' << true << 1;
        // Digits alone do not make phone numbers: amounts, ZIP codes, dates
        // and ids are passed over, and a column named for phones counts.
        QTest::newRow("a CRM export: amounts before phones")
            << QByteArray("Account,Amount,Zip,Since,Id,Phone\n"
                          "Acme,8602.00,03301,2026-12-09,1234567890123456,(603) 237-4934\n"
                          "Bolt,2125.50,10001,2025-01-02,1234567890123457,212.555.0147 x3\n"
                          "Cord,9171.00,94105,2024-03-04,1234567890123458,\n")
            << true << csv << true << ',' << true << 5;
        QTest::newRow("a phone column named so, mostly blank")
            << QByteArray(
                   "Name,Account,Mobile Phone\nAnn,6032374,\nBo,2015550,\nCy,2125550,555 0147\n")
            << true << csv << true << ',' << true << 2;
        QTest::newRow("a sample cut inside its last row")
            << QByteArray("Name,Phone\nAnn,603-555-0100\nBo") << false << none << true << ','
            << true << 1;
    }
    void layoutOfTheList() {
        QFETCH(QByteArray, text);
        QFETCH(bool, whole);
        QFETCH(QString, fileName);
        QFETCH(bool, toStates);
        QFETCH(char, delimiter);
        const ColumnLayout layout =
            columnLayout(text, whole, fileName,
                         toStates ? Direction::AreaCodesToStates : Direction::StatesToAreaCodes);
        QCOMPARE(layout.delimiter, delimiter);
        if (delimiter != 0) {
            QTEST(layout.question.header, "header");
            QTEST(layout.question.likeliest, "likeliest");
        }
    }

    // A list in the other direction's terms is met with that column and an
    // offer of the other direction; a person who takes it has the window
    // switched for this run, and no one else does.
    void theOtherDirectionIsOffered_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("toStates");
        QTest::addColumn<int>("likeliest");
        QTest::addColumn<bool>("offered");
        const QByteArray contacts("Name,Phone\nAnn Lee,603-555-0100\nBo,(201) 555-0100\n");
        QTest::newRow("phones while converting states") << contacts << false << 1 << true;
        QTest::newRow("phones while converting area codes") << contacts << true << 1 << false;
        QTest::newRow("states while converting area codes")
            << QByteArray("Id,State\nx,Texas\ny,Ohio\n") << true << 1 << true;
        QTest::newRow("states while converting states")
            << QByteArray("Id,State\nx,Texas\ny,Ohio\n") << false << 1 << false;
        QTest::newRow("neither") << QByteArray("a,b\n1,2\n3,4\n") << true << 0 << false;
    }
    void theOtherDirectionIsOffered() {
        QFETCH(QByteArray, text);
        QFETCH(bool, toStates);
        QFETCH(bool, offered);
        const Direction direction =
            toStates ? Direction::AreaCodesToStates : Direction::StatesToAreaCodes;
        ColumnQuestion question =
            columnLayout(text, true, QStringLiteral("list.csv"), direction).question;
        QTEST(question.likeliest, "likeliest");
        QCOMPARE(!question.otherDirection.isEmpty(), offered);
        for (const bool taken : {false, true}) {
            question.useOtherDirection = taken;
            std::optional<Direction> used;
            takeOfferedDirection(question, direction, [&used](Direction d) { used = d; });
            QCOMPARE(used.has_value(), taken);
            if (taken)
                QVERIFY(*used != direction);
        }
    }
};

QTEST_GUILESS_MAIN(TestColumnLists)
#include "test_column_lists.moc"
