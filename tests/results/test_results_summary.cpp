// The summary both programs show: counts, shares and order, places counted
// once for each state a row names, "Not Found" by reason, the states
// direction and an empty list; and the map's tiles.
#include "results/results_summary.h"
#include "results/state_tiles.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace tallyvane;

namespace {

struct Row {
    const char* result;
    const char* reason;
    int times;
};

QString tableText(Direction direction, std::initializer_list<Row> rows) {
    SummaryTally tally(direction);
    for (const Row& row : rows) {
        for (int i = 0; i < row.times; ++i)
            tally.add(QString::fromUtf8(row.result), QString::fromUtf8(row.reason));
    }
    return summaryTsv(tally.summary());
}

} // namespace

class TestResultsSummary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countsSharesAndOrder_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        const int toStates = int(Direction::AreaCodesToStates);
        const int toCodes = int(Direction::StatesToAreaCodes);
        // Ties go by name; "NT NU YT" is one row in the table and three places.
        QTest::newRow("area codes to states")
            << toStates
            << tableText(Direction::AreaCodesToStates,
                         {{"TX", "", 3},
                          {"NT NU YT", "", 2},
                          {"Not Found", "a local number without its area code", 2},
                          {"NH", "", 2},
                          {"Not Found", "no area code in this entry", 1}})
            << QStringLiteral("Group\tName\tCount\tShare %\n"
                              "Result\tNot Found\t3\t30.00\n"
                              "Result\tTX\t3\t30.00\n"
                              "Result\tNH\t2\t20.00\n"
                              "Result\tNT NU YT\t2\t20.00\n"
                              "Reason\ta local number without its area code\t2\t20.00\n"
                              "Reason\tno area code in this entry\t1\t10.00\n"
                              "State\tTX\t3\t30.00\n"
                              "State\tNH\t2\t20.00\n"
                              "State\tNT\t2\t20.00\n"
                              "State\tNU\t2\t20.00\n"
                              "State\tYT\t2\t20.00\n"
                              "Total\t\t10\t100.00\n");
        QTest::newRow("states to area codes")
            << toCodes
            << tableText(Direction::StatesToAreaCodes,
                         {{"603", "", 2},
                          {"201 551", "", 1},
                          {"Not Found", "no state code or name matches", 3}})
            << QStringLiteral("Group\tName\tCount\tShare %\n"
                              "Result\tFound\t3\t50.00\n"
                              "Result\tNot Found\t3\t50.00\n"
                              "Reason\tno state code or name matches\t3\t50.00\n"
                              "Area code\t603\t2\t33.33\n"
                              "Area code\t201\t1\t16.67\n"
                              "Area code\t551\t1\t16.67\n"
                              "Total\t\t6\t100.00\n");
        QTest::newRow("nothing at all")
            << toStates << tableText(Direction::AreaCodesToStates, {})
            << QStringLiteral("Group\tName\tCount\tShare %\nTotal\t\t0\t\n");
    }
    void countsSharesAndOrder() {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }

    // Counted in any order and in any grouping, the summary is the same.
    void orderAndGroupingOfRowsDoNotMatter() {
        SummaryTally one(Direction::AreaCodesToStates), other(Direction::AreaCodesToStates);
        for (int i = 0; i < 5; ++i) {
            one.add(QStringLiteral("NJ"), {});
            one.add(QStringLiteral("Not Found"), QStringLiteral("why"));
        }
        other.add(QStringLiteral("Not Found"), QStringLiteral("why"), 5);
        other.add(QStringLiteral("NJ"), {}, 5);
        QCOMPARE(summaryCsv(one.summary()), summaryCsv(other.summary()));
    }

    // A name with the delimiter or a formula's first character is quoted and
    // guarded in CSV, and escaped in HTML.
    void cellsAreWrittenSafely() {
        SummaryTally tally(Direction::AreaCodesToStates);
        tally.add(QStringLiteral("Not Found"), QStringLiteral("=cmd, then <b>"));
        const ResultsSummary summary = tally.summary();
        QVERIFY(summaryCsv(summary).contains(QStringLiteral("Reason,\"'=cmd, then <b>\",1,")));
        QVERIFY(summaryHtml(summary).contains(QStringLiteral("<td>=cmd, then &lt;b&gt;</td>")));
    }

    void everyPlaceHasOneTileOfItsOwn() {
        QSet<QString> codes;
        QSet<QPair<int, int>> squares;
        for (const StateTile& tile : stateTiles()) {
            QVERIFY2(!codes.contains(QLatin1String(tile.code)), tile.code);
            codes.insert(QLatin1String(tile.code));
            QVERIFY2(!squares.contains({tile.column, tile.row}), tile.code);
            squares.insert({tile.column, tile.row});
            QVERIFY(tile.column >= 0 && tile.column < tileColumns());
            QVERIFY(tile.row >= 0 && tile.row < tileRows());
        }
        // 50 states, DC, 13 provinces and territories, 5 territories of the US.
        QCOMPARE(codes.size(), 69);
        // Every state the area-code table can name can be found on the map.
        QFile table(QStringLiteral(TALLYVANE_SOURCE_DIR "/data/area_codes.csv"));
        QVERIFY(table.open(QIODevice::ReadOnly));
        table.readLine(); // the heading
        while (!table.atEnd()) {
            const QString state =
                QString::fromUtf8(table.readLine()).section(QLatin1Char(','), 1, 1);
            QVERIFY2(tileOf(state) != nullptr, qPrintable(state));
        }
    }
};

QTEST_GUILESS_MAIN(TestResultsSummary)
#include "test_results_summary.moc"
