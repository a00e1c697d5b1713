#pragma once

#include <QString>
#include <QStringView>

namespace tallyvane {

// The text after the last "/" of a path, or the whole text when it has none.
// An entry may be hundreds of millions of characters long: the scan runs from
// the end, and nothing is copied.
QStringView fileNameOf(QStringView path);

// The same as a text of its own; the name is the one the design's routines use.
inline QString GetFileNameFromPath(const QString& path) {
    return fileNameOf(path).toString();
}

} // namespace tallyvane
