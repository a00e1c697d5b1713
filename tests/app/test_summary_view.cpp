// The Summary beside the real window: opened by its shortcut, counted again
// after a removal and after Clear Results, its exports' bytes, the map image
// at the screen's scale, and the tiles as the keyboard reaches them. Run
// again with QT_SCALE_FACTOR=2 by CTest. With TALLYVANE_SCREENSHOTS set to a
// folder, it leaves pictures of the view in a light and a dark palette there.
#include "app/qt/form1.h"
#include "app/qt/state_map_painter.h"
#include "app/qt/summary_view.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "support/tmpfs_mount.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

struct Rig : FakePlatform {
    std::unique_ptr<Form1> form;

    Rig() {
        database.addRow("603", "NH", "New Hampshire");
        database.addRow("212", "NY", "New York");
        database.addRow("867", "NT", "Northwest Territories");
        database.addRow("867", "NU", "Nunavut");
        database.addRow("867", "YT", "Yukon");
        form = shownWindow(windowOverrides(*this, &settings));
        for (const char* entry :
             {"603-555-0100", "212", "1 212 555 0199", "867", "867-5309", "999", "212-555-0123"})
            form->entryModel().append(QString::fromUtf8(entry));
        form->conversionRun().PushButton17_Click();
        prompts.shown.clear();
    }

    SummaryView* open() {
        QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
        auto* view = form->findChild<SummaryView*>(QStringLiteral("SummaryView"));
        if (view && !QTest::qWaitFor([view] { return view->upToDate(); }))
            qWarning("the summary was not counted");
        return view;
    }
};

QString tableCell(SummaryView& view, int row, int column) {
    auto* table = view.findChild<QTableView*>(QStringLiteral("SummaryTable"));
    return table->model()->index(row, column).data().toString();
}

std::uint64_t countOf(const std::vector<SummaryCount>& counts, const char* name) {
    for (const SummaryCount& c : counts) {
        if (c.name == QLatin1String(name))
            return c.count;
    }
    return 0;
}

} // namespace

class TestSummaryView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void followsTheResultsList() {
        Rig rig;
        SummaryView* view = rig.open();
        QVERIFY(view && view->isVisible());
        // Within the screen (the test screen is 800x600), buttons and all.
        const QRect room = view->screen()->availableGeometry();
        QVERIFY(view->width() <= room.width() && view->height() <= room.height());
        QCOMPARE(view->summary().entries, 7u);
        // Share %, the last column, stays in sight however long a name is.
        auto* table = view->findChild<QTableView*>(QStringLiteral("SummaryTable"));
        const QHeaderView* header = table->horizontalHeader();
        QVERIFY(header->sectionViewportPosition(3) + header->sectionSize(3) <=
                table->viewport()->width());
        QCOMPARE(tableCell(*view, 0, 1), QStringLiteral("NY"));
        QCOMPARE(tableCell(*view, 0, 2), QStringLiteral("3"));
        QCOMPARE(countOf(view->summary().places, "NU"), 1u);

        rig.form->resultModel().remove(2); // one NY row
        QVERIFY(QTest::qWaitFor([&] { return view->upToDate() && view->summary().entries == 6; }));
        QCOMPARE(countOf(view->summary().results, "NY"), 2u);

