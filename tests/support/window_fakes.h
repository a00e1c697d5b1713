#pragma once

#include "app/qt/form1.h"
#include "support/fakes.h"

#include <memory>

namespace tallyvane::testing {

// Hands the main window the fakes through which it would open a box or reach
// outside the test, and the settings store (null: the real store under
// XDG_CONFIG_HOME). The window's own lists, bar and buttons stay real.
Form1Overrides windowOverrides(FakePlatform& fakes, SettingsStore* settings);

// The real window on the fakes (on the real dialogs where overrides.prompts
// is null), shown and exposed; closing it ends nothing.
std::unique_ptr<Form1> shownWindow(Form1Overrides overrides);

// Clicks the push button of the window with this objectName, as a person would.
void clickButton(QWidget& window, const char* objectName);

} // namespace tallyvane::testing
