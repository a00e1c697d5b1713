#pragma once

#include <QString>

namespace tallyvane {

class DirectionOptions;
class ListView;
class MainWindowSurface;
class Prompts;
class SettingsStore;

// The handler and procedure names are the window's own and appear in error reports.

// What the load handler finishes.
struct StartUpServices {
    Prompts& prompts;
    MainWindowSurface& surface;
    ListView& entries;
    ListView& results;
    DirectionOptions& options;
    SettingsStore& settings;
    QString programFolder; // without a trailing separator
};

// The load handler of the main window: skin, caption, icon, application title,
// hand pointer, the two list columns and the saved conversion direction.
// Every failing step is reported under its line number and the load goes on.
void Form_Load(const StartUpServices& s);

// The direction buttons save the choice at once. A store that cannot be
// written is told in a warning box; the selection itself stays.
void Option1_Click(Prompts& prompts, SettingsStore& settings);
void Option2_Click(Prompts& prompts, SettingsStore& settings);

// With x/o.cjs in the program folder: button-face colours, then the skin.
// Throws Failure from the surface; what was done before the failure stays.
void ApplySkin(MainWindowSurface& surface, const QString& programFolder);

// The product title cut at its last space, again while longer than 40
// characters. A text without a space left to cut at stays as it is.
QString applicationTitleFor(const QString& productTitle);
void SetAppTitle(MainWindowSurface& surface);

// A stored setting as a 16-bit integer: surrounding spaces ignored, a fraction
// rounded half to even. Throws Failure("Type mismatch") for a text that is no
// number and Failure("Overflow") outside -32768..32767.
int toInteger16(const QString& text);

} // namespace tallyvane
