#pragma once

#include "platform/prompts.h"

#include <QString>

namespace tallyvane {

// The "Application Error" box: description, CR LF, location, "at line " and the
// number, CR CR, and the request for a screenshot.
QString errorReportText(const QString& description, const QString& location, int line);
void reportFailure(Prompts& prompts, const QString& description, const QString& location, int line);

// Location text of a procedure, such as "in Brisquet2021/08/31.Form1.Form_Load ".
QString locationText(const QString& module, const QString& procedure);

} // namespace tallyvane
