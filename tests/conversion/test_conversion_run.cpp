#include "conversion/conversion_run.h"
#include "results/results_editing.h"
#include "results/results_summary.h"
#include "support/fakes.h"
#include "support/reports.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kDone = QStringLiteral("Done.");

// A small New England / New Jersey table with a shared code and a null state.
void fillTable(FakeAreaCodeDatabase& db) {
    db.addRow("201", "NJ", "New Jersey");
    db.addRow("520", "AZ", "Arizona");
    db.addRow("551", "NJ", "New Jersey");
    db.addRow("603", "NH", "New Hampshire");
    db.addRow("609", "NJ", "New Jersey");
    db.addRow("732", "NJ", "New Jersey");
    db.addRow("902", "NS", "Nova Scotia");
    db.addRow("902", "PE", "Prince Edward Island");
    db.rows.push_back({QStringLiteral("999"), std::nullopt, QStringLiteral("Nowhere")});
}

// The queries that reading the table costs: a run of one entry makes no more.
qsizetype tableQueries(bool statesToCodes);

struct Harness {
    FakePlatform platform;
    ConversionRun run{platform.runServices()};
    Harness() { fillTable(platform.database); }
    QStringList convert(const QStringList& entries) {
        platform.addEntries(entries);
        run.PushButton17_Click();
        return platform.resultTexts();
    }
};

qsizetype tableQueries(bool statesToCodes) {
    Harness h;
    h.platform.options.option1 = !statesToCodes;
    h.platform.options.option2 = statesToCodes;
    h.convert({QStringLiteral("NH")});
    return h.platform.database.queries.size();
}

} // namespace

class TestConversionRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowTextJoinsTrimsAndKeepsNulls() {
        QCOMPARE(resultRowText({}), QStringLiteral("Not Found"));
        QCOMPARE(resultRowText({QStringLiteral("201"), QStringLiteral("551")}),
                 QStringLiteral("201 551"));
        QCOMPARE(resultRowText({std::nullopt}), QString());
        QCOMPARE(resultRowText({std::nullopt, QStringLiteral("NJ"), std::nullopt}),
                 QStringLiteral("NJ"));
        QCOMPARE(resultRowText({QStringLiteral("A"), std::nullopt, QStringLiteral("B")}),
                 QStringLiteral("A  B"));
        QCOMPARE(resultRowText({QStringLiteral("\tX ")}), QStringLiteral("\tX"));
    }

    void areaCodesToStates() {
        Harness h;
        const QStringList rows = h.convert(
            {"603", "603-237-4934", "1-603-237-4934", "NH", "902", "999", "(201) 555-0100", ""});
        QCOMPARE(rows,
                 QStringList({"NH", "NH", "NH", "Not Found", "NS PE", "", "NJ", "Not Found"}));
        QCOMPARE(h.platform.prompts.texts(), QStringList({kDone}));
        QVERIFY(h.platform.prompts.errorReports().empty());
        QCOMPARE(h.platform.database.opens, 1);
        // The table is read once, and then no entry costs a query.
        QCOMPARE(h.platform.database.queries.size(), tableQueries(false));
    }

    // A cell of several numbers ("... ::: ..."), as contact exports join
    // them: each answered in its place, the reasons of those not found too;
    // the Summary counts each number.
    void severalNumbersInOneEntry() {
        Harness h;
        const QStringList rows =
            h.convert({"(603) 237-4934 ::: +1 902 555 0147", "+44 20 7946 0958 :::603", "603:::"});
        QCOMPARE(rows, QStringList({"NH ::: NS PE", "Not Found ::: NH", "NH ::: Not Found"}));
        QCOMPARE(h.platform.results.note(2),
                 QStringLiteral("not a North American number (+44) ::: "));
        QCOMPARE(h.platform.results.note(3), QStringLiteral(" ::: no area code in this entry"));
        SummaryTally tally(Direction::AreaCodesToStates);
        for (int row = 1; row <= 3; ++row)
            tally.add(h.platform.results.text(row), h.platform.results.note(row));
        const ResultsSummary summary = tally.summary();
        QCOMPARE(summary.entries, std::uint64_t(6));
        QCOMPARE(summary.results,
                 (std::vector<SummaryCount>{{"NH", 3}, {"Not Found", 2}, {"NS PE", 1}}));
        QCOMPARE(summary.reasons,
                 (std::vector<SummaryCount>{{"no area code in this entry", 1},
                                            {"not a North American number (+44)", 1}}));
    }

    void statesToAreaCodes() {
        Harness h;
        h.platform.options.option1 = false;
        h.platform.options.option2 = true;
        // Letter case is ignored from A to Z, in codes and names alike.
        const QStringList rows = h.convert({"NH", "New Hampshire", "nj", "NEW JERSEY", "603", " NH",
                                            "Nowhere", "az", "aZ", "arizona", "ARIZONA"});
        QCOMPARE(rows, QStringList({"603", "603", "201 551 609 732", "201 551 609 732", "Not Found",
                                    "Not Found", "999", "520", "520", "520", "520"}));
        QCOMPARE(h.platform.database.queries.size(), tableQueries(true));
    }

    void emptyListKeepsResultsAndTouchesNothing() {
        Harness h;
        h.platform.results.append(QStringLiteral("old"));
        h.run.PushButton17_Click();
        QCOMPARE(h.platform.prompts.texts(), QStringList({"No states or area codes added."}));
        QCOMPARE(h.platform.resultTexts(), QStringList({"old"}));
        QCOMPARE(h.platform.database.opens, 0);
        QVERIFY(h.platform.progress.events.empty());
        QVERIFY(!h.run.IsConverting());
    }

    void progressPointerAndPumps() {
        Harness h;
        h.convert({"603", "dir/sub/201", "NH", "732"});
        QCOMPARE(h.platform.progress.values(), std::vector<double>({25, 50, 75, 100, 0}));
        QCOMPARE(h.platform.progress.textsSet(),
                 QStringList({"Processing: 603", "Processing: 201", "Processing: NH",
                              "Processing: 732", "Progress Bar"}));
        QCOMPARE(h.platform.window.pumps, 8);
        QCOMPARE(h.platform.window.pointer(), Pointer::Default);
        QCOMPARE(h.platform.window.pointerHistory.front(), Pointer::Busy);
        QCOMPARE(h.platform.window.pointerHistory.size(), size_t(1 + 4 + 1));
    }

    void clicksDuringTheRun() {
        Harness h;
        int runningSeen = 0;
        h.platform.window.onPump = [&](int pump) {
            if (h.run.IsConverting())
                ++runningSeen;
            if (pump == 1)
                h.run.PushButton17_Click(); // a second click is ignored
            if (pump == 2)
                h.platform.entries.append(QStringLiteral("201")); // not processed by this run
            if (pump == 4) { // switched during entry 2: applies from entry 2's lookup on
                h.platform.options.option1 = false;
                h.platform.options.option2 = true;
            }
        };
        QCOMPARE(h.convert({"603", "NH", "NJ"}), QStringList({"NH", "603", "201 551 609 732"}));
        QCOMPARE(h.platform.database.opens, 1);
        QCOMPARE(runningSeen, 6);
        QCOMPARE(h.platform.prompts.texts(), QStringList({kDone}));
        // The entry added mid-run counts for the percentage, not for the passes.
        QCOMPARE(h.platform.progress.values()[2], 3.0 / 4 * 100);
    }

    void neitherDirectionEmptiesResultsAndSaysDone() {
        Harness h;
        h.platform.results.append(QStringLiteral("old"));
        h.platform.options.option1 = false;
        h.platform.options.option2 = false;
        QVERIFY(h.convert({"603", "NH"}).isEmpty());
        QCOMPARE(h.platform.prompts.texts(), QStringList({kDone}));
    }

    void unopenableDatabaseEndsTheRunAfterOneReport() {
        Harness h;
        h.platform.results.append(QStringLiteral("kept"));
        h.platform.database.openFailure = QStringLiteral(
            "Cannot read the area-code database /x/areacodes.db: file is not a database");
        h.convert({"603", "NH"});
        const auto reports = h.platform.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(h.platform.database.openFailure + "\r\n"));
        QVERIFY(reports[0].text.contains(QStringLiteral("PushButton17_Click at line 110\r\r")));
        QCOMPARE(h.platform.prompts.shown.size(), size_t(1)); // no "Done."
        QCOMPARE(h.platform.resultTexts(), QStringList({"kept"}));
        QCOMPARE(h.platform.window.pointer(), Pointer::Default);
        QCOMPARE(h.platform.progress.value(), 0.0);
        QCOMPARE(h.platform.progress.text(), QStringLiteral("Progress Bar"));
        QVERIFY(!h.run.IsConverting());
        h.platform.database.openFailure.clear(); // and the next click runs normally
        h.run.PushButton17_Click();
        QCOMPARE(h.platform.resultTexts(), QStringList({"NH", "Not Found"}));
    }

    void failingTableReadEndsTheRunAtOpening() {
        Harness h;
        h.platform.results.append(QStringLiteral("kept"));
        h.platform.database.failQueryNumber = 2;
        QCOMPARE(h.convert({"603", "201"}), QStringList({"kept"}));
        const auto reports = h.platform.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(QStringLiteral("database disk image is malformed")));
        QVERIFY(reports[0].text.contains(QStringLiteral("at line 110")));
        QCOMPARE(h.platform.prompts.shown.size(), size_t(1));
        QVERIFY(!h.run.IsConverting());
    }

    // An entry that changes between its two reads is asked of the database
    // with both texts, as the query always did; a failure there ends the run.
    void entryChangedMidLookupIsQueriedAndItsFailureEndsTheRun() {
        for (const bool fail : {false, true}) {
            Harness h;
            h.platform.options.option1 = false;
            h.platform.options.option2 = true;
            h.platform.database.failQueryNumber = fail ? tableQueries(true) + 1 : 0;
            h.platform.window.onPump = [&](int pump) {
                if (pump == 2) { // line 128 of entry 1: the list moves up under it
                    h.platform.entries.remove(1);
                    h.platform.entries.append(QStringLiteral("NV"));
                }
            };
            const QStringList rows = h.convert({"NH", "NJ", "NY"});
            QCOMPARE(h.platform.database.queries.last(), QStringLiteral("state:NH|NJ"));
            QCOMPARE(rows, fail ? QStringList() : QStringList({"603", "Not Found", "Not Found"}));
            const auto reports = h.platform.prompts.errorReports();
            QCOMPARE(reports.size(), size_t(fail ? 1 : 0));
            if (fail)
                QVERIFY(reports[0].text.contains(QStringLiteral("at line 162")));
            QCOMPARE(h.platform.window.pointer(), Pointer::Default);
            QCOMPARE(h.platform.progress.text(), QStringLiteral("Progress Bar"));
        }
    }

    // A results list that runs out of memory ends the run with one report in
    // words; the rows so far stay, and the window's commands go on working.
    void runningOutOfMemoryEndsTheRunAfterOneReport() {
        FakePlatform p;
        fillTable(p.database);
        RefusingList results(3, RefusingList::How::OutOfMemory);
        ConversionRun run(
            {p.prompts, p.window, p.entries, results, p.progress, p.options, p.database});
        p.addEntries({"603", "201", "609", "732", "902"});
        run.PushButton17_Click();
        QCOMPARE(reportedLines(p.prompts), QList<int>{156});
        QVERIFY(p.prompts.shown[0].text.startsWith(
            "Out of memory: 2 of 5 entries were converted; the rest were not.\r\n"));
        QCOMPARE(p.prompts.shown.size(), size_t(1)); // and no "Done."
        QCOMPARE(listTexts(results), QStringList({"NH", "NJ"}));
        QVERIFY(!run.IsConverting());
        QCOMPARE(p.window.pointer(), Pointer::Default);
        QCOMPARE(p.progress.text(), QStringLiteral("Progress Bar"));
        PushButton2_Click(p.prompts, results);
        QCOMPARE(results.count(), 0);
    }

    void noDoneAfterAReport() {
        Harness h;
        h.platform.window.onPump = [&](int pump) {
            if (pump == 1) // the entries are gone before the first is read
                h.platform.entries.clear();
        };
        h.convert({"603", "NH"});
        QVERIFY(!h.platform.prompts.errorReports().empty());
        QVERIFY(!h.platform.prompts.texts().contains(kDone));
        QCOMPARE(h.platform.window.pointer(), Pointer::Default);
        QVERIFY(!h.run.IsConverting());
    }

    void aSecondRunStartsAfresh() {
        Harness h;
        h.convert({"603"});
        h.platform.database.rows.push_back({QStringLiteral("603"), QStringLiteral("XX"), {}});
        h.run.PushButton17_Click();
        // The table lives for one run only: the second run sees the new row.
        QCOMPARE(h.platform.resultTexts(), QStringList({"NH XX"}));
    }
};

QTEST_GUILESS_MAIN(TestConversionRun)
#include "test_conversion_run.moc"
