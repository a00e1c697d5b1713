#pragma once

#include "conversion/calling_window.h"
#include "conversion/direction.h"
#include "conversion/time_zones.h"
#include "lists/column_provider.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace tallyvane {

class AreaCodeDatabaseOpener;
class ListModel;
class SettingsStore;

// "Show Time Zones": the results list's "Time zone" and "Local time" columns,
// and each row's zones, local times and whether to call now in its tooltip.
// Worked out only for the rows on screen, from the row's entry, so a run of a
// million rows costs nothing more; the local times follow the clock. The
// choice is remembered apart from the direction's.
class TimeZoneColumns : public QObject, public ColumnProvider {
public:
    TimeZoneColumns(QObject* parent, ListModel& results, AreaCodeDatabaseOpener& database,
                    SettingsStore& settings, std::function<Direction()> direction);
    bool shown() const { return shown_; }
    // Throws Failure when the database cannot be read.
    void setShown(bool shown);
    // Read from the settings at start; a stored choice that fails to apply
    // leaves the columns off.
    bool storedChoice() const;
    void store() const;

    // ColumnProvider: "Time zone" and "Local time"; the exports add time
    // zone, local time, callable and opens.
    QStringList headings() const override;
    QString text(int position, int column) override { return cell(position, column); }
    QString tooltip(int position) override;
    QStringList exportHeadings() const override;
    QStringList exportFields(int position) override;

    // The calling hours at the called person's location, remembered; 08:00-21:00
    // until the person sets others.
    const CallingHours& hours() const { return hours_; }
    void setHours(const CallingHours& hours);
    static QString hoursText(const CallingHours& hours);

private:
    struct SetNow {
        bool known = false;
        ZoneMoment moment;
    };
    TimeZoneTable::SetId setOf(int position) const;
    const ZoneMoment& momentOf(TimeZoneTable::SetId id);
    QString cell(int position, int column);

    ListModel& results_;
    AreaCodeDatabaseOpener& database_;
    SettingsStore& settings_;
    std::function<Direction()> direction_;
    std::optional<TimeZoneTable> table_;
    std::vector<SetNow> moments_; // by set, for the current minute
    QTimer clock_;
    CallingHours hours_;
    bool shown_ = false;
};

} // namespace tallyvane
