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
class RememberedColumns;
struct KeptTable;

// Everything the commands of the main window reach, as platform interfaces:
// the window assembles it from its controls and from the Qt, SQLite and
// workbook implementations (or the replacements of Form1Overrides), and hands
// each command the few it uses.
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
    QString programFolder;      // without a trailing separator
    RememberedColumns& columns; // the columns chosen this session, by header
    KeptTable& kept;            // the table the entries were last read from
};

} // namespace tallyvane
