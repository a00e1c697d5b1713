#include "conversion/text_helpers.h"

#include "conversion/area_code.h"

namespace tallyvane {

QString GetDigitsOnly(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text) {
        if (isAsciiDigit(c.unicode()))
            digits.append(c);
    }
    return digits;
}

QString GetFileNameFromPath(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString AreaCode::text() const {
    return length_ == 0 ? QString()
                        : QStringLiteral("%1").arg(value_, length_, 10, QLatin1Char('0'));
}

} // namespace tallyvane
