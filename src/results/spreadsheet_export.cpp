#include "results/spreadsheet_export.h"

#include "app/procedure.h"
#include "platform/list_view.h"
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
    explicit Export(Form1Services& s) : s_(s), p_(s.prompts, kLocation) {}
    void run();

private:
    void writeHeadings();
    void writeRows();
    Workbook& sheet() { return held(workbook_); }
    int sheetRowLimit() const;
    void reportRowsBeyondTheSheet(int firstRow);

    Form1Services& s_;
    Procedure p_;
    std::unique_ptr<SpreadsheetApplication> application_;
    Workbook* workbook_ = nullptr;
};

void Export::run() {
    if (!SaveResultsAsExcelFileIsExcelInstalled(s_)) { // 100
        p_.step(102, [&] {
            s_.prompts.messageBox(QStringLiteral("Excel is not installed on this computer. You "
                                                 "need to have it installed to use this feature."));
        });
        return;
    }
    // A count that cannot be read does not end the command: the export goes on.
    if (p_.value(108, false, [&] { return s_.results.count() == 0; }))
        return;
    p_.step(110, [&] { s_.window.setPointer(Pointer::Busy); });
    // Without the application or its workbook every later step would fail on
    // its own, one box per cell: the first failure is reported and the export ends.
    if (!p_.step(112, [&] { application_ = s_.spreadsheet.create(); }) ||
        !p_.step(114, [&] { workbook_ = &held(application_.get()).addWorkbook(); })) {
        p_.step(170, [&] { s_.window.setPointer(Pointer::Default); });
        return;
    }
    writeHeadings();
    writeRows();
    p_.step(166, [&] { sheet().autofitAllColumns(); });
    p_.step(168, [&] { held(application_.get()).setVisible(true); });
    p_.step(170, [&] { s_.window.setPointer(Pointer::Default); });
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
                          .arg(s_.results.count()));
    });
}

void Export::writeHeadings() {
    int i = 1; // 116
    const int columns = p_.value(118, 0, [&] { return s_.results.columnCount(); });
    for (int k = 1; k <= columns; ++k) {
        p_.step(120, [&] { s_.window.processEvents(); });
        p_.step(k == 1 ? 124 : 128, [&] { sheet().setCell(1, i, s_.results.heading(k)); });
        ++i; // 126, 130
        p_.step(132, [&] { sheet().autofitColumn(k); });
    }
}

void Export::writeRows() {
    int j = 2; // 136
    const int rows = p_.value(138, 0, [&] { return s_.results.count(); });
    for (int r = 1; r <= rows; ++r) {
        p_.step(140, [&] { s_.window.processEvents(); });
        if (!rowStillThere(p_, 142, s_.results, r, rows))
            return;
        if (j > sheetRowLimit()) {
            reportRowsBeyondTheSheet(r);
            return;
        }
        if (p_.test(142, [&] { return s_.results.checked(r); })) {
            int i = 1; // 144
            const int columns = p_.value(146, 0, [&] { return s_.results.columnCount(); });
            for (int c = 1; c <= columns; ++c) {
                p_.step(148, [&] { s_.window.processEvents(); });
                if (c == 1) {
                    p_.step(152, [&] { sheet().setCell(j, i, s_.results.text(r)); });
                } else {
                    p_.step(156, [&] {
                        sheet().setCell(j, i, s_.results.columnText(r, c).remove(QLatin1Char('=')));
                    });
                }
                ++i; // 154, 158
            }
        }
        ++j; // 162
    }
}

} // namespace

bool SaveResultsAsExcelFileIsExcelInstalled(Form1Services& s) {
    bool installed = true;
    try {
        installed = s.spreadsheet.create() != nullptr; // released at once
    } catch (const std::exception&) {
        installed = false;
    }
    if (!installed) {
        try {
            s.prompts.messageBox(QStringLiteral("Excel is not installed on this computer. You need "
                                                "to have it installed to use this software without "
                                                "error."));
        } catch (const std::exception&) {
        }
    }
    return installed;
}

void PushButton13_Click(Form1Services& s) {
    Export(s).run();
}

} // namespace tallyvane
