#pragma once

#include "app/qt/form1_services.h"

#include <QWidget>

#include <functional>
#include <memory>

class QTableView;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QProgressBar;

namespace tallyvane {

class ConversionRun;
class ListModel;
class QtWindowServices;
class QtProgressBar;
class Prompts;
class FileDialog;
class SettingsStore;
class AreaCodeDatabaseOpener;
class SpreadsheetAutomation;
class Clipboard;
class Browser;

// Platform pieces a test (or the benchmark) may put in place of the real ones.
// Anything left null gets the Qt, SQLite or workbook implementation.
struct Form1Overrides {
    Prompts* prompts = nullptr;
    FileDialog* dialog = nullptr;
    SettingsStore* settings = nullptr;
    AreaCodeDatabaseOpener* database = nullptr;
    SpreadsheetAutomation* spreadsheet = nullptr;
    Clipboard* clipboard = nullptr;
    Browser* browser = nullptr;
    QString programFolder; // empty: the folder of the executable
    // What closing the window does; by default the process ends at once.
    std::function<void()> unload;
};

// The main window. Its controls carry the names the commands use as objectName.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Form1Overrides overrides = {});
    ~Form1() override;

    Form1Services& services();
    ConversionRun& conversionRun();
    ListModel& entryModel();
    ListModel& resultModel();
    QtWindowServices& windowServices();
    QtProgressBar& progress();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Parts;
    void createControls();
    void createPlatform(Form1Overrides& overrides);
    void connectCommands();
    void nameListsByHeading();
    std::unique_ptr<Parts> d_;
};

} // namespace tallyvane
