// The SQL functions, loaded into SQLite as a person loads them: the same
// answers as tallyvane-convert gives for the same entries, NULLs where
// nothing is found, non-text arguments, use in a schema with trusted_schema
// off, and a load that finds no database.
#include "support/temp_files.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <memory>
#include <optional>

namespace {

const QString kExtension = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/libtallyvane_sqlite.so");
const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/bin/tallyvane-convert");

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Connection openWithExtension(const QString& extension) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    Connection connection(db, sqlite3_close);
    sqlite3_enable_load_extension(db, 1);
    char* error = nullptr;
    if (sqlite3_load_extension(db, QFile::encodeName(extension).constData(), nullptr, &error) !=
        SQLITE_OK) {
        qWarning("%s", error ? error : "");
        sqlite3_free(error);
        return {nullptr, sqlite3_close};
    }
    return connection;
}

// The first column of the first row; nullopt for NULL.
std::optional<QByteArray> one(sqlite3* db, const QByteArray& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return QByteArray("error: ") + sqlite3_errmsg(db);
    std::optional<QByteArray> value;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
        value = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return value;
}

QByteArray quoted(const char* entry) {
    return "'" + QByteArray(entry).replace("'", "''") + "'";
}

} // namespace

class TestSqliteExtension : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Copied where no database lies beside it, and loaded by Python's sqlite3
    // in a process of its own: the load fails and says where it looked.
    void aMissingDatabaseFailsTheLoad() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("An instrumented extension does not load into an uninstrumented python3");
#endif
        if (QFile::exists(QStringLiteral(TALLYVANE_DATA_DIR "/areacodes.db")))
            QSKIP("an installed database would be found");
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("libtallyvane_sqlite.so"));
        QVERIFY(QFile::copy(kExtension, copy));
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import sqlite3, sys\n"
                                     "db = sqlite3.connect(':memory:')\n"
                                     "db.enable_load_extension(True)\n"
                                     "try:\n"
                                     "    db.load_extension(sys.argv[1])\n"
                                     "except sqlite3.OperationalError as e:\n"
                                     "    print(e)\n"),
                      copy});
        QVERIFY(python.waitForFinished(60'000));
        const QString said = QString::fromUtf8(python.readAllStandardOutput());
        QVERIFY2(said.contains(QStringLiteral("tallyvane: Cannot read the area-code database ") +
                               dir.filePath(QStringLiteral("areacodes.db"))),
                 qPrintable(said + QString::fromUtf8(python.readAllStandardError())));
    }

    // One table of entries and their answers, from SQL and from the batch
    // program alike.
    void answersAsTheBatchProgramDoes() {
        const Connection db = openWithExtension(kExtension);
        QVERIFY(db);
        const struct {
            const char* entry;
            const char* state; // null: NULL, "Not Found"
            const char* reason;
            const char* zones;
        } rows[] = {
            {"603-237-4934", "NH", nullptr, "America/New_York"},
            {"1 (212) 555-0147", "NY", nullptr, "America/New_York"},
            {"867", "NT NU YT", nullptr,
             "America/Edmonton America/Toronto America/Whitehorse America/Winnipeg"},
            {"850-432-1234", "FL", nullptr, "America/Chicago"},
            {"999", nullptr, "area code 999 is not assigned", nullptr},
            {"+44 20 7946 0958", nullptr, "not a North American number (+44)", nullptr},
            {"(603) 237-4934 ::: +1 212 555 0147", "NH ::: NY", nullptr, "America/New_York"},
        };
        QByteArray lines;
        QByteArray expected;
        for (const auto& row : rows) {
            const QByteArray entry = quoted(row.entry);
            const auto same = [](const std::optional<QByteArray>& got, const char* want) {
                return want ? got == QByteArray(want) : !got.has_value();
            };
            QVERIFY2(same(one(db.get(), "SELECT tallyvane_state(" + entry + ")"), row.state),
                     row.entry);
            QVERIFY2(same(one(db.get(), "SELECT tallyvane_reason(" + entry + ")"), row.reason),
                     row.entry);
            QVERIFY2(same(one(db.get(), "SELECT tallyvane_time_zones(" + entry + ")"), row.zones),
                     row.entry);
            lines += QByteArray(row.entry) + "\n";
            expected += QByteArray(row.entry) + "\t" + (row.state ? row.state : "Not Found") +
                        "\t" + (row.reason ? row.reason : "") + "\t" +
                        (row.zones ? row.zones : "") + "\n";
        }
        QTemporaryDir dir;
        const QString input = tallyvane::testing::writeFile(dir, QStringLiteral("e.txt"), lines);
        QProcess program;
        program.start(kProgram, {"-f", "tsv", "--reason", "--time-zone", input});
        QVERIFY(program.waitForFinished(60'000));
        QCOMPARE(program.readAllStandardOutput(), expected);

        QCOMPARE(one(db.get(), "SELECT tallyvane_area_codes('nh')"), QByteArray("603"));
        QVERIFY(!one(db.get(), "SELECT tallyvane_area_codes('Nowhere')"));
    }

    // NULL stays NULL; an integer reads as its digits, a blob as its text.
    void argumentsOfEveryType() {
        const Connection db = openWithExtension(kExtension);
        QVERIFY(db);
        QCOMPARE(one(db.get(), "SELECT tallyvane_state(6032374934)"), QByteArray("NH"));
        QCOMPARE(one(db.get(), "SELECT tallyvane_state(x'3231322d3535352d30313437')"),
                 QByteArray("NY"));
        for (const char* function : {"state", "reason", "area_codes", "time_zones"})
            QVERIFY(!one(db.get(), QByteArray("SELECT tallyvane_") + function + "(NULL)"));
    }

    // Deterministic and innocuous: an index on an expression and a
    // generated column, with trusted_schema off.
    void usableInASchema() {
        const Connection db = openWithExtension(kExtension);
        QVERIFY(db);
        const char* sql = "PRAGMA trusted_schema = OFF;"
                          "CREATE TABLE contacts (phone TEXT, state TEXT GENERATED ALWAYS AS "
                          "(tallyvane_state(phone)) VIRTUAL);"
                          "CREATE INDEX by_state ON contacts (tallyvane_state(phone));"
                          "INSERT INTO contacts (phone) VALUES ('603-237-4934'), ('999');";
        char* error = nullptr;
        QVERIFY2(sqlite3_exec(db.get(), sql, nullptr, nullptr, &error) == SQLITE_OK, error);
        QCOMPARE(one(db.get(), "SELECT group_concat(coalesce(state, '-'), ',') FROM contacts"),
                 QByteArray("NH,-"));
        QCOMPARE(one(db.get(), "SELECT count(*) FROM contacts WHERE tallyvane_state(phone) = 'NH'"),
                 QByteArray("1"));
    }
};

QTEST_GUILESS_MAIN(TestSqliteExtension)
#include "test_sqlite_extension.moc"
