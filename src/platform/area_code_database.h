#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace tallyvane {

// The first selected column of every matching row, in the database's order;
// nullopt where the column holds no value.
using FieldValues = std::vector<std::optional<QString>>;

enum class AreaCodeColumn { AreaCode, StateCode, LocationName };

// A code that belongs to no state: its kind ("toll-free", "service",
// "country"...) and, for another country of the plan, that country.
struct SpecialCode {
    QString code;
    QString kind;
    QString place;
};

// The time zones (IANA names) of a code, or of an exchange of it: the one to
// three digits after the code, or empty for the whole code.
struct CodeZones {
    QString code;
    QString exchange;
    QStringList zones;
};

// The time zones of a state, with its code and name as the table keys them.
struct StateZones {
    QString stateCode;
    QString locationName;
    QStringList zones;
};

// One open connection to the area-code database, for one conversion run.
// Values are always bound as parameters, never spliced into the SQL text.
class AreaCodeDatabase {
public:
    virtual ~AreaCodeDatabase() = default;
    // SELECT state_cd FROM area_codes WHERE area_cd = code
    virtual FieldValues statesForAreaCode(const QString& code) = 0;
    // SELECT area_cd FROM area_codes WHERE state_cd = stateCode OR location_name = locationName
    virtual FieldValues areaCodesForState(const QString& stateCode,
                                          const QString& locationName) = 0;
    // Every text value of the column, nulls left out, in no particular order.
    virtual std::vector<QString> columnValues(AreaCodeColumn column) = 0;
    // The codes that belong to no state; none in a database without them.
    virtual std::vector<SpecialCode> specialCodes() { return {}; }
    // The time zones of codes, exchanges and states; none in a database
    // built without them.
    virtual std::vector<CodeZones> codeZones() { return {}; }
    virtual std::vector<StateZones> stateZones() { return {}; }
};

// Opens the connection for a run; throws Failure naming the file and the cause.
class AreaCodeDatabaseOpener {
public:
    virtual ~AreaCodeDatabaseOpener() = default;
    virtual std::unique_ptr<AreaCodeDatabase> open() = 0;
};

} // namespace tallyvane
