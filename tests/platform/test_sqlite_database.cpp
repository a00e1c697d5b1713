// The real database file, built by the build's own tool from a CSV.
#include "conversion/area_code_table.h"
#include "conversion/conversion_run.h"
#include "platform/data_files.h"
#include "platform/failure.h"
#include "platform/sqlite/sqlite_area_code_database.h"
#include "support/fakes.h"
#include "support/temp_files.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

QString buildDatabase(const QTemporaryDir& dir, const QByteArray& csv,
                      const QByteArray& special = "area_cd,kind,place,source\n"
                                                  "800,toll-free,,NANPA\n"
                                                  "876,country,Jamaica,NANPA\n") {
    const QString csvPath = writeFile(dir, QStringLiteral("area_codes.csv"), csv);
    const QString specialPath = writeFile(dir, QStringLiteral("special_codes.csv"), special);
    const QString dbPath = dir.filePath(QStringLiteral("areacodes.db"));
    const int rc =
        QProcess::execute(QStringLiteral(TALLYVANE_BINARY_DIR "/tools/build_areacodes_db"),
                          {csvPath, specialPath, dbPath});
    if (rc != 0)
        qFatal("build_areacodes_db failed");
    return dbPath;
}

const QByteArray kTable = "area_cd,state_cd,location_name\n"
                          "201,NJ,New Jersey\n"
                          "551,NJ,New Jersey\n"
                          "603,NH,New Hampshire\n"
                          "609,NJ,New Jersey\n"
                          "732,NJ,New Jersey\n"
                          "902,NS,Nova Scotia\n"
                          "902,PE,Prince Edward Island\n"
                          "999,O'Brien,\"Quoted, Name\"\n";

QStringList values(const FieldValues& fields) {
    QStringList texts;
    for (const auto& field : fields)
        texts << field.value_or(QStringLiteral("<null>"));
    return texts;
}

} // namespace

class TestSqliteDatabase : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path_;

