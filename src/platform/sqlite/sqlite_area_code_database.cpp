#include "platform/sqlite/sqlite_area_code_database.h"

#include "platform/failure.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>

namespace tallyvane {

namespace {

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// One connection with both statements prepared once and reused for every
// entry, inside one read transaction for the whole run: autocommit would
// take and drop the file lock for every single query.
class SqliteAreaCodeDatabase : public AreaCodeDatabase {
public:
    explicit SqliteAreaCodeDatabase(const QString& path) : path_(path) {
        const QByteArray file = QFile::encodeName(path);
        const int rc = sqlite3_open_v2(file.constData(), &db_,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK)
            fail();
        defend();
        checkShape("area_codes", true);
        prepare("SELECT state_cd FROM area_codes WHERE area_cd = ?1", &byCode_);
        prepare("SELECT area_cd FROM area_codes WHERE state_cd = ?1 or location_name = ?2",
                &byState_);
        if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
        for (const char* column : kColumns)
            checkColumn(column);
    }

    FieldValues statesForAreaCode(const QString& code) override {
        bind(byCode_, 1, code);
        return collect(byCode_);
    }

    FieldValues areaCodesForState(const QString& stateCode, const QString& locationName) override {
        bind(byState_, 1, stateCode);
        bind(byState_, 2, locationName);
        return collect(byState_);
    }

    std::vector<QString> columnValues(AreaCodeColumn column) override {
        // Only text values can equal an entry: the queries bind text.
        const QByteArray name = kColumns[static_cast<int>(column)];
        sqlite3_stmt* statement = nullptr;
        prepare("SELECT " + name + " FROM area_codes WHERE typeof(" + name + ") = 'text'",
                &statement);
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(statement,
                                                                          sqlite3_finalize);
        std::vector<QString> values;
        for (auto& value : collect(statement))
            values.push_back(std::move(*value));
        return values;
    }

    std::vector<SpecialCode> specialCodes() override {
        std::vector<SpecialCode> codes;
        forEachRow("special_codes", "place", "SELECT area_cd, kind, place FROM special_codes",
                   [&](const auto& text) {
                       codes.push_back({text(0), text(1), text(2)});
                   });
        return codes;
    }

    std::vector<CodeZones> codeZones() override {
        std::vector<CodeZones> rows;
        forEachRow("time_zones", "zones", "SELECT area_cd, exchange, zones FROM time_zones",
                   [&](const auto& text) {
                       rows.push_back({text(0), text(1), text(2).split(u' ', Qt::SkipEmptyParts)});
                   });
        return rows;
    }

    std::vector<StateZones> stateZones() override {
        std::vector<StateZones> rows;
        forEachRow("state_time_zones", "zones",
                   "SELECT DISTINCT a.state_cd, a.location_name, s.zones FROM area_codes a "
                   "JOIN state_time_zones s ON s.state_cd = a.state_cd",
                   [&](const auto& text) {
                       rows.push_back({text(0), text(1), text(2).split(u' ', Qt::SkipEmptyParts)});
                   });
        return rows;
    }

private:
    // Calls take(text) for each row of the query, where text(i) is column i;
    // nothing when the table is not there (a database made by an older build).
    template <class Take>
    void forEachRow(const char* table, const char* column, const char* sql, Take&& take) {
        if (sqlite3_table_column_metadata(db_, nullptr, table, column, nullptr, nullptr, nullptr,
                                          nullptr, nullptr) != SQLITE_OK)
            return;
        checkShape(table, false);
        sqlite3_stmt* statement = nullptr;
        prepare(sql, &statement);
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(statement,
                                                                          sqlite3_finalize);
        const auto text = [statement](int i) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                sqlite3_column_bytes(statement, i));
        };
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            take(text);
        if (rc != SQLITE_DONE)
            fail();
    }

    static constexpr const char* kColumns[] = {"area_cd", "state_cd", "location_name"};
    // Far above any real value (a place name, a code), far below memory.
    static constexpr int kLongestValue = 1 << 20;

    [[noreturn]] void fail(const QString& cause) {
        throw Failure(
            QStringLiteral("Cannot read the area-code database %1: %2").arg(path_, cause));
    }
    [[noreturn]] void fail() { fail(db_ ? sqliteMessage(db_) : QStringLiteral("out of memory")); }

