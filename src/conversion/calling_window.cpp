#include "conversion/calling_window.h"

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

} // namespace

ZoneMoment zoneMoment(const QStringList& names, const QDateTime& now, const CallingHours& hours) {
    ZoneMoment moment;
    std::vector<QTimeZone> zones;
    int inside = 0;
    for (const QString& name : names) {
        const QTimeZone zone(name.toLatin1());
        if (!zone.isValid())
            continue;
        zones.push_back(zone);
        const QDateTime local = now.toTimeZone(zone);
        moment.localTimes << local;
        inside += hours.inside(local.time()) ? 1 : 0;
    }
    if (zones.empty())
        return moment;
    moment.callable = inside == int(zones.size()) ? Callable::Yes
                      : inside == 0               ? Callable::No
                                                  : Callable::Depends;
    if (moment.callable == Callable::Yes)
        return moment;
    // The hours open everywhere at the moment they open in one of the zones:
    // each zone's next three openings are the only candidates.
    QList<QDateTime> candidates;
    const QTime start(hours.startMinute / 60, hours.startMinute % 60);
    for (const QTimeZone& zone : zones) {
        const QDate today = now.toTimeZone(zone).date();
        for (int day = 0; day <= 3; ++day)
            candidates << QDateTime(today.addDays(day), start, zone).toUTC();
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
    }
    return {};
}

} // namespace tallyvane
