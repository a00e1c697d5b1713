#pragma once

#include <QString>

#include <vector>

namespace tallyvane::bench {

struct AreaCodeRow {
    QString areaCode;
    QString stateCode;
    QString locationName;
};

// Every row of the built database, read directly so that the entries use the
// codes and states the lookups will really find.
std::vector<AreaCodeRow> readAreaCodeTable(const QString& databasePath);

// A list as users paste it: phone numbers in the usual shapes, bare codes and
// about one entry in twenty a state code or name. The same seed gives the
// same list.
std::vector<QString> makeEntries(int count, const std::vector<AreaCodeRow>& table,
                                 unsigned seed = 20240611);

} // namespace tallyvane::bench
