#pragma once

#include "platform/xlsx/spreadsheet_launcher.h"

#include <QObject>

#include <functional>

namespace tallyvane {

// LibreOffice Calc when it is on the PATH (the workbook opens as an untitled
// document made from the file), otherwise whatever the desktop has registered
// for .xlsx files, through xdg-open. Started detached: the application stays
// open when the program ends.
//
// An application that starts and then gives up at once (a headless Calc says
// "Unspecified Application Error" and exits 1) would leave the person with
// nothing to see. So the application runs under a small shell that notes its
// exit status in the workbook's folder; a status other than 0 within
// kWatchSeconds is passed to tellFailure with the workbook's path. The shell
// also keeps the folder as its working folder, which marks the workbook as
// in use for as long as the application runs.
class DesktopSpreadsheetLauncher : public SpreadsheetLauncher {
public:
    using TellFailure = std::function<void(const QString& message)>;
    static constexpr int kWatchSeconds = 120;

    explicit DesktopSpreadsheetLauncher(TellFailure tellFailure = {});
    bool available() override;
    bool canShow() override;
    void open(const QString& path) override;

    // What the person is told when the application could not open the workbook.
    static QString failureMessage(const QString& path, const QString& cause);

private:
    void watch(const QString& statusFile, const QString& path, const QString& program, int polls);
    TellFailure tellFailure_;
    QObject context_; // the pending watches end with the launcher
};

} // namespace tallyvane
