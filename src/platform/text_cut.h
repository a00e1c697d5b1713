#pragma once

#include <QString>
#include <QStringView>

namespace tallyvane {

// The text as a control shows it: at most `limit` characters, and "…" where
// more were cut off. Laying out or painting a text of millions of characters
// stalls a window, so every place that shows an entry cuts it first; each
// keeps its own limit, named where it is used.
inline QString& appendCut(QString& to, QStringView text, qsizetype limit) {
    if (text.size() <= limit)
        return to.append(text);
    return to.append(text.left(limit)).append(QChar(0x2026));
}
inline QString cutText(QStringView text, qsizetype limit) {
    QString shown;
    return appendCut(shown, text, limit);
}

} // namespace tallyvane
