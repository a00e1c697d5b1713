#include "entries/sample_data.h"
#include "support/fakes.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QStringList kSampleSet{QStringLiteral("NH"),
                             QStringLiteral("603"),
                             QStringLiteral("NEW HAMPSHIRE"),
                             QStringLiteral("201"),
                             QStringLiteral("609"),
                             QStringLiteral("732"),
                             QStringLiteral("603-237-4934"),
                             QStringLiteral("1-603-237-4934")};

} // namespace

class TestSampleData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void appendsTheEightEntriesUpperCased() {
        FakePlatform p;
        PushButton7_Click(p.prompts, p.entries);
        QCOMPARE(listTexts(p.entries), kSampleSet);
        QVERIFY(p.prompts.shown.empty());
    }

    void twiceGivesSixteenAfterTheEntriesAlreadyThere() {
        FakePlatform p;
        p.addEntries({QStringLiteral("ct")});
        p.window.setPointer(Pointer::Busy); // the busy pointer does not stop it
        PushButton7_Click(p.prompts, p.entries);
        PushButton7_Click(p.prompts, p.entries);
        QCOMPARE(p.entries.count(), 17);
        QCOMPARE(listTexts(p.entries), QStringList{QStringLiteral("ct")} + kSampleSet + kSampleSet);
        QCOMPARE(p.options.option1, true); // the direction is left alone
        QCOMPARE(p.window.pointer(), Pointer::Busy);
    }

    void aFailedAppendIsReportedAtItsLineAndTheRestFollow() {
        FakePlatform p;
        RefusingList list(3);
        PushButton7_Click(p.prompts, list);
        QStringList expected = kSampleSet;
        expected.removeAt(2);
        QCOMPARE(listTexts(list), expected);
        const auto reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.contains(
            QStringLiteral("in Brisquet2021/08/31.Form1.PushButton7_Click at line 104\r\r")));
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "test_sample_data.moc"
