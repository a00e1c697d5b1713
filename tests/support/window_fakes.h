#pragma once

#include "app/qt/form1.h"
#include "support/fakes.h"

namespace tallyvane::testing {

// Hands the main window the fakes through which it would open a box or reach
// outside the test, and the settings store (null: the real store under
// XDG_CONFIG_HOME). The window's own lists, bar and buttons stay real.
Form1Overrides windowOverrides(FakePlatform& fakes, SettingsStore* settings);

// Clicks the push button of the window with this objectName, as a person would.
void clickButton(QWidget& window, const char* objectName);

} // namespace tallyvane::testing
