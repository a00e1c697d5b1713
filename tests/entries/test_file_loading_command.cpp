#include "entries/column_lists.h"
#include "entries/file_loading.h"
#include "entries/list_file.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

const std::vector<Pointer> kBusyThenDefault{Pointer::Busy, Pointer::Default};

void clickLoad(FakePlatform& p, Direction direction = Direction::AreaCodesToStates) {
    RememberedColumns columns;
    PushButton3_Click(p.prompts, p.dialog, p.window, p.entries, {direction, columns});
}

} // namespace

class TestFileLoadingCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dialogIsSetUpAndCancelChangesNothing() {
        FakePlatform p;
        p.addEntries({s("kept")});
        p.dialog.fileName = s("previous.txt");
        p.window.setPointer(Pointer::Custom);
        p.window.pointerHistory.clear();
        clickLoad(p); // no answer queued: Cancel
        QCOMPARE(p.dialog.shownOpen, 1);
        QCOMPARE(p.dialog.fileName, QString());
        QVERIFY(p.dialog.flags & DialogFlag::AllowMultiSelect); // the title promises several
        QCOMPARE(p.dialog.title, s("Load List(s) - Hold Ctrl to select multiple list files"));
        QCOMPARE(p.dialog.filter,
                 s("Lists (*.txt *.csv *.tsv *.xlsx *.ods *.vcf)|*.txt;*.csv;*.tsv;*.xlsx;*.ods;"
                   "*.vcf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QCOMPARE(listTexts(p.entries), QStringList{s("kept")});
        QVERIFY(p.window.pointerHistory.empty());
        QCOMPARE(p.window.pointer(), Pointer::Custom);
        QVERIFY(p.prompts.shown.empty());
    }

    void oneFileIsAppendedUnderTheBusyPointer() {
        QTemporaryDir dir;
        FakePlatform p;
        p.addEntries({s("kept")});
        const QString path = writeFile(dir, s("list.txt"), "nh\r\n603\r\n");
        p.dialog.openAnswers = {{path}, {path}};
        clickLoad(p);
        clickLoad(p); // the same file twice gives its entries twice
        QCOMPARE(listTexts(p.entries),
                 QStringList({s("kept"), s("NH"), s("603"), s("NH"), s("603")}));
        QCOMPARE(p.window.pointerHistory, std::vector<Pointer>({Pointer::Busy, Pointer::Default,
                                                                Pointer::Busy, Pointer::Default}));
        // The load keeps the window's events waiting until it ends.
        QCOMPARE(p.window.pumps, 0);
        QVERIFY(p.prompts.shown.empty());
    }

    void severalFilesWithOneMissing() {
        QTemporaryDir dir;
        FakePlatform p;
        const QString first = writeFile(dir, s("a.txt"), "nh\r\n");
        const QString second = writeFile(dir, s("b.txt"), "ct\nny");
        // A folder joined with a separator of its own still finds the file.
        p.dialog.openAnswers = {{first, dir.filePath(s("gone.txt")), dir.path() + s("//b.txt")}};
        clickLoad(p);
        QCOMPARE(listTexts(p.entries), QStringList({s("NH"), s("ct"), s("NY")}));
        QCOMPARE(p.prompts.texts(), QStringList{s("File not found")});
        QCOMPARE(p.prompts.shown[0].style, 0);
        QCOMPARE(p.window.pointerHistory, kBusyThenDefault);
    }

    // Files named on the command line or dropped, perhaps hundreds at once:
    // every failure names the file it concerns, the missing one included.
    void eachFailureOfNamedFilesNamesItsFile() {
        QTemporaryDir dir;
        FakePlatform p;
        const QString fifo = dir.filePath(s("afifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir(s("adir")));
        RememberedColumns remembered;
        loadChosenFiles(p.prompts, p.window, p.entries,
                        {writeFile(dir, s("good1.txt"), "nh\r\n"), dir.filePath(s("missing.txt")),
                         dir.filePath(s("adir")), fifo, writeFile(dir, s("good2.txt"), "ct\r\n")},
                        {Direction::AreaCodesToStates, remembered});
        QCOMPARE(listTexts(p.entries), QStringList({s("NH"), s("CT")}));
        QStringList firstLines;
        for (const ShownMessage& shown : p.prompts.shown)
            firstLines << shown.text.section(s("\r\n"), 0, 0);
        QCOMPARE(firstLines, QStringList({s("File not found: ") + dir.filePath(s("missing.txt")),
                                          s("Is a directory: ") + dir.filePath(s("adir")),
                                          s("Not a regular file: ") + fifo}));
    }

    // A CSV file named or dropped is read by the column the person chooses,
    // its header skipped and its cells as they stand; a second file of the
    // same header takes the same column without asking; cancelling adds
    // nothing; a file of one column loads line by line.
    void filesInColumnsAreReadByTheChosenColumn() {
        QTemporaryDir dir;
        FakePlatform p;
        RememberedColumns remembered;
        const ColumnReading reading{Direction::AreaCodesToStates, remembered};
        const QByteArray contacts = "Name,Phone,Email\r\n\"Smith, Ann\",(603) 237-4934,a@x\r\n"
                                    "Bo,,bo@x\r\nCy\r\n";
        p.prompts.columnAnswers = {1};
        loadChosenFiles(
            p.prompts, p.window, p.entries,
            {writeFile(dir, s("one.csv"), contacts), writeFile(dir, s("two.csv"), contacts)},
            reading);
        QCOMPARE(listTexts(p.entries), QStringList({s("(603) 237-4934"), s(""), s(""),
                                                    s("(603) 237-4934"), s(""), s("")}));
        QCOMPARE(p.prompts.columnQuestions.size(), std::size_t(1));
        const ColumnQuestion& asked = p.prompts.columnQuestions.front();
        QVERIFY(asked.header);
        QCOMPARE(asked.likeliest, 1);
        QCOMPARE(asked.firstRows.front(), QStringList({s("Name"), s("Phone"), s("Email")}));

        p.entries.clear();
        loadChosenFiles(p.prompts, p.window, p.entries,
                        {writeFile(dir, s("other.csv"), "A,B\n1,2\n")}, reading);
        QCOMPARE(p.entries.count(), 0); // asked, and cancelled
        loadChosenFiles(p.prompts, p.window, p.entries,
                        {writeFile(dir, s("single.csv"), "nh\r\n603\r\n")}, reading);
        QCOMPARE(listTexts(p.entries), QStringList({s("NH"), s("603")}));
        QVERIFY(p.prompts.errorReports().empty());
    }

    // Text after a closing quote stays in its cell and takes no other row:
    // all thousand rows load, and the person is told which file had how many.
    void aMalformedRowTakesOnlyItself() {
        QTemporaryDir dir;
        FakePlatform p;
        RememberedColumns remembered;
        QByteArray contacts = "Name,Phone\r\nAnn,6035550100\r\nBo,2015550100\r\n"
                              "\"Bob\" Smith,2015550142\r\n";
        for (int i = 4; i <= 1000; ++i)
            contacts += "Cy,212555" + QByteArray::number(1000 + i) + "\r\n";
        p.prompts.columnAnswers = {1};
        loadChosenFiles(p.prompts, p.window, p.entries,
                        {writeFile(dir, s("contacts.csv"), contacts)},
                        {Direction::AreaCodesToStates, remembered});
        QCOMPARE(p.entries.count(), 1000);
        QCOMPARE(p.entries.text(3), s("2015550142"));
        QVERIFY(p.prompts.errorReports().empty());
        QCOMPARE(p.prompts.shown.back().text,
                 s("1 row of contacts.csv had text after a closing quote. It was kept in the same "
                   "cell, as spreadsheet programs read it; check that row."));
    }

    void unreadableFileIsReportedAndTheRestStillLoad() {
        QTemporaryDir dir;
        FakePlatform p;
        const QString good = writeFile(dir, s("good.txt"), "ma\r\n");
        p.dialog.openAnswers = {{dir.path(), good}, {dir.path()}};
        clickLoad(p);
        QCOMPARE(listTexts(p.entries), QStringList{s("MA")});
        auto reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(1));
        QCOMPARE(reports[0].text.section(s("\r\n"), 0, 0), s("Is a directory: ") + dir.path());
        QVERIFY(reports[0].text.contains(
            s("in Brisquet2021/08/31.Form1.PushButton3_Click at line 134\r\r")));
        QCOMPARE(p.window.pointerHistory, kBusyThenDefault);

        // A single chosen path fails at its own line; the pointer still goes back.
        clickLoad(p);
        reports = p.prompts.errorReports();
        QCOMPARE(reports.size(), size_t(2));
        QVERIFY(reports[1].text.contains(s("PushButton3_Click at line 120\r\r")));
        QCOMPARE(listTexts(p.entries), QStringList{s("MA")});
        QCOMPARE(p.window.pointer(), Pointer::Default);
    }

    void fixDoubleBackslashes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fixed");
        QTest::newRow("joined at a folder") << s("/home/ann//list.txt") << s("/home/ann/list.txt");
        QTest::newRow("root folder joined") << s("//list.txt") << s("/list.txt");
        QTest::newRow("untouched") << s("/home/ann/list.txt") << s("/home/ann/list.txt");
        QTest::newRow("leading run becomes one") << s("///tmp//a.txt") << s("/tmp/a.txt");
        QTest::newRow("no overlap: three") << s("/tmp///a.txt") << s("/tmp//a.txt");
        QTest::newRow("no overlap: four") << s("/tmp////a.txt") << s("/tmp//a.txt");
        QTest::newRow("relative") << s("lists//a.txt") << s("lists/a.txt");
        QTest::newRow("relative, leading run kept apart") << s("a///b") << s("a//b");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("root") << s("/") << s("/");
        QTest::newRow("double root") << s("//") << s("/");
        QTest::newRow("other characters kept") << s("/tmp/ä b\\\\c//d") << s("/tmp/ä b\\\\c/d");
    }

    void fixDoubleBackslashes() {
        QFETCH(QString, path);
        QFETCH(QString, fixed);
        QCOMPARE(FixDoubleBackslashes(path), fixed);
    }
};

QTEST_GUILESS_MAIN(TestFileLoadingCommand)
#include "test_file_loading_command.moc"
