#include "conversion/calling_window.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace tallyvane {

std::optional<CallingHours> CallingHours::parse(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^([01]\\d|2[0-3]):([0-5]\\d)-([01]\\d|2[0-4]):([0-5]\\d)$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    CallingHours hours;
    hours.startMinute = match.captured(1).toInt() * 60 + match.captured(2).toInt();
    hours.endMinute = match.captured(3).toInt() * 60 + match.captured(4).toInt();
    if (hours.endMinute > 24 * 60 || hours.startMinute == hours.endMinute)
        return std::nullopt;
    return hours;
}

bool CallingHours::inside(const QTime& local) const {
    const int minute = local.hour() * 60 + local.minute();
    return startMinute < endMinute ? minute >= startMinute && minute < endMinute
                                   : minute >= startMinute || minute < endMinute;
}

namespace {

bool insideEverywhere(const std::vector<QTimeZone>& zones, const QDateTime& moment,
                      const CallingHours& hours) {
    return std::all_of(zones.begin(), zones.end(), [&](const QTimeZone& zone) {
        return hours.inside(moment.toTimeZone(zone).time());
    });
}

// The moments a zone's clocks show `start` on `date`, from the zone's own
// rules: once on most days; twice when the clocks go back over it (the
// hours open at each); and, when they go forward over it, never: the hours
// then open at the first moment after the gap.
QList<QDateTime> openingsOn(const QTimeZone& zone, QDate date, QTime start) {
    const QDateTime wall(date, start, Qt::UTC); // the wall clock's reading, as if it were UTC
    constexpr qint64 kAround = qint64(36) * 3600;
    QList<QDateTime> found;
    for (const int offset :
         {zone.offsetFromUtc(wall.addSecs(-kAround)), zone.offsetFromUtc(wall.addSecs(kAround))}) {
        const QDateTime moment = wall.addSecs(-offset);
        const QDateTime local = moment.toTimeZone(zone);
        if (local.date() == date && local.time() == start && !found.contains(moment))
            found << moment;
    }
    if (!found.isEmpty())
        return found;
    for (const QTimeZone::OffsetData& change :
         zone.transitions(wall.addSecs(-kAround), wall.addSecs(kAround))) {
        const auto wallOf = [&](const QDateTime& moment) {
            const QDateTime local = moment.toTimeZone(zone);
            return QDateTime(local.date(), local.time(), Qt::UTC);
        };
        if (wallOf(change.atUtc.addSecs(-1)) < wall && wallOf(change.atUtc) > wall)
            found << change.atUtc.toUTC();
    }
    return found;
}

} // namespace

ZoneMoment zoneMoment(const QStringList& names, const QDateTime& now, const CallingHours& hours) {
    ZoneMoment moment;
    std::vector<QTimeZone> zones;
    int inside = 0;
    bool unknown = false;
    for (const QString& name : names) {
        const QTimeZone zone(name.toLatin1());
        if (!zone.isValid()) {
            // Said as unknown, never answered as if the zone were closed.
            moment.localTimes << QDateTime();
            unknown = true;
            continue;
        }
        zones.push_back(zone);
        const QDateTime local = now.toTimeZone(zone);
        moment.localTimes << local;
        inside += hours.inside(local.time()) ? 1 : 0;
    }
    if (unknown) {
        moment.callable = Callable::Unknown;
        return moment;
    }
    if (zones.empty())
        return moment;
    moment.callable = inside == int(zones.size()) ? Callable::Yes
                      : inside == 0               ? Callable::No
                                                  : Callable::Depends;
    if (moment.callable == Callable::Yes)
        return moment;
    // The hours open everywhere at the moment they open in one of the zones:
    // each zone's openings of the next days are the only candidates.
    QList<QDateTime> candidates;
    const QTime start(hours.startMinute / 60, hours.startMinute % 60);
    for (const QTimeZone& zone : zones) {
        const QDate today = now.toTimeZone(zone).date();
        for (int day = 0; day <= 3; ++day)
            candidates << openingsOn(zone, today.addDays(day), start);
    }
    std::sort(candidates.begin(), candidates.end());
    for (const QDateTime& candidate : candidates) {
        if (candidate > now && insideEverywhere(zones, candidate, hours)) {
            moment.nextOpen = candidate;
            break;
        }
    }
    return moment;
}

QString callableWord(Callable callable) {
    switch (callable) {
    case Callable::Yes:
        return QStringLiteral("yes");
    case Callable::No:
        return QStringLiteral("no");
    case Callable::Depends:
        return QStringLiteral("depends");
    case Callable::Unknown:
        return QStringLiteral("unknown");
    }
    return {};
}

QString whyZoneCannotLoad(const QString& name) {
    if (QTimeZone(name.toLatin1()).isValid())
        return {};
    const QString folder = qEnvironmentVariableIsEmpty("TZDIR")
                               ? QStringLiteral("/usr/share/zoneinfo")
                               : qEnvironmentVariable("TZDIR");
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.exists())
        return path + QStringLiteral(": no such file");
    if (!file.open(QIODevice::ReadOnly))
        return path + QStringLiteral(": ") + file.errorString();
    return path + QStringLiteral(": not a time-zone file this system can read");
}

} // namespace tallyvane
