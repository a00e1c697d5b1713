#pragma once

#include <QString>

namespace tallyvane {

// Builds the main window without showing it or any box, and checks what needs
// no sample file: the start-up ran without a report, every control is there,
// and the area-code database opens through the window's own opener and answers
// a query. One line of result; true when everything held.
struct SelfTestResult {
    bool passed = false;
    QString line;
};

SelfTestResult runSelfTest();

} // namespace tallyvane
