#pragma once

// Fakes of the platform interfaces: they replay queued answers, record what
// the commands showed and did, and fail on request.
#include "app/start_up.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "platform/area_code_database.h"
#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/direction_options.h"
#include "platform/failure.h"
#include "platform/file_dialog.h"
#include "platform/main_window_surface.h"
#include "platform/progress_bar.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/spreadsheet.h"
#include "platform/window_services.h"
#include "platform/xlsx/spreadsheet_launcher.h"

#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace tallyvane::testing {

struct ShownMessage {
    QString text;
    int style;
    QString title; // as shown: the application title when none was given
};

class FakePrompts : public Prompts {
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    QString inputPrompt(const QString& message, const QString& title,
                        const QString& defaultText) override;
    int chooseColumn(ColumnQuestion& question) override;

    std::deque<int> answers;           // Yes/No answers; OK boxes take none
    std::deque<int> columnAnswers;     // chooseColumn answers; none left: Cancel
    std::deque<QList<int>> columnSets; // the columns ticked with each answer, if any
    std::vector<ColumnQuestion> columnQuestions;
    std::deque<QString> typedTexts;  // input prompt answers; empty = Cancel
    std::vector<ShownMessage> shown; // every message box, in order
    QStringList promptMessages;
    QString applicationTitle = QStringLiteral("Tallyvane");
    int failNextMessageBoxes = 0; // the next N boxes throw instead of showing
    std::function<void(const ShownMessage&)> onShow;

    QStringList texts() const;
    std::vector<ShownMessage> errorReports() const; // "Application Error" boxes
};

class FakeWindowServices : public WindowServices {
public:
    Pointer pointer() const override { return pointer_; }
    void setPointer(Pointer p) override;
    void processEvents() override;

    std::vector<Pointer> pointerHistory;
    int pumps = 0;
    // Runs at a pump, as a click handled by the event loop would.
    std::function<void(int pump)> onPump;

private:
    Pointer pointer_ = Pointer::Default;
};

struct ProgressEvent {
    bool isValue;
    double value;
    QString text;
};

class FakeProgressBar : public ProgressBar {
public:
    void setValue(double percent) override;
    void setText(const QString& text) override;
    double value() const override { return value_; }
    QString text() const override { return text_; }
    std::vector<ProgressEvent> events;
    std::vector<double> values() const;
    QStringList textsSet() const;

private:
    double value_ = 0;
    QString text_ = QStringLiteral("Progress Bar");
};

class FakeDirectionOptions : public DirectionOptions {
public:
    bool option1Selected() const override { return option1; }
    bool option2Selected() const override { return option2; }
    void setOption1(bool selected) override { option1 = selected; }
    void setOption2(bool selected) override { option2 = selected; }
    bool option1 = true;
    bool option2 = false;
};

class FakeSettingsStore : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;
    QMap<QString, QString> values; // "application/section/key" -> value
    bool failWrites = false;
    bool failReads = false;
};

class FakeFileDialog : public FileDialog {
public:
    void setFileName(const QString& name) override { fileName = name; }
    void setFlags(long value) override { flags = value; }
    void setTitle(const QString& text) override { title = text; }
    void setFilter(const QString& text) override { filter = text; }
    QStringList showOpen() override;
    QString showSave() override;

    QString fileName;
    long flags = 0;
    QString title;
    QString filter;
    std::deque<QStringList> openAnswers;
    std::deque<QString> saveAnswers;
    int shownOpen = 0;
    int shownSave = 0;
};

// Rows by query value; failure injection by call number.
class FakeAreaCodeDatabase : public AreaCodeDatabaseOpener {
public:
    struct Row {
        std::optional<QString> areaCode, stateCode, locationName;
    };
    std::unique_ptr<AreaCodeDatabase> open() override;
    void addRow(const char* code, const char* state, const char* name) {
        rows.push_back(
            {QString::fromLatin1(code), QString::fromLatin1(state), QString::fromLatin1(name)});
    }

