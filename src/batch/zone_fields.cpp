#include "batch/zone_fields.h"

#include "conversion/calling_window.h"

#include <algorithm>

namespace tallyvane::batch {

namespace {

std::string isoOf(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(Qt::ISODate).toStdString() : std::string("unknown");
}

} // namespace

ZoneFields::ZoneFields(const TimeZoneTable& table, const ConvertOptions& options)
    : table_(table), options_(options) {
    const QDateTime now = options.at.isValid() ? options.at : QDateTime::currentDateTimeUtc();
    // A TZ the system does not know gives times in UTC, as the C library does.
    QTimeZone own = QTimeZone::systemTimeZone();
    if (!own.isValid() && options.callable) {
        warnings_.push_back("the time zone " + qEnvironmentVariable("TZ").toStdString() +
                            " (TZ) is unknown; times are given in UTC");
        own = QTimeZone::utc();
    } else if (!own.isValid()) {
        own = QTimeZone::utc();
    }
    std::vector<QString> unknown;
    for (TimeZoneTable::SetId id = 0; id < table.setCount(); ++id) {
        std::vector<std::string> fields;
        const QStringList& zones = table.zones(id);
        const ZoneMoment moment = zoneMoment(zones, now, options.callingHours);
        for (const QString& zone : zones)
            if (moment.callable == Callable::Unknown &&
                std::find(unknown.begin(), unknown.end(), zone) == unknown.end() &&
                !whyZoneCannotLoad(zone).isEmpty())
                unknown.push_back(zone);
        if (options.timeZone)
            fields.push_back(zones.join(u' ').toStdString());
        if (options.localTime) {
            std::string times;
            // Appended piece by piece: "" + a temporary string made GCC 12
            // warn (-Wrestrict) of an overlap that cannot happen.
            for (const QDateTime& local : moment.localTimes) {
                if (!times.empty())
                    times += ' ';
                times += isoOf(local);
            }
            fields.push_back(times);
        }
        if (options.callable) {
            fields.push_back(zones.isEmpty() ? std::string()
                                             : callableWord(moment.callable).toStdString());
            fields.push_back(moment.nextOpen.isValid() ? isoOf(moment.nextOpen.toTimeZone(own))
                                                       : std::string());
        }
        fieldsBySet_.push_back(std::move(fields));
    }
    // Once, however many zones: a missing database loses them all.
    if (!unknown.empty())
        warnings_.push_back(
            "the time zone " + unknown.front().toStdString() + " cannot be loaded (" +
            whyZoneCannotLoad(unknown.front()).toStdString() + ")" +
            (unknown.size() > 1 ? ", nor can " + std::to_string(unknown.size() - 1) + " more"
                                : std::string()) +
            "; the local times and calling answers of such zones are unknown");
}

std::vector<std::string> ZoneFields::headings(bool titled) const {
    std::vector<std::string> names;
    if (options_.timeZone)
        names.emplace_back(titled ? "Time Zone" : "time_zone");
    if (options_.localTime)
        names.emplace_back(titled ? "Local Time" : "local_time");
    if (options_.callable) {
        names.emplace_back(titled ? "Callable" : "callable");
        names.emplace_back(titled ? "Opens" : "opens");
    }
    return names;
}

} // namespace tallyvane::batch
