#pragma once

#include "platform/spreadsheet.h"
#include "platform/xlsx/spreadsheet_launcher.h"

#include <functional>
#include <memory>

namespace tallyvane {

// The spreadsheet application as this desktop has it: a workbook file built
// with libxlsxwriter in a private temporary folder, handed to the desktop's
// spreadsheet application when it is made visible. Without such an
// application, create() fails just as starting a missing one would.
class XlsxSpreadsheetAutomation : public SpreadsheetAutomation {
public:
    // The desktop's own application; tellFailure hears of one that could not
    // open the workbook after it had started (see DesktopSpreadsheetLauncher).
    // Where no application here can show a workbook, the finished one is
    // handed to keepElsewhere instead (to be saved where the person says),
    // and its temporary folder goes.
    using KeepElsewhere = std::function<void(const QString& workbookPath)>;
    explicit XlsxSpreadsheetAutomation(std::function<void(const QString&)> tellFailure = {},
                                       KeepElsewhere keepElsewhere = {});
    explicit XlsxSpreadsheetAutomation(SpreadsheetLauncher& launcher,
                                       KeepElsewhere keepElsewhere = {});
    ~XlsxSpreadsheetAutomation() override;

    std::unique_ptr<SpreadsheetApplication> create() override;

private:
    std::unique_ptr<SpreadsheetLauncher> owned_;
    SpreadsheetLauncher& launcher_;
    KeepElsewhere keepElsewhere_;
};

} // namespace tallyvane
