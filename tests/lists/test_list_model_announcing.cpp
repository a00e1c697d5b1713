#include "lists/list_model.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace tallyvane;

namespace {
// Stands in for a view that lays out every row when rows are announced.
void makeAnnouncementsCostly(ListModel& model, int milliseconds) {
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, &model,
                     [milliseconds] { QThread::msleep(static_cast<unsigned long>(milliseconds)); });
}

// One pass of the event loop that may wait, as the main loop does once a
// command has ended; a timer ends the wait should nothing else arrive.
void letTheLoopFallIdle() {
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(300);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
} // namespace

class TestListModelAnnouncing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowsNotYetAnnouncedHaveNoIndex() {
        ListModel model;
        model.addColumn(QStringLiteral("Results"));
        model.append(QStringLiteral("a"));
        QVERIFY(!model.index(0, 0).isValid());
        model.announcePendingRows();
        const QModelIndex first = model.index(0, 0);
        QVERIFY(first.isValid());
        QVERIFY(!model.index(1, 0).isValid());
        QVERIFY(!model.index(0, 1).isValid());
        QVERIFY(!model.index(-1, 0).isValid());
        QVERIFY(!model.index(0, 0, first).isValid());
        QCOMPARE(model.flags(first),
                 Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
        QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags());
    }

    void costlyAnnouncementsComeLessOftenButAllRowsShowOnceIdle() {
        ListModel model;
        model.addColumn(QStringLiteral("Results"));
        makeAnnouncementsCostly(model, 130);
        model.append(QStringLiteral("first"));
        model.announcePendingRows();
        QCOMPARE(model.rowCount(), 1);

        model.append(QStringLiteral("second"));
        QTest::qWait(100); // pumps without ever letting the loop wait
        QCOMPARE(model.rowCount(), 1);

        letTheLoopFallIdle();
        QCOMPARE(model.rowCount(), 2);
    }

    void clearingGivesBackTheShortInterval() {
        ListModel model;
        model.addColumn(QStringLiteral("Results"));
        makeAnnouncementsCostly(model, 130);
        model.append(QStringLiteral("first"));
        model.announcePendingRows();
        model.clear();
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.append(QStringLiteral("again"));
        QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 1, 500); // well before a second

        QCOMPARE(inserted.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestListModelAnnouncing)
#include "test_list_model_announcing.moc"
