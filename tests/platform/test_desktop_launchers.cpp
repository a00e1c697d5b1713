// The browser and spreadsheet launchers against stand-in programs on the PATH:
// nothing to start, a program that starts and fails at once, one that works.
#include "platform/failure.h"
#include "platform/qt/qt_browser.h"
#include "platform/xlsx/desktop_spreadsheet_launcher.h"
#include "platform/xlsx/xlsx_spreadsheet.h"
#include "platform/xlsx/xlsx_workbook.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace tallyvane;
using namespace tallyvane::testing;

class TestDesktopLaunchers : public QObject {
    Q_OBJECT
    QTemporaryDir bin_;
    QByteArray savedPath_ = qgetenv("PATH");

    QString record() const { return bin_.filePath(QStringLiteral("record")); }

    // A stand-in LibreOffice; a real one with a user interface has its
    // window-system plug-in beside its program, the headless one has none.
    void writeLibreOffice(const QByteArray& body, bool withUserInterface = true) {
        writeProgram(bin_.path(), QStringLiteral("soffice"), body);
        if (withUserInterface)
            writeFile(bin_, QStringLiteral("libvclplug_genlo.so"), "");
    }

private Q_SLOTS:
    void init() {
        QDir(bin_.path()).removeRecursively();
        QDir().mkpath(bin_.path());
        qputenv("PATH", QFile::encodeName(bin_.path()));
    }
    void cleanup() { qputenv("PATH", savedPath_); }

    // Only a desktop platform hands addresses on (tests/e2e/desktop_launchers_x11.sh).
    void aBrowserThatCannotStartIsToldApart() {
        if (QGuiApplication::platformName() != u"xcb" &&
            qEnvironmentVariableIsEmpty("TALLYVANE_REQUIRE_X11"))
            QSKIP("needs an X server");
        const QString page =
            QUrl::fromLocalFile(bin_.filePath(QStringLiteral("help.html"))).toString();
        QVERIFY(!QtBrowser().open(page));
        writeProgram(bin_.path(), QStringLiteral("xdg-open"),
                     "echo \"$1\" > '" + QFile::encodeName(record()) + "'");
        QVERIFY(QtBrowser().open(page));
        QTRY_VERIFY(QFile::exists(record()));
    }

    void aSpreadsheetApplicationThatFailsAtOnceIsReportedAndTheFileStays() {
        writeLibreOffice("echo 'Unspecified Application Error' >&2; exit 1");
        QStringList told;
        DesktopSpreadsheetLauncher launcher([&told](const QString& m) { told << m; });
        XlsxSpreadsheetAutomation automation(launcher);
        QString path;
        {
            auto application = automation.create();
            Workbook& workbook = application->addWorkbook();
            workbook.setCell(1, 1, QStringLiteral("Results"));
            path = dynamic_cast<XlsxWorkbook&>(workbook).path();
            application->setVisible(true);
        }
        QTRY_COMPARE(told.size(), 1);
        QCOMPARE(told[0], DesktopSpreadsheetLauncher::failureMessage(
                              path, QStringLiteral("soffice ended with exit status 1")));
        QVERIFY(told[0].endsWith(path));
        QVERIFY(QFile::exists(path));
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
    }

    void aSpreadsheetApplicationThatWorksIsNotReported() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Results.xlsx"));
        writeLibreOffice("pwd > '" + QFile::encodeName(record()) + "'");
        QStringList told;
        DesktopSpreadsheetLauncher launcher([&told](const QString& m) { told << m; });
        launcher.open(path);
        QTRY_VERIFY(QFile::exists(folder.filePath(QStringLiteral(".application-exit-status"))));
        QTest::qWait(600); // two more polls
        QVERIFY(told.isEmpty());
    }

    // No application to start, or only a LibreOffice that cannot show a file
    // (Debian's libreoffice-calc-nogui): the workbook is still made, and the
    // person is told where it is kept.
    void noApplicationToShowTheWorkbookIsAFailureNamingTheFile_data() {
        QTest::addColumn<bool>("headlessOffice");
        QTest::newRow("nothing on the PATH") << false;
        QTest::newRow("a LibreOffice without a user interface") << true;
    }
    void noApplicationToShowTheWorkbookIsAFailureNamingTheFile() {
        QFETCH(bool, headlessOffice);
        if (headlessOffice)
            writeLibreOffice("pwd > '" + QFile::encodeName(record()) + "'", false);
        DesktopSpreadsheetLauncher launcher;
        QCOMPARE(launcher.available(), headlessOffice);
        try {
            launcher.open(QStringLiteral("/tmp/x/Results.xlsx"));
            QFAIL("no failure");
        } catch (const Failure& failure) {
            QVERIFY(failure.description().endsWith(QStringLiteral("/tmp/x/Results.xlsx")));
        }
        QTest::qWait(300);
        QVERIFY(!QFile::exists(record())); // nothing was started
    }
};

QTEST_MAIN(TestDesktopLaunchers)
#include "test_desktop_launchers.moc"
