// The time zones, local times and calling hours of entries, through the core
// both programs use, from the real database and the system's zone files
// (TZDIR pinned to them), at fixed moments.
#include "conversion/area_code_table.h"
#include "conversion/calling_window.h"
#include "conversion/time_zones.h"
#include "platform/sqlite/sqlite_area_code_database.h"

#include <QTest>

using namespace tallyvane;

namespace {

QString iso(const QDateTime& moment) {
    return moment.toString(Qt::ISODate);
}

} // namespace

class TestTimeZones : public QObject {
    Q_OBJECT
    AreaCodeTable codes_;
    TimeZoneTable zones_;

private Q_SLOTS:
    void initTestCase() {
        qputenv("TZDIR", "/usr/share/zoneinfo");
        SqliteAreaCodeDatabaseOpener opener(
            {QStringLiteral(TALLYVANE_BINARY_DIR "/bin/areacodes.db")});
        const auto db = opener.open();
        codes_ = AreaCodeTable::read(*db);
        zones_ = TimeZoneTable::read(*db);
    }

    void eachEntryHasItsZonesAndLocalTimes_data() {
        QTest::addColumn<bool>("states");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("zones");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("localTimes"); // at 2026-07-15 16:00 UTC
        const auto row = [](const char* tag, const char* entry, const char* zones,
                            const char* names, const char* times, bool states = false) {
            QTest::newRow(tag) << states << QString::fromUtf8(entry) << QString::fromUtf8(zones)
                               << QString::fromUtf8(names) << QString::fromUtf8(times);
        };
        row("New York", "212-555-0100", "America/New_York", "Eastern", "2026-07-15T12:00:00-04:00");
        row("Hawaii", "808", "Pacific/Honolulu", "Hawaii", "2026-07-15T06:00:00-10:00");
        row("Arizona keeps standard time", "(602) 555-0100", "America/Phoenix", "Mountain (no DST)",
            "2026-07-15T09:00:00-07:00");
        row("Saskatchewan", "306-555-0100", "America/Regina", "Central (no DST)",
            "2026-07-15T10:00:00-06:00");
        row("Newfoundland, half an hour", "1-709-579-0100", "America/St_Johns", "Newfoundland",
            "2026-07-15T13:30:00-02:30");
        row("a code in two zones", "850", "America/Chicago America/New_York", "Central or Eastern",
            "2026-07-15T11:00:00-05:00 2026-07-15T12:00:00-04:00");
        row("an exchange of one", "850-432-1234", "America/Chicago", "Central",
            "2026-07-15T11:00:00-05:00");
        row("Idaho, three zones", "208", "America/Boise America/Denver America/Los_Angeles",
            "Mountain or Pacific",
            "2026-07-15T10:00:00-06:00 2026-07-15T10:00:00-06:00 2026-07-15T09:00:00-07:00");
        row("Idaho's panhandle", "208-882-0100 x7", "America/Los_Angeles", "Pacific",
            "2026-07-15T09:00:00-07:00");
        row("El Paso", "915-555-0100", "America/Denver", "Mountain", "2026-07-15T10:00:00-06:00");
        row("Guam, tomorrow", "671-555-0100", "Pacific/Guam", "Chamorro",
            "2026-07-16T02:00:00+10:00");
        row("another country", "+44 20 7946 0958", "", "", "");
        row("a state", "Arizona", "America/Phoenix America/Denver", "Mountain (no DST) or Mountain",
            "2026-07-15T09:00:00-07:00 2026-07-15T10:00:00-06:00", true);
        row("a state not found", "Nowhere", "", "", "", true);
    }
    void eachEntryHasItsZonesAndLocalTimes() {
        QFETCH(bool, states);
        QFETCH(QString, entry);
        const Direction direction =
            states ? Direction::StatesToAreaCodes : Direction::AreaCodesToStates;
        const bool found = states
                               ? codes_.areaCodesFor(entry) != AreaCodeTable::kNotFound
                               : codes_.statesFor(AreaCode::of(entry)) != AreaCodeTable::kNotFound;
        const TimeZoneTable::SetId id = zones_.forEntry(direction, QStringView(entry), found);
        const QByteArray utf8 = entry.toUtf8();
        QCOMPARE(zones_.forEntry(direction, std::string_view(utf8.constData(), utf8.size()), found),
                 id);
        QTEST(zones_.zones(id).join(u' '), "zones");
        QTEST(commonZoneNames(zones_.zones(id)), "names");
        const QDateTime now(QDate(2026, 7, 15), QTime(16, 0), QTimeZone::utc());
        QStringList times;
        for (const QDateTime& local : zoneMoment(zones_.zones(id), now, {}).localTimes)
            times << iso(local);
        QTEST(times.join(u' '), "localTimes");
    }

    // Callable in every zone, in none, or in some; and when the hours next
    // open everywhere.
    void callingHours_data() {
        QTest::addColumn<QString>("zones");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("callable");
        QTest::addColumn<QString>("nextOpen"); // UTC
        QTest::newRow("open") << "America/New_York"
                              << "2026-07-15T16:00:00Z"
                              << "08:00-21:00"
                              << "yes"
                              << "";
        QTest::newRow("early in Hawaii") << "Pacific/Honolulu"
                                         << "2026-07-15T16:00:00Z"
                                         << "08:00-21:00"
                                         << "no"
                                         << "2026-07-15T18:00:00Z";
        QTest::newRow("Eastern open, Central not yet") << "America/Chicago America/New_York"
                                                       << "2026-07-15T12:30:00Z"
                                                       << "08:00-21:00"
                                                       << "depends"
                                                       << "2026-07-15T13:00:00Z";
        QTest::newRow("late: tomorrow, in winter time") << "America/New_York"
                                                        << "2026-12-09T03:00:00Z"
                                                        << "08:00-21:00"
                                                        << "no"
                                                        << "2026-12-09T13:00:00Z";
        QTest::newRow("hours past midnight") << "America/New_York"
                                             << "2026-07-15T05:00:00Z"
                                             << "22:00-02:00"
                                             << "yes"
                                             << "";
        QTest::newRow("no zones") << ""
                                  << "2026-07-15T16:00:00Z"
                                  << "08:00-21:00"
                                  << "no"
                                  << "";
    }
    void callingHours() {
        QFETCH(QString, zones);
        QFETCH(QString, at);
        QFETCH(QString, hours);
        const ZoneMoment moment =
            zoneMoment(zones.split(u' ', Qt::SkipEmptyParts),
                       QDateTime::fromString(at, Qt::ISODate), *CallingHours::parse(hours));
        QTEST(callableWord(moment.callable), "callable");
        QTEST(moment.nextOpen.isValid() ? iso(moment.nextOpen) : QString(), "nextOpen");
    }

    void callingHoursAreReadStrictly() {
        for (const char* bad : {"8:00-21:00", "08:00-08:00", "08:00-25:00", "08:60-21:00", ""})
            QVERIFY2(!CallingHours::parse(QString::fromLatin1(bad)), bad);
        QCOMPARE(CallingHours::parse(QStringLiteral("09:30-17:00"))->startMinute, 9 * 60 + 30);
    }
};

QTEST_GUILESS_MAIN(TestTimeZones)
#include "test_time_zones.moc"
