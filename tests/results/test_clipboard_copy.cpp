#include "results/clipboard_copy.h"
#include "support/fakes.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kConfirmation =
    QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where you "
                   "normally type and press Ctrl+V to paste the clipboard.");

void fill(ListModel& list, const QStringList& rows) {
    for (const QString& row : rows)
        list.append(row);
}

} // namespace

class TestClipboardCopy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resultsRowsBecomeTrimmedLines() {
        FakePlatform f;
        fill(f.results,
             {QStringLiteral("NH"), QStringLiteral("Not Found"), QStringLiteral("201 551 609")});
        PushButton5_Click(f.prompts, f.window, f.clipboard, f.results);
        QCOMPARE(f.clipboard.text, QStringLiteral("NH\r\nNot Found\r\n201 551 609\r\n"));
        QCOMPARE(f.clipboard.clearAttempts, 1);
        QCOMPARE(f.clipboard.setAttempts, 1);
        QCOMPARE(f.prompts.texts(), QStringList({kConfirmation}));
        QCOMPARE(f.prompts.shown[0].style, MessageStyle::Ok);
        QCOMPARE(f.prompts.shown[0].title, QStringLiteral("Tallyvane"));
        QCOMPARE(f.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default}));
        QCOMPARE(f.window.pumps, 3 + 3 + 3); // measured cells, rows, built cells
    }

    void columnsAreAlignedWithoutHeadings() {
        FakePlatform f;
        f.results.addColumn(QStringLiteral("A very long heading"));
        f.results.appendRow({QStringLiteral("a"), QStringLiteral("xyz")});
        f.results.appendRow({QStringLiteral("bbb"), QStringLiteral("q")});
        CopyListViewToClipboard(f.window, f.clipboard, f.results);
        QCOMPARE(f.clipboard.text, QStringLiteral("a  \txyz\r\nbbb\tq\r\n"));

        // Trailing spaces go only at the end of a line; tabs inside texts stay.
        FakePlatform g;
        g.results.addColumn(QStringLiteral("Two"));
        g.results.appendRow({QStringLiteral("x  "), QStringLiteral("y  ")});
        g.results.appendRow({QStringLiteral("t\tab"), QStringLiteral("z")});
        CopyListViewToClipboard(g.window, g.clipboard, g.results);
        QCOMPARE(g.clipboard.text, QStringLiteral("x   \ty\r\nt\tab\tz\r\n"));
    }

    void uncheckedRowsWidenButGiveNoLine() {
        FakePlatform f;
        f.results.addColumn(QStringLiteral("Two"));
        f.results.appendRow({QStringLiteral("a"), QStringLiteral("b")});
        f.results.appendRow({QStringLiteral("longer"), QStringLiteral("c")}, false);
        CopyListViewToClipboard(f.window, f.clipboard, f.results);
        QCOMPARE(f.clipboard.text, QStringLiteral("a     \tb\r\n"));

        FakePlatform none;
        none.results.appendRow({QStringLiteral("NH")}, false);
        PushButton5_Click(none.prompts, none.window, none.clipboard, none.results);
        QCOMPARE(none.clipboard.text, QString());
        QCOMPARE(none.prompts.texts(), QStringList({kConfirmation}));
    }

    void anEmptyListKeepsTheClipboard() {
        FakePlatform f;
        PushButton5_Click(f.prompts, f.window, f.clipboard, f.results);
        QCOMPARE(f.clipboard.text, QStringLiteral("old clipboard"));
        QCOMPARE(f.clipboard.clearAttempts + f.clipboard.setAttempts, 0);
        QCOMPARE(f.prompts.texts(), QStringList({kConfirmation}));
    }

    void aBusyClipboardIsTriedUpToAThousandTimes() {
        FakeClipboard clipboard;
        clipboard.failClears = 999;
        clipboard.failSets = 999;
        ClearClipboard(clipboard);
        QVERIFY(SetClipboardText(clipboard, QStringLiteral("text"), 0));
        QCOMPARE(clipboard.clearAttempts, 1000);
        QCOMPARE(clipboard.setAttempts, 1000);
        QCOMPARE(clipboard.text, QStringLiteral("text"));

        FakeClipboard held;
        held.failClears = 5000;
        held.failSets = 5000;
        ClearClipboard(held);
        QVERIFY(!SetClipboardText(held, QStringLiteral("text"), 0));
        QCOMPARE(held.clearAttempts, 1000);
        QCOMPARE(held.setAttempts, 1000);
        QCOMPARE(held.text, QStringLiteral("old clipboard"));

        // Through the command: a clipboard that never took the text is one
        // report, and no confirmation.
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH")});
        f.clipboard.failClears = 5000;
        f.clipboard.failSets = 5000;
        PushButton5_Click(f.prompts, f.window, f.clipboard, f.results);
        QCOMPARE(f.clipboard.clearAttempts, 1000); // the sets follow a failed clear
        QCOMPARE(f.clipboard.setAttempts, 1000);
        QCOMPARE(f.prompts.texts().size(), 1);
        QVERIFY(f.prompts.texts()[0].startsWith(
            QStringLiteral("The results could not be put on the clipboard (1000 attempts)\r\nin "
                           "Brisquet2021/08/31.Form1.PushButton5_Click at line 108\r\r")));
        QCOMPARE(f.window.pointer(), Pointer::Default);
    }

    void aRowThatVanishesIsReportedAndTheClipboardKept() {
        FakePlatform f;
        fill(f.results, {QStringLiteral("NH"), QStringLiteral("NJ")});
        f.window.onPump = [&](int pump) {
            if (pump == 3) // the build pass has begun
                f.results.clear();
        };
        PushButton5_Click(f.prompts, f.window, f.clipboard, f.results);
        const auto reports = f.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.contains(
            QStringLiteral("in Brisquet2021/08/31.Form1.PushButton5_Click at line 108\r\r")));
        QCOMPARE(f.clipboard.text, QStringLiteral("old clipboard"));
        QVERIFY(!f.prompts.texts().contains(kConfirmation));
        QCOMPARE(f.window.pointer(), Pointer::Default);
    }
};

QTEST_GUILESS_MAIN(TestClipboardCopy)
#include "test_clipboard_copy.moc"
