#pragma once

#include "support/fakes.h"

#include <QList>
#include <QString>

namespace tallyvane::testing {

// The line number of each "Application Error" box shown, in order; -1 for a
// box whose location is not `location` (when one is given).
QList<int> reportedLines(const FakePrompts& prompts, const QString& location = {});

} // namespace tallyvane::testing
