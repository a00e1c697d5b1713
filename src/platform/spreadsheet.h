#pragma once

#include <QString>

#include <memory>

namespace tallyvane {

// The active sheet of a new workbook. Positions are 1-based; every value is
// written as a text cell, never as a formula.
class Workbook {
public:
    virtual ~Workbook() = default;
    virtual void setCell(int row, int column, const QString& text) = 0;
    virtual void autofitColumn(int column) = 0;
    virtual void autofitAllColumns() = 0;
    // The last row a sheet can hold.
    virtual int rowLimit() const { return kSheetRowLimit; }
    static constexpr int kSheetRowLimit = 1'048'576;
};

// One instance of the spreadsheet application, for one export.
class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;
    virtual Workbook& addWorkbook() = 0;
    // Hands the finished workbook to the person, unsaved where the application allows.
    virtual void setVisible(bool visible) = 0;
};

class SpreadsheetAutomation {
public:
    virtual ~SpreadsheetAutomation() = default;
    // Throws Failure when no spreadsheet application is available.
    virtual std::unique_ptr<SpreadsheetApplication> create() = 0;
};

} // namespace tallyvane
