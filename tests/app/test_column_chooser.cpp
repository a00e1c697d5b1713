// Cells copied from a spreadsheet, pasted into the real window: the column
// dialog opens with the phone column chosen, Enter takes it (one entry a
// row, in order, as the cells stand) and Escape takes nothing.
#include "app/qt/form1.h"
#include "app/qt/form1_services.h"
#include "entries/file_loading.h"
#include "lists/list_model.h"
#include "support/temp_files.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

// Three columns as a spreadsheet copies them: tabs between, CR LF after.
const QString kCells = QStringLiteral("Name\tPhone\tCity\r\n"
                                      "Smith, Ann\t(603) 237-4934\tConcord\r\n"
                                      "bo jones\t1-201-555-0142\tnewark\r\n"
                                      "Cy\t\tTrenton\r\n");

struct Rig : FakePlatform {
    std::unique_ptr<Form1> window;

    Rig() {
        Form1Overrides o = windowOverrides(*this, &settings);
        o.prompts = nullptr; // the real dialogs
        window = shownWindow(std::move(o));
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the window did not become active");
    }
    // Pastes the cells with Ctrl+V and hands the dialog that opens to answer.
    void paste(const std::function<void(QDialog&)>& answer) {
        QGuiApplication::clipboard()->setText(kCells);
        QTimer::singleShot(0, [answer] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(modal);
            QCOMPARE(modal->objectName(), QStringLiteral("ColumnChooser"));
            answer(*modal);
        });
        QTest::keyClick(window.get(), Qt::Key_V, Qt::ControlModifier);
    }
};

} // namespace

class TestColumnChooser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterTakesTheLikeliestColumn() {
        Rig rig;
        rig.paste([](QDialog& dialog) {
            auto* columns = dialog.findChild<QListWidget*>(QStringLiteral("Columns"));
            QCOMPARE(columns->count(), 4); // three columns and whole lines
            QCOMPARE(columns->currentRow(), 1);
            QVERIFY(columns->item(1)->text().startsWith(QStringLiteral("Phone")));
            QVERIFY(columns->item(1)->text().contains(QStringLiteral("(603) 237-4934")));
            QCOMPARE(columns->item(3)->text(), QStringLiteral("Whole lines"));
            QVERIFY(
                dialog.findChild<QCheckBox*>(QStringLiteral("FirstRowNamesColumns"))->isChecked());
            QTest::keyClick(columns, Qt::Key_Return);
        });
        QCOMPARE(listTexts(rig.window->entryModel()),
                 QStringList({"(603) 237-4934", "1-201-555-0142", ""}));
    }

    void anotherColumnKeepsItsCase() {
        Rig rig;
        rig.paste([](QDialog& dialog) {
            auto* columns = dialog.findChild<QListWidget*>(QStringLiteral("Columns"));
            columns->setCurrentRow(2);
            QTest::keyClick(columns, Qt::Key_Return);
        });
        QCOMPARE(listTexts(rig.window->entryModel()),
                 QStringList({"Concord", "newark", "Trenton"}));
    }

    // Phone numbers pasted while states are to be converted: the dialog says
    // so and offers the other direction, which taken switches the window for
    // this run without storing it; declined, nothing changes.
    void theOtherDirectionIsOfferedForThisRun() {
        for (const bool take : {true, false}) {
            Rig rig;
            auto* toStates = rig.window->findChild<QRadioButton*>(QStringLiteral("Option1"));
            auto* toCodes = rig.window->findChild<QRadioButton*>(QStringLiteral("Option2"));
            QTest::mouseClick(toCodes, Qt::LeftButton);
            QVERIFY(toCodes->isChecked());
            const QMap<QString, QString> stored = rig.settings.values;
            rig.paste([take](QDialog& dialog) {
                auto* offer = dialog.findChild<QCheckBox*>(QStringLiteral("UseOtherDirection"));
                QVERIFY(offer && offer->isChecked());
                QVERIFY(offer->text().contains(QStringLiteral("Convert Area Codes To States")));
                QCOMPARE(dialog.findChild<QListWidget*>(QStringLiteral("Columns"))->currentRow(),
                         1);
                offer->setChecked(take);
                QTest::keyClick(&dialog, Qt::Key_Return);
            });
            QCOMPARE(rig.window->entryModel().count(), 3);
            QCOMPARE(toStates->isChecked(), take);
            QCOMPARE(toCodes->isChecked(), !take);
            QCOMPARE(rig.settings.values, stored);
        }
    }

    // A ticked column is taken besides the chosen one: each row's cells in
    // turn. The first rows show as a table; a paste names no file.
    void tickedColumnsAreTakenToo() {
        Rig rig;
        rig.paste([](QDialog& dialog) {
            auto* rows = dialog.findChild<QTableWidget*>(QStringLiteral("FirstRows"));
            QCOMPARE(rows->columnCount(), 3);
            QCOMPARE(rows->rowCount(), 3);
            QCOMPARE(rows->horizontalHeaderItem(1)->text(), QStringLiteral("Phone"));
            QCOMPARE(rows->item(0, 0)->text(), QStringLiteral("Smith, Ann"));
            QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("SourceName")));
            auto* columns = dialog.findChild<QListWidget*>(QStringLiteral("Columns"));
            QCOMPARE(columns->item(2)->text(),
                     QStringLiteral("City \u2014 \u201CConcord\u201D, \u201Cnewark\u201D, "
                                    "\u201CTrenton\u201D"));
            columns->item(2)->setCheckState(Qt::Checked);
            QTest::keyClick(columns, Qt::Key_Return);
        });
        QCOMPARE(
            listTexts(rig.window->entryModel()),
            QStringList({"(603) 237-4934", "Concord", "1-201-555-0142", "newark", "", "Trenton"}));
    }

    // A CRM export whose amounts have digits too: the dialog names the
    // file, chooses Phone, and fits its 38 columns within the screen.
    void aCrmExportOpensOnItsPhoneColumn() {
        Rig rig;
        QTemporaryDir dir;
        QByteArray crm = "Account,Amount,Zip,Phone,Close Date";
        for (int c = 5; c < 38; ++c)
            crm += ",Field " + QByteArray::number(c);
        crm += "\n";
        for (const char* row :
             {"Acme,8602.00,03301,(603) 237-4934,2026-11-02",
              "Bolt,1250.50,10001,212-555-0147,2026-11-03", "Cask,99.99,06101,,2026-11-04"})
            crm += QByteArray(row) + QByteArray(33, ',') + "\n";
        const QString path = writeFile(dir, QStringLiteral("crm.csv"), crm);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("SourceName"))->text(),
                     QStringLiteral("crm.csv"));
            auto* columns = dialog->findChild<QListWidget*>(QStringLiteral("Columns"));
            QCOMPARE(columns->currentRow(), 3);
            const QRect room = dialog->screen()->availableGeometry();
            QVERIFY(dialog->width() <= room.width() && dialog->height() <= room.height());
            QVERIFY(dialog->width() > 329);
            QTest::keyClick(columns, Qt::Key_Return);
        });
        Form1Services& s = rig.window->services();
        loadChosenFiles(s.prompts, s.window, s.entries, {path},
                        {Direction::AreaCodesToStates, s.columns});
        QCOMPARE(listTexts(rig.window->entryModel()),
                 QStringList({"(603) 237-4934", "212-555-0147", ""}));
    }

    void escapeAddsNothing() {
        Rig rig;
        rig.paste([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(rig.window->entryModel().count(), 0);
    }
};

QTEST_MAIN(TestColumnChooser)
#include "test_column_chooser.moc"
