#include "app/qt/time_zone_columns.h"

#include "commands/product.h"
#include "conversion/area_code_table.h"
#include "lists/list_model.h"
#include "platform/area_code_database.h"
#include "platform/settings_store.h"

#include <QTimeZone>

namespace tallyvane {

namespace {

const QString kShowTimeZones = QStringLiteral("Show Time Zones");
const QString kCallingHours = QStringLiteral("Calling Hours");
constexpr int kMinute = 60 * 1000;

// A zone the system cannot load has no local time to show.
QString shortTime(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(QStringLiteral("HH:mm")) : QStringLiteral("unknown");
}

} // namespace

TimeZoneColumns::TimeZoneColumns(QObject* parent, ListModel& results,
                                 AreaCodeDatabaseOpener& database, SettingsStore& settings,
                                 std::function<Direction()> direction)
    : QObject(parent), results_(results), database_(database), settings_(settings),
      direction_(std::move(direction)) {
    hours_ = CallingHours::parse(settings_.read(kCompanyName, kProductTitle, kCallingHours, {}))
                 .value_or(CallingHours{});
    clock_.setInterval(kMinute);
    connect(&clock_, &QTimer::timeout, this, [this] {
        moments_.assign(moments_.size(), {});
        results_.refreshShownColumns();
    });
}

bool TimeZoneColumns::storedChoice() const {
    return settings_.read(kCompanyName, kProductTitle, kShowTimeZones, QStringLiteral("0")) == u"1";
}

void TimeZoneColumns::store() const {
    settings_.write(kCompanyName, kProductTitle, kShowTimeZones,
                    shown_ ? QStringLiteral("1") : QStringLiteral("0"));
}

void TimeZoneColumns::setShown(bool shown) {
    if (shown && !table_)
        table_ = TimeZoneTable::read(*database_.open());
    shown_ = shown;
    moments_.assign(shown ? table_->setCount() : 0, {});
    if (!shown) {
        clock_.stop();
        results_.hideColumns(this);
        return;
    }
    clock_.start();
    results_.showColumns(this);
}

QStringList TimeZoneColumns::headings() const {
    return {QStringLiteral("Time zone"), QStringLiteral("Local time")};
}

QStringList TimeZoneColumns::exportHeadings() const {
    return {QStringLiteral("Time Zone"), QStringLiteral("Local Time"), QStringLiteral("Callable"),
            QStringLiteral("Opens")};
}

QString TimeZoneColumns::hoursText(const CallingHours& hours) {
    const auto time = [](int minute) {
        return QStringLiteral("%1:%2")
            .arg(minute / 60, 2, 10, QLatin1Char('0'))
            .arg(minute % 60, 2, 10, QLatin1Char('0'));
    };
    return time(hours.startMinute) + QLatin1Char('-') + time(hours.endMinute);
}

void TimeZoneColumns::setHours(const CallingHours& hours) {
    hours_ = hours;
    settings_.write(kCompanyName, kProductTitle, kCallingHours, hoursText(hours));
    moments_.assign(moments_.size(), {});
    results_.refreshShownColumns();
}

TimeZoneTable::SetId TimeZoneColumns::setOf(int position) const {
    const QString entry = results_.originEntry(position);
    return table_->forEntry(direction_(), QStringView(entry),
                            !AreaCodeTable::isNotFound(results_.text(position)));
}

const ZoneMoment& TimeZoneColumns::momentOf(TimeZoneTable::SetId id) {
    SetNow& now = moments_[id];
    if (!now.known) {
        now.moment = zoneMoment(table_->zones(id), QDateTime::currentDateTimeUtc(), hours_);
        now.known = true;
    }
    return now.moment;
}

QString TimeZoneColumns::cell(int position, int column) {
    const TimeZoneTable::SetId id = setOf(position);
    if (column == 0)
        return commonZoneNames(table_->zones(id));
    QStringList times;
    for (const QDateTime& local : momentOf(id).localTimes)
        if (!times.contains(shortTime(local)))
            times << shortTime(local);
    return times.join(QStringLiteral(" or "));
}

QString TimeZoneColumns::tooltip(int position) {
    const TimeZoneTable::SetId id = setOf(position);
    if (id == TimeZoneTable::kNone)
        return QStringLiteral("No time zone");
    const ZoneMoment& moment = momentOf(id);
    QStringList times;
    const QStringList& zones = table_->zones(id);
    for (int i = 0; i < moment.localTimes.size(); ++i)
        times << shortTime(moment.localTimes[i]) + QLatin1Char(' ') + commonZoneNames({zones[i]});
    QString text = QStringLiteral("Time zone: ") + commonZoneNames(zones) +
                   QStringLiteral("\nLocal time: ") + times.join(QStringLiteral(", "));
    const QString hours = QStringLiteral(" (") + hoursText(hours_) + QStringLiteral(" local time)");
    switch (moment.callable) {
    case Callable::Yes:
        return text + QStringLiteral("\nCallable now") + hours;
    case Callable::No:
        text += QStringLiteral("\nNot callable now") + hours;
        break;
    case Callable::Depends:
        text += QStringLiteral("\nCallable now in some of its zones only") + hours;
        break;
    case Callable::Unknown:
        return text +
               QStringLiteral("\nWhether it is callable now is unknown: the system cannot "
                              "load its time zone (") +
               whyZoneCannotLoad(zones[moment.localTimes.indexOf(QDateTime())]) +
               QStringLiteral(")");
    }
    if (moment.nextOpen.isValid())
        text += QStringLiteral("; callable everywhere from ") +
                moment.nextOpen.toLocalTime().toString(QStringLiteral("ddd HH:mm")) +
                QStringLiteral(" your time");
    return text;
}

QStringList TimeZoneColumns::exportFields(int position) {
    const TimeZoneTable::SetId id = setOf(position);
    const ZoneMoment& moment = momentOf(id);
    QStringList times;
    for (const QDateTime& local : moment.localTimes)
        times << (local.isValid() ? local.toString(Qt::ISODate) : QStringLiteral("unknown"));
    // When the hours next open in every zone, in the person's own time, as
    // tallyvane-convert's "opens" gives it.
    const QString opens =
        moment.nextOpen.isValid()
            ? moment.nextOpen.toTimeZone(QTimeZone::systemTimeZone()).toString(Qt::ISODate)
            : QString();
    return {table_->zones(id).join(u' '), times.join(u' '),
            id == TimeZoneTable::kNone ? QString() : callableWord(moment.callable),
            id == TimeZoneTable::kNone ? QString() : opens};
}

} // namespace tallyvane
