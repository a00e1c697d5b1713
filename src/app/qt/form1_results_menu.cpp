#include "app/qt/form1_results_menu.h"

#include "app/qt/time_zone_columns.h"
#include "platform/failure.h"
#include "platform/prompts.h"

#include "app/qt/form1_services.h"
#include "app/qt/summary_view.h"
#include "lists/list_model.h"
#include "results/entries_and_results.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableView>

namespace tallyvane {

Form1ResultsMenu::Form1ResultsMenu(QWidget* window, QTableView* results, Form1Services& s,
                                   ListModel& resultsModel, std::function<Direction()> direction)
    : QObject(window), results_(results),
      copy_(new QAction(QStringLiteral("Copy Entries and Results"), window)),
      save_(new QAction(QStringLiteral("Save Entries and Results As CSV…"), window)),
      summary_(new QAction(QStringLiteral("Summary…"), window)), window_(window), services_(s),
      resultsModel_(resultsModel), direction_(std::move(direction)) {
    copy_->setObjectName(QStringLiteral("CopyEntriesAndResults"));
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    save_->setObjectName(QStringLiteral("SaveEntriesAndResultsAsCsv"));
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    summary_->setObjectName(QStringLiteral("ShowSummary"));
    summary_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    for (QAction* action : {copy_, save_, summary_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    connect(copy_, &QAction::triggered, this, [this, &s] {
        const std::optional<MoreColumns> more = moreColumns();
        CopyEntriesAndResults(s.prompts, s.window, s.clipboard, s.results, more ? &*more : nullptr);
    });
    connect(save_, &QAction::triggered, this, [this, &s] {
        const std::optional<MoreColumns> more = moreColumns();
        const WholeTableSource whole{s.entries, s.kept, direction_()};
        SaveEntriesAndResultsAsCsv(s.prompts, s.dialog, s.window, s.results,
                                   more ? &*more : nullptr, &whole);
    });
    connect(summary_, &QAction::triggered, this, &Form1ResultsMenu::showSummary);

    // A right-click or the Menu key ask for the menu; Shift+F10 does too.
    results->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(results, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& where) { popUp(results_->viewport()->mapToGlobal(where)); });
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), results);
    shiftF10->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shiftF10, &QShortcut::activated, this, [this] {
        const QRect current = results_->visualRect(results_->currentIndex());
        const QPoint corner = current.isValid() ? current.bottomLeft() : QPoint(0, 0);
        popUp(results_->viewport()->mapToGlobal(corner));
    });
}

void Form1ResultsMenu::popUp(const QPoint& where) {
    QMenu menu(results_);
    menu.setObjectName(QStringLiteral("ResultsMenu"));
    menu.addAction(copy_);
    menu.addAction(save_);
    menu.addSeparator();
    menu.addAction(summary_);
    if (timeZones_) {
        menu.addAction(timeZones_);
        menu.addAction(hours_);
    }
    menu.exec(where);
}

// While extra columns are shown (the time zones), the exports add what each
// of their providers gives, in the order they are shown.
std::optional<MoreColumns> Form1ResultsMenu::moreColumns() const {
    const std::vector<ColumnProvider*>& shown = resultsModel_.shownProviders();
    if (shown.empty())
        return std::nullopt;
    MoreColumns more;
    for (const ColumnProvider* provider : shown)
        more.headings += provider->exportHeadings();
    more.cells = [shown](int position) {
        QStringList cells;
        for (ColumnProvider* provider : shown)
            cells += provider->exportFields(position);
        return cells;
    };
    return more;
}

void Form1ResultsMenu::addTimeZoneSwitch(TimeZoneColumns* columns) {
    zoneColumns_ = columns;
    timeZones_ = new QAction(QStringLiteral("Show Time Zones"), window_);
    timeZones_->setObjectName(QStringLiteral("ShowTimeZones"));
    timeZones_->setCheckable(true);
    timeZones_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    timeZones_->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(timeZones_);
    connect(timeZones_, &QAction::toggled, this, &Form1ResultsMenu::showTimeZones);
    hours_ = new QAction(QStringLiteral("Calling Hours…"), window_);
    hours_->setObjectName(QStringLiteral("CallingHours"));
    connect(hours_, &QAction::triggered, this, &Form1ResultsMenu::askCallingHours);
    if (columns->storedChoice()) {
        try {
            columns->setShown(true);
            const QSignalBlocker quiet(timeZones_);
            timeZones_->setChecked(true);
        } catch (const Failure&) {
            // The database is reported when a run reads it; the columns stay off.
        }
    }
}

// The hours at the called person's location in which an entry counts as
// callable; the answer is kept only when it reads as hours.
void Form1ResultsMenu::askCallingHours() {
    const QString typed = services_.prompts.inputPrompt(
        QStringLiteral("Calling hours at the called person's location (HH:MM-HH:MM):"),
        QStringLiteral("Calling Hours"), TimeZoneColumns::hoursText(zoneColumns_->hours()));
    if (typed.isEmpty()) // Cancel
        return;
    const std::optional<CallingHours> hours = CallingHours::parse(typed.trimmed());
    if (!hours) {
        services_.prompts.messageBox(
            QStringLiteral("Calling hours are written HH:MM-HH:MM, as 08:00-21:00."),
            MessageStyle::Warning);
        return;
    }
    zoneColumns_->setHours(*hours);
}

void Form1ResultsMenu::showTimeZones(bool shown) {
    try {
        zoneColumns_->setShown(shown);
        zoneColumns_->store();
    } catch (const Failure& failure) {
        const QSignalBlocker quiet(timeZones_);
        timeZones_->setChecked(zoneColumns_->shown());
        services_.prompts.messageBox(failure.description(), MessageStyle::Warning);
    }
}

void Form1ResultsMenu::showSummary() {
    if (!view_) {
        view_ = new SummaryView(window_, services_, resultsModel_, direction_);
        view_->setAttribute(Qt::WA_DeleteOnClose);
    }
    view_->show();
    view_->raise();
    view_->activateWindow();
}

} // namespace tallyvane
