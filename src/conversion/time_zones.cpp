#include "conversion/time_zones.h"

#include "conversion/area_code.h"
#include "platform/area_code_database.h"

#include <QHash>

#include <array>
#include <map>

namespace tallyvane {

namespace {

constexpr std::uint32_t keyOf(std::uint32_t code, std::uint32_t length, std::uint32_t prefix) {
    return code * 10000 + length * 1000 + prefix;
}

bool digitsOnly(const QString& text, qsizetype most) {
    if (text.size() > most)
        return false;
    for (const QChar c : text)
        if (!isAsciiDigit(c.unicode()))
            return false;
    return true;
}

// As the table keys states: the bytes of the UTF-8 text with A-Z folded, the
// way SQLite's NOCASE compares them.
QByteArray folded(std::string_view utf8) {
    QByteArray bytes(utf8.data(), qsizetype(utf8.size()));
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z')
            c = char(c + ('a' - 'A'));
    return bytes;
}

// Common names by IANA zone; a zone not named here shows its own name.
const std::map<QString, QString>& commonNames() {
    static const std::map<QString, QString> names = [] {
        std::map<QString, QString> m;
        const auto name = [&m](const char* common, std::initializer_list<const char*> zones) {
            for (const char* zone : zones)
                m[QString::fromLatin1(zone)] = QString::fromLatin1(common);
        };
        name("Eastern",
             {"America/New_York", "America/Detroit", "America/Toronto", "America/Iqaluit",
              "America/Kentucky/Louisville", "America/Kentucky/Monticello",
              "America/Indiana/Indianapolis", "America/Indiana/Vincennes",
              "America/Indiana/Winamac", "America/Indiana/Marengo", "America/Indiana/Petersburg",
              "America/Indiana/Vevay"});
        name("Eastern (no DST)", {"America/Atikokan"});
        name("Central", {"America/Chicago", "America/Winnipeg", "America/Indiana/Tell_City",
                         "America/Indiana/Knox", "America/Menominee", "America/Rankin_Inlet",
                         "America/Resolute", "America/North_Dakota/Center",
                         "America/North_Dakota/New_Salem", "America/North_Dakota/Beulah"});
        name("Central (no DST)", {"America/Regina", "America/Swift_Current"});
        name("Mountain", {"America/Denver", "America/Boise", "America/Edmonton",
                          "America/Cambridge_Bay", "America/Inuvik", "America/Yellowknife"});
        name("Mountain (no DST)", {"America/Phoenix", "America/Creston", "America/Dawson_Creek",
                                   "America/Fort_Nelson", "America/Whitehorse", "America/Dawson"});
        name("Pacific", {"America/Los_Angeles", "America/Vancouver"});
        name("Alaska", {"America/Anchorage", "America/Juneau", "America/Sitka",
                        "America/Metlakatla", "America/Yakutat", "America/Nome"});
        name("Hawaii-Aleutian", {"America/Adak"});
        name("Hawaii", {"Pacific/Honolulu"});
        name("Atlantic",
             {"America/Halifax", "America/Glace_Bay", "America/Moncton", "America/Goose_Bay"});
        name("Atlantic (no DST)",
             {"America/Puerto_Rico", "America/St_Thomas", "America/Blanc-Sablon"});
        name("Newfoundland", {"America/St_Johns"});
        name("Chamorro", {"Pacific/Guam", "Pacific/Saipan"});
        name("Samoa", {"Pacific/Pago_Pago"});
        return m;
    }();
    return names;
}

} // namespace

TimeZoneTable::TimeZoneTable() : sets_{{}} {}

TimeZoneTable::SetId TimeZoneTable::addSet(const QStringList& zones) {
    if (zones.isEmpty())
        return kNone;
    for (SetId id = 1; id < sets_.size(); ++id)
        if (sets_[id] == zones)
            return id;
    sets_.push_back(zones);
    return static_cast<SetId>(sets_.size() - 1);
}

TimeZoneTable TimeZoneTable::read(AreaCodeDatabase& db) {
    TimeZoneTable table;
    for (const CodeZones& row : db.codeZones()) {
        if (row.code.size() != 3 || !digitsOnly(row.code, 3) || !digitsOnly(row.exchange, 3))
            continue;
        const auto length = std::uint32_t(row.exchange.size());
        table.byPrefix_[keyOf(row.code.toUInt(), length, length ? row.exchange.toUInt() : 0)] =
            table.addSet(row.zones);
    }
    for (const StateZones& row : db.stateZones()) {
        const SetId id = table.addSet(row.zones);
        for (const QString& key : {row.stateCode, row.locationName})
            if (!key.isEmpty())
                table.byState_.emplace(folded(key.toStdString()), id);
    }
    return table;
}

template <class Unit>
TimeZoneTable::SetId TimeZoneTable::forNumber(const Unit* p, const Unit* end) const {
    const AreaCode::NumberDigits number = AreaCode::numberDigits(p, end);
    const std::size_t count = number.count;
    const std::size_t drop = number.drop;
    if (count < drop + 3)
        return kNone;
    const auto& digits = number.digits;
    const std::uint32_t code = digits[drop] * 100 + digits[drop + 1] * 10 + digits[drop + 2];
    std::uint32_t prefix = 0;
    std::array<std::uint32_t, 4> prefixes{}; // by length
    for (std::uint32_t length = 1; length <= 3 && drop + 2 + length < count; ++length) {
        prefix = prefix * 10 + digits[drop + 2 + length];
        prefixes[length] = prefix;
    }
    const std::uint32_t known = std::uint32_t(std::min<std::size_t>(3, count - drop - 3));
    for (std::uint32_t length = known + 1; length-- > 0;) {
        const auto found = byPrefix_.find(keyOf(code, length, prefixes[length]));
        if (found != byPrefix_.end())
            return found->second;
    }
    return kNone;
}

TimeZoneTable::SetId TimeZoneTable::forState(const QByteArray& key) const {
    const auto found = byState_.find(key);
    return found == byState_.end() ? kNone : found->second;
}

TimeZoneTable::SetId TimeZoneTable::forEntry(Direction direction, QStringView entry,
                                             bool found) const {
    if (!found)
        return kNone;
    if (direction == Direction::StatesToAreaCodes)
        return forState(folded(entry.toUtf8().toStdString()));
    return forNumber(entry.utf16(), entry.utf16() + entry.size());
}

TimeZoneTable::SetId TimeZoneTable::forEntry(Direction direction, std::string_view entry,
                                             bool found) const {
    if (!found)
        return kNone;
    if (direction == Direction::StatesToAreaCodes)
        return forState(folded(entry));
    return forNumber(entry.data(), entry.data() + entry.size());
}

QString commonZoneNames(const QStringList& zones) {
    QStringList names;
    for (const QString& zone : zones) {
        const auto found = commonNames().find(zone);
        const QString name = found == commonNames().end() ? zone : found->second;
        if (!names.contains(name))
            names << name;
    }
    return names.join(QStringLiteral(" or "));
}

} // namespace tallyvane
