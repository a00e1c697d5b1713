#include "app/file_exists.h"

#include <QDateTime>
#include <QFileInfo>

namespace tallyvane {

bool FileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

} // namespace tallyvane