    // A database given on the command line may come from anywhere: it runs
    // no function of its schema's choosing, cannot be changed through this
    // connection, and no value in it may be longer than any real row could
    // be, so a column computed to hundreds of megabytes is an error, not a
    // run that eats the memory.
    void defend() {
        int set = 0;
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, &set);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &set);
        sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kLongestValue);
        sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, kLongestValue);
    }

    // The table is a plain table whose columns are stored as they are: no
    // view, and no column computed when it is read.
    void checkShape(const char* table, bool required) {
        sqlite3_stmt* statement = nullptr;
        prepare(QByteArray("SELECT type FROM sqlite_schema WHERE name = '") + table + "'",
                &statement);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(statement, sqlite3_finalize);
        const int rc = sqlite3_step(statement);
        const QByteArray type =
            rc == SQLITE_ROW
                ? QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)))
                : QByteArray();
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            fail();
        if (type.isEmpty() && !required)
            return;
        if (type.isEmpty())
            fail(QStringLiteral("no such table: %1").arg(QLatin1String(table)));
        if (type != "table")
            fail(QStringLiteral("%1 is not a table").arg(QLatin1String(table)));
        prepare(QByteArray("SELECT name FROM pragma_table_xinfo('") + table +
                    "') WHERE hidden <> 0",
                &statement);
        owned.reset(statement);
        if (sqlite3_step(statement) == SQLITE_ROW)
            fail(QStringLiteral("column %1 of %2 is computed, not stored")
                     .arg(QString::fromUtf8(
                              reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))),
                          QLatin1String(table)));
    }

    // Answers are read once and then matched in memory by NOCASE text
    // equality; a column that compares any other way would give other answers.
    void checkColumn(const char* column) {
        const char* type = nullptr;
        const char* collation = nullptr;
        if (sqlite3_table_column_metadata(db_, nullptr, "area_codes", column, &type, &collation,
                                          nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
        const QByteArray declared = QByteArray(type ? type : "").toUpper();
        const bool textAffinity =
            !declared.contains("INT") &&
            (declared.contains("CHAR") || declared.contains("CLOB") || declared.contains("TEXT"));
        if (!textAffinity || qstricmp(collation, "NOCASE") != 0)
            fail(QStringLiteral("column %1 of area_codes is not TEXT COLLATE NOCASE")
                     .arg(QLatin1String(column)));
    }

    void prepare(const QByteArray& sql, sqlite3_stmt** statement) {
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, statement, nullptr) != SQLITE_OK)
            fail();
    }

    void bind(sqlite3_stmt* statement, int index, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        if (sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK)
            fail();
    }

    FieldValues collect(sqlite3_stmt* statement) {
        FieldValues values;
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            if (sqlite3_column_type(statement, 0) == SQLITE_NULL) {
                values.emplace_back(std::nullopt);
            } else {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
                values.emplace_back(QString::fromUtf8(text, sqlite3_column_bytes(statement, 0)));
            }
        }
        sqlite3_reset(statement);
        if (rc != SQLITE_DONE)
            fail();
        return values;
    }

    // Owns the handles, so that a constructor that throws half-way releases them too.
    struct Handles {
        sqlite3* db = nullptr;
        sqlite3_stmt* byCode = nullptr;
        sqlite3_stmt* byState = nullptr;
        Handles() = default;
        Handles(const Handles&) = delete;
        Handles& operator=(const Handles&) = delete;
        ~Handles() {
            sqlite3_finalize(byCode);
            sqlite3_finalize(byState);
            if (db && !sqlite3_get_autocommit(db))
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
    };

    QString path_;
    Handles h_;
    sqlite3*& db_ = h_.db;
    sqlite3_stmt*& byCode_ = h_.byCode;
    sqlite3_stmt*& byState_ = h_.byState;
};

} // namespace

QString SqliteAreaCodeDatabaseOpener::chosenPath() const {
    for (const QString& path : candidates_) {
        if (QFileInfo::exists(path))
            return path;
    }
    return candidates_.value(0);
}

std::unique_ptr<AreaCodeDatabase> SqliteAreaCodeDatabaseOpener::open() {
    const QString path = chosenPath();
    const QFileInfo file(path);
    if (!file.exists()) {
        // Every place looked in, so that a person can see where it belongs.
        const QStringList elsewhere = candidates_.mid(1);
        throw Failure(
            QStringLiteral("Cannot read the area-code database %1: the file does not exist")
                .arg(path) +
            (elsewhere.isEmpty() ? QString()
                                 : QStringLiteral(" (also looked for %1)")
                                       .arg(elsewhere.join(QStringLiteral(" and ")))));
    }
    // SQLite would wait for ever on a FIFO with no writer, and read a device without end.
    if (!file.isFile())
        throw Failure(QStringLiteral("Cannot read the area-code database %1: %2")
                          .arg(path, file.isDir() ? qt_error_string(EISDIR)
                                                  : QStringLiteral("Not a regular file")));
    return std::make_unique<SqliteAreaCodeDatabase>(path);
}

} // namespace tallyvane
