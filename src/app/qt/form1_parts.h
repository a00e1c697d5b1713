#pragma once

// The pieces the main window owns; shared by its source files only.
#include "app/qt/form1.h"
#include "app/qt/form1_layout.h"
#include "conversion/conversion_run.h"
#include "entries/column_lists.h"
#include "entries/source_table.h"
#include "lists/list_model.h"
#include "platform/qt/qt_direction_options.h"
#include "platform/qt/qt_main_window_surface.h"
#include "platform/qt/qt_progress_bar.h"
#include "platform/qt/qt_window_services.h"

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
    // The implementations made for the services that were not replaced.
    std::vector<std::shared_ptr<void>> owned;
    RememberedColumns columns;
    KeptTable kept;
    std::optional<Form1Services> services;
    std::unique_ptr<ConversionRun> run;
    std::function<void()> unload;
    std::vector<QPointer<QObject>> watched; // every object the window filters
};

} // namespace tallyvane
