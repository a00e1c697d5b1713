#include "batch/run_tables.h"

#include "commands/product.h"
#include "platform/data_files.h"
#include "platform/failure.h"
#include "platform/sqlite/sqlite_area_code_database.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace tallyvane::batch {

Tables readTables(const ConvertOptions& options) {
    QStringList candidates;
    if (!options.database.empty())
        candidates << QFile::decodeName(options.database.c_str());
    else // the folder of the real executable, as the window looks from its own
        candidates = dataFileCandidates(QFileInfo(QStringLiteral("/proc/self/exe"))
                                            .canonicalFilePath()
                                            .section(QLatin1Char('/'), 0, -2),
                                        kDatabaseFileName);
    SqliteAreaCodeDatabaseOpener opener(candidates);
    const std::unique_ptr<AreaCodeDatabase> db = opener.open();
    Tables tables{AreaCodeTable::read(*db), {}};
    if (options.zones()) {
        tables.zones = TimeZoneTable::read(*db);
        if (tables.zones.empty())
            throw Failure(QStringLiteral("the database has no time zones (it was made by an "
                                         "older build); rebuild it or give another with "
                                         "--database"));
    }
    return tables;
}

} // namespace tallyvane::batch
