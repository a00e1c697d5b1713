// The copy through the real Qt clipboard. Offscreen, the text is read back
// from Qt itself; in an X session (tests/e2e/clipboard_xclip.sh runs it under
// Xvfb) another X client, xclip, reads what the desktop would paste.
#include "platform/qt/qt_clipboard.h"
#include "results/clipboard_copy.h"
#include "support/fakes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

// Our process owns the selection, so it must keep handling X events while
// xclip asks for the text: wait with the event loop running.
QByteArray readWithXclip() {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    if (!xclip.waitForStarted(10000))
        return "<xclip did not start>";
    QElapsedTimer waited;
    waited.start();
    while (xclip.state() != QProcess::NotRunning && waited.elapsed() < 60000)
        QTest::qWait(10);
    return xclip.readAllStandardOutput();
}

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

class TestQtClipboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copiedResultsArePastedAsAlignedText() {
        FakeWindowServices window;
        QtClipboard clipboard;
        ListModel results;
        results.addColumn(QStringLiteral("Results"));
        results.addColumn(QStringLiteral("Where"));
        results.appendRow({QStringLiteral("603"), QStringLiteral("New Hampshire")});
        results.appendRow({QStringLiteral("Not Found"), QString()});
        results.appendRow({QStringLiteral("hidden row"), QStringLiteral("x")}, false);
        results.appendRow({QStringLiteral("caf\u00e9"), QStringLiteral("\u2713")});
        CopyListViewToClipboard(window, clipboard, results);
        const QString expected =
            QStringLiteral("603       \tNew Hampshire\r\n"
                           "Not Found \t\r\n" // the empty last cell leaves its tab
                           "caf\u00e9      \t\u2713\r\n");
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        if (onX11())
            QCOMPARE(QString::fromUtf8(readWithXclip()), expected);
    }

    void aLargeCopyReachesOtherPrograms() {
        FakeWindowServices window;
        QtClipboard clipboard;
        ListModel results;
        results.addColumn(QStringLiteral("Results"));
        QByteArray expected;
        for (int i = 0; i < 100000; ++i) {
            const QString row = i % 7 ? QStringLiteral("201 551 609") : QStringLiteral("NH");
            results.append(row);
            expected += row.toLatin1() + "\r\n";
        }
        CopyListViewToClipboard(window, clipboard, results);
        QCOMPARE(QGuiApplication::clipboard()->text().toLatin1(), expected);
        if (!onX11()) {
            if (qEnvironmentVariableIsSet("TALLYVANE_REQUIRE_X11"))
                QFAIL("TALLYVANE_REQUIRE_X11 is set but the program does not run on X11");
            QSKIP("No X session: read back from Qt only (tests/e2e/clipboard_xclip.sh uses xclip)");
        }
        if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            QFAIL("xclip is not installed (Debian: xclip)");
        // Megabytes go through the X incremental transfer.
        QCOMPARE(readWithXclip(), expected);
    }
};

QTEST_MAIN(TestQtClipboard)
#include "test_qt_clipboard.moc"
