#include "platform/xlsx/xlsx_spreadsheet.h"

#include "platform/failure.h"

namespace tallyvane {

std::unique_ptr<SpreadsheetApplication> XlsxSpreadsheetAutomation::create() {
    throw Failure(QStringLiteral("No spreadsheet application is available"));
}

} // namespace tallyvane
