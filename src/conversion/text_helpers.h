#pragma once

#include <QString>

namespace tallyvane {

// The ASCII digits 0-9 of the text, in order; other scripts' digits are dropped.
QString GetDigitsOnly(const QString& text);
// The text after the last path separator, or the whole text when there is none.
QString GetFileNameFromPath(const QString& path);

} // namespace tallyvane
