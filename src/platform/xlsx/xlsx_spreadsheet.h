#pragma once

#include "platform/spreadsheet.h"

namespace tallyvane {

class XlsxSpreadsheetAutomation : public SpreadsheetAutomation {
public:
    std::unique_ptr<SpreadsheetApplication> create() override;
};

} // namespace tallyvane
