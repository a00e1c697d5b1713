#pragma once

#include <QString>
#include <QStringList>

namespace tallyvane {

// Where a file shipped with the program (the area-code database, the help
// page) is looked for, in this order: beside the program, as in a build tree,
// then in the data folder of an installed program (share/tallyvane beside
// its bin folder).
QStringList dataFileCandidates(const QString& programFolder, const QString& fileName);

} // namespace tallyvane
