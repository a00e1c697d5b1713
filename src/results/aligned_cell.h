#pragma once

#include <QString>

namespace tallyvane {

// Appends one aligned cell: the text, spaces up to the column width (none when
// the text is as long or longer; it is never cut), then one tab. The text
// export and the clipboard copy share this cell rule.
inline void appendAlignedCell(QString& out, const QString& text, int width) {
    out += text;
    if (width > text.size())
        out.resize(out.size() + (width - text.size()), QLatin1Char(' '));
    out += QLatin1Char('\t');
}

} // namespace tallyvane
