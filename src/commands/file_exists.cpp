#include "commands/file_exists.h"

#include <QDateTime>
#include <QFileInfo>

namespace tallyvane {

bool FileExists(const QString& path) {
    // A NUL cannot be in a path; QFileInfo would only warn about it.
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

} // namespace tallyvane
