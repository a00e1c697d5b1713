// The results rows in the real window: each shows the entry it came from when
// hovered, and entries of millions of characters neither stall nor crash it.
#include "app/qt/form1.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "platform/qt/qt_progress_bar.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <memory>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kListTooltip = QStringLiteral(
    "Double-click item to remove it. Move | line to right and out of window to reveal full names.");

struct Rig : FakePlatform {
    std::unique_ptr<Form1> form;

    Rig() {
        database.rows = {
            {QStringLiteral("603"), QStringLiteral("NH"), QStringLiteral("New Hampshire")}};
        form = shownWindow(windowOverrides(*this, &settings));
    }

    void convert(const QStringList& texts) {
        for (const QString& entry : texts)
            form->entryModel().append(entry);
        form->services().options.setOption1(true);
        form->conversionRun().PushButton17_Click();
        form->resultModel().announcePendingRows();
        QApplication::processEvents();
    }

    QTableView* results() { return form->findChild<QTableView*>(QStringLiteral("ListView2")); }

    // The tooltip the results list shows with the pointer at a point of it.
    QString tooltipAt(QPoint point) {
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, point, results()->viewport()->mapToGlobal(point));
        QApplication::sendEvent(results()->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    QString tooltipOfRow(int row) {
        QTableView* view = results();
        return tooltipAt(view->visualRect(view->model()->index(row, 0)).center());
    }
};

} // namespace

class TestResultsRowEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aResultsRowShowsItsEntryAfterRowsMoved() {
        Rig rig;
        rig.convert({QStringLiteral("1-603-237-4934"), QStringLiteral("New Hampshire"),
                     QStringLiteral("603"),
                     QString::fromUtf8("S\xC3\xA3o Tom\xC3\xA9 \xE2\x98\x8E")});
        QCOMPARE(rig.tooltipOfRow(0), QStringLiteral("Entry 1: 1-603-237-4934"));
        QCOMPARE(rig.tooltipOfRow(3),
                 QString::fromUtf8(
                     "Entry 4: S\xC3\xA3o Tom\xC3\xA9 \xE2\x98\x8E \xE2\x80\x94 no area code in "
                     "this entry"));
        // The row's own text and what the exports read stay as they were.
        QCOMPARE(rig.form->resultModel().text(1), QStringLiteral("NH"));

        // Positions shift in both lists; each row keeps its own entry.
        rig.form->resultModel().remove(1);
        rig.form->entryModel().remove(1);
        rig.form->entryModel().clear();
        QCOMPARE(
            rig.tooltipOfRow(0),
            QString::fromUtf8("Entry 2: New Hampshire \xE2\x80\x94 no area code in this entry"));
        QCOMPARE(rig.tooltipOfRow(1), QStringLiteral("Entry 3: 603"));

        // Below the last row the list's own tooltip stays.
        QTableView* view = rig.results();
        QCOMPARE(rig.tooltipAt(QPoint(5, view->viewport()->height() - 3)), kListTooltip);
        rig.form->resultModel().clear();
        QCOMPARE(rig.tooltipAt(QPoint(5, 5)), kListTooltip);
    }

    void entriesOfMillionsOfCharactersAreKeptWholeAndShownCut() {
        Rig rig;
        const QString giant = QStringLiteral("1-603-555-0142, ").repeated(1 << 20); // 16 M
        rig.convert({giant, giant});
        QCOMPARE(rig.form->resultModel().count(), 2);
        QCOMPARE(rig.form->entryModel().text(2).size(), giant.size());
        QVERIFY(rig.form->entryModel().text(2) == giant);
        QCOMPARE(rig.form->resultModel().text(2), QStringLiteral("NH"));
        const QString tooltip = rig.tooltipOfRow(1);
        QVERIFY(tooltip.startsWith(QStringLiteral("Entry 2: 1-603-555-0142, 1-603")));
        QVERIFY(tooltip.size() < 2100);
        // The bar showed the entry cut to a few hundred characters, then came
        // back to rest.
        QCOMPARE(rig.form->progress().text(), QStringLiteral("Progress Bar"));
        rig.form->progress().setText(QStringLiteral("Processing: ") + giant);
        rig.form->progress().flush();
        auto* bar = rig.form->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QVERIFY(bar->format().size() < 600);
        bar->repaint();
    }
};

QTEST_MAIN(TestResultsRowEntry)
#include "test_results_row_entry.moc"
