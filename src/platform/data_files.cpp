#include "platform/data_files.h"

#include <QDir>

namespace tallyvane {

QStringList dataFileCandidates(const QString& programFolder, const QString& fileName) {
    return {programFolder + QLatin1Char('/') + fileName,
            QDir::cleanPath(programFolder + QStringLiteral("/../") +
                            QStringLiteral(TALLYVANE_DATA_SUBDIR) + QLatin1Char('/') + fileName)};
}

} // namespace tallyvane
