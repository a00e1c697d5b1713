#include "app/qt/form1.h"

#include "app/qt/focus_ring_style.h"
#include "app/qt/form1_accessibility.h"
#include "app/qt/form1_gestures.h"
#include "app/qt/form1_parts.h"
#include "app/qt/form1_results_menu.h"
#include "app/qt/help_viewer.h"
#include "app/qt/time_zone_columns.h"
#include "app/qt/window_place.h"
#include "app/start_up.h"
#include "commands/product.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "platform/data_files.h"
#include "platform/qt/qt_browser.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_direction_options.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_main_window_surface.h"
#include "platform/qt/qt_progress_bar.h"
#include "platform/qt/qt_prompts.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_window_services.h"
#include "platform/sqlite/sqlite_area_code_database.h"
#include "platform/xlsx/xlsx_spreadsheet.h"
#include "results/workbook_elsewhere.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <cstdlib>
#include <optional>

namespace tallyvane {

namespace {
// The replacement when there is one, otherwise a new Default that the window keeps.
template <class Interface, class Default, class... Args>
Interface& pick(Interface* replacement, std::vector<std::shared_ptr<void>>& owned, Args&&... args) {
    if (replacement)
        return *replacement;
    auto made = std::make_shared<Default>(std::forward<Args>(args)...);
    owned.push_back(made);
    return *made;
}
} // namespace

Form1::Form1(Form1Overrides overrides) : d_(std::make_unique<Parts>()) {
    Form1Accessibility::installFactories();
    createControls();
    createPlatform(overrides);
    connectCommands();
    const Form1Services& s = *d_->services;
    Form_Load({s.prompts, s.surface, s.entries, s.results, s.options, s.settings, s.programFolder});
    useFocusRingStyle(); // over the skin's style too
    nameListsByHeading();
    new Form1Gestures(this, d_->controls, *d_->services);
    auto* menu = new Form1ResultsMenu(this, d_->controls.listView2, *d_->services, d_->results,
                                      [this] { return d_->run->resultsDirection(); });
    menu->addTimeZoneSwitch(new TimeZoneColumns(this, d_->results, d_->services->database,
                                                d_->services->settings,
                                                [this] { return d_->run->resultsDirection(); }));
    new Form1Accessibility(this);
    restoreWindowPlace(this, d_->services->settings);
}

Form1::~Form1() {
    // The controls go before the parts they show (the list models), and no
    // event of a dying control may reach the filter.
    for (QObject* watched : d_->watched) {
        if (watched)
            watched->removeEventFilter(this);
    }
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void Form1::createControls() {
    Form1Controls& c = d_->controls;
    c = buildForm1Layout(this, d_->entries, d_->results);
    const auto watch = [this](QWidget* widget) {
        widget->installEventFilter(this);
        d_->watched.emplace_back(widget);
    };
    // Mouse moves reach the pointer handlers only where tracking is on. A handled move stays with
    // its control instead of bubbling to the window, whose own handler would put the arrow back
    // over a push button.
    const auto track = [&watch](QWidget* widget) {
        widget->setMouseTracking(true);
        widget->setAttribute(Qt::WA_NoMousePropagation);
        watch(widget);
    };
    setMouseTracking(true);
    watch(this);
    for (QTableView* list : {c.listView1, c.listView2}) {
        track(list);
        track(list->viewport());
        track(list->horizontalHeader()->viewport());
    }
    track(c.frame2);
    // No handler, and a move over them must not reach the frame's or the
    // window's handler either.
    for (QWidget* silent : {static_cast<QWidget*>(c.option1), static_cast<QWidget*>(c.option2),
                            static_cast<QWidget*>(c.progressBar1)})
        silent->setAttribute(Qt::WA_NoMousePropagation);
    for (QPushButton* button :
         {c.pushButton8, c.pushButton6, c.pushButton3, c.pushButton1, c.pushButton7, c.pushButton17,
          c.pushButton4, c.pushButton13, c.pushButton5, c.pushButton2})
        track(button);
}

void Form1::nameListsByHeading() {
    const auto name = [](QTableView* view, const ListModel& model) {
        if (static_cast<const ListView&>(model).columnCount() > 0)
            view->setAccessibleName(model.heading(1));
    };
    name(d_->controls.listView1, d_->entries);
    name(d_->controls.listView2, d_->results);
}

void Form1::createPlatform(Form1Overrides& o) {
    Parts& d = *d_;
    const QString folder =
        o.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : o.programFolder;
    d.window = std::make_unique<QtWindowServices>(this);
    d.progress = std::make_unique<QtProgressBar>(d.controls.progressBar1);
    d.options = std::make_unique<QtDirectionOptions>(d.controls.option1, d.controls.option2);
    d.surface = std::make_unique<QtMainWindowSurface>(this, *d.window);
    d.unload = o.unload ? o.unload : [this] {
        // Out of sight at once; the copied results go to the clipboard manager
        // before the process ends, as they would on a normal exit.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        hide();
        handClipboardToManager();
        std::_Exit(0);
    };
    Prompts& prompts = pick<Prompts, QtPrompts>(o.prompts, d.owned, this);
    // The spreadsheet application may give up after the export has ended.
    const auto tellSpreadsheetFailure = [&prompts](const QString& message) {
        prompts.messageBox(message, MessageStyle::Warning);
    };
    FileDialog& dialog = pick<FileDialog, QtFileDialog>(o.dialog, d.owned, this);
    // A LibreOffice without a user interface cannot show the workbook: it is
    // saved where the person says instead.
    const auto keepWorkbookElsewhere = [&prompts, &dialog](const QString& workbook) {
        saveWorkbookWhereAsked(prompts, dialog, workbook);
    };
    d.services.emplace(Form1Services{
        prompts,
        *d.window,
        d.entries,
        d.results,
        *d.progress,
        *d.options,
        pick<SettingsStore, QtSettingsStore>(o.settings, d.owned),
        dialog,
        pick<AreaCodeDatabaseOpener, SqliteAreaCodeDatabaseOpener>(
            o.database, d.owned, dataFileCandidates(folder, kDatabaseFileName)),
        pick<SpreadsheetAutomation, XlsxSpreadsheetAutomation>(
            o.spreadsheet, d.owned, tellSpreadsheetFailure, keepWorkbookElsewhere),
        pick<Clipboard, QtClipboard>(o.clipboard, d.owned),
        pick<Browser, QtBrowser>(o.browser, d.owned,
                                 [this](const QString& address) { showHelpViewer(this, address); }),
        *d.surface,
        folder,
        d.columns,
        d.kept,
    });
    const Form1Services& s = *d.services;
    d.run = std::make_unique<ConversionRun>(ConversionRun::Services{
        s.prompts, s.window, s.entries, s.results, s.progress, s.options, s.database});
}

Form1Services& Form1::services() {
    return *d_->services;
}
ConversionRun& Form1::conversionRun() {
    return *d_->run;
}
ListModel& Form1::entryModel() {
    return d_->entries;
}
ListModel& Form1::resultModel() {
    return d_->results;
}
QtWindowServices& Form1::windowServices() {
    return *d_->window;
}
QtProgressBar& Form1::progress() {
    return *d_->progress;
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    rememberWindowPlace(this, d_->services->settings);
    // Closing ends the program at once, also in the middle of a conversion run
    // that is pumping events: that run must not go on without its window.
    d_->unload();
}

} // namespace tallyvane
