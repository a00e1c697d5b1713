// The browser and spreadsheet launchers against stand-in programs on the PATH:
// nothing to start, a program that starts and fails at once, one that works.
#include "app/qt/help_viewer.h"
#include "platform/failure.h"
#include "platform/qt/qt_browser.h"
#include "platform/xlsx/desktop_spreadsheet_launcher.h"
#include "platform/xlsx/xlsx_spreadsheet.h"
#include "platform/xlsx/xlsx_workbook.h"
#include "support/temp_files.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
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

    // The help page always shows: when the desktop has no launcher, or one
    // that gives up (xdg-open without a browser ends with status 3), the
    // program's own viewer is asked to show it.
    void aBrowserThatCannotShowThePageHandsItOn_data() {
        QTest::addColumn<QByteArray>("launcher"); // empty: none on the PATH
        QTest::addColumn<bool>("handedOn");
        QTest::newRow("no launcher") << QByteArray() << true;
        QTest::newRow("a launcher without a browser") << QByteArray("exit 3") << true;
        QTest::newRow("a launcher that shows it") << QByteArray("exit 0") << false;
    }
    void aBrowserThatCannotShowThePageHandsItOn() {
        QFETCH(QByteArray, launcher);
        QFETCH(bool, handedOn);
        if (!launcher.isEmpty())
            writeProgram(bin_.path(), QStringLiteral("xdg-open"),
                         "echo \"$1\" > '" + QFile::encodeName(record()) + "'; " + launcher);
        const QString page = QUrl::fromLocalFile(bin_.filePath("help.html")).toString();
        QStringList handed;
        QtBrowser browser([&handed](const QString& address) { handed << address; });
        QVERIFY(browser.open(page));
        if (!launcher.isEmpty())
            QTRY_VERIFY(QFile::exists(record()));
        if (handedOn)
            QTRY_COMPARE(handed, QStringList{page});
        QTest::qWait(200);
        QCOMPARE(handed.size(), handedOn ? 1 : 0);
        // Without a viewer to hand it to, a browser that cannot start says so.
        if (launcher.isEmpty())
            QVERIFY(!QtBrowser().open(page));
    }

    void theOwnViewerShowsTheHelpPage() {
        const QString page = writeFile(bin_, QStringLiteral("help.html"),
                                       "<html><head><title>Tallyvane Help</title></head>"
                                       "<body><h1>Using Tallyvane</h1></body></html>");
        QWidget window;
        showHelpViewer(&window, QUrl::fromLocalFile(page).toString());
        auto* viewer = window.findChild<QTextBrowser*>(QStringLiteral("HelpViewer"));
        QVERIFY(viewer && viewer->isVisible());
        QWidget* helpWindow = viewer->window();
        QVERIFY(helpWindow != &window);
        QCOMPARE(helpWindow->windowTitle(), QStringLiteral("Tallyvane Help"));
        QVERIFY(viewer->toPlainText().contains(QStringLiteral("Using Tallyvane")));
        // A screen reader meets a window holding a document, not a bare label.
        QCOMPARE(QAccessible::queryAccessibleInterface(helpWindow)->role(), QAccessible::Dialog);
        QAccessibleInterface* pageInterface = QAccessible::queryAccessibleInterface(viewer);
        QCOMPARE(pageInterface->role(), QAccessible::Document);
        QVERIFY(
            pageInterface->text(QAccessible::Value).contains(QStringLiteral("Using Tallyvane")));
    }

    void theHelpWindowClosesWithEscapeAndCtrlW() {
        const QString page = writeFile(bin_, QStringLiteral("help.html"), "<p>Help</p>");
        QWidget window;
        for (const QKeySequence& key :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            showHelpViewer(&window, QUrl::fromLocalFile(page).toString());
            auto* viewer = window.findChild<QTextBrowser*>(QStringLiteral("HelpViewer"));
            QVERIFY(viewer);
            QPointer<QWidget> helpWindow = viewer->window();
            QVERIFY(QTest::qWaitForWindowExposed(helpWindow));
            viewer->setFocus();
            QTest::keySequence(viewer, key);
            QTRY_VERIFY(!helpWindow);
        }
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
        writeLibreOffice("exit 0");
        QVERIFY(DesktopSpreadsheetLauncher().canShow());
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
        QVERIFY(!launcher.canShow()); // so the window saves it where the person says
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
