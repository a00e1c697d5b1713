#include "app/pointer_rules.h"
#include "app/start_up.h"
#include "support/fakes.h"
#include "support/reports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kConvertOptionKey = QStringLiteral("Veltmark/Tallyvane/Convert Option");
const QString kLoadLocation = QStringLiteral("in Brisquet2021/08/31.Form1.Form_Load ");

// The fakes with lists that have no columns yet, as the window creates them,
// and a program folder of its own.
struct StartUpRig {
    FakePlatform f;
    ListModel entries;
    ListModel results;
    QTemporaryDir folder;
    StartUpServices s{f.prompts, f.surface, entries, results, f.options, f.settings, folder.path()};

    void putFile(const QString& relative, const QByteArray& bytes = "x") {
        QDir(folder.path()).mkpath(QFileInfo(relative).path());
        QFile file(folder.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // One report at this line with this description, and no other box.
    void expectOneReport(int line, const QString& description) const {
        QCOMPARE(reportedLines(f.prompts, kLoadLocation), QList<int>{line});
        QCOMPARE(f.prompts.shown.size(), size_t(1));
        QVERIFY(f.prompts.shown[0].text.startsWith(description + QStringLiteral("\r\n")));
    }
};

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aFreshStartSetsUpTheWindowAndWritesNothing() {
        StartUpRig rig;
        Form_Load(rig.s);
        QVERIFY(rig.f.prompts.shown.empty());
        QCOMPARE(rig.f.surface.caption, QStringLiteral("Tallyvane"));
        QVERIFY(rig.f.surface.iconSet);
        // "Tallyvane" has no space to cut at: the whole title stays.
        QCOMPARE(rig.f.surface.appTitle, QStringLiteral("Tallyvane"));
        QCOMPARE(rig.entries.columnCount(), 1);
        QCOMPARE(rig.entries.heading(1), QStringLiteral("States or Area Codes"));
        QCOMPARE(rig.results.columnCount(), 1);
        QCOMPARE(rig.results.heading(1), QStringLiteral("Results"));
        QCOMPARE(rig.entries.firstColumnWidthPixels(), 467); // 7000 twips, to the nearest pixel
        QCOMPARE(rig.results.firstColumnWidthPixels(), 467); // 7000 twips, to the nearest pixel
        QVERIFY(rig.f.options.option1);
        QVERIFY(!rig.f.options.option2);
        // No optional file: no pointer image, white colours, no skin.
        QVERIFY(rig.f.surface.pointerImage.isEmpty());
        QVERIFY(!rig.f.surface.buttonFace);
        QVERIFY(rig.f.surface.skin.isEmpty());
        QVERIFY(rig.f.window.pointerHistory.empty());
        QVERIFY(rig.f.settings.values.isEmpty());
    }

    void theStoredDirectionIsRestored_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("option1");
        QTest::addColumn<bool>("option2");
        QTest::addColumn<QString>("failure"); // reported at line 138, empty for none
        // The buttons start with neither selected, so each row shows exactly which
        // of the steps 140 to 148 ran.
        QTest::newRow("1") << "1" << true << false << "";
        QTest::newRow("2") << "2" << false << true << "";
        QTest::newRow("0 touches nothing") << "0" << false << false << "";
        QTest::newRow("3 touches nothing") << "3" << false << false << "";
        QTest::newRow("2.5 rounds to even 2") << "2.5" << false << true << "";
        QTest::newRow("1.5 rounds to even 2") << "1.5" << false << true << "";
        QTest::newRow("0.5 rounds to even 0") << "0.5" << false << false << "";
        QTest::newRow("spaces around") << " 2 " << false << true << "";
        QTest::newRow("abc") << "abc" << true << false << "Type mismatch";
        QTest::newRow("empty text") << "" << true << false << "Type mismatch";
        QTest::newRow("70000") << "70000" << true << false << "Overflow";
    }
    void theStoredDirectionIsRestored() {
        QFETCH(QString, stored);
        QFETCH(bool, option1);
        QFETCH(bool, option2);
        QFETCH(QString, failure);
        StartUpRig rig;
        rig.f.options.option1 = false;
        rig.f.options.option2 = false;
        rig.f.settings.values.insert(kConvertOptionKey, stored);
        Form_Load(rig.s);
        QCOMPARE(rig.f.options.option1, option1);
        QCOMPARE(rig.f.options.option2, option2);
        if (failure.isEmpty()) {
            QVERIFY(rig.f.prompts.shown.empty());
        } else {
            rig.expectOneReport(138, failure);
        }
        // Restoring never writes the direction back.
        QCOMPARE(rig.f.settings.values.size(), 1);
        QCOMPARE(rig.f.settings.values.value(kConvertOptionKey), stored);
    }

    void anUnreadableStoreIsReportedOnceAndSelectsOption1() {
        StartUpRig rig;
        rig.f.options.option1 = false;
        rig.f.settings.failReads = true;
        Form_Load(rig.s);
        QCOMPARE(reportedLines(rig.f.prompts, kLoadLocation), QList<int>{138});
        QVERIFY(rig.f.options.option1);
        QVERIFY(!rig.f.options.option2);
    }