        rig.form->resultModel().clear();
        QVERIFY(QTest::qWaitFor([&] { return view->upToDate() && view->summary().entries == 0; }));
        QVERIFY(view->summary().places.empty());
        QVERIFY(rig.prompts.errorReports().empty());
    }

    void copiesAndSavesTheTable() {
        Rig rig;
        SummaryView* view = rig.open();
        QVERIFY(view);
        clickButton(*view, "CopySummary");
        // Three of seven entries are NY: 42.86%; 867 names three places.
        const QByteArray expected =
            "Group\tName\tCount\tShare %\n"
            "Result\tNY\t3\t42.86\n"
            "Result\tNot Found\t2\t28.57\n"
            "Result\tNH\t1\t14.29\n"
            "Result\tNT NU YT\t1\t14.29\n"
            "Reason\ta local number without its area code\t1\t14.29\n"
            "Reason\tarea code 999 is not in the area-code table\t1\t14.29\n"
            "State\tNY\t3\t42.86\n"
            "State\tNH\t1\t14.29\n"
            "State\tNT\t1\t14.29\n"
            "State\tNU\t1\t14.29\n"
            "State\tYT\t1\t14.29\n"
            "Total\t\t7\t100.00\n";
        QCOMPARE(rig.clipboard.text.toUtf8(), expected);
        QVERIFY(rig.clipboard.html.contains(QStringLiteral("<td>NT NU YT</td>")));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("summary.csv"));
        rig.dialog.saveAnswers = {path};
        clickButton(*view, "SaveSummaryAsCsv");
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QByteArray bytes = saved.readAll();
        QCOMPARE(bytes.replace("\r\n", "\n"), QByteArray(expected).replace('\t', ','));
        QCOMPARE(rig.prompts.shown.back().text, QStringLiteral("Done."));
    }

    // The image has the map's size in the screen's own pixels, at 100% and
    // (in the second run) at 200%.
    // A territory's small tile (PR) shows its count as a state's does: two
    // counts of the same shade draw two different maps.
    void aTerritoryTileShowsItsCount() {
        const auto drawn = [](std::uint64_t territory) {
            MapCounts counts;
            counts.byCode = {{QStringLiteral("NY"), 100}, {QStringLiteral("PR"), territory}};
            counts.largest = 100;
            QImage image(800, 560, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            StateMapPainter(counts, QGuiApplication::palette())
                .paint(painter, QRectF(image.rect()));
            return image;
        };
        QVERIFY(drawn(7) != drawn(8));
    }

    void savesTheMapAtTheScreensScale() {
        Rig rig;
        SummaryView* view = rig.open();
        QVERIFY(view);
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("map")); // the suffix is added
        const QString svg = dir.filePath(QStringLiteral("map.svg"));
        rig.dialog.saveAnswers = {png, svg};
        clickButton(*view, "SaveMapAsImage");
        clickButton(*view, "SaveMapAsImage");
        auto* map = view->findChild<QWidget*>(QStringLiteral("SummaryMap"));
        const QImage image(png + QStringLiteral(".png"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), map->size() * map->devicePixelRatioF());
        QFile drawing(svg);
        QVERIFY(drawing.open(QIODevice::ReadOnly));
        const QByteArray text = drawing.readAll();
        QVERIFY(text.contains("<svg") && text.contains("NH"));
        QVERIFY(rig.prompts.errorReports().empty());
    }

    // A full disk keeps the file that was there, and no "Done." follows the report.
    void aFullDiskLosesNothing() {
        TmpfsMount disk("size=64k");
        TALLYVANE_REQUIRE_MOUNT(disk);
        Rig rig;
        SummaryView* view = rig.open();
        QVERIFY(view);
        const QString path = disk.path() + QStringLiteral("/map.png");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4);
        old.close();
        QVERIFY(disk.fillLeaving(1024));
        rig.dialog.saveAnswers = {path};
        clickButton(*view, "SaveMapAsImage");
        QCOMPARE(rig.prompts.errorReports().size(), std::size_t(1));
        QVERIFY(rig.prompts.shown.back().text != QStringLiteral("Done."));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("kept"));
    }

    // Every tile can be reached with the arrow keys; the one reached names its
    // state and count.
    void tilesAreNamedAsTheKeyboardReachesThem() {
        Rig rig;
        SummaryView* view = rig.open();
        QVERIFY(view);
        auto* map = view->findChild<QWidget*>(QStringLiteral("SummaryMap"));
        auto* tile = view->findChild<QLabel*>(QStringLiteral("SummaryTile"));
        map->setFocus();
        QSet<QString> seen;
        for (int step = 0; step < 80; ++step) {
            QTest::keyClick(map, Qt::Key_Right);
            seen.insert(tile->text());
        }
        QCOMPARE(seen.size(), 69);
        // Down from New York and up again.
        while (!tile->text().startsWith(QStringLiteral("New York")))
            QTest::keyClick(map, Qt::Key_Left);
        QTest::keyClick(map, Qt::Key_Down);
        QCOMPARE(tile->text(), QStringLiteral("New Jersey (NJ): 0 entries"));
        QTest::keyClick(map, Qt::Key_Up);
        QVERIFY(seen.contains(QStringLiteral("New York (NY): 3 entries")));
        QVERIFY(seen.contains(QStringLiteral("Yukon (YT): 1 entry")));
        QCOMPARE(map->accessibleDescription(), tile->text());
    }

    void screenshots() {
        const QByteArray folder = qgetenv("TALLYVANE_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("TALLYVANE_SCREENSHOTS names no folder");
        for (const bool dark : {false, true}) {
            Rig rig;
            QPalette palette = QApplication::palette();
            if (dark) {
                palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
                palette.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
                palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
                palette.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
                palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
                palette.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
                palette.setColor(QPalette::Mid, QColor(0x60, 0x60, 0x60));
            }
            SummaryView* view = rig.open();
            QVERIFY(view);
            view->setPalette(palette);
            QTest::qWait(50);
            const QString name = dark ? QStringLiteral("/summary-dark-palette.png")
                                      : QStringLiteral("/summary-default-palette.png");
            QVERIFY(view->grab().save(QString::fromLocal8Bit(folder) + name));
        }
    }
};

QTEST_MAIN(TestSummaryView)
#include "test_summary_view.moc"
