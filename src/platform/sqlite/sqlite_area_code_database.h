#pragma once

#include "platform/area_code_database.h"

#include <QString>
#include <QStringList>

namespace tallyvane {

// Opens areacodes.db read-only. The first candidate path that exists is used;
// when none exists the first one is tried, so the report names the file the
// program looked for first.
class SqliteAreaCodeDatabaseOpener : public AreaCodeDatabaseOpener {
public:
    explicit SqliteAreaCodeDatabaseOpener(QStringList candidatePaths)
        : candidates_(std::move(candidatePaths)) {}
    std::unique_ptr<AreaCodeDatabase> open() override;
    QString chosenPath() const;

private:
    QStringList candidates_;
};

} // namespace tallyvane