    void integerConversionAtTheEdgesOf16Bits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // 0 with a failure
        QTest::addColumn<QString>("failure");
        QTest::newRow("largest") << "32767" << 32767 << "";
        QTest::newRow("rounds past the largest") << "32767.5" << 0 << "Overflow";
        QTest::newRow("smallest, half to even") << "-32768.5" << -32768 << "";
        QTest::newRow("below the smallest") << "-32769" << 0 << "Overflow";
        QTest::newRow("exponent") << "1e1" << 10 << "";
        QTest::newRow("not finite") << "inf" << 0 << "Type mismatch";
        QTest::newRow("trailing text") << "2x" << 0 << "Type mismatch";
    }
    void integerConversionAtTheEdgesOf16Bits() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, failure);
        try {
            QCOMPARE(toInteger16(text), value);
            QVERIFY(failure.isEmpty());
        } catch (const Failure& f) {
            QCOMPARE(f.description(), failure);
        }
    }

    void theHandPointerIsLoadedWhenItsFileExists() {
        StartUpRig absent;
        Form_Load(absent.s);
        QVERIFY(absent.f.surface.pointerImage.isEmpty());
        QVERIFY(absent.f.prompts.shown.empty());

        StartUpRig present;
        present.putFile(QStringLiteral("HAND-M.CUR"));
        Form_Load(present.s);
        QCOMPARE(present.f.surface.pointerImage,
                 present.folder.filePath(QStringLiteral("HAND-M.CUR")));
        QVERIFY(present.f.prompts.shown.empty());

        // A file that cannot be loaded is reported at line 110 and the load goes on.
        StartUpRig broken;
        broken.putFile(QStringLiteral("HAND-M.CUR"));
        broken.f.surface.failPointerImage = true;
        broken.f.options.option1 = false;
        Form_Load(broken.s);
        broken.expectOneReport(110, QStringLiteral("Invalid picture"));
        QCOMPARE(broken.results.heading(1), QStringLiteral("Results"));
        QVERIFY(broken.f.options.option1);
    }

    void theSkinAppliesOnlyWithItsFile() {
        StartUpRig present;
        present.putFile(QStringLiteral("x/o.cjs"));
        Form_Load(present.s);
        QVERIFY(present.f.surface.buttonFace);
        QCOMPARE(present.f.surface.skin, present.folder.filePath(QStringLiteral("x/o.cjs")));
        QVERIFY(present.f.prompts.shown.empty());

        // A folder of that name is not a normal file: the standard look stays.
        StartUpRig folder;
        QVERIFY(QDir(folder.folder.path()).mkpath(QStringLiteral("x/o.cjs")));
        Form_Load(folder.s);
        QVERIFY(!folder.f.surface.buttonFace);
        QVERIFY(folder.f.surface.skin.isEmpty());
    }

    void theApplicationTitleIsCutAtWordBoundaries_data() {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("title");
        // Words end at 30, 38, 45 and 52: the first cut leaves 45 (> 40), the second 38.
        const QString fiftyTwo =
            QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbb cccccc dddddd");
        QCOMPARE(fiftyTwo.size(), 52);
        QTest::newRow("52 characters") << fiftyTwo << fiftyTwo.left(38);
        const QString forty = QStringLiteral("Tallyvane Area Code and State Converter");
        QCOMPARE(forty.size(), 39);
        QTest::newRow("40 or fewer still loses its last word")
            << forty + QStringLiteral("s") << QStringLiteral("Tallyvane Area Code and State");
        QTest::newRow("no space keeps the title") << "Tallyvane"
                                                  << "Tallyvane";
        QTest::newRow("no space left after a cut keeps what is left")
            << QString(45, QLatin1Char('x')) + QStringLiteral(" y")
            << QString(45, QLatin1Char('x'));
        QTest::newRow("empty") << ""
                               << "";
    }
    void theApplicationTitleIsCutAtWordBoundaries() {
        QFETCH(QString, product);
        QFETCH(QString, title);
        QCOMPARE(applicationTitleFor(product), title);
    }

    void theDirectionButtonsSaveTheirValueAtOnce() {
        FakePlatform f;
        Option2_Click(f.prompts, f.settings);
        QCOMPARE(f.settings.values.value(kConvertOptionKey), QStringLiteral("2"));
        Option1_Click(f.prompts, f.settings);
        QCOMPARE(f.settings.values.value(kConvertOptionKey), QStringLiteral("1"));
        QVERIFY(f.prompts.shown.empty());

        // A store that cannot be written: one warning under the application title,
        // no error report (the clicks have none).
        f.settings.failWrites = true;
        Option2_Click(f.prompts, f.settings);
        QCOMPARE(f.prompts.shown.size(), size_t(1));
        QCOMPARE(f.prompts.shown[0].style, 48);
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Tallyvane"));
        QVERIFY(f.prompts.shown[0].text.startsWith(
            QStringLiteral("The conversion direction could not be saved")));
        QVERIFY(f.prompts.shown[0].text.endsWith(QStringLiteral("Settings cannot be written")));
        QCOMPARE(f.settings.values.value(kConvertOptionKey), QStringLiteral("1"));
    }

    // Which control asks for which pointer is seen in the real window; here,
    // what no control may do: replace the hourglass, or change the pointer
    // for a control without a handler.
    void theBusyPointerStaysAndUnknownControlsChangeNothing() {
        for (const QString& control :
             {QStringLiteral("PushButton17"), QStringLiteral("ListView1")}) {
            FakeWindowServices busy;
            busy.setPointer(Pointer::Busy);
            Control_MouseMove(busy, control);
            QCOMPARE(busy.pointer(), Pointer::Busy);
            QCOMPARE(busy.pointerHistory.size(), size_t(1));
        }
        for (const QString& control :
             {QStringLiteral("Option1"), QStringLiteral("CommonDialog1")}) {
            FakeWindowServices window;
            window.setPointer(Pointer::Custom);
            Control_MouseMove(window, control);
            QCOMPARE(window.pointerHistory.size(), size_t(1));
        }
    }
};

QTEST_MAIN(TestStartUp)
#include "test_start_up.moc"
