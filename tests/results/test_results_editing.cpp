#include "results/results_editing.h"
#include "support/fakes.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

constexpr int kDelete = 46;

void fill(FakePlatform& f, const QStringList& rows) {
    for (const QString& row : rows)
        f.results.append(row);
    f.results.announcePendingRows();
}

void select(ListModel& list, int position) {
    list.selectionModel()->setCurrentIndex(list.index(position - 1, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
}

const QStringList kFive = {QStringLiteral("NH"), QStringLiteral("NJ"), QStringLiteral("NY"),
                           QStringLiteral("Not Found"), QStringLiteral("CA")};

} // namespace

class TestResultsEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void doubleClickRemovesTheSelectedRowOnly() {
        FakePlatform f;
        fill(f, {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
        select(f.results, 2);
        ListView2_DblClick(f.window, f.results);
        QCOMPARE(f.resultTexts(), QStringList({QStringLiteral("one"), QStringLiteral("three")}));
        QVERIFY(f.prompts.shown.empty());

        // Rows after the removed one move up: entry 3's row is now row 2.
        FakePlatform g;
        fill(g, kFive);
        select(g.results, 2);
        ListView2_DblClick(g.window, g.results);
        QCOMPARE(g.results.count(), 4);
        QCOMPARE(g.results.text(2), QStringLiteral("NY"));
    }

    void deleteKeyRemovesWhateverTheModifiers() {
        FakePlatform f;
        fill(f, kFive);
        const int shift = 1, ctrl = 2, alt = 4;
        for (const int modifiers : {0, shift, ctrl, shift | ctrl | alt}) {
            select(f.results, 1);
            ListView2_KeyDown(f.window, f.results, kDelete, modifiers);
        }
        QCOMPARE(f.resultTexts(), QStringList({QStringLiteral("CA")}));
        // Other keys, Insert (45) and Backspace (8) among them, change nothing.
        select(f.results, 1);
        ListView2_KeyDown(f.window, f.results, 45, 0);
        ListView2_KeyDown(f.window, f.results, 8, 0);
        QCOMPARE(f.results.count(), 1);
        QVERIFY(f.prompts.shown.empty());
    }

    void removalIsRefusedWhenBusyEmptyOrUnselected() {
        FakePlatform f;
        fill(f, kFive);
        select(f.results, 3);
        f.window.setPointer(Pointer::Busy);
        ListView2_KeyDown(f.window, f.results, kDelete, 0);
        ListView2_DblClick(f.window, f.results);
        QCOMPARE(f.results.count(), 5);

        f.window.setPointer(Pointer::Custom); // the hand over a button is not busy
        f.results.selectionModel()->clear();
        ListView2_DblClick(f.window, f.results);
        ListView2_KeyDown(f.window, f.results, kDelete, 0);
        QCOMPARE(f.results.count(), 5);

        FakePlatform empty;
        ListView2_DblClick(empty.window, empty.results);
        ListView2_KeyDown(empty.window, empty.results, kDelete, 0);
        QCOMPARE(empty.results.count(), 0);
        QVERIFY(f.prompts.shown.empty() && empty.prompts.shown.empty());
    }

    void clearResultsAlwaysWorksAndSaysNothing() {
        FakePlatform f;
        fill(f, kFive);
        f.window.setPointer(Pointer::Busy); // a run or an export in progress
        PushButton2_Click(f.prompts, f.results);
        QCOMPARE(f.results.count(), 0);
        QCOMPARE(f.results.columnCount(), 1);    // the heading stays
        PushButton2_Click(f.prompts, f.results); // an empty list: nothing happens
        QVERIFY(f.prompts.shown.empty());
        QCOMPARE(f.window.pointer(), Pointer::Busy);
    }
};

QTEST_GUILESS_MAIN(TestResultsEditing)
#include "test_results_editing.moc"
