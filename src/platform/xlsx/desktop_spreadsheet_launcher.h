#pragma once

#include "platform/xlsx/spreadsheet_launcher.h"

namespace tallyvane {

// LibreOffice Calc when it is on the PATH (the workbook opens as an untitled
// document made from the file), otherwise whatever the desktop has registered
// for .xlsx files, through xdg-open. Started detached: the application stays
// open when the program ends.
class DesktopSpreadsheetLauncher : public SpreadsheetLauncher {
public:
    bool available() override;
    void open(const QString& path) override;
};

} // namespace tallyvane
