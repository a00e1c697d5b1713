#include "platform/xlsx/xlsx_spreadsheet.h"

#include "platform/failure.h"
#include "platform/xlsx/desktop_spreadsheet_launcher.h"
#include "platform/xlsx/workbook_folders.h"
#include "platform/xlsx/xlsx_workbook.h"

#include <QDir>
#include <QTemporaryDir>

#include <vector>

namespace tallyvane {

namespace {

const QString kWorkbookFileName = QStringLiteral("Results.xlsx");

// The folder stays after the export: the spreadsheet application reads the
// file after the program has handed it over, perhaps after the program ended.
QString makePrivateFolder() {
    const QString temporary = workbookParentFolder();
    QTemporaryDir folder(QDir(temporary).filePath(QStringLiteral("tallyvane-XXXXXX")));
    if (!folder.isValid())
        throw Failure(QStringLiteral("The workbook cannot be made in the temporary folder %1: %2")
                          .arg(temporary, folder.errorString()));
    folder.setAutoRemove(false); // created 0700 by QTemporaryDir
    return folder.path();
}

class XlsxApplication : public SpreadsheetApplication {
public:
    XlsxApplication(SpreadsheetLauncher& launcher,
                    const XlsxSpreadsheetAutomation::KeepElsewhere& keepElsewhere)
        : launcher_(launcher), keepElsewhere_(keepElsewhere) {}
    ~XlsxApplication() override {
        // A workbook that never reached the person is of no use to anyone:
        // drop it together with its folder.
        for (Entry& entry : workbooks_) {
            if (entry.handedOver)
                continue;
            entry.workbook->discard();
            QDir(entry.folder).removeRecursively();
        }
    }

    Workbook& addWorkbook() override {
        const QString folder = makePrivateFolder();
        try {
            workbooks_.push_back(
                {folder, std::make_unique<XlsxWorkbook>(folder, kWorkbookFileName)});
        } catch (...) {
            QDir(folder).removeRecursively();
            throw;
        }
        return *workbooks_.back().workbook;
    }

    void setVisible(bool visible) override {
        if (!visible)
            return;
        for (Entry& entry : workbooks_) {
            if (entry.handedOver)
                continue;
            entry.workbook->close(); // later cells are refused, not lost silently
            if (keepElsewhere_ && !launcher_.canShow()) {
                keepElsewhere_(entry.workbook->path());
                entry.handedOver = true;
                QDir(entry.folder).removeRecursively();
                continue;
            }
            // Kept even when the application fails: the report names the file.
            entry.handedOver = true;
            launcher_.open(entry.workbook->path());
        }
    }

private:
    struct Entry {
        QString folder;
        std::unique_ptr<XlsxWorkbook> workbook;
        bool handedOver = false;
    };
    SpreadsheetLauncher& launcher_;
    const XlsxSpreadsheetAutomation::KeepElsewhere& keepElsewhere_;
    std::vector<Entry> workbooks_;
};

} // namespace

XlsxSpreadsheetAutomation::XlsxSpreadsheetAutomation(
    std::function<void(const QString&)> tellFailure, KeepElsewhere keepElsewhere)
    : owned_(std::make_unique<DesktopSpreadsheetLauncher>(std::move(tellFailure))),
      launcher_(*owned_), keepElsewhere_(std::move(keepElsewhere)) {}

XlsxSpreadsheetAutomation::XlsxSpreadsheetAutomation(SpreadsheetLauncher& launcher,
                                                     KeepElsewhere keepElsewhere)
    : launcher_(launcher), keepElsewhere_(std::move(keepElsewhere)) {}

XlsxSpreadsheetAutomation::~XlsxSpreadsheetAutomation() = default;

std::unique_ptr<SpreadsheetApplication> XlsxSpreadsheetAutomation::create() {
    if (!launcher_.available())
        throw Failure(QStringLiteral("No spreadsheet application is available"));
    return std::make_unique<XlsxApplication>(launcher_, keepElsewhere_);
}

} // namespace tallyvane
