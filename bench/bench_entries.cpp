#include "bench_entries.h"

#include <QFile>

#include <random>
#include <stdexcept>

#include <sqlite3.h>

namespace tallyvane::bench {

namespace {

QString columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

QString digits(std::mt19937& random, int first, int last, int width) {
    std::uniform_int_distribution<int> pick(first, last);
    return QStringLiteral("%1").arg(pick(random), width, 10, QLatin1Char('0'));
}

} // namespace

std::vector<AreaCodeRow> readAreaCodeTable(const QString& databasePath) {
    sqlite3* db = nullptr;
    const QByteArray file = QFile::encodeName(databasePath);
    if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.toStdString());
    }
    std::vector<AreaCodeRow> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT area_cd, state_cd, location_name FROM area_codes", -1,
                           &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.push_back(
                {columnText(statement, 0), columnText(statement, 1), columnText(statement, 2)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (rows.empty())
        throw std::runtime_error("no area codes in " + file.toStdString());
    return rows;
}

std::vector<QString> makeEntries(int count, const std::vector<AreaCodeRow>& table, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> row(0, table.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> shape(0, 5);
    std::vector<QString> entries;
    entries.reserve(static_cast<std::size_t>(count));
    // Exact-size texts, as a list read from a file holds them.
    const auto add = [&entries](QString text) {
        text.squeeze();
        entries.push_back(std::move(text));
    };
    for (int i = 0; i < count; ++i) {
        const AreaCodeRow& r = table[row(random)];
        if (percent(random) < 5) {
            add(percent(random) < 50 ? r.stateCode : r.locationName);
            continue;
        }
        const QString& a = r.areaCode;
        const QString e = digits(random, 200, 999, 3);
        const QString n = digits(random, 0, 9999, 4);
        switch (shape(random)) {
        case 0:
            add(a + QLatin1Char('-') + e + QLatin1Char('-') + n);
            break;
        case 1:
            add(QStringLiteral("1-") + a + QLatin1Char('-') + e + QLatin1Char('-') + n);
            break;
        case 2:
            add(QLatin1Char('(') + a + QStringLiteral(") ") + e + QLatin1Char('-') + n);
            break;
        case 3:
            add(a + e + n);
            break;
        case 4:
            add(QStringLiteral("+1 ") + a + QLatin1Char(' ') + e + QLatin1Char(' ') + n);
            break;
        default:
            add(a);
            break;
        }
    }
    return entries;
}

} // namespace tallyvane::bench
