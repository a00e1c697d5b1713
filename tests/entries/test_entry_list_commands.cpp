#include "entries/entry_list_commands.h"
#include "support/fakes.h"

#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

constexpr int kDelete = 46;

void select(ListModel& list, int position) {
    list.announcePendingRows();
    list.selectionModel()->select(list.index(position - 1, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// A list whose edits fail, as a list of the platform might.
class FailingList : public ListModel {
public:
    void append(const QString&) override { throw Failure(QStringLiteral("Out of memory")); }
    void remove(int) override { throw Failure(QStringLiteral("Index out of bounds")); }
    void clear() override { throw Failure(QStringLiteral("Permission denied")); }
};

class TitleRecordingPrompts : public FakePrompts {
public:
    QString inputPrompt(const QString& message, const QString& title,
                        const QString& defaultText) override {
        titles << title;
        defaults << defaultText;
        return FakePrompts::inputPrompt(message, title, defaultText);
    }
    QStringList titles, defaults;
};

} // namespace

class TestEntryListCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addAppendsTheTextExactlyAsTyped() {
        FakePlatform p;
        const QStringList typed{QStringLiteral("  New York, NY  "),
                                QStringLiteral("603"),
                                QStringLiteral("603"),
                                QStringLiteral("   "),
                                QStringLiteral("São Paulo, Zürich 東京"),
                                QStringLiteral("nh")};
        for (const QString& text : typed) {
            p.prompts.typedTexts.push_back(text);
            PushButton6_Click(p.prompts, p.surface, p.entries);
        }
        // Not trimmed, not upper-cased, duplicates and blanks kept, in order.
        QCOMPARE(listTexts(p.entries), typed);
        QCOMPARE(p.prompts.promptMessages.size(), typed.size());
        QCOMPARE(p.prompts.promptMessages.first(),
                 QStringLiteral("Enter city, state or zip code to add: "));
        QVERIFY(p.prompts.shown.empty());
    }

    void promptCarriesTheApplicationTitleAndNoDefault() {
        FakePlatform p;
        TitleRecordingPrompts prompts;
        p.surface.appTitle = QStringLiteral("Tallyvane");
        prompts.typedTexts.push_back(QStringLiteral("NH"));
        PushButton6_Click(prompts, p.surface, p.entries);
        QCOMPARE(prompts.titles, QStringList{QStringLiteral("Tallyvane")});
        QCOMPARE(prompts.defaults, QStringList{QString()});
    }

    void cancelOrAnEmptyFieldAddsNothing() {
        FakePlatform p;
        p.addEntries({QStringLiteral("NH")});
        p.prompts.typedTexts.emplace_back(); // OK on an empty field
        PushButton6_Click(p.prompts, p.surface, p.entries);
        PushButton6_Click(p.prompts, p.surface, p.entries); // no answer queued: Cancel
        QCOMPARE(listTexts(p.entries), QStringList{QStringLiteral("NH")});
        QVERIFY(p.prompts.shown.empty());
    }

    void addWorksWhileBusy() {
        FakePlatform p;
        p.window.setPointer(Pointer::Busy);
        p.prompts.typedTexts.push_back(QStringLiteral("CT"));
        PushButton6_Click(p.prompts, p.surface, p.entries);
        QCOMPARE(listTexts(p.entries), QStringList{QStringLiteral("CT")});
    }

    void aFailedAppendIsReportedAtLine104() {
        FakePlatform p;
        FailingList failing;
        p.prompts.typedTexts.push_back(QStringLiteral("NH"));
        PushButton6_Click(p.prompts, p.surface, failing);
        const auto reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(QStringLiteral("Out of memory\r\n")));
        QVERIFY(reports[0].text.contains(
            QStringLiteral("in Brisquet2021/08/31.Form1.PushButton6_Click at line 104\r\r")));
    }

    void doubleClickAndDeleteRemoveTheSelectedEntry() {
        FakePlatform p;
        p.addEntries(
            {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
        select(p.entries, 2);
        ListView1_DblClick(p.window, p.entries);
        QCOMPARE(listTexts(p.entries),
                 QStringList({QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d")}));
        select(p.entries, 3);
        ListView1_KeyDown(p.window, p.entries, kDelete);
        QCOMPARE(listTexts(p.entries), QStringList({QStringLiteral("a"), QStringLiteral("c")}));
        QVERIFY(p.prompts.shown.empty());
    }

    void otherKeysRemoveNothing() {
        FakePlatform p;
        p.addEntries({QStringLiteral("a"), QStringLiteral("b")});
        select(p.entries, 1);
        for (const int key : {8, 13, 45, 0x41, int(Qt::Key_Delete)})
            ListView1_KeyDown(p.window, p.entries, key);
        QCOMPARE(p.entries.count(), 2);
    }

    void removalIsRefusedWhileBusy() {
        FakePlatform p;
        p.addEntries({QStringLiteral("a"), QStringLiteral("b")});
        select(p.entries, 1);
        p.window.setPointer(Pointer::Busy);
        ListView1_DblClick(p.window, p.entries);
        ListView1_KeyDown(p.window, p.entries, kDelete);
        QCOMPARE(p.entries.count(), 2);
        // Only the busy pointer blocks: the hand pointer does not.
        p.window.setPointer(Pointer::Custom);
        ListView1_DblClick(p.window, p.entries);
        QCOMPARE(listTexts(p.entries), QStringList{QStringLiteral("b")});
    }

    void removalOnAnEmptyListOrWithoutSelectionDoesNothing() {
        FakePlatform p;
        ListView1_DblClick(p.window, p.entries);
        ListView1_KeyDown(p.window, p.entries, kDelete);
        QCOMPARE(p.entries.count(), 0);
        p.addEntries({QStringLiteral("a"), QStringLiteral("b")});
        ListView1_DblClick(p.window, p.entries);
        ListView1_KeyDown(p.window, p.entries, kDelete);
        QCOMPARE(listTexts(p.entries), QStringList({QStringLiteral("a"), QStringLiteral("b")}));
        QVERIFY(p.prompts.shown.empty());
    }

    void aFailingRemovalShowsNothingAndKeepsTheWindowUsable() {
        FakePlatform p;
        FailingList failing;
        failing.ListModel::append(QStringLiteral("a"));
        select(failing, 1);
        ListView1_DblClick(p.window, failing);
        ListView1_KeyDown(p.window, failing, kDelete);
        QCOMPARE(failing.count(), 1);
        QVERIFY(p.prompts.shown.empty());
    }

    void clearEmptiesTheListUnlessBusy() {
        FakePlatform p;
        p.addEntries({QStringLiteral("a"), QStringLiteral("b")});
        p.window.setPointer(Pointer::Busy); // a conversion run in progress
        PushButton1_Click(p.prompts, p.window, p.entries);
        QCOMPARE(p.entries.count(), 2);
        p.window.setPointer(Pointer::Default);
        PushButton1_Click(p.prompts, p.window, p.entries);
        QCOMPARE(p.entries.count(), 0);
        PushButton1_Click(p.prompts, p.window, p.entries); // an empty list stays empty, silently
        QVERIFY(p.prompts.shown.empty());
        // The column survives: it belongs to the list, not to its rows.
        QCOMPARE(p.entries.heading(1), QStringLiteral("States or Area Codes"));
    }

    void aFailedClearIsReportedAtLine100() {
        FakePlatform p;
        FailingList failing;
        PushButton1_Click(p.prompts, p.window, failing);
        const auto reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QVERIFY(reports[0].text.startsWith(QStringLiteral("Permission denied\r\n")));
        QVERIFY(reports[0].text.contains(QStringLiteral("PushButton1_Click at line 100\r\r")));
    }
};

QTEST_GUILESS_MAIN(TestEntryListCommands)
#include "test_entry_list_commands.moc"
