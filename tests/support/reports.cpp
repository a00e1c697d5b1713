#include "support/reports.h"

namespace tallyvane::testing {

QList<int> reportedLines(const FakePrompts& prompts, const QString& location) {
    QList<int> lines;
    for (const ShownMessage& m : prompts.errorReports()) {
        if (!location.isEmpty() && !m.text.contains(location + QStringLiteral("at line "))) {
            lines << -1;
            continue;
        }
        lines << m.text.section(QStringLiteral("at line "), 1)
                     .section(QLatin1Char('\r'), 0, 0)
                     .toInt();
    }
    return lines;
}

} // namespace tallyvane::testing
