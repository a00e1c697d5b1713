#pragma once

// The pieces the main window owns; shared by its source files only.
#include "app/qt/form1.h"
#include "app/qt/form1_layout.h"
#include "conversion/conversion_run.h"
#include "platform/area_code_database.h"
#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/list_model.h"
#include "platform/prompts.h"
#include "platform/qt/qt_direction_options.h"
#include "platform/qt/qt_main_window_surface.h"
#include "platform/qt/qt_progress_bar.h"
#include "platform/qt/qt_window_services.h"
#include "platform/settings_store.h"
#include "platform/spreadsheet.h"

#include <QPointer>

#include <optional>
#include <vector>

namespace tallyvane {

struct Form1::Parts {
    Form1Controls controls;
    ListModel entries;
    ListModel results;
    std::unique_ptr<QtWindowServices> window;
    std::unique_ptr<QtProgressBar> progress;
    std::unique_ptr<QtDirectionOptions> options;
    std::unique_ptr<QtMainWindowSurface> surface;
    // Owned defaults; the services point at these or at the overrides.
    std::unique_ptr<Prompts> prompts;
    std::unique_ptr<FileDialog> dialog;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<AreaCodeDatabaseOpener> database;
    std::unique_ptr<SpreadsheetAutomation> spreadsheet;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<Browser> browser;
    std::optional<Form1Services> services;
    std::unique_ptr<ConversionRun> run;
    std::function<void()> unload;
    std::vector<QPointer<QObject>> watched; // every object the window filters
};

} // namespace tallyvane
