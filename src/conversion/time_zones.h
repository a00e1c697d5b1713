#pragma once

#include "conversion/direction.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tallyvane {

class AreaCodeDatabase;

// The time zones of every entry a conversion answers, read once from the
// database: of an area code or phone number, the zones of its exchange where
// a row lists it (the longest listed prefix of the exchange), else of its
// whole code; of a state, the state's. An entry that found nothing has none.
class TimeZoneTable {
public:
    using SetId = std::uint32_t;
    static constexpr SetId kNone = 0;

    TimeZoneTable();
    // Throws Failure as the database does; a database without the tables
    // gives a table with no zones.
    static TimeZoneTable read(AreaCodeDatabase& db);

    // found: whether the entry's conversion found something; an entry that
    // did not has no zones.
    SetId forEntry(Direction direction, QStringView entry, bool found) const;
    SetId forEntry(Direction direction, std::string_view utf8Entry, bool found) const;

    // The IANA names of a set, in order; none for kNone.
    const QStringList& zones(SetId id) const { return sets_[id]; }
    SetId setCount() const { return static_cast<SetId>(sets_.size()); }
    bool empty() const { return sets_.size() == 1; }

private:
    SetId addSet(const QStringList& zones);
    template <class Unit> SetId forNumber(const Unit* begin, const Unit* end) const;
    SetId forState(const QByteArray& folded) const;

    std::vector<QStringList> sets_;
    // Keys: code * 10000 + prefix length * 1000 + prefix (length 0: the whole code).
    std::unordered_map<std::uint32_t, SetId> byPrefix_;
    std::unordered_map<QByteArray, SetId> byState_; // state codes and names, A-Z folded
};

// The short, common names of zones for people ("Eastern", "Mountain (no
// DST)"), each once, joined with " or ".
QString commonZoneNames(const QStringList& zones);

} // namespace tallyvane
