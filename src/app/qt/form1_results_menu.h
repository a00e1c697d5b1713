#pragma once

#include "conversion/direction.h"
#include "results/entries_and_results.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QAbstractItemModel;
class QAction;
class QTableView;
class QWidget;

namespace tallyvane {

struct Form1Services;
class SummaryView;
class ListModel;
class TimeZoneColumns;

// The results list's own menu, beyond the designed buttons: the results
// beside their entries, copied as a table or saved as CSV. It opens with a
// right-click, the Menu key or Shift+F10 on the list; its shortcuts work
// anywhere in the window. The Summary opens beside the window and stays.
class Form1ResultsMenu : public QObject {
public:
    Form1ResultsMenu(QWidget* window, QTableView* results, Form1Services& services,
                     ListModel& resultsModel, std::function<Direction()> direction);

    // "Show Time Zones", a switch in the menu: the results list's time-zone
    // columns, on at start when they were on last time.
    void addTimeZoneSwitch(TimeZoneColumns* columns);

private:
    void popUp(const QPoint& where);
    void showTimeZones(bool shown);
    void askCallingHours();
    std::optional<MoreColumns> moreColumns() const;
    void showSummary();

    QTableView* results_;
    QAction* copy_;
    QAction* save_;
    QAction* summary_;
    QAction* timeZones_ = nullptr;
    QAction* hours_ = nullptr;
    TimeZoneColumns* zoneColumns_ = nullptr;
    QWidget* window_;
    Form1Services& services_;
    ListModel& resultsModel_;
    std::function<Direction()> direction_;
    QPointer<SummaryView> view_;
};

} // namespace tallyvane
