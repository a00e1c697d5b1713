// "Show Time Zones" in the real window: off at first, the results list's
// time-zone and local-time columns and tooltips when on, remembered for the
// next start, and gone again when off.
#include "app/qt/form1.h"
#include "lists/list_model.h"
#include "support/window_fakes.h"

#include <QAction>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

struct Rig : FakePlatform {
    Rig() {
        database.addRow("850", "FL", "Florida");
        database.addRow("212", "NY", "New York");
        const auto zones = [this](const char* code, const char* exchange, const char* names) {
            database.codeZones.push_back({QString::fromLatin1(code), QString::fromLatin1(exchange),
                                          QString::fromLatin1(names).split(u' ')});
        };
        zones("850", "", "America/Chicago America/New_York");
        zones("850", "43", "America/Chicago");
        zones("212", "", "America/New_York");
    }
    std::unique_ptr<Form1> open() {
        auto form = shownWindow(windowOverrides(*this, &settings));
        for (const char* entry : {"850-432-1234", "850", "999-555-0100"})
            form->entryModel().append(QString::fromLatin1(entry));
        clickButton(*form, "PushButton17");
        form->resultModel().announcePendingRows();
        return form;
    }
};

QAction* timeZoneSwitch(QWidget& window) {
    return window.findChild<QAction*>(QStringLiteral("ShowTimeZones"));
}

} // namespace

class TestTimeZoneColumns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theSwitchShowsZonesAndIsRemembered() {
        Rig rig;
        {
            const auto window = rig.open();
            ListModel& results = window->resultModel();
            QCOMPARE(results.columnCount({}), 1);
            QAction* zones = timeZoneSwitch(*window);
            QVERIFY(zones && !zones->isChecked());
            zones->trigger();
            QCOMPARE(results.columnCount({}), 3);
            QCOMPARE(results.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                     QStringLiteral("Time zone"));
            // Both columns within the list's width, not off to its right.
            auto* view = window->findChild<QTableView*>(QStringLiteral("ListView2"));
            QTRY_VERIFY(view->horizontalHeader()->sectionViewportPosition(2) +
                            view->columnWidth(2) <=
                        view->viewport()->width());
            const auto cell = [&](int row, int column) {
                return results.data(results.index(row, column), Qt::DisplayRole).toString();
            };
            QCOMPARE(cell(0, 1), QStringLiteral("Central"));
            QCOMPARE(cell(1, 1), QStringLiteral("Central or Eastern"));
            QCOMPARE(cell(2, 1), QString()); // Not Found
            QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d or \\d\\d:\\d\\d$"))
                        .match(cell(1, 2))
                        .hasMatch());
            const QString tip = results.data(results.index(1, 0), Qt::ToolTipRole).toString();
            QVERIFY2(tip.contains(QStringLiteral("Time zone: Central or Eastern")),
                     qPrintable(tip));
            QVERIFY(tip.contains(QStringLiteral("Local time: ")));
            QVERIFY(tip.contains(QStringLiteral("allable")));
            // The exports add the zones, local times and whether to call.
            window->findChild<QAction*>(QStringLiteral("CopyEntriesAndResults"))->trigger();
            const QStringList lines = rig.clipboard.text.split(u'\n');
            QCOMPARE(
                lines[0],
                QStringLiteral("Entry\tResult\tReason\tTime Zone\tLocal Time\tCallable\tOpens"));
            QVERIFY2(QRegularExpression(
                         QStringLiteral("^850-432-1234\tFL\t\tAmerica/Chicago\t"
                                        "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d-0[56]:00\t"
                                        // not now: when, in the person's own time
                                        "(yes\t|no\t\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-"
                                        "]\\d\\d:\\d\\d))$"))
                         .match(lines[1])
                         .hasMatch(),
                     qPrintable(lines[1]));
            QVERIFY(lines[3].endsWith(QStringLiteral("\t\t\t\t"))); // Not Found: no zones
            // The designed list of results is unchanged underneath.
            QCOMPARE(static_cast<ListView&>(results).columnCount(), 1);
            QCOMPARE(
                window->findChild<QTableView*>(QStringLiteral("ListView2"))->model()->columnCount(),
                3);
        }
        {
            const auto window = rig.open(); // the choice is back at the next start
            QAction* zones = timeZoneSwitch(*window);
            QVERIFY(zones->isChecked());
            QCOMPARE(window->resultModel().columnCount({}), 3);
            zones->trigger();
            QCOMPARE(window->resultModel().columnCount({}), 1);
        }
        const auto window = rig.open();
        QVERIFY(!timeZoneSwitch(*window)->isChecked());
    }

    // Other calling hours, typed in the menu's prompt, are used and kept; an
    // answer that is no hours is told and changes nothing.
    void callingHoursAreTheirs() {
        Rig rig;
        rig.prompts.typedTexts = {QStringLiteral("9-5"), QStringLiteral("09:30-17:00")};
        {
            const auto window = rig.open();
            timeZoneSwitch(*window)->trigger();
            auto* hours = window->findChild<QAction*>(QStringLiteral("CallingHours"));
            const std::size_t before = rig.prompts.shown.size();
            hours->trigger();
            QCOMPARE(rig.prompts.shown.size(), before + 1);
            QVERIFY(rig.prompts.shown.back().text.contains(QStringLiteral("HH:MM-HH:MM")));
            hours->trigger();
            QCOMPARE(rig.prompts.shown.size(), before + 1);
        }
        const auto window = rig.open();
        ListModel& results = window->resultModel();
        const QString tip = results.data(results.index(0, 0), Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains(QStringLiteral("(09:30-17:00 local time)")), qPrintable(tip));
    }
};

QTEST_MAIN(TestTimeZoneColumns)
#include "test_time_zone_columns.moc"