    std::vector<Row> rows;
    std::vector<SpecialCode> special;
    std::vector<CodeZones> codeZones;
    std::vector<StateZones> stateZones;
    QString openFailure;     // non-empty: open() throws this
    int failQueryNumber = 0; // the Nth query of a run throws (1-based), 0 never
    QStringList queries;     // "code:603" / "state:NH|NH"
    int opens = 0;
};

class FakeClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
    bool setTable(const QString& text, const QString& html) override;
    int failClears = 0; // the next N attempts to clear fail
    int failSets = 0;   // the next N attempts to set fail
    int clearAttempts = 0;
    int setAttempts = 0;
    QString text = QStringLiteral("old clipboard");
    QString html;
};

class FakeBrowser : public Browser {
public:
    bool open(const QString& address) override {
        opened << address;
        return answer;
    }
    QStringList opened;
    bool answer = true;
};

class FakeWorkbook;

struct SheetCell {
    int row, column;
    QString text;
};

class FakeSpreadsheet : public SpreadsheetAutomation {
public:
    std::unique_ptr<SpreadsheetApplication> create() override;
    bool available = true;
    int created = 0;
    std::vector<SheetCell> cells;
    QStringList
        operations; // "create", "addWorkbook", "cell 1 1", "autofit 1", "autofitAll", "visible"
    QString cellText(int row, int column) const;
    int rowLimit = Workbook::kSheetRowLimit;
};

class FakeSurface : public MainWindowSurface {
public:
    void setCaption(const QString& text) override { caption = text; }
    void setIconToApplicationIcon() override { iconSet = true; }
    void setApplicationTitle(const QString& title) override { appTitle = title; }
    QString applicationTitle() const override { return appTitle; }
    void setPointerImage(const QString& path) override;
    void applyButtonFaceColours() override { buttonFace = true; }
    void loadSkin(const QString& path) override { skin = path; }
    QString caption, appTitle, pointerImage, skin;
    bool iconSet = false, buttonFace = false, failPointerImage = false;
};

// A real list whose Nth append (from 1) fails: with a Failure, or by running
// out of memory.
class RefusingList : public ListModel {
public:
    enum class How { Failure, OutOfMemory };
    explicit RefusingList(int refused, How how = How::Failure) : refused_(refused), how_(how) {}
    void append(const QString& text) override;

private:
    int refused_;
    How how_;
    int appends_ = 0;
};

// Stands in for the desktop's spreadsheet application: records the workbooks
// it is asked to open.
class RecordingLauncher : public SpreadsheetLauncher {
public:
    bool available() override { return answer; }
    bool canShow() override { return shows; }
    void open(const QString& path) override { opened << path; }
    bool answer = true;
    bool shows = true;
    QStringList opened;
};

// Every fake, with real list models for the two lists (their columns made as
// the window's start makes them). Tests hand each command the pieces it uses.
class FakePlatform {
public:
    FakePlatform();
    FakePrompts prompts;
    FakeWindowServices window;
    ListModel entries;
    ListModel results;
    FakeProgressBar progress;
    FakeDirectionOptions options;
    FakeSettingsStore settings;
    FakeFileDialog dialog;
    FakeAreaCodeDatabase database;
    FakeSpreadsheet spreadsheet;
    FakeClipboard clipboard;
    FakeBrowser browser;
    FakeSurface surface;
    // A folder that holds none of the program's optional files.
    QString programFolder = QStringLiteral("/nonexistent/program-folder");

    // What the conversion run and the load handler reach, from these fakes.
    // The run may read another database, such as the real one.
    ConversionRun::Services runServices(AreaCodeDatabaseOpener* otherDatabase = nullptr);
    StartUpServices startUpServices();
    void addEntries(const QStringList& texts);
    QStringList resultTexts() const;
};

QStringList listTexts(const ListView& list);

} // namespace tallyvane::testing
