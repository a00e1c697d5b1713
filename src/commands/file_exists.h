#pragma once

#include <QString>

namespace tallyvane {

// The name is the one the window's commands have always used.
// True when the last-modified time of the path can be read: the path names an
// existing file (or folder). Never throws; a malformed path is simply false.
bool FileExists(const QString& path);

} // namespace tallyvane
