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
    QString digits(length_, Qt::Uninitialized);
    for (int i = length_ - 1, rest = value_; i >= 0; --i, rest /= 10)
        digits[i] = QLatin1Char(static_cast<char>('0' + rest % 10));
    return digits;
}

} // namespace tallyvane
