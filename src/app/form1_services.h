#pragma once

#include <QString>

namespace tallyvane {

class Prompts;
class WindowServices;
class ListView;
class ProgressBar;
class DirectionOptions;
class SettingsStore;
class FileDialog;
class AreaCodeDatabaseOpener;
class SpreadsheetAutomation;
class Clipboard;
class Browser;
class MainWindowSurface;

// Everything a command of the main window reaches, as platform interfaces.
// The window fills it with the Qt implementations; tests with fakes.
struct Form1Services {
    Prompts& prompts;
    WindowServices& window;
    ListView& entries; // ListView1, "States or Area Codes"
    ListView& results; // ListView2, "Results"
    ProgressBar& progress;
    DirectionOptions& options;
    SettingsStore& settings;
    FileDialog& dialog;
    AreaCodeDatabaseOpener& database;
    SpreadsheetAutomation& spreadsheet;
    Clipboard& clipboard;
    Browser& browser;
    MainWindowSurface& surface;
    QString programFolder; // without a trailing separator
};

} // namespace tallyvane