private Q_SLOTS:
    void initTestCase() { path_ = buildDatabase(dir_, kTable); }

    void matchesIgnoreCaseAndKeepTableOrder() {
        SqliteAreaCodeDatabaseOpener opener({path_});
        auto db = opener.open();
        QCOMPARE(values(db->statesForAreaCode(QStringLiteral("603"))), QStringList({"NH"}));
        QCOMPARE(values(db->statesForAreaCode(QStringLiteral("902"))), QStringList({"NS", "PE"}));
        QVERIFY(db->statesForAreaCode(QString()).empty());
        QCOMPARE(values(db->areaCodesForState(QStringLiteral("nj"), QStringLiteral("nj"))),
                 QStringList({"201", "551", "609", "732"}));
        QCOMPARE(values(db->areaCodesForState(QStringLiteral("NEW HAMPSHIRE"),
                                              QStringLiteral("NEW HAMPSHIRE"))),
                 QStringList({"603"}));
        QCOMPARE(values(db->areaCodesForState(QStringLiteral("quoted, name"),
                                              QStringLiteral("quoted, name"))),
                 QStringList({"999"}));
    }

    void apostrophesAreLookedUpLiterally() {
        SqliteAreaCodeDatabaseOpener opener({path_});
        auto db = opener.open();
        QCOMPARE(
            values(db->areaCodesForState(QStringLiteral("O'Brien"), QStringLiteral("O'Brien"))),
            QStringList({"999"}));
        const QString injection = QStringLiteral("' or '1'='1");
        QVERIFY(db->areaCodesForState(injection, injection).empty());
        QVERIFY(db->statesForAreaCode(QStringLiteral("'; DROP TABLE area_codes; --")).empty());
        QCOMPARE(values(db->statesForAreaCode(QStringLiteral("603"))), QStringList({"NH"}));
    }

    void unusableFilesNameTheFileAndTheCause_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing") << QByteArray() << "the file does not exist";
        QTest::newRow("not a database")
            << QByteArray("hello, this is text\n").repeated(100) << "file is not a database";
        QTest::newRow("empty database") << QByteArray("-") << "no such table: area_codes";
    }
    void unusableFilesNameTheFileAndTheCause() {
        QFETCH(QByteArray, content);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("areacodes.db"));
        if (content == "-") {
            QFile(path).open(QIODevice::WriteOnly); // zero bytes: SQLite sees an empty database
        } else if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        SqliteAreaCodeDatabaseOpener opener({path});
        try {
            opener.open();
            QFAIL("open() should have failed");
        } catch (const Failure& failure) {
            QCOMPARE(failure.description(),
                     QStringLiteral("Cannot read the area-code database %1: %2").arg(path, cause));
        }
    }

    void specialFilesAreRefusedWithoutBlocking() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("areacodes.db"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QList<std::pair<QString, QString>> cases = {{fifo, "Not a regular file"},
                                                          {"/dev/zero", "Not a regular file"},
                                                          {dir.path(), "Is a directory"}};
        for (const auto& [path, cause] : cases) {
            SqliteAreaCodeDatabaseOpener opener({path});
            auto opening = std::async(std::launch::async, [&] {
                try {
                    opener.open();
                    return QStringLiteral("opened");
                } catch (const Failure& failure) {
                    return failure.description();
                }
            });
            if (opening.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
                // A writer lets the blocked open return, so the test can end.
                const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
                opening.wait();
                ::close(writer);
                QFAIL(qPrintable(path + QStringLiteral(" blocked the opening")));
            }
            QCOMPARE(opening.get(),
                     QStringLiteral("Cannot read the area-code database %1: %2").arg(path, cause));
        }
    }

    // The in-memory table gives, for every value and any ASCII case of it, what
    // the query itself gives, in the same order.
    void tableAnswersAsTheQueriesDo() {
        SqliteAreaCodeDatabaseOpener opener({path_});
        auto db = opener.open();
        const AreaCodeTable table = AreaCodeTable::read(*db);
        for (const QString code : {"603", "902", "999", "000", "", "60"})
            QCOMPARE(table.row(table.statesFor(AreaCode::exact(code))),
                     resultRowText(db->statesForAreaCode(code)));
        for (const QString state : {"nj", "New Jersey", "NEW JERSEY", "o'brien", "Quoted, name",
                                    "Prince Edward Island ", "Nowhere", ""})
            QCOMPARE(table.row(table.areaCodesFor(state)),
                     resultRowText(db->areaCodesForState(state, state)));
    }

    // A database that is not shaped as ours, or holds a value no real row
    // has, is refused with its reason before a run reads it.
    void refusesWhatIsNotShapedAsOurs_data() {
        QTest::addColumn<QByteArray>("schema");
        QTest::addColumn<QString>("reason");
        const QByteArray columns = "area_cd TEXT COLLATE NOCASE, state_cd TEXT COLLATE NOCASE, "
                                   "location_name TEXT COLLATE NOCASE";
        QTest::newRow("a column that compares otherwise")
            << QByteArray("CREATE TABLE area_codes (area_cd TEXT COLLATE NOCASE, state_cd TEXT, "
                          "location_name TEXT COLLATE NOCASE)")
            << QStringLiteral("column state_cd of area_codes is not TEXT COLLATE NOCASE");
        QTest::newRow("a computed column")
            << QByteArray("CREATE TABLE area_codes (area_cd TEXT COLLATE NOCASE, state_cd TEXT "
                          "COLLATE NOCASE, location_name TEXT COLLATE NOCASE GENERATED ALWAYS AS "
                          "(hex(zeroblob(100000000))) VIRTUAL); INSERT INTO area_codes "
                          "(area_cd, state_cd) VALUES ('603', 'NH')")
            << QStringLiteral("column location_name of area_codes is computed, not stored");
        // The optional tables are held to the same shape when they are there.
        QTest::newRow("a computed column in time_zones")
            << "CREATE TABLE area_codes (" + columns +
                   "); INSERT INTO area_codes VALUES ('603', 'NH', 'New Hampshire'); CREATE TABLE "
                   "time_zones (area_cd TEXT, exchange TEXT, zones TEXT GENERATED ALWAYS AS "
                   "('America/New_York') VIRTUAL); INSERT INTO time_zones (area_cd, exchange) "
                   "VALUES ('603', '')"
            << QStringLiteral("column zones of time_zones is computed, not stored");
        QTest::newRow("a view") << "CREATE TABLE t (" + columns +
                                       "); CREATE VIEW area_codes AS SELECT * FROM t"
                                << QStringLiteral("area_codes is not a table");
        QTest::newRow("a value longer than any row")
            << "CREATE TABLE area_codes (" + columns +
                   "); INSERT INTO area_codes VALUES ('603', 'NH', hex(zeroblob(2000000)))"
            << QStringLiteral("string or blob too big");
    }
    void refusesWhatIsNotShapedAsOurs() {
        QFETCH(QByteArray, schema);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("odd.db"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        try {
            auto opened = SqliteAreaCodeDatabaseOpener({path}).open();
            AreaCodeTable::read(*opened);
            opened->codeZones();
            QFAIL("the database should have been refused");
        } catch (const Failure& failure) {
            QCOMPARE(failure.description(),
                     QStringLiteral("Cannot read the area-code database %1: %2").arg(path, reason));
        }
    }

    void looksBesideTheProgramThenInTheDataFolder() {
        const QStringList paths =
            dataFileCandidates(QStringLiteral("/opt/tv/bin"), QStringLiteral("areacodes.db"));
        QCOMPARE(paths.size(), 2);
        QCOMPARE(paths[0], QStringLiteral("/opt/tv/bin/areacodes.db"));
        QCOMPARE(paths[1], QStringLiteral("/opt/tv/share/tallyvane/areacodes.db"));
        SqliteAreaCodeDatabaseOpener opener({dir_.filePath(QStringLiteral("absent.db")), path_});
        QCOMPARE(opener.chosenPath(), path_);

        const QStringList looked =
            dataFileCandidates(dir_.filePath("bin"), QStringLiteral("areacodes.db"));
        SqliteAreaCodeDatabaseOpener nowhere(looked);
        try {
            nowhere.open();
            QFAIL("open() should have failed");
        } catch (const Failure& failure) {
            QCOMPARE(failure.description(),
                     QStringLiteral("Cannot read the area-code database %1: the file does not "
                                    "exist (also looked for %2)")
                         .arg(looked[0], looked[1]));
        }
    }

    void wholeRunAgainstTheRealFile() {
        FakePlatform platform;
        SqliteAreaCodeDatabaseOpener opener({path_});
        ConversionRun run(platform.runServices(&opener));
        platform.addEntries({"NH", "603", "New Hampshire", "1-902-555-0100"});
        run.PushButton17_Click();
        QCOMPARE(platform.resultTexts(), QStringList({"Not Found", "NH", "Not Found", "NS PE"}));
        platform.options.option1 = false;
        platform.options.option2 = true;
        run.PushButton17_Click();
        QCOMPARE(platform.resultTexts(), QStringList({"603", "Not Found", "603", "Not Found"}));
        QVERIFY(platform.prompts.errorReports().empty());
    }
};

QTEST_GUILESS_MAIN(TestSqliteDatabase)
#include "test_sqlite_database.moc"
