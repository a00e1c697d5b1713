// The SQL functions: a loadable SQLite extension that answers as the window
// and tallyvane-convert do, from the same core and the same database.
//   .load libtallyvane_sqlite
//   SELECT tallyvane_state('603-237-4934');  -- NH
#include "commands/product.h"
#include "conversion/area_code_table.h"
#include "conversion/entry_answer.h"
#include "conversion/several_numbers.h"
#include "conversion/time_zones.h"
#include "platform/sqlite/sqlite_area_code_database.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include <dlfcn.h>
#include <sqlite3ext.h>

SQLITE_EXTENSION_INIT1

namespace {

using namespace tallyvane;

// Read once, at load, and shared by the functions of the connection.
struct Tables {
    AreaCodeTable codes;
    TimeZoneTable zones;
};

// The database beside the extension (a build tree; a link to it counts as
// it), else the installed one.
QStringList databaseCandidates() {
    QStringList candidates;
    Dl_info self{};
    if (::dladdr(reinterpret_cast<void*>(&databaseCandidates), &self) != 0 && self.dli_fname)
        candidates << QFileInfo(
                          QFileInfo(QString::fromLocal8Bit(self.dli_fname)).canonicalFilePath())
                              .absolutePath() +
                          QLatin1Char('/') + kDatabaseFileName;
    candidates << QStringLiteral(TALLYVANE_DATA_DIR "/") + kDatabaseFileName;
    return candidates;
}

// NULL stays NULL; an integer reads as its digits and a blob as text, as
// SQLite's own text of them.
bool entryOf(sqlite3_value* value, std::string_view& entry) {
    if (sqlite3_value_type(value) == SQLITE_NULL)
        return false;
    const auto* text = sqlite3_value_text(value);
    entry = std::string_view(reinterpret_cast<const char*>(text),
                             std::size_t(sqlite3_value_bytes(value)));
    return text != nullptr;
}

void resultText(sqlite3_context* context, std::string_view text) {
    if (text.empty())
        return sqlite3_result_null(context);
    sqlite3_result_text(context, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

// The answer for one entry, several numbers in a cell answered each.
template <class Take>
void answer(sqlite3_context* context, Direction direction, std::string_view entry, bool withReason,
            Take&& take) {
    const auto& tables = *static_cast<const Tables*>(sqlite3_user_data(context));
    if (direction == Direction::AreaCodesToStates && entry.find(':') != std::string_view::npos)
        if (const std::vector<std::string_view> numbers = severalNumbers(entry); !numbers.empty())
            return take(SeveralAnswers(tables.codes, numbers, withReason).joined());
    take(answerFor(tables.codes, direction, entry, withReason));
}

// The results row for one direction; NULL for "Not Found".
template <Direction direction>
void resultRow(sqlite3_context* context, int, sqlite3_value** arguments) {
    std::string_view entry;
    if (!entryOf(arguments[0], entry))
        return sqlite3_result_null(context);
    answer(context, direction, entry, false, [&](const EntryAnswer& found) {
        found.id == AreaCodeTable::kNotFound ? sqlite3_result_null(context)
                                             : resultText(context, found.result);
    });
}

void reason(sqlite3_context* context, int, sqlite3_value** arguments) {
    std::string_view entry;
    if (!entryOf(arguments[0], entry))
        return sqlite3_result_null(context);
    answer(context, Direction::AreaCodesToStates, entry, true,
           [&](const EntryAnswer& found) { resultText(context, found.reason); });
}

void timeZones(sqlite3_context* context, int, sqlite3_value** arguments) {
    std::string_view entry;
    if (!entryOf(arguments[0], entry))
        return sqlite3_result_null(context);
    const auto& tables = *static_cast<const Tables*>(sqlite3_user_data(context));
    const bool found = answerFor(tables.codes, Direction::AreaCodesToStates, entry, false).id !=
                       AreaCodeTable::kNotFound;
    const QStringList& zones =
        tables.zones.zones(tables.zones.forEntry(Direction::AreaCodesToStates, entry, found));
    resultText(context, zones.join(QLatin1Char(' ')).toStdString());
}

// Read once for the process, at the first load; every connection that loads
// the extension shares them.
const Tables* loadedTables(std::string& error) {
    static std::mutex lock;
    static std::unique_ptr<const Tables> tables;
    const std::lock_guard<std::mutex> held(lock);
    if (tables)
        return tables.get();
    const QStringList candidates = databaseCandidates();
    try {
        SqliteAreaCodeDatabaseOpener opener(candidates);
        const std::unique_ptr<AreaCodeDatabase> database = opener.open();
        tables = std::make_unique<const Tables>(
            Tables{AreaCodeTable::read(*database), TimeZoneTable::read(*database)});
    } catch (const std::exception& failure) {
        error = std::string("tallyvane: ") + failure.what();
    }
    return tables.get();
}

} // namespace

extern "C" {

// The entry point SQLite looks for in libtallyvane_sqlite.so, and the
// default one.
int sqlite3_tallyvanesqlite_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    std::string failure;
    const Tables* tables = loadedTables(failure);
    if (!tables) {
        *error = sqlite3_mprintf("%s", failure.c_str());
        return SQLITE_ERROR;
    }
    // Deterministic and innocuous: usable in indexes, generated columns and
    // views with trusted_schema off.
    constexpr int kFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    const struct {
        const char* name;
        void (*function)(sqlite3_context*, int, sqlite3_value**);
    } functions[] = {{"tallyvane_state", resultRow<Direction::AreaCodesToStates>},
                     {"tallyvane_reason", reason},
                     {"tallyvane_area_codes", resultRow<Direction::StatesToAreaCodes>},
                     {"tallyvane_time_zones", timeZones}};
    for (const auto& f : functions) {
        auto* data = const_cast<Tables*>(tables); // read only
        if (const int rc = sqlite3_create_function_v2(db, f.name, 1, kFlags, data, f.function,
                                                      nullptr, nullptr, nullptr);
            rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

int sqlite3_extension_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    return sqlite3_tallyvanesqlite_init(db, error, api);
}

} // extern "C"
