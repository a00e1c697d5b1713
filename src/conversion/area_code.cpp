#include "conversion/area_code.h"

namespace tallyvane {

QString AreaCode::text() const {
    QString digits(length_, Qt::Uninitialized);
    for (int i = length_ - 1, rest = value_; i >= 0; --i, rest /= 10)
        digits[i] = QLatin1Char(static_cast<char>('0' + rest % 10));
    return digits;
}

} // namespace tallyvane
