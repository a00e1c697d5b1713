#include "commands/error_report.h"

#include "commands/product.h"

namespace tallyvane {

QString errorReportText(const QString& description, const QString& location, int line) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(line) +
           QStringLiteral("\r\rPlease email screenshot of this message to ") + kSupportAddress;
}

void reportFailure(Prompts& prompts, const QString& description, const QString& location,
                   int line) {
    prompts.messageBox(errorReportText(description, location, line), MessageStyle::Warning,
                       QStringLiteral("Application Error"));
}

QString locationText(const QString& module, const QString& procedure) {
    return QStringLiteral("in Brisquet2021/08/31.") + module + QLatin1Char('.') + procedure +
           QLatin1Char(' ');
}

} // namespace tallyvane
