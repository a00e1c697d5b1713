#include "results/spreadsheet_export.h"

#include "commands/procedure.h"
#include "lists/list_view.h"
#include "platform/prompts.h"
#include "platform/spreadsheet.h"
#include "platform/window_services.h"
#include "results/vanished_rows.h"

#include <memory>

namespace tallyvane {

namespace {

const QString kLocation =
    locationText(QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));

// What a step meets when the application or workbook it needs was never made.
template <class T> T& held(T* object) {
    if (!object)
        throw Failure(QStringLiteral("Object variable or With block variable not set"));
    return *object;
}

class Export {
public:
    Export(Prompts& prompts, WindowServices& window, SpreadsheetAutomation& spreadsheet,
           const ListView& results)
        : prompts_(prompts), window_(window), spreadsheet_(spreadsheet), results_(results),
          p_(prompts, kLocation) {}
    void run();

private:
    void writeHeadings();
    void writeRows();
    Workbook& sheet() { return held(workbook_); }
    int sheetRowLimit() const;
    void reportRowsBeyondTheSheet(int firstRow);

    Prompts& prompts_;
    WindowServices& window_;
    SpreadsheetAutomation& spreadsheet_;
    const ListView& results_;
    Procedure p_;
    std::unique_ptr<SpreadsheetApplication> application_;
    Workbook* workbook_ = nullptr;
};

void Export::run() {
    if (!SaveResultsAsExcelFileIsExcelInstalled(prompts_, spreadsheet_)) {
        p_.step(102, [&] {
            prompts_.messageBox(QStringLiteral("Excel is not installed on this computer. You "
                                               "need to have it installed to use this feature."));
        });
        return;
    }
    // A count that cannot be read does not end the command: the export goes on.
    if (p_.value(108, false, [&] { return results_.count() == 0; }))
        return;
    p_.step(110, [&] { window_.setPointer(Pointer::Busy); });
    // Without the application or its workbook every later step would fail on
    // its own, one box per cell: the first failure is reported and the export ends.
    if (!p_.step(112, [&] { application_ = spreadsheet_.create(); }) ||
        !p_.step(114, [&] { workbook_ = &held(application_.get()).addWorkbook(); })) {
        p_.step(170, [&] { window_.setPointer(Pointer::Default); });
        return;
    }
    writeHeadings();
    writeRows();
    p_.step(166, [&] { sheet().autofitAllColumns(); });
    p_.step(168, [&] { held(application_.get()).setVisible(true); });
    p_.step(170, [&] { window_.setPointer(Pointer::Default); });
}

int Export::sheetRowLimit() const {
    return workbook_ ? workbook_->rowLimit() : Workbook::kSheetRowLimit;
}

// Every cell past the sheet's last row would fail on its own, and one warning
// box per cell would keep the person clicking for hours: one report says
// which rows are missing, and the workbook is still handed over.
void Export::reportRowsBeyondTheSheet(int firstRow) {
    p_.step(152, [&] {
        throw Failure(QStringLiteral("The sheet holds at most %1 rows below its headings: list "
                                     "rows %2 to %3 were not written")
                          .arg(sheetRowLimit() - 1)
                          .arg(firstRow)
                          .arg(results_.count()));
    });
}

void Export::writeHeadings() {
    int i = 1;
    const int columns = p_.value(118, 0, [&] { return results_.columnCount(); });
    for (int k = 1; k <= columns; ++k) {
        p_.step(120, [&] { window_.processEvents(); });
        p_.step(k == 1 ? 124 : 128, [&] { sheet().setCell(1, i, results_.heading(k)); });
        ++i;
        p_.step(132, [&] { sheet().autofitColumn(k); });
    }
}

void Export::writeRows() {
    int j = 2;
    const int rows = p_.value(138, 0, [&] { return results_.count(); });
    for (int r = 1; r <= rows; ++r) {
        p_.step(140, [&] { window_.processEvents(); });
        if (!rowStillThere(p_, 142, results_, r, rows))
            return;
        if (j > sheetRowLimit()) {
            reportRowsBeyondTheSheet(r);
            return;
        }
        if (p_.test(142, [&] { return results_.checked(r); })) {
            int i = 1;
            const int columns = p_.value(146, 0, [&] { return results_.columnCount(); });
            for (int c = 1; c <= columns; ++c) {
                p_.step(148, [&] { window_.processEvents(); });
                if (c == 1) {
                    p_.step(152, [&] { sheet().setCell(j, i, results_.text(r)); });
                } else {
                    p_.step(156, [&] {
                        sheet().setCell(j, i, results_.columnText(r, c).remove(QLatin1Char('=')));
                    });
                }
                ++i;
            }
        }
        ++j;
    }
}

} // namespace

bool SaveResultsAsExcelFileIsExcelInstalled(Prompts& prompts, SpreadsheetAutomation& spreadsheet) {
    bool installed = true;
    try {
        installed = spreadsheet.create() != nullptr; // released at once
    } catch (const std::exception&) {
        installed = false;
    }
    if (!installed) {
        try {
            prompts.messageBox(QStringLiteral("Excel is not installed on this computer. You need "
                                              "to have it installed to use this software without "
                                              "error."));
        } catch (const std::exception&) {
        }
    }
    return installed;
}

void PushButton13_Click(Prompts& prompts, WindowServices& window,
                        SpreadsheetAutomation& spreadsheet, const ListView& results) {
    Export(prompts, window, spreadsheet, results).run();
}

} // namespace tallyvane
