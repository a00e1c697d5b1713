#include "batch/zone_fields.h"

#include "conversion/calling_window.h"

namespace tallyvane::batch {

namespace {

std::string isoOf(const QDateTime& moment) {
    return moment.toString(Qt::ISODate).toStdString();
}

} // namespace

ZoneFields::ZoneFields(const TimeZoneTable& table, const ConvertOptions& options)
    : table_(table), options_(options) {
    const QDateTime now = options.at.isValid() ? options.at : QDateTime::currentDateTimeUtc();
    const QTimeZone own = QTimeZone::systemTimeZone();
    for (TimeZoneTable::SetId id = 0; id < table.setCount(); ++id) {
        std::vector<std::string> fields;
        const QStringList& zones = table.zones(id);
        const ZoneMoment moment = zoneMoment(zones, now, options.callingHours);
        if (options.timeZone)
            fields.push_back(zones.join(u' ').toStdString());
        if (options.localTime) {
            std::string times;
            for (const QDateTime& local : moment.localTimes)
                times += (times.empty() ? "" : " ") + isoOf(local);
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
