// Builds areacodes.db from data/area_codes.csv (header: area_cd,state_cd,location_name)
// and data/special_codes.csv (header: area_cd,kind,place,source), the codes that
// belong to no state, with what they are, for the reasons behind "Not Found";
// and, when given, data/time_zones.csv (area_cd,exchange,zones,source) and
// data/state_time_zones.csv (state_cd,zones,source), the time zones of codes,
// exchanges and states.
// The file is written to a temporary name and renamed, so an interrupted build
// never leaves a half-filled database behind for the program to trust.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> splitCsvLine(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

bool exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::cerr << "build_areacodes_db: " << (error ? error : "unknown error") << '\n';
        sqlite3_free(error);
        return false;
    }
    return true;
}

// Inserts the first `columns` fields of every row after the header.
bool insertRows(sqlite3* db, const char* sql, std::size_t fieldCount, int columns,
                const std::string& csvPath) {
    std::ifstream csv(csvPath);
    std::string line;
    if (!csv || !std::getline(csv, line)) {
        std::cerr << "build_areacodes_db: cannot read " << csvPath << '\n';
        return false;
    }
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &insert, nullptr) != SQLITE_OK)
        return false;
    int lineNumber = 1;
    bool ok = true;
    while (ok && std::getline(csv, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const auto fields = splitCsvLine(line);
        if (fields.size() != fieldCount) {
            std::cerr << csvPath << ':' << lineNumber << ": expected " << fieldCount << " fields\n";
            ok = false;
            break;
        }
        for (int i = 0; i < columns; ++i)
            sqlite3_bind_text(insert, i + 1, fields[i].c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::cerr << "usage: build_areacodes_db area_codes.csv special_codes.csv "
                     "[time_zones.csv state_time_zones.csv] areacodes.db\n";
        return 2;
    }
    const bool zones = argc == 6;
    const std::string target = argv[argc - 1];
    const std::string temporary = target + ".tmp";
    std::remove(temporary.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(temporary.c_str(), &db) != SQLITE_OK) {
        std::cerr << "build_areacodes_db: " << sqlite3_errmsg(db) << '\n';
        return 1;
    }
    // NOCASE columns make every equality ignore letter case; the indexes inherit
    // that collation, so both lookup shapes are index searches instead of scans.
    const bool ok =
        exec(db, "CREATE TABLE area_codes (area_cd TEXT COLLATE NOCASE, "
                 "state_cd TEXT COLLATE NOCASE, location_name TEXT COLLATE NOCASE);"
                 "CREATE TABLE special_codes (area_cd TEXT, kind TEXT, place TEXT);"
                 "BEGIN;") &&
        insertRows(db, "INSERT INTO area_codes VALUES (?1, ?2, ?3)", 3, 3, argv[1]) &&
        insertRows(db, "INSERT INTO special_codes VALUES (?1, ?2, ?3)", 4, 3, argv[2]) &&
        (!zones ||
         (exec(db, "CREATE TABLE time_zones (area_cd TEXT, exchange TEXT, zones TEXT);"
                   "CREATE TABLE state_time_zones (state_cd TEXT COLLATE NOCASE, zones TEXT);") &&
          insertRows(db, "INSERT INTO time_zones VALUES (?1, ?2, ?3)", 4, 3, argv[3]) &&
          insertRows(db, "INSERT INTO state_time_zones VALUES (?1, ?2)", 3, 2, argv[4]))) &&
        exec(db, "COMMIT;"
                 "CREATE INDEX area_codes_area_cd ON area_codes (area_cd);"
                 "CREATE INDEX area_codes_state_cd ON area_codes (state_cd);"
                 "CREATE INDEX area_codes_location_name ON area_codes (location_name);"
                 "ANALYZE;");
    sqlite3_close(db);
    if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        std::cerr << "build_areacodes_db: failed to build " << target << '\n';
        return 1;
    }
    return 0;
}
