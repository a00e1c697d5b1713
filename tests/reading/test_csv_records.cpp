// The CSV reading that tallyvane-convert and the window share, fed whole and
// in chunks of every size.
#include "reading/csv_records.h"

#include <QTest>

using namespace tallyvane;

namespace {

// Each record as its fields between brackets and its line end spelt out, and
// "!" after a malformed one.
class Collector : public CsvRecords::Reader {
public:
    void record(const CsvRecord& record) override {
        QByteArray line;
        for (const std::string_view field : record.fields)
            line += '[' + QByteArray(field.data(), qsizetype(field.size())) + ']';
        line += record.end == "\r\n" ? "CRLF"
                : record.end == "\n" ? "LF"
                : record.end == "\r" ? "CR"
                                     : "END";
        if (record.malformed)
            line += '!';
        records << line;
    }
    QByteArrayList records;
};

} // namespace

class TestCsvRecords : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordsAsRfc4180ReadsThem_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<char>("delimiter");
        QTest::addColumn<QByteArrayList>("records");
        QTest::addColumn<bool>("mark");
        const auto row = [](const char* tag, const QByteArray& text, const QByteArrayList& records,
                            char delimiter = ',', bool mark = false) {
            QTest::newRow(tag) << text << delimiter << records << mark;
        };
        row("plain, CR LF", "Name,Phone\r\nAnn,603\r\n", {"[Name][Phone]CRLF", "[Ann][603]CRLF"});
        row("quotes and a comma inside", "\"Smith, Ann\",\"603\"\n", {"[Smith, Ann][603]LF"});
        row("doubled quotes", "\"say \"\"hi\"\"\",x\n", {"[say \"hi\"][x]LF"});
        row("a line break inside quotes", "\"two\r\nlines\",x\r\n", {"[two\r\nlines][x]CRLF"});
        row("blank cells", ",,603,\n", {"[][][603][]LF"});
        row("ragged rows", "a,b,c\na\na,b\n", {"[a][b][c]LF", "[a]LF", "[a][b]LF"});
        row("spaces are kept", " a , b \n", {"[ a ][ b ]LF"});
        row("a space before CR LF", "a ,b \r\nc\r\n", {"[a ][b ]CRLF", "[c]CRLF"});
        row("a blank line is a record", "a\n\nb\n", {"[a]LF", "LF", "[b]LF"});
        row("lone CRs", "a\rb\r", {"[a]CR", "[b]CR"});
        row("no line end at the end", "a,b\nc,d", {"[a][b]LF", "[c][d]END"});
        row("semicolons", "Name;Phone\r\n\"Ann; Bo\";603\r\n",
            {"[Name][Phone]CRLF", "[Ann; Bo][603]CRLF"}, ';');
        row("tabs", "Name\tPhone\n\"a\tb\"\t603\n", {"[Name][Phone]LF", "[a\tb][603]LF"}, '\t');
        row("a byte-order mark", "\xEF\xBB\xBFName,Phone\n", {"[Name][Phone]LF"}, ',', true);
        row("a mark later is text",
            "a\n\xEF\xBB\xBF"
            "b\n",
            {"[a]LF", "[\xEF\xBB\xBF"
                      "b]LF"});
        row("repeated names", "Phone,Phone,Email\n", {"[Phone][Phone][Email]LF"});
        row("shorter than a mark", "\xEF\xBB", {"[\xEF\xBB]END"});
        // A space before an opening quote makes the field unquoted; text after a
        // closing quote stays in its field, as spreadsheets and Python read it,
        // and takes no more than its own row.
        row("spaces around quotes", " \"a\",b\n\"c\" ,d\n", {"[ \"a\"][b]LF", "[c ][d]LF!"});
        row("a space between quotes", "\"c\" \"d\",e\n", {"[c \"d\"][e]LF!"});
        row("text after the closing quote", "\"Bob\" Smith,2015550142\nx,y\n",
            {"[Bob Smith][2015550142]LF!", "[x][y]LF"});
        row("quotes after the closing quote", "\"a\"b\"c\",d\n", {"[ab\"c\"][d]LF!"});
        row("a doubled quote, then text", "\"a\"\"b\" c\r\n\"x\"", {"[a\"b c]CRLF!", "[x]END"});
        row("after the closing quote, the end", "a,\"b\" c", {"[a][b c]END!"});
        row("tabs around fields", "\ta\t,b\t\n", {"[\ta\t][b\t]LF"});
        row("spaces in a long row", "Ann Smith ,  (603) 237-4934 , \"Concord, NH\"\r\n",
            {"[Ann Smith ][  (603) 237-4934 ][ \"Concord][ NH\"]CRLF"});
    }
    void recordsAsRfc4180ReadsThem() {
        QFETCH(QByteArray, text);
        QFETCH(char, delimiter);
        QFETCH(QByteArrayList, records);
        QFETCH(bool, mark);
        // Read byte by byte as well as only where spaces are: the same records.
        for (qsizetype chunk = 1; chunk <= 2 * text.size(); ++chunk) {
            CsvRecords reader(delimiter, chunk > text.size() ? CsvRecords::Spaces::KeptAlways
                                                             : CsvRecords::Spaces::KeptWhereThere);
            Collector collected;
            const qsizetype size = (chunk - 1) % text.size() + 1;
            for (qsizetype at = 0; at < text.size(); at += size)
                reader.feed(text.constData() + at, std::size_t(std::min(size, text.size() - at)),
                            collected);
            reader.finish(collected);
            QCOMPARE(collected.records, records);
            QCOMPARE(reader.startedWithMark(), mark);
        }
    }
};

QTEST_GUILESS_MAIN(TestCsvRecords)
#include "test_csv_records.moc"
