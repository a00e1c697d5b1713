#pragma once

#include <QString>

namespace tallyvane {

// How the desktop's spreadsheet application is found and started: the one
// piece of the workbook export that reaches outside the program, kept apart
// so that tests can put a recorder in its place and never open a window.
class SpreadsheetLauncher {
public:
    virtual ~SpreadsheetLauncher() = default;
    virtual bool available() = 0;
    // Whether an application here can show a workbook in a window (a
    // LibreOffice without a user interface cannot).
    virtual bool canShow() { return true; }
    // Opens the workbook file as a new, untitled document where the
    // application allows it. Throws Failure when it cannot be started.
    virtual void open(const QString& path) = 0;
};

} // namespace tallyvane
