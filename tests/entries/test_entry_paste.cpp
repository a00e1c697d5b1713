#include "conversion/conversion_run.h"
#include "entries/entry_paste.h"
#include "support/fakes.h"
#include "support/reports.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestEntryPaste : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesBecomeEntriesAsPasted_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("CR LF, LF and lone CR")
            << "nh\r\nny\nct\rma" << QStringList{"nh", "ny", "ct", "ma"};
        QTest::newRow("final CR LF adds nothing") << "603\r\n201\r\n" << QStringList{"603", "201"};
        QTest::newRow("final LF adds nothing") << "603\n" << QStringList{"603"};
        QTest::newRow("final CR adds nothing") << "603\r" << QStringList{"603"};
        QTest::newRow("blank lines are entries") << "a\n\nb\r\n\r\n"
                                                 << QStringList{"a", "", "b", ""};
        QTest::newRow("CR then CR LF") << "a\r\r\nb" << QStringList{"a", "", "b"};
        QTest::newRow("a lone line end") << "\n" << QStringList{""};
        QTest::newRow("kept as typed")
            << "  nh \t\r\nNew Hampshire\tx\r\nS\u00e3o Tom\u00e9"
            << QStringList{"  nh \t", "New Hampshire\tx", "S\u00e3o Tom\u00e9"};
    }
    void linesBecomeEntriesAsPasted() {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        FakePlatform p;
        p.addEntries({"kept"});
        ListView1_Paste(p.prompts, p.entries, text);
        QCOMPARE(listTexts(p.entries), QStringList{"kept"} + entries);
        QVERIFY(p.prompts.shown.empty());
    }

    // Cells copied in columns give one entry a row from the column chosen.
    void cellsInColumnsGiveOneEntryARow_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("a blank line before the header") << "\nName,Phone\nA,6035551234\n"
                                                        << QStringList{"6035551234"};
        // Longer than the sample that tells the layout, and cut inside a row there.
        QString many = QStringLiteral("Name\tPhone\n");
        QStringList phones;
        for (int i = 0; many.size() < qsizetype(70) * 1024; ++i) {
            phones << QStringLiteral("603555%1").arg(1000 + i % 9000);
            many += QStringLiteral("Someone with a long name %1\t%2\n").arg(i).arg(phones.last());
        }
        QTest::newRow("longer than the sample") << many << phones;
        // Rows of a kilobyte: the sample ends inside a name, and that part
        // of a row is not taken for a row of one cell.
        QString wide = QStringLiteral("Name\tPhone\n");
        QStringList widePhones;
        for (int i = 0; i < 70; ++i) {
            widePhones << QStringLiteral("603555%1").arg(1000 + i);
            wide += QString(1000, QLatin1Char('n')) + QStringLiteral("\t") + widePhones.last() +
                    QStringLiteral("\n");
        }
        QTest::newRow("rows of a kilobyte past the sample") << wide << widePhones;
    }
    void cellsInColumnsGiveOneEntryARow() {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        FakePlatform p;
        p.prompts.columnAnswers = {1};
        ListView1_Paste(p.prompts, p.entries, text);
        QCOMPARE(listTexts(p.entries), entries);
        QCOMPARE(p.prompts.columnQuestions.size(), std::size_t(1));
    }

    // Out of memory part way: the entries so far stay, and the report says
    // how many came in, as a file load's does; a clipboard that cannot be
    // held at all is reported the same way.
    void runningOutOfMemoryTellsHowMuchCameIn() {
        FakePlatform p;
        RefusingList entries(4, RefusingList::How::OutOfMemory);
        ListView1_Paste(p.prompts, entries, QStringLiteral("a\nb\nc\nd\ne\n"));
        QCOMPARE(listTexts(entries), QStringList({"a", "b", "c"}));
        QCOMPARE(reportedLines(p.prompts), QList<int>{102});
        QVERIFY(p.prompts.shown[0].text.startsWith(
            "Out of memory: 3 entries were pasted and the rest was not.\r\n"));

        FakePlatform q;
        ListView1_Paste(
            q.prompts, q.entries, []() -> QString { throw std::bad_alloc(); },
            Direction::AreaCodesToStates);
        QCOMPARE(reportedLines(q.prompts), QList<int>{100});
        QCOMPARE(q.entries.count(), 0);
    }

    void emptyClipboardDoesNothing() {
        FakePlatform p;
        ListView1_Paste(p.prompts, p.entries, QString());
        QCOMPARE(p.entries.count(), 0);
        QVERIFY(p.prompts.shown.empty());
    }

    // Like Add, a paste goes in under the busy pointer, and a run that is
    // already going does not convert what arrives after its start.
    void pasteDuringARunIsNotConverted() {
        FakePlatform p;
        p.database.rows = {{QString("603"), QString("NH"), QString("New Hampshire")},
                           {QString("201"), QString("NJ"), QString("New Jersey")}};
        ConversionRun run(p.runServices());
        p.window.onPump = [&](int pump) {
            if (pump == 1) {
                QVERIFY(p.window.isBusy());
                ListView1_Paste(p.prompts, p.entries, "201\r\n603");
            }
        };
        p.addEntries({"603", "201"});
        run.PushButton17_Click();
        QCOMPARE(listTexts(p.entries), QStringList({"603", "201", "201", "603"}));
        QCOMPARE(p.resultTexts(), QStringList({"NH", "NJ"}));
    }
};

QTEST_GUILESS_MAIN(TestEntryPaste)
#include "test_entry_paste.moc"
