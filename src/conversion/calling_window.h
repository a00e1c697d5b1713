#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <optional>

namespace tallyvane {

// The hours a person may be called at their own location: 08:00-21:00 by
// default, as the federal rule has it; an end before the start runs past
// midnight.
struct CallingHours {
    int startMinute = 8 * 60;
    int endMinute = 21 * 60;
    // "HH:MM-HH:MM"; nothing for any other text.
    static std::optional<CallingHours> parse(const QString& text);
    bool inside(const QTime& local) const;
};

// Unknown: a zone could not be loaded from the system's time-zone database,
// so neither its local time nor the answer is known.
enum class Callable { Yes, No, Depends, Unknown };

// An entry's zones at one moment: the local time in each, whether the moment
// is inside the calling hours in every zone (Yes), in none (No) or in some
// (Depends), and for No and Depends the next moment the hours are open in
// every zone (invalid for Yes, or when none comes within three days).
// Local times come from the system's time-zone database, never from offsets
// kept here, so daylight saving and rule changes follow the system.
struct ZoneMoment {
    QList<QDateTime> localTimes; // invalid for a zone that could not be loaded
    Callable callable = Callable::No;
    QDateTime nextOpen; // in UTC
};

ZoneMoment zoneMoment(const QStringList& zones, const QDateTime& now, const CallingHours& hours);

// "yes", "no", "depends", "unknown".
QString callableWord(Callable callable);

// Why a zone of that name cannot be loaded: its file in the system's
// time-zone database and what is wrong with it; empty when it loads.
QString whyZoneCannotLoad(const QString& name);

} // namespace tallyvane
