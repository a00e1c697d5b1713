// tallyvane-convert as a script runs it: a real process, real files, the built
// database; checked against the window's own conversion run.
#include "commands/product.h"
#include "conversion/conversion_run.h"
#include "platform/sqlite/sqlite_area_code_database.h"
#include "results/aligned_text_writer.h"
#include "results/results_summary.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/tallyvane-convert");
const QString kDatabase = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/areacodes.db");

struct Outcome {
    QByteArray out, err;
    int status = -1;
};

Outcome runProgram(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(kProgram, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120'000))
        qFatal("tallyvane-convert did not finish");
    return {process.readAllStandardOutput(), process.readAllStandardError(),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

// Entries of every kind a pasted list holds; none with a line end inside.
QStringList generatedEntries(int count) {
    QRandomGenerator random(20261208);
    const QStringList codes = {"201", "603", "902", "212", "867", "340", "671",
                               "999", "000", "1",   "800", "876", "911", "120"};
    const QStringList states = {"NH",
                                "nj",
                                "Ny",
                                "New Jersey",
                                "NEW HAMPSHIRE",
                                "new york",
                                "district of columbia",
                                " NH",
                                "NH ",
                                "O'Brien",
                                "' or '1'='1",
                                "Québec",
                                "ÑEW JERSEY",
                                "Nova Scotia",
                                "PE",
                                "N.H.",
                                "New Jersey."};
    const auto pick = [&](const QStringList& from) { return from[random.bounded(from.size())]; };
    const auto digits = [&](int n) {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QChar(u'0' + random.bounded(10));
        return text;
    };
    QStringList entries;
    int longLines = 0;
    for (int i = 0; i < count; ++i) {
        const QString a = pick(codes);
        switch (random.bounded(20)) {
        case 0:
            entries << a + "-" + digits(3) + "-" + digits(4);
            break;
        case 1:
            entries << "1-" + a + "-" + digits(3) + "-" + digits(4);
            break;
        case 2:
            entries << "(" + a + ") " + digits(3) + "-" + digits(4);
            break;
        case 3:
            entries << a + digits(7);
            break;
        case 4:
            entries << "+1 " + a + " " + digits(3) + " " + digits(4);
            break;
        case 5:
            entries << a + "." + digits(3) + "." + digits(4);
            break;
        case 6:
            entries << a;
            break;
        case 7:
            entries << pick(states);
            break;
        case 8:
            entries << pick(states).toLower();
            break;
        case 9:
            entries << QString();
            break;
        case 10:
            entries << QStringLiteral("\uFF16\uFF10\uFF13-") + a;
            break; // full-width
        case 11:
            entries << QStringLiteral("\u0666\u0660\u0663 ") + a;
            break; // Arabic-Indic
        case 12:
            entries << QStringLiteral("Ω ") + a + QStringLiteral(" 😀");
            break;
        case 13:
            entries << "11" + a + "\t" + digits(2);
            break;
        case 14:
            entries << (random.bounded(2) ? "=HYPERLINK(\"x\")" : "\"q\",c");
            break;
        case 15: // another country, perhaps behind spaces or brackets
            entries << pick({"+44 20 ", " +49-30-", "+(353) 1 ", "+7 495 ", "+1 ", "+ 1 "}) +
                           digits(3) + " " + digits(4);
            break;
        case 16: // a local number, perhaps after a 1
            entries << pick({"", "1-", "+1 "}) + digits(3) + "-" + digits(4);
            break;
        case 17:
            entries << pick({"011 44 20 ", "00 49 30 "}) + digits(8);
            break;
        case 18: // several numbers in one cell, as contact exports join them
            entries << a + "-" + digits(3) + "-" + digits(4) +
                           pick({" ::: +1 ", ":::", " ::: +44 20 ", " ::: "}) + pick(codes) +
                           digits(7) + (random.bounded(3) == 0 ? " ::: " : "");
            break;
        default:
            // A few longer than a read block, converted in pieces.
            entries << (random.bounded(2) ? a : pick(states)) +
                           QString(++longLines <= 6 ? 1'200'000 : 5'000, u' ');
        }
        if (random.bounded(40) == 0)
            entries.last() += QString(300, u'-');
    }
    return entries;
}

// Each entry's result, a tab, and the reason it found nothing (if it did not).
QStringList windowResults(const QStringList& entries, bool toStates) {
    FakePlatform platform;
    SqliteAreaCodeDatabaseOpener opener({kDatabase});
    ConversionRun run(platform.runServices(&opener));
    platform.options.option1 = toStates;
    platform.options.option2 = !toStates;
    platform.addEntries(entries);
    run.PushButton17_Click();
    if (!platform.prompts.errorReports().empty())
        qFatal("the window's run reported a failure");
    QStringList rows;
    for (int i = 1; i <= platform.results.count(); ++i)
        rows << platform.results.text(i) + QLatin1Char('\t') + platform.results.note(i);
    return rows;
}

QStringList lines(const QByteArray& output) {
    QStringList texts = QString::fromUtf8(output).split(QLatin1Char('\n'));
    if (texts.last().isEmpty())
        texts.removeLast();
    return texts;
}

const QByteArray kSmallInput = "603\r\n1 (201) 555-0100\rNH\n\n=1+2\n\"q\",c\n+1 902 555 0100\n"
                               "new jersey\n\xff\xfe bad\n'x";

} // namespace

class TestConvertProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameResultsAsTheWindow() {
        // Some generated lines are over a megabyte, so the whole list is read in
        // well-sized pieces; the rest gives the 10,000 entries.
        const QStringList entries = generatedEntries(10'000);
        QTemporaryDir dir;
        QByteArray bytes;
        for (const QString& entry : entries)
            bytes += entry.toUtf8() + (bytes.size() % 3 == 0 ? "\r\n" : "\n");
        const QString path = writeFile(dir, QStringLiteral("entries.txt"), bytes);
        for (const bool toStates : {true, false}) {
            const Outcome outcome = runProgram(
                {"-d", toStates ? "states" : "area-codes", "-f", "tsv", "--reason", path});
            QCOMPARE(outcome.status, 0);
            QVERIFY(outcome.err.isEmpty());
            const QStringList expected = windowResults(entries, toStates);
            QCOMPARE(expected.size(), entries.size());
            QStringList got = lines(outcome.out);
            QCOMPARE(got.size(), expected.size());
            for (QString& line : got) // the result and the reason, after the entry
                line = line.section(QLatin1Char('\t'), -2);
            for (int i = 0; i < got.size(); ++i) {
                if (got[i] != expected[i])
                    QFAIL(qPrintable(QStringLiteral("entry %1 (%2): %3 against the window's %4")
                                         .arg(i + 1)
                                         .arg(entries[i].left(40), got[i], expected[i])));
            }
        }
    }

    // The summary counts what the window's run gives, row for row, in both
    // directions and with lines long enough to come in pieces.
    void summaryIsTheWindows() {
        const QStringList entries = generatedEntries(4'000);
        QTemporaryDir dir;
        QByteArray bytes;
        for (const QString& entry : entries)
            bytes += entry.toUtf8() + '\n';
        const QString path = writeFile(dir, QStringLiteral("entries.txt"), bytes);
        for (const bool toStates : {true, false}) {
            const Direction direction =
                toStates ? Direction::AreaCodesToStates : Direction::StatesToAreaCodes;
            SummaryTally window(direction);
            for (const QString& row : windowResults(entries, toStates))
                window.add(row.section(QLatin1Char('\t'), 0, 0), row.section(QLatin1Char('\t'), 1));
            const Outcome outcome = runProgram(
                {"--summary", "-f", "csv", "-d", toStates ? "states" : "area-codes", path});
            QCOMPARE(outcome.status, 0);
            QCOMPARE(QString::fromUtf8(outcome.out), summaryCsv(window.summary()));
        }
        // A column's blank cell, and a row without the column, is a blank
        // entry with a blank result: counted as such, not as "Not Found".
        const QByteArray column = "Name,Phone\nA\nB,603\nC,\"\"\nD,NH\n";
        QCOMPARE(runProgram({"--summary", "--column", "Phone"}, column).out,
                 QByteArray("Group\tName\tCount\tShare %\n"
                            "Result\tBlank\t2\t50.00\n"
                            "Result\tNH\t1\t25.00\n"
                            "Result\tNot Found\t1\t25.00\n"
                            "Reason\tno area code in this entry\t1\t25.00\n"
                            "State\tNH\t1\t25.00\n"
                            "Total\t\t4\t100.00\n"));
    }

    void eachFormatExactly() {
        QCOMPARE(runProgram({}, kSmallInput).out,
                 QByteArray("NH\nNJ\nNot Found\nNot Found\nNot Found\nNot Found\nNS PE\n"
                            "Not Found\nNot Found\nNot Found\n"));
        QCOMPARE(runProgram({"--to", "area-codes", "-f", "tsv"}, kSmallInput).out,
                 QByteArray("603\tNot Found\n1 (201) 555-0100\tNot Found\nNH\t603\n\tNot Found\n"
                            "=1+2\tNot Found\n\"q\",c\tNot Found\n+1 902 555 0100\tNot Found\n"
                            "new jersey\t201 551 609 640 732 848 856 862 908 973\n"
                            "\xff\xfe bad\tNot Found\n'x\tNot Found\n"));
        QCOMPARE(runProgram({"--format=csv"}, kSmallInput).out,
                 QByteArray("entry,result\n603,NH\n1 (201) 555-0100,NJ\nNH,Not Found\n,Not Found\n"
                            "'=1+2,Not Found\n\"\"\"q\"\",c\",Not Found\n+1 902 555 0100,NS PE\n"
                            "new jersey,Not Found\n\xff\xfe bad,Not Found\n''x,Not Found\n"));
    }

    // A comma alone, without a quote beside it, still makes a field quoted.
    // A tsv row always has its two columns: a tab or backslash of the entry
    // is escaped as PostgreSQL's text format does.
    void tsvEscapesTabsAndBackslashes() {
        QCOMPARE(runProgram({"-f", "tsv"}, "603\tx\\y\n").out, QByteArray("603\\tx\\\\y\tNH\n"));
        // Eight bytes and more, read eight at a time: the backslash alone,
        // within the first eight.
        QVERIFY(runProgram({"-f", "tsv"}, "NH \\ 603 555 0100\n")
                    .out.startsWith("NH \\\\ 603 555 0100\t"));
    }

    // A field made only of what phone numbers are written with cannot run
    // as a formula and stays as it is; any other that begins like one gets
    // the guard, short or long enough to come in pieces.
    void theFormulaGuardIsOneRule() {
        const QByteArray pad(1'200'000, ' ');
        const struct {
            QByteArray entry;
            QByteArray written; // the start of its csv field
        } cases[] = {{"+1-603-555-0100", "+1-603-555-0100,"},
                     {"+1 (603) 555.0100", "+1 (603) 555.0100,"},
                     {"-603-555-0100", "-603-555-0100,"},
                     {"+1 603 555 0100 x", "'+1 603 555 0100 x,"},
                     {"=1+2", "'=1+2,"},
                     {"+1 603 555 0100" + pad, "\"+1 603 555 0100 "},
                     {"+1 603 555 0100" + pad + "x", "\"'+1 603 555 0100 "},
                     {"=603" + pad, "\"'=603 "}};
        for (const auto& c : cases) {
            const QByteArray out = runProgram({"-f", "csv"}, c.entry + "\n").out;
            QVERIFY2(out.startsWith("entry,result\n" + c.written), c.entry.left(40).constData());
            QVERIFY(out.size() >= c.entry.size());
        }
    }

    void aCommaInsideAFieldIsQuoted() {
        QCOMPARE(runProgram({"--format=csv"}, "Portland, OR\n").out,
                 QByteArray("entry,result\n\"Portland, OR\",Not Found\n"));
        QCOMPARE(runProgram({"--format=csv", "--to=area-codes"}, "Washington, D.C.\n").out,
                 QByteArray("entry,result\n\"Washington, D.C.\",Not Found\n"));
    }

    void textFormatIsTheWindowsExport() {
        const Outcome outcome = runProgram({"-f", "text"}, kSmallInput);
        QCOMPARE(outcome.status, 0);
        ListModel results;
        results.addColumn(QStringLiteral("Results"));
        for (const QString& row : lines(runProgram({}, kSmallInput).out))
            results.append(row);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.txt"));
        FakePlatform platform;
        SaveListviewProperlySpaced(platform.prompts, platform.window, results, path, nullptr);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(outcome.out, file.readAll());
        QVERIFY(outcome.out.startsWith("Results  \t\r\nNH       \t\r\n"));
        // No entries at all: the heading line alone, as for an empty list.
        QCOMPARE(runProgram({"-f", "text"}).out, QByteArray("Results\t\r\n"));
    }

    void unreadableFileIsReportedAndTheOthersStillConverted() {
        QTemporaryDir dir;
        const QString first = writeFile(dir, QStringLiteral("a.txt"), "603");
        const QString second = writeFile(dir, QStringLiteral("b.txt"), "201\n");
        const QString missing = dir.filePath(QStringLiteral("missing.txt"));
        const Outcome outcome = runProgram({first, missing, "-", second}, "902\n");
        QCOMPARE(outcome.out, QByteArray("NH\nNS PE\nNJ\n"));
        QCOMPARE(outcome.err,
                 "tallyvane-convert: " + missing.toUtf8() + ": No such file or directory\n");
        QCOMPARE(outcome.status, 2);
    }

    void unusableDatabaseStopsBeforeAnyOutput() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("none.db"));
        Outcome outcome = runProgram({"--database", missing}, "603\n");
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.out.isEmpty());
        QCOMPARE(outcome.err, "tallyvane-convert: Cannot read the area-code database " +
                                  missing.toUtf8() + ": the file does not exist\n");
        const QString text = writeFile(dir, QStringLiteral("text.db"), "not a database\n");
        outcome = runProgram({"--database=" + text, "-f", "csv"}, "603\n");
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.out.isEmpty());
        QVERIFY(outcome.err.endsWith(text.toUtf8() + ": file is not a database\n"));
    }

    void badOptionsGiveTheUsageAndStatus64() {
        for (const QStringList& arguments : {QStringList{"--frobnicate"},
                                             {"-d", "west"},
                                             {"-f"},
                                             {"--format", "xml"},
                                             {"--summary", "-f", "results"},
                                             {"--summary", "--header"}}) {
            const Outcome outcome = runProgram(arguments, "603\n");
            QCOMPARE(outcome.status, 64);
            QVERIFY(outcome.out.isEmpty());
            QVERIFY(outcome.err.startsWith("tallyvane-convert: "));
            QVERIFY(outcome.err.contains("\nUsage: tallyvane-convert [-d states|area-codes]"));
        }
        const Outcome help = runProgram({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("Long lines:"));
        const Outcome version = runProgram({"--version"});
        // Written out: a data refresh that forgets its date fails here.
        QCOMPARE(version.out, QByteArray("tallyvane-convert 1.0.0\n"
                                         "area-code table current to 2026-12-08\n"
                                         "time-zone table current to 2026-03\n"));
    }

    void closedPipeEndsQuietlyAndFullDiskIsReported() {
        QTemporaryDir dir;
        const QString input =
            writeFile(dir, QStringLiteral("many.txt"), QByteArray("603\n").repeated(1'000'000));
        QProcess shell;
        shell.start(QStringLiteral("bash"),
                    {"-c", "\"$0\" \"$1\" 2>\"$2\" | head -n 1; echo \"${PIPESTATUS[0]}\"",
                     kProgram, input, dir.filePath(QStringLiteral("err"))});
        QVERIFY(shell.waitForFinished(60'000));
        QCOMPARE(shell.readAllStandardOutput(), QByteArray("NH\n141\n")); // ended by SIGPIPE
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("err"))).size(), 0);

        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        full.start(kProgram, {input});
        QVERIFY(full.waitForFinished(60'000));
        QCOMPARE(full.exitCode(), 2);
        QCOMPARE(full.readAllStandardError(),
                 QByteArray("tallyvane-convert: write error: No space left on device\n"));

        // Past the file size limit the write fails and is reported; no signal
        // ends the program without a word.
        QProcess limited;
        limited.start(QStringLiteral("bash"),
                      {"-c", "ulimit -f 64; \"$0\" \"$1\" > \"$2\"", kProgram, input,
                       dir.filePath(QStringLiteral("out"))});
        QVERIFY(limited.waitForFinished(60'000));
        QCOMPARE(limited.exitCode(), 2);
        QCOMPARE(limited.readAllStandardError(),
                 QByteArray("tallyvane-convert: write error: File too large\n"));
    }

    // Each message names what is really wrong with the column asked for.
    void columnMistakesAreNamed_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("too large") << QStringList{"--column", "123456789"}
                                   << QByteArray("a column position is at most 1000000, not "
                                                 "'123456789'");
        QTest::newRow("empty") << QStringList{"--column", ""}
                               << QByteArray("a column is named or numbered, not ''");
        QTest::newRow("zero") << QStringList{"--column", "0"}
                              << QByteArray("column positions count from 1, not '0'");
        QTest::newRow("result names, not one for each column")
            << QStringList{"--column", "Phone", "-c", "Mobile", "--result-name", "S"}
            << QByteArray("--result-name is given once for each --column, or not at all, not '1 "
                          "times'");
        QTest::newRow("past the last column")
            << QStringList{"--column", "3"}
            << QByteArray("column 3 is past the last column: the input has 1 column");
    }
    void columnMistakesAreNamed() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, said);
        const Outcome outcome = runProgram(arguments, "Phone\n603\n");
        QCOMPARE(outcome.status, 64);
        QVERIFY(outcome.out.isEmpty());
        QCOMPARE(outcome.err.left(outcome.err.indexOf('\n')), "tallyvane-convert: " + said);
    }

    // Several phone columns in one pass: a result for each, beside the
    // others, named after its column unless named for each.
    void severalColumnsInOnePass_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("named after their columns")
            << QStringList{"-c", "Phone 1 - Value", "--column", "Phone 2 - Value"}
            << QByteArray("Name,Phone 1 - Value,Phone 2 - Value,State (Phone 1 - Value),State "
                          "(Phone 2 - Value)\nA,(603) 237-4934,+1 212 555 0147 ::: "
                          "201-555-0100,NH,NY ::: NJ\nB,,+44 20 7946 0958,,Not Found\n")
            << QByteArray();
        QTest::newRow("named for each, with reasons")
            << QStringList{"-c",       "3",
                           "-c",       "2",
                           "--header", "--result-name",
                           "Second",   "--result-name",
                           "First",    "--reason"}
            << QByteArray("Name,Phone 1 - Value,Phone 2 - Value,Second,Reason,First,Reason\n"
                          "A,(603) 237-4934,+1 212 555 0147 ::: 201-555-0100,NY ::: NJ,,NH,\n"
                          "B,,+44 20 7946 0958,Not Found,not a North American number (+44),,\n")
            << QByteArray();
        QTest::newRow("the second is missing")
            << QStringList{"-c", "Phone 1 - Value", "-c", "Mobile"} << QByteArray()
            << QByteArray("no column named Mobile; its columns are Name, Phone 1 - Value, Phone 2 "
                          "- Value\n");
        QTest::newRow("the summary counts every cell")
            << QStringList{"-c", "Phone 1 - Value", "-c", "Phone 2 - Value", "--summary"}
            << QByteArray("Group\tName\tCount\tShare %\nResult\tBlank\t1\t20.00\n"
                          "Result\tNH\t1\t20.00\nResult\tNJ\t1\t20.00\nResult\tNY\t1\t20.00\n"
                          "Result\tNot Found\t1\t20.00\n"
                          "Reason\tnot a North American number (+44)\t1\t20.00\n"
                          "State\tNH\t1\t20.00\nState\tNJ\t1\t20.00\nState\tNY\t1\t20.00\n"
                          "Total\t\t5\t100.00\n")
            << QByteArray();
    }
    void severalColumnsInOnePass() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, said);
        const QByteArray table =
            "Name,Phone 1 - Value,Phone 2 - Value\n"
            "A,(603) 237-4934,+1 212 555 0147 ::: 201-555-0100\nB,,+44 20 7946 0958\n";
        const Outcome outcome = runProgram(arguments, table);
        QCOMPARE(outcome.out, output);
        QCOMPARE(outcome.status, output.isEmpty() ? 2 : 0);
        QVERIFY2(said.isEmpty() ? outcome.err.isEmpty() : outcome.err.endsWith(said),
                 outcome.err.constData());
    }

    // Rows that only look alike to a careless reader come out as they came.
    void columnRowsAsTheyCame_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("blank lines before the header")
            << QStringList{"--column", "Phone"} << QByteArray("\n\r\nName,Phone\na,603\n")
            << QByteArray("\n\r\nName,Phone,State\na,603,NH\n");
        QTest::newRow("a first field that begins like a mark")
            << QStringList{"--column", "2"} << QByteArray("\"\xEF\xBB\xBFx\",603\n")
            << QByteArray("\"\xEF\xBB\xBFx\",603,NH\n");
        QTest::newRow("a name twice: the first")
            << QStringList{"--column", "Phone"} << QByteArray("Phone,Phone\n603,201\n")
            << QByteArray("Phone,Phone,State\n603,201,NH\n");
    }
    void columnRowsAsTheyCame() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        const Outcome outcome = runProgram(arguments, input);
        QCOMPARE(outcome.out, output);
        QCOMPARE(outcome.status, 0);
    }

    // The time-zone fields at a fixed moment, with the user in Chicago: the
    // zones, each one's local time, and whether and when to call.
    void timeZoneFields_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("status");
        const QStringList at{"--at", "2026-07-15T12:30:00Z"};
        QTest::newRow("csv, every field")
            << QStringList{"-f", "csv", "--time-zone", "--local-time", "--callable"} + at
            << QByteArray("850\n212-555-0100 x9\n+44 20 7946 0958\n")
            << QByteArray("entry,result,time_zone,local_time,callable,opens\n"
                          "850,FL,America/Chicago America/New_York,"
                          "2026-07-15T07:30:00-05:00 2026-07-15T08:30:00-04:00,depends,"
                          "2026-07-15T08:00:00-05:00\n"
                          "212-555-0100 x9,NY,America/New_York,2026-07-15T08:30:00-04:00,yes,\n"
                          "+44 20 7946 0958,Not Found,,,,\n")
            << 0;
        QTest::newRow("tsv, states, own hours")
            << QStringList{"-f",         "tsv",         "-d",
                           "area-codes", "--time-zone", "--callable=09:00-17:00"} +
                   at
            << QByteArray("nh\n")
            << QByteArray("nh\t603\tAmerica/New_York\tno\t2026-07-15T08:00:00-05:00\n") << 0;
        QTest::newRow("a column")
            << QStringList{"--column", "Phone", "--time-zone"} + at
            << QByteArray("Name,Phone\nA,850-432-1234\nB,\n")
            << QByteArray("Name,Phone,State,Time Zone\nA,850-432-1234,FL,America/Chicago\nB,,,\n")
            << 0;
        // Clock-change days, by the zone's own rules: an opening the clocks
        // skip opens just after the gap, a repeated one at its first.
        QTest::newRow("an opening the clocks skip")
            << QStringList{"-f", "tsv", "--callable=02:00-04:00", "--at", "2026-03-08T04:00Z"}
            << QByteArray("603\n") << QByteArray("603\tNH\tno\t2026-03-08T01:00:00-06:00\n") << 0;
        QTest::newRow("an opening the clocks repeat")
            << QStringList{"-f", "tsv", "--callable=01:00-02:00", "--at", "2026-11-01T04:59Z"}
            << QByteArray("603\n") << QByteArray("603\tNH\tno\t2026-11-01T00:00:00-05:00\n") << 0;
        QTest::newRow("the repeated hour is open again")
            << QStringList{"-f", "tsv", "--callable=01:00-02:00", "--at", "2026-11-01T06:30Z"}
            << QByteArray("603\n") << QByteArray("603\tNH\tyes\t\n") << 0;
        // Several zones open when the last of them does; the closing minute is closed.
        QTest::newRow("Central and Eastern together")
            << QStringList{"-f", "tsv", "--callable", "--at", "2026-07-15T10:00Z"}
            << QByteArray("850\n") << QByteArray("850\tFL\tno\t2026-07-15T08:00:00-05:00\n") << 0;
        QTest::newRow("exactly at the closing time")
            << QStringList{"-f", "tsv", "--callable", "--at", "2026-07-16T01:00Z"}
            << QByteArray("212\n") << QByteArray("212\tNY\tno\t2026-07-16T07:00:00-05:00\n") << 0;
        QTest::newRow("a local time the clocks skip")
            << QStringList{"-f", "tsv", "--callable", "--at", "2026-03-08T02:30"}
            << QByteArray("603\n") << QByteArray() << 64;
        QTest::newRow("empty hours") << QStringList{"-f", "tsv", "--callable=08:00-08:00"}
                                     << QByteArray("603\n") << QByteArray() << 64;
        QTest::newRow("a year tzdata does not cover")
            << QStringList{"-f", "tsv", "--callable", "--at", "0001-01-01T00:00Z"}
            << QByteArray("603\n") << QByteArray() << 64;
        QTest::newRow("results have no room")
            << QStringList{"--time-zone"} << QByteArray("603\n") << QByteArray() << 64;
        QTest::newRow("hours of another shape") << QStringList{"-f", "tsv", "--callable=8-21"}
                                                << QByteArray("603\n") << QByteArray() << 64;
        QTest::newRow("a moment of another shape")
            << QStringList{"-f", "tsv", "--callable", "--at", "noon"} << QByteArray("603\n")
            << QByteArray() << 64;
    }
    void timeZoneFields() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("America/Chicago"));
        environment.insert(QStringLiteral("TZDIR"), QStringLiteral("/usr/share/zoneinfo"));
        program.setProcessEnvironment(environment);
        program.start(kProgram, QStringList{"--database", kDatabase} + arguments);
        program.write(input);
        program.closeWriteChannel();
        QVERIFY(program.waitForFinished(60'000));
        QTEST(program.readAllStandardOutput(), "output");
        QTEST(program.exitCode(), "status");
    }

    // Zones the system cannot load are said to be unknown, once, and never
    // answered "no"; a TZ it does not know gives times in UTC.
    void unknownZonesAreSaidSo() {
        QTemporaryDir empty;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("Garbage/Zone"));
        program.setProcessEnvironment(environment);
        program.start(kProgram, {"--database", kDatabase, "-f", "tsv", "--callable", "--at",
                                 "2026-07-15T02:00Z"});
        program.write("603\n");
        program.closeWriteChannel();
        QVERIFY(program.waitForFinished(60'000));
        QCOMPARE(program.readAllStandardOutput(),
                 QByteArray("603\tNH\tno\t2026-07-15T12:00:00+00:00\n"));
        QCOMPARE(program.readAllStandardError(),
                 QByteArray("tallyvane-convert: the time zone Garbage/Zone (TZ) is unknown; times "
                            "are given in UTC\n"));
        // Qt reads the zones from /usr/share/zoneinfo whatever TZDIR says: an
        // empty folder is mounted over it where a private mount namespace can be made.
        QProcess hidden;
        const QString script = QStringLiteral(
            "mount --bind \"$0\" /usr/share/zoneinfo && echo 603 | TZ=UTC \"$1\" --database \"$2\" "
            "-f tsv --time-zone --local-time --callable --at 2026-07-15T16:00Z");
        hidden.start(QStringLiteral("unshare"),
                     {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                      empty.path(), kProgram, kDatabase});
        QVERIFY(hidden.waitForFinished(60'000));
        const QByteArray err = hidden.readAllStandardError();
        if (hidden.exitCode() != 0 && !err.contains("tallyvane-convert"))
            QSKIP(qPrintable("No private mount namespace here: " + QString::fromLocal8Bit(err)));
        QCOMPARE(hidden.readAllStandardOutput(),
                 QByteArray("603\tNH\tAmerica/New_York\tunknown\tunknown\t\n"));
        QVERIFY2(
            err.startsWith("tallyvane-convert: the time zone America/New_York cannot be loaded "
                           "(/usr/share/zoneinfo/America/New_York: no such file), nor can "),
            err.constData());
        QCOMPARE(err.count('\n'), 1);
        QCOMPARE(hidden.exitCode(), 0);
    }

    // Without --delimiter, the one the rows are split by, as the window's
    // column dialog finds it; said when it is not the comma.
    void delimiterFoundAsTheWindowFindsIt_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("semicolons, a comma inside a field")
            << QStringList{"--column", "Phone"} << QByteArray("Name;Phone\nDoe, J;603\nR;201\n")
            << QByteArray("Name;Phone;State\nDoe, J;603;NH\nR;201;NJ\n")
            << QByteArray("its fields are separated by semicolons");
        QTest::newRow("tabs") << QStringList{"--column", "2"} << QByteArray("a\t603\nb\t201\n")
                              << QByteArray("a\t603\tNH\nb\t201\tNJ\n")
                              << QByteArray("separated by tabs");
        QTest::newRow("commas, said nothing")
            << QStringList{"--column", "2"} << QByteArray("a;x,603\nb;y,201\n")
            << QByteArray("a;x,603,NH\nb;y,201,NJ\n") << QByteArray();
        QTest::newRow("as given") << QStringList{"--column", "2", "--delimiter", ";"}
                                  << QByteArray("a,x;603\nb,y;201\n")
                                  << QByteArray("a,x;603;NH\nb,y;201;NJ\n") << QByteArray();
    }
    void delimiterFoundAsTheWindowFindsIt() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, said);
        const Outcome outcome = runProgram(arguments, input);
        QCOMPARE(outcome.out, output);
        QCOMPARE(outcome.status, 0);
        if (said.isEmpty())
            QVERIFY(outcome.err.isEmpty());
        else
            QVERIFY2(outcome.err.contains(said), outcome.err.constData());
    }

    // Text as editors and spreadsheets save it: with a UTF-8 mark, in UTF-16
    // of either order with its mark or without; each entry a row, as the
    // window reads it, from a file and from a pipe. UTF-32 is refused by name.
    void encodedTextIsReadAsTheWindowReadsIt_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("output");
        const auto utf16 = [](const char* text, bool bigEndian, bool mark) {
            QByteArray bytes =
                mark ? QByteArray(bigEndian ? "\xFE\xFF" : "\xFF\xFE") : QByteArray();
            for (const char* p = text; *p != '\0'; ++p) {
                const char unit[2] = {bigEndian ? '\0' : *p, bigEndian ? *p : '\0'};
                bytes.append(unit, 2);
            }
            return bytes;
        };
        const char* const lines = "603\n212-555-0100\n+44 20 7946 0958\n";
        const QByteArray answers("NH\nNY\nNot Found\n");
        QTest::newRow("UTF-16 LE, marked") << utf16(lines, false, true) << QStringList{} << answers;
        QTest::newRow("UTF-16 BE, marked") << utf16(lines, true, true) << QStringList{} << answers;
        QTest::newRow("UTF-16 LE, no mark")
            << utf16(lines, false, false) << QStringList{} << answers;
        QTest::newRow("UTF-16 BE, no mark")
            << utf16(lines, true, false) << QStringList{} << answers;
        QTest::newRow("a UTF-8 mark before a foreign number")
            << QByteArray("\xEF\xBB\xBF+44 20 7946 0958\n603\n") << QStringList{}
            << QByteArray("Not Found\nNH\n");
        QTest::newRow("a UTF-8 mark before a state")
            << QByteArray("\xEF\xBB\xBFYT\n") << QStringList{"--to", "area-codes"}
            << QByteArray("867\n");
        QTest::newRow("a column of UTF-16 without a mark")
            << utf16("Name,Phone\nA,603\n", false, false) << QStringList{"--column", "Phone"}
            << QByteArray("Name,Phone,State\nA,603,NH\n");
        QTest::newRow("UTF-32") << QByteArray("\xFF\xFE\0\0"
                                              "6\0\0\0"
                                              "\n\0\0\0",
                                              12)
                                << QStringList{} << QByteArray();
    }
    void encodedTextIsReadAsTheWindowReadsIt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, output);
        QTemporaryDir dir;
        const QString file = writeFile(dir, QStringLiteral("list.txt"), bytes);
        for (const bool piped : {false, true}) {
            const Outcome outcome =
                piped ? runProgram(arguments, bytes) : runProgram(arguments + QStringList{file});
            QCOMPARE(outcome.out, output);
            QCOMPARE(outcome.status, output.isEmpty() ? 2 : 0);
            if (output.isEmpty() && !piped)
                QVERIFY2(outcome.err.contains("UTF-32 text, which is not read"),
                         outcome.err.constData());
        }
    }

    // Past one machine: a cluster splits the input at line ends and runs the
    // program on each part (Spark's RDD.pipe, Hadoop Streaming); the parts'
    // outputs, joined in order, are one run's, byte for byte. Time-zone
    // fields too, with --at fixing the moment every part answers for.
    void partsJoinedAreTheWholeRun_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("results") << QStringList{};
        QTest::newRow("a column by number, no header") << QStringList{"--column", "2"};
        QTest::newRow("time-zone fields at a fixed moment")
            << QStringList{"-f",         "tsv",  "--time-zone",         "--local-time",
                           "--callable", "--at", "2026-12-09T15:00:00Z"};
    }
    void partsJoinedAreTheWholeRun() {
        QFETCH(QStringList, arguments);
        const bool column = arguments.contains(QStringLiteral("--column"));
        QByteArray whole;
        for (int i = 0; i < 1'000'000; ++i) {
            const QByteArray number = QByteArray::number(201 + (qint64(i) * 7919) % 700) + "-555-" +
                                      QByteArray::number(1000 + i % 9000);
            whole += column ? "row" + QByteArray::number(i) + "," + number + "\n" : number + "\n";
        }
        QTemporaryDir dir;
        const QString wholeFile = writeFile(dir, QStringLiteral("whole.txt"), whole);
        QByteArray joined;
        qsizetype from = 0;
        for (int part = 1; part <= 7; ++part) {
            qsizetype to = part == 7 ? whole.size() : whole.size() * part / 7;
            to = part == 7 ? to : whole.indexOf('\n', to) + 1; // at a line end
            const QString file =
                writeFile(dir, QStringLiteral("part%1.txt").arg(part), whole.mid(from, to - from));
            const Outcome run = runProgram(arguments + QStringList{file});
            QCOMPARE(run.status, 0);
            joined += run.out;
            from = to;
        }
        const Outcome once = runProgram(arguments + QStringList{wholeFile});
        QCOMPARE(once.status, 0);
        QCOMPARE(once.out.count('\n'), 1'000'000);
        QVERIFY(joined == once.out);
    }

    // A file large enough to be converted on several threads gives every
    // field a single thread gives, the time zone too.
    void threadsGiveEveryField() {
        QTemporaryDir dir;
        QByteArray lines;
        while (lines.size() < 5'000'000)
            lines += "850-432-1234\n212-555-0147\n";
        const QString file = writeFile(dir, QStringLiteral("zones.txt"), lines);
        QByteArray outputs[2];
        for (const int threads : {1, 2}) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("TALLYVANE_CONVERT_THREADS"),
                               QString::number(threads));
            program.setProcessEnvironment(environment);
            program.start(kProgram, {"--time-zone", "-f", "tsv", file});
            QVERIFY(program.waitForFinished(120'000));
            QCOMPARE(program.exitCode(), 0);
            outputs[threads - 1] = program.readAllStandardOutput();
        }
        QVERIFY(outputs[0].startsWith("850-432-1234\tFL\tAmerica/Chicago\n"
                                      "212-555-0147\tNY\tAmerica/New_York\n"));
        QVERIFY(outputs[0].endsWith("212-555-0147\tNY\tAmerica/New_York\n"));
        QVERIFY(outputs[0] == outputs[1]);
    }

    // Under an address-space limit that leaves room for one thread and no
    // more, a file that would take several threads is converted whole by
    // those that could start, never aborted.
    void aThreadThatCannotStartLeavesItsShareToTheOthers() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("The address sanitizer's own memory does not run under an address-space cap");
