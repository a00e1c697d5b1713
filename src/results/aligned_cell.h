#pragma once

#include <QString>
#include <QStringView>

namespace tallyvane {

// How wide a text is in an aligned column: its length in UTF-16 units, as
// the window's lists count it. A column is as wide as its widest text.
inline int cellWidth(QStringView text) {
    return static_cast<int>(text.size());
}

// Appends one aligned cell: the text, spaces up to the column width (none when
// the text is as long or longer; it is never cut), then one tab. The text
// export, the clipboard copy and the batch program's text format share this
// cell rule.
inline void appendAlignedCell(QString& out, const QString& text, int width) {
    out += text;
    if (width > cellWidth(text))
        out.resize(out.size() + (width - cellWidth(text)), QLatin1Char(' '));
    out += QLatin1Char('\t');
}

} // namespace tallyvane
