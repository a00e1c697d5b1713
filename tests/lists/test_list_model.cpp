#include "lists/list_model.h"
#include "platform/failure.h"
#include "support/fakes.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestListModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each kind of extra column is a provider: shown in the order they come,
    // each asked only for its own columns, their tooltips added in turn, and
    // hiding one leaves the others where they belong.
    void providersShowTheirColumnsInTurn() {
        struct Letters : ColumnProvider {
            QStringList names;
            QString tip;
            QStringList headings() const override { return names; }
            QString text(int position, int column) override {
                return names[column] + QString::number(position);
            }
            QString tooltip(int) override { return tip; }
        };
        Letters zones;
        zones.names = {QStringLiteral("Z1"), QStringLiteral("Z2")};
        zones.tip = QStringLiteral("zone tip");
        Letters dial;
        dial.names = {QStringLiteral("D")};
        ListModel list;
        QAbstractItemModelTester tester(&list);
        list.addColumn(QStringLiteral("Results"));
        ListModel entries;
        entries.append(QStringLiteral("603"));
        list.setNextRowOrigin(entries, 1);
        list.append(QStringLiteral("NH"));
        list.announcePendingRows();
        list.showColumns(&zones);
        list.showColumns(&dial);
        list.showColumns(&zones); // already shown
        QCOMPARE(list.columnCount({}), 4);
        const auto cell = [&](int column) {
            return list.data(list.index(0, column), Qt::DisplayRole).toString();
        };
        QCOMPARE(cell(1), QStringLiteral("Z11"));
        QCOMPARE(cell(2), QStringLiteral("Z21"));
        QCOMPARE(cell(3), QStringLiteral("D1"));
        QCOMPARE(list.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("D"));
        dial.tip = QStringLiteral("dial tip");
        QVERIFY(list.data(list.index(0, 0), Qt::ToolTipRole)
                    .toString()
                    .endsWith(QStringLiteral("\nzone tip\ndial tip")));
        list.hideColumns(&zones);
        QCOMPARE(list.columnCount({}), 2);
        QCOMPARE(cell(1), QStringLiteral("D1"));
        QCOMPARE(list.shownProviders(), std::vector<ColumnProvider*>{&dial});
    }

    void positionsRemovalAndFailures() {
        ListModel model;
        model.addColumn(QStringLiteral("Results"));
        for (const char* text : {"a", "b", "c", "d", "e"})
            model.append(QString::fromLatin1(text));
        model.remove(2);
        QCOMPARE(listTexts(model), QStringList({"a", "c", "d", "e"}));
        QVERIFY(model.checked(1));
        QCOMPARE(model.columnText(1, 2), QString());
        QVERIFY_THROWS_EXCEPTION(Failure, model.text(0));
        QVERIFY_THROWS_EXCEPTION(Failure, model.text(5));
        QVERIFY_THROWS_EXCEPTION(Failure, model.remove(9));
        QVERIFY_THROWS_EXCEPTION(Failure, model.heading(2));
        QCOMPARE(model.heading(1), QStringLiteral("Results"));
        model.clear();
        QCOMPARE(model.count(), 0);
        QCOMPARE(model.columnCount(), 1); // clearing rows keeps the columns
    }

    // Qt's own checks of a model, through appends, announcements, removals,
    // a giant row and a clear: every signal matches what the model says.
    void qtsModelTesterFindsNothing() {
        ListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.addColumn(QStringLiteral("Results"));
        for (int i = 0; i < 50; ++i)
            model.append(QString::number(i));
        model.announcePendingRows();
        model.appendRow({QStringLiteral("a"), QStringLiteral("b")});
        model.remove(3);
        model.append(QString(100'000, u'x'));
        model.announcePendingRows();
        model.remove(model.count());
        model.clear();
        model.append(QStringLiteral("after"));
        model.announcePendingRows();
        QCOMPARE(model.rowCount(), 1);
    }

    void rowsWithSubItemsAndCheckStates() {
        ListModel model;
        model.addColumn(QStringLiteral("One"));
        model.addColumn(QStringLiteral("Two"));
        model.append(QStringLiteral("plain"));
        model.appendRow({QStringLiteral("a"), QStringLiteral("xyz")}, false);
        model.append(QStringLiteral("after"));
        QCOMPARE(model.columnText(1, 2), QString());
        QCOMPARE(model.columnText(2, 1), QStringLiteral("a"));
        QCOMPARE(model.columnText(2, 2), QStringLiteral("xyz"));
        QCOMPARE(model.columnText(3, 2), QString());
        QVERIFY(!model.checked(2));
        model.remove(1);
        QCOMPARE(model.columnText(1, 2), QStringLiteral("xyz"));
        QVERIFY(model.checked(2));
    }

    void viewsLearnOfAppendedRowsInBatches() {
        ListModel model;
        model.addColumn(QStringLiteral("Results"));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 1000; ++i)
            model.append(QString::number(i));
        QCOMPARE(model.count(), 1000);
        QCOMPARE(model.rowCount(), 0);
        QTRY_COMPARE(model.rowCount(), 1000);
        QCOMPARE(inserted.size(), 1);
        // Removing a row the views have not seen yet keeps them consistent.
        model.append(QStringLiteral("pending"));
        model.remove(1001);
        model.remove(1);
        model.announcePendingRows();
        QCOMPARE(model.rowCount(), 999);
        QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("1"));
    }

    void aGiantTextIsShownCutButKeptWhole() {
        ListModel model;
        model.addColumn(QStringLiteral("States or Area Codes"));
        const QString giant(3'000'000, QLatin1Char('7'));
        model.append(giant);
        model.announcePendingRows();
        QCOMPARE(model.text(1), giant);
        const QString shown = model.data(model.index(0, 0), Qt::DisplayRole).toString();
        QCOMPARE(shown.size(), 2001);
        QVERIFY(shown.endsWith(QChar(0x2026)));
    }

    void selectedPosition() {
        ListModel model;
        model.addColumn(QStringLiteral("Results"));
        model.append(QStringLiteral("a"));
        model.append(QStringLiteral("b"));
        model.announcePendingRows();
        QCOMPARE(model.selectedPosition(), 0);
        model.selectionModel()->select(model.index(1, 0), QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
        QCOMPARE(model.selectedPosition(), 2);
        model.remove(2);
        QCOMPARE(model.selectedPosition(), 0);
    }
};

QTEST_GUILESS_MAIN(TestListModel)
#include "test_list_model.moc"
