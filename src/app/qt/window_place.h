#pragma once

class QWidget;

namespace tallyvane {

class SettingsStore;

// The main window's size and place, remembered from one run to the next
// under a key of their own ("Window Place"), apart from the designed
// setting. A place that cannot be read or written is no matter: the window
// opens at its designed size, within the screen.
void restoreWindowPlace(QWidget* window, SettingsStore& settings);
void rememberWindowPlace(const QWidget* window, SettingsStore& settings);

} // namespace tallyvane
