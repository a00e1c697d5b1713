// The results beside their entries, from the real window: the copy as text
// and as an HTML table, the CSV file's bytes, and the pairing after rows
// were removed from either list.
#include "app/qt/form1.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "platform/qt/qt_window_services.h"
#include "support/temp_files.h"
#include "support/window_fakes.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

struct Rig : FakePlatform {
    std::unique_ptr<Form1> form;

    Rig() {
        database.rows = {
            {QStringLiteral("603"), QStringLiteral("NH"), QStringLiteral("New Hampshire")}};
        database.special = {{"876", "country", "Jamaica"}};
        form = shownWindow(windowOverrides(*this, &settings));
        for (const char* entry :
             {"1-603-555-0100", "+44 20 7946 0958", "867-5309", "=1+2", "Smith, \"Ann\"",
              "Smith, Ann", "a\tb", "876-555-0100", "", "   "})
            form->entryModel().append(QString::fromUtf8(entry));
        form->conversionRun().PushButton17_Click();
        prompts.shown.clear();
        // Removed from either list after the run: each row keeps its own entry.
        form->entryModel().remove(1);
        form->resultModel().remove(3);
    }
};

} // namespace

class TestEntriesAndResults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copiedAsTextAndAsATable() {
        Rig rig;
        QTest::keyClick(rig.form.get(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rig.clipboard.text,
                 QStringLiteral("Entry\tResult\tReason\n"
                                "1-603-555-0100\tNH\t\n"
                                "+44 20 7946 0958\tNot Found\tnot a North American number (+44)\n"
                                "=1+2\tNot Found\tno area code in this entry\n"
                                "\"Smith, \"\"Ann\"\"\"\tNot Found\tno area code in this entry\n"
                                "Smith, Ann\tNot Found\tno area code in this entry\n"
                                "\"a\tb\"\tNot Found\tno area code in this entry\n"
                                "876-555-0100\tNot Found\tarea code 876 belongs to Jamaica, not to "
                                "a US state or Canadian province\n"
                                "\tNot Found\tno area code in this entry\n"
                                "   \tNot Found\tno area code in this entry\n"));
        const QString& html = rig.clipboard.html;
        QCOMPARE(html.count(QStringLiteral("<tr>")), 10);
        QVERIFY(html.contains(QStringLiteral("<tr><td>+44 20 7946 0958</td><td>Not Found</td>"
                                             "<td>not a North American number (+44)</td></tr>")));
        QVERIFY(html.contains(QStringLiteral("<td>Smith, &quot;Ann&quot;</td>")));
        QVERIFY(rig.prompts.errorReports().empty());
        QCOMPARE(rig.form->windowServices().pointer(), Pointer::Default);
    }

    void savedAsCsvFromTheResultsListsMenu() {
        Rig rig;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pairs.csv"));
        rig.dialog.saveAnswers = {path};
        auto* results = rig.form->findChild<QTableView*>(QStringLiteral("ListView2"));
        // A right-click on the list shows the menu; its second item saves.
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().at(1)->objectName(),
                     QStringLiteral("SaveEntriesAndResultsAsCsv"));
            menu->actions().at(1)->trigger();
            menu->close();
        });
        Q_EMIT results->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(rig.dialog.fileName, QStringLiteral("entries-and-results.csv"));
        QCOMPARE(
            readFile(path),
            QByteArray("Entry,Result,Reason\r\n"
                       "1-603-555-0100,NH,\r\n"
                       "+44 20 7946 0958,Not Found,not a North American number (+44)\r\n"
                       "'=1+2,Not Found,no area code in this entry\r\n"
                       "\"Smith, \"\"Ann\"\"\",Not Found,no area code in this entry\r\n"
                       "\"Smith, Ann\",Not Found,no area code in this entry\r\n"
                       "a\tb,Not Found,no area code in this entry\r\n"
                       "876-555-0100,Not Found,\"area code 876 belongs to Jamaica, not to a US "
                       "state or Canadian province\"\r\n"
                       ",Not Found,no area code in this entry\r\n"
                       "   ,Not Found,no area code in this entry\r\n"));
        QCOMPARE(rig.prompts.texts(), QStringList{QStringLiteral("Done.")});
    }

    // A disk that cannot take the file: one report, no "Done.", and nothing
    // half-written in its place.
    void aFailedSaveIsReportedAndLeavesNoFile() {
        Rig rig;
        rig.dialog.saveAnswers = {QStringLiteral("/nonexistent/folder/pairs.csv")};
        rig.form->findChild<QAction*>(QStringLiteral("SaveEntriesAndResultsAsCsv"))->trigger();
        QCOMPARE(rig.prompts.errorReports().size(), std::size_t(1));
        QVERIFY(!rig.prompts.texts().contains(QStringLiteral("Done.")));
        QVERIFY(!QFile::exists(QStringLiteral("/nonexistent/folder/pairs.csv")));
    }
};

QTEST_MAIN(TestEntriesAndResults)
#include "test_entries_and_results.moc"