#endif
        QTemporaryDir dir;
        QByteArray lines;
        for (int i = 0; i < 400'000; ++i)
            lines += QByteArray::number(201 + i % 700) + "-555-0100\n";
        const QString file = writeFile(dir, QStringLiteral("many.txt"), lines);
        const auto runCapped = [&](int kilobytes, int threads) {
            QProcess shell;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("TALLYVANE_CONVERT_THREADS"),
                               QString::number(threads));
            shell.setProcessEnvironment(environment);
            shell.start(
                QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("ulimit -v %1 && exec \"$0\" \"$1\" | wc -l").arg(kilobytes),
                 kProgram, file});
            shell.waitForFinished(60'000);
            return shell.readAllStandardOutput().trimmed().toInt();
        };
        // The least room in which one thread converts every line.
        int low = 20'000, high = 400'000;
        QCOMPARE(runCapped(high, 1), 400'000);
        while (high - low > 2'000) {
            const int middle = (low + high) / 2;
            (runCapped(middle, 1) == 400'000 ? high : low) = middle;
        }
        // Wherever one thread finds room, several do: at the floor the
        // others cannot start, a little above some start and find no room.
        for (int extra = 0; extra <= 12'000; extra += 2'000)
            for (const int threads : {2, 4})
                QCOMPARE(runCapped(high + extra, threads), 400'000);
    }

    // A file's own content decides over its name, and a column name that
    // fits several columns but for case is named as such, not as missing.
    void namedFilesAreReadByWhatTheyHold_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("tabs in a .csv file")
            << "tabs.csv" << QStringList{"--column", "Phone"} << QByteArray("Name\tPhone\na\t603\n")
            << QByteArray("Name\tPhone\tState\na\t603\tNH\n")
            << QByteArray("separated by tabs, and were read so (--delimiter chooses)\n");
        QTest::newRow("a name alike to several")
            << "alike.csv" << QStringList{"--column", "PHONE"}
            << QByteArray("phone,Phone,PHONE \n603,201,212\n") << QByteArray()
            << QByteArray("PHONE matches several columns (\"phone\", \"Phone\", \"PHONE \") but "
                          "for case and spaces; give the exact name or its number\n");
        QTest::newRow("a vCard file, whatever its name")
            << "contacts.txt" << QStringList{"--column", "Phone"}
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Ann\nTEL;TYPE=CELL:TEL;TYPE=CELL:x\n"
                          "TEL;TYPE=CELL:+44 20 7946 0958\nTEL:603-237-4934\nEND:VCARD\n")
            << QByteArray("Name,Type,Phone,State\nAnn,cell,TEL;TYPE=CELL:x,Not Found\n"
                          "Ann,cell,+44 20 7946 0958,Not Found\nAnn,,603-237-4934,NH\n")
            << QByteArray();
        QTest::newRow("a vCard file read line by line")
            << "contacts.vcf" << QStringList{} << QByteArray("BEGIN:VCARD\nFN:Ann\nEND:VCARD\n")
            << QByteArray()
            << QByteArray(
                   "contacts.vcf is a vCard file; read its phone numbers with --column Phone\n");
        QTest::newRow("a text that begins like a PDF")
            << "notes.txt" << QStringList{} << QByteArray("%PDF-1.4 is the format\n603\n")
            << QByteArray("Not Found\nNH\n") << QByteArray();
    }
    void namedFilesAreReadByWhatTheyHold() {
        QFETCH(QString, name);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, said);
        QTemporaryDir dir;
        const Outcome outcome = runProgram(arguments + QStringList{writeFile(dir, name, input)});
        QCOMPARE(outcome.out, output);
        QVERIFY2(said.isEmpty() ? outcome.err.isEmpty() : outcome.err.endsWith(said),
                 outcome.err.constData());
        QCOMPARE(outcome.status, output.isEmpty() ? 2 : 0);
    }

    // Several files make one table: each ends its own last row, the first
    // file's header and mark stand once, a file whose header differs is named
    // and none of its rows written; UTF-16 comes out as UTF-8.
    void columnFilesMakeOneTable() {
        QTemporaryDir dir;
        const QString first = writeFile(dir, QStringLiteral("1.csv"), "Name,Phone\na,603\nb,201");
        const QString second =
            writeFile(dir, QStringLiteral("2.csv"), "\xEF\xBB\xBFName,Phone\r\nc,312\r\n");
        const QString other = writeFile(dir, QStringLiteral("3.csv"), "Name,Tel\nd,212\n");
        QByteArray utf16 = "\xFF\xFE";
        for (const char c : QByteArray("Name,Phone\ne,908\n"))
            utf16 += QByteArray(1, c) + '\0';
        const QString wide = writeFile(dir, QStringLiteral("4.csv"), utf16);
        const Outcome outcome = runProgram({"--column", "Phone", first, second, other, wide});
        QCOMPARE(outcome.out,
                 QByteArray("Name,Phone,State\na,603,NH\nb,201,NJ\nc,312,IL\r\ne,908,NJ\n"));
        QCOMPARE(outcome.status, 2);
        QCOMPARE(outcome.err, "tallyvane-convert: " + other.toUtf8() +
                                  ": its header is not the first file's; none of its rows were "
                                  "written\n");
        const Outcome missing = runProgram({"--column", "Tel"}, "Name,Phone\na,603\n");
        QCOMPARE(missing.status, 2);
        QCOMPARE(missing.err,
                 QByteArray("tallyvane-convert: -: no column named Tel; its columns are Name, "
                            "Phone\n"));
        QCOMPARE(runProgram({"--column", "Phone", wide}).out,
                 QByteArray("\xEF\xBB\xBFName,Phone,State\ne,908,NJ\n"));
        // Short and long rows keep the result under its heading, and are counted.
        const Outcome ragged =
            runProgram({"--column", "Phone"}, "Name,Phone,Extra\nAnn,6035550000\n"
                                              "Bob,2015550000,x,y\n");
        QCOMPARE(ragged.out,
                 QByteArray("Name,Phone,Extra,State\nAnn,6035550000,,NH\nBob,2015550000,x,NJ,y\n"));
        QVERIFY(ragged.err.contains("1 row was shorter than the header"));
        QVERIFY(ragged.err.contains("1 row was longer than the header"));
    }

    // A CR that ends one read and an LF that opens the next are one line end.
    void crAndLfInTwoReadsEndOneLine() {
        QProcess process;
        process.start(kProgram);
        process.write("603\r");
        QByteArray out;
        for (int waits = 0; out.size() < 3 && waits < 100; ++waits) {
            process.waitForReadyRead(100);
            out += process.readAllStandardOutput();
        }
        QCOMPARE(out, QByteArray("NH\n")); // the CR has ended the line already
        process.write("\n201\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10'000));
        QCOMPARE(out + process.readAllStandardOutput(), QByteArray("NH\nNJ\n"));
    }

    // A line's result goes out as soon as the line has arrived, while the
    // input is still open (tail -f log | tallyvane-convert).
    void resultsOfAnOpenPipeComeWithoutWaitingForItsEnd_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("first");
        QTest::newRow("results") << QStringList() << QByteArray("NJ\n");
        QTest::newRow("csv") << QStringList{"-f", "csv"} << QByteArray("entry,result\n201,NJ\n");
        QTest::newRow("states") << QStringList{"--to=area-codes"} << QByteArray("603\n");
    }
    void resultsOfAnOpenPipeComeWithoutWaitingForItsEnd() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, first);
        QProcess process;
        process.start(kProgram, arguments);
        process.write(arguments.contains("--to=area-codes") ? "NH\n" : "201\n");
        QByteArray out;
        for (int waits = 0; out.size() < first.size() && waits < 100; ++waits) {
            process.waitForReadyRead(100);
            out += process.readAllStandardOutput();
        }
        QCOMPARE(out, first);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10'000));
        QCOMPARE(process.exitCode(), 0);
    }

    // A closed standard input or output is an error, as cat treats it, and
    // nothing the program opens itself is read or written in its place.
    void closedStandardStreamsAreErrors_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("input") << "\"$0\" <&-" << QByteArray()
                               << QByteArray("tallyvane-convert: -: Bad file descriptor\n");
        QTest::newRow("input, csv") << "\"$0\" -f csv <&-" << QByteArray("entry,result\n")
                                    << QByteArray("tallyvane-convert: -: Bad file descriptor\n");
        QTest::newRow("output") << "echo 201 | \"$0\" >&-" << QByteArray()
                                << QByteArray("tallyvane-convert: write error: Bad file "
                                              "descriptor\n");
        // Standard error closed: the rows still come, and a failure still
        // says so by its status, though its words go nowhere.
        QTest::newRow("error, ok")
            << "echo 201 | \"$0\" 2>&- && exit 2" << QByteArray("NJ\n") << QByteArray();
        QTest::newRow("error, failing") << "printf 'A,B\\n1,2\\n' | \"$0\" --column Missing 2>&-"
                                        << QByteArray() << QByteArray();
    }
    void closedStandardStreamsAreErrors() {
        QFETCH(QString, command);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QProcess shell;
        shell.start(QStringLiteral("bash"), {"-c", command, kProgram});
        QVERIFY(shell.waitForFinished(10'000));
        QCOMPARE(shell.exitCode(), 2);
        QCOMPARE(shell.readAllStandardOutput(), out);
        QCOMPARE(shell.readAllStandardError(), err);
    }

    // Running out of memory anywhere is one clear line and status 2, never an
    // abort with a core dump.
    void runningOutOfMemoryIsOneLineAndStatus2() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("The address sanitizer's own memory does not run under an address-space cap");
#endif
        // Just above what the program and its libraries take to start, and well above.
        for (const char* cap : {"72000", "160000"}) {
            QProcess shell;
            shell.start(QStringLiteral("bash"),
                        {"-c", "ulimit -v $1; yes 201 | head -n 60000000 | \"$0\" -f text",
                         kProgram, QString::fromLatin1(cap)});
            QVERIFY(shell.waitForFinished(120'000));
            QCOMPARE(shell.exitStatus(), QProcess::NormalExit);
            QCOMPARE(shell.exitCode(), 2);
            QCOMPARE(shell.readAllStandardError(),
                     QByteArray("tallyvane-convert: out of memory; the output is incomplete\n"));
            QCOMPARE(shell.readAllStandardOutput(), QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(TestConvertProgram)
#include "test_convert_program.moc"
