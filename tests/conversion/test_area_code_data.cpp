// Cross-checks data/area_codes.csv against libphonenumber's offline geocoder, an independent
// source, so a typo, a dropped overlay or a code that is not geographic cannot ship unnoticed.
#include "conversion/conversion_run.h"
#include "entries/sample_data.h"
#include "platform/sqlite/sqlite_area_code_database.h"
#include "support/fakes.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumberutil.h>
#include <unicode/locid.h>

#include <algorithm>
#include <string>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberOfflineGeocoder;
using i18n::phonenumbers::PhoneNumberUtil;
using StateSets = QMap<QString, QSet<QString>>; // area code -> state codes

namespace {

// clang-format off
const QMap<QString, QString> kNames = {
    {"AL", "Alabama"}, {"AK", "Alaska"}, {"AZ", "Arizona"}, {"AR", "Arkansas"},
    {"CA", "California"}, {"CO", "Colorado"}, {"CT", "Connecticut"}, {"DE", "Delaware"},
    {"DC", "District of Columbia"}, {"FL", "Florida"}, {"GA", "Georgia"}, {"HI", "Hawaii"},
    {"ID", "Idaho"}, {"IL", "Illinois"}, {"IN", "Indiana"}, {"IA", "Iowa"}, {"KS", "Kansas"},
    {"KY", "Kentucky"}, {"LA", "Louisiana"}, {"ME", "Maine"}, {"MD", "Maryland"},
    {"MA", "Massachusetts"}, {"MI", "Michigan"}, {"MN", "Minnesota"}, {"MS", "Mississippi"},
    {"MO", "Missouri"}, {"MT", "Montana"}, {"NE", "Nebraska"}, {"NV", "Nevada"},
    {"NH", "New Hampshire"}, {"NJ", "New Jersey"}, {"NM", "New Mexico"}, {"NY", "New York"},
    {"NC", "North Carolina"}, {"ND", "North Dakota"}, {"OH", "Ohio"}, {"OK", "Oklahoma"},
    {"OR", "Oregon"}, {"PA", "Pennsylvania"}, {"RI", "Rhode Island"}, {"SC", "South Carolina"},
    {"SD", "South Dakota"}, {"TN", "Tennessee"}, {"TX", "Texas"}, {"UT", "Utah"},
    {"VT", "Vermont"}, {"VA", "Virginia"}, {"WA", "Washington"}, {"WV", "West Virginia"},
    {"WI", "Wisconsin"}, {"WY", "Wyoming"}, {"PR", "Puerto Rico"}, {"VI", "U.S. Virgin Islands"},
    {"GU", "Guam"}, {"MP", "Northern Mariana Islands"}, {"AS", "American Samoa"},
    {"AB", "Alberta"}, {"BC", "British Columbia"}, {"MB", "Manitoba"}, {"NB", "New Brunswick"},
    {"NL", "Newfoundland and Labrador"}, {"NS", "Nova Scotia"}, {"NT", "Northwest Territories"},
    {"NU", "Nunavut"}, {"ON", "Ontario"}, {"PE", "Prince Edward Island"}, {"QC", "Quebec"},
    {"SK", "Saskatchewan"}, {"YT", "Yukon"}};
// clang-format on

// The geocoder's own spellings that are not plain state names (445 lacks its ", PA"; newer data
// misspells BC). Shared codes come as "Nova Scotia/Prince Edward Island" and are split on '/'.
const QMap<QString, QString> kAliases = {{"Washington State", "WA"},
                                         {"Washington D.C.", "DC"},
                                         {"Philadelphia", "PA"},
                                         {"British Colombia", "BC"}};

struct Row {
    QString code, state, name;
};

// The data files are plain CSV without quoting: the header, then one row a line.
QList<QStringList> readPlainCsv(const QString& name, const QString& header, qsizetype fields) {
    QFile file(QStringLiteral(TALLYVANE_SOURCE_DIR "/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    const QString text = QString::fromUtf8(file.readAll());
    if (text.contains(QLatin1Char('\r')) || !text.endsWith(QLatin1Char('\n')))
        qFatal("%s: line ends must be LF only, the last line included", qPrintable(name));
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    if (lines.takeFirst() != header)
        qFatal("%s: the header must be %s", qPrintable(name), qPrintable(header));
    QList<QStringList> rows;
    for (const QString& line : lines) {
        rows.append(line.split(QLatin1Char(',')));
        if (rows.last().size() != fields)
            qFatal("%s: not %d fields: %s", qPrintable(name), int(fields), qPrintable(line));
    }
    return rows;
}

// What the library knows: for US and Canadian numbers the state comes from the description; a
// code-wide name ("New Jersey") outranks the state of a single exchange ("New York, NY" for one
// 201 exchange), and codes without one (212) are known by their cities' states.
StateSets libraryStates() {
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    const PhoneNumberOfflineGeocoder geocoder;
    const icu::Locale english("en", "US");
    const QSet<QString> territories = {"PR", "VI", "GU", "MP", "AS"};
    static const QRegularExpression cityState(QStringLiteral(", ([A-Z]{2})$"));
    StateSets result;
    for (int npa = 200; npa <= 999; ++npa) {
        QSet<QString> wide, cities;
        // Every fifth exchange finds what a scan of all of them finds, in a fifth of the time;
        // 684 has the fewest valid exchanges and two of them fall on this grid.
        for (int nxx = 200; nxx <= 999; nxx += 5) {
            PhoneNumber number;
            number.set_country_code(1);
            number.set_national_number(npa * 10000000ULL + nxx * 10000ULL + 4567);
            const auto type = util.GetNumberType(number);
            if (type != PhoneNumberUtil::FIXED_LINE && type != PhoneNumberUtil::MOBILE &&
                type != PhoneNumberUtil::FIXED_LINE_OR_MOBILE)
                continue;
            std::string region;
            util.GetRegionCodeForNumber(number, &region);
            const QString regionCode = QString::fromStdString(region);
            if (territories.contains(regionCode)) {
                wide.insert(regionCode);
                continue;
            }
            if (regionCode != QLatin1String("US") && regionCode != QLatin1String("CA"))
                continue;
            const QString text =
                QString::fromStdString(geocoder.GetDescriptionForNumber(number, english));
            const auto match = cityState.match(text);
            if (match.hasMatch() && kNames.contains(match.captured(1))) {
                cities.insert(match.captured(1));
                continue;
            }
            for (const QString& part : text.split(QLatin1Char('/'))) {
                const QString state = kAliases.value(part, kNames.key(part));
                if (!state.isEmpty())
                    wide.insert(state);
            }
        }
        if (!wide.isEmpty() || !cities.isEmpty())
            result.insert(QString::number(npa), wide.isEmpty() ? cities : wide);
    }
    return result;
}

} // namespace

class TestAreaCodeData : public QObject {
    Q_OBJECT
    QList<Row> rows;
    StateSets table;
    StateSets inProvenance; // codes in service since 2019 or scheduled, by the provenance file

private Q_SLOTS:
    void initTestCase() {
        const auto lines = readPlainCsv(QStringLiteral("area_codes.csv"),
                                        QStringLiteral("area_cd,state_cd,location_name"), 3);
        for (const QStringList& f : lines) {
            rows.append({f[0], f[1], f[2]});
            table[f[0]].insert(f[1]);
        }
        for (const QStringList& f :
             readPlainCsv(QStringLiteral("area_codes_provenance.csv"),
                          QStringLiteral("area_cd,state_cd,in_service,source"), 4))
            inProvenance[f[0]].insert(f[1]);
    }

    void rowsAreWellFormed() {
        static const QRegularExpression shape(QStringLiteral("^[2-9][0-9][0-9]$"));
        // Codes that are never one place: N11 services, N9X and 37X/96X held for expansion, and
        // the non-geographic N00, 5YY personal, 8YY toll-free and 456/710 ranges.
        static const QRegularExpression reserved(
            QStringLiteral("^(.11|.9.|37.|96.|.00|5(22|33|44|55|66|77|88)|8(22|33|44|55|66|77|88)"
                           "|88.|456|710)$"));
        QSet<QString> seen;
        for (int i = 0; i < rows.size(); ++i) {
            const Row& r = rows[i];
            const QString where = r.code + QLatin1Char(',') + r.state;
            QVERIFY2(shape.match(r.code).hasMatch(), qPrintable(where));
            QVERIFY2(!reserved.match(r.code).hasMatch(), qPrintable(where));
            QVERIFY2(kNames.contains(r.state), qPrintable(where));
            QVERIFY2(kNames.value(r.state) == r.name,
                     qPrintable(where + QLatin1Char(',') + r.name));
            QVERIFY2(!seen.contains(where), qPrintable("duplicate " + where));
            seen.insert(where);
            // Ascending by code, then state, so a state's codes come back in order.
            if (i > 0) {
                const Row& p = rows[i - 1];
                QVERIFY2(p.code < r.code || (p.code == r.code && p.state < r.state),
                         qPrintable("out of order at " + where));
            }
        }
        // Each state has at least one code and the shared codes keep every state they serve.
        for (const QString& state : kNames.keys())
            QVERIFY2(std::any_of(rows.cbegin(), rows.cend(),
                                 [&](const Row& r) { return r.state == state; }),
                     qPrintable("no code for " + state));
        QCOMPARE(table.value("902"), (QSet<QString>{"NS", "PE"}));
        QCOMPARE(table.value("782"), (QSet<QString>{"NS", "PE"}));
        QCOMPARE(table.value("867"), (QSet<QString>{"NT", "NU", "YT"}));
    }

    void agreesWithLibphonenumber() {
        const StateSets library = libraryStates();
        // A shrunken library scan would make this check pass vacuously.
        QVERIFY2(library.size() > 380, qPrintable(QString::number(library.size())));
        QStringList faults;
        for (auto it = library.cbegin(); it != library.cend(); ++it)
            if (table.value(it.key()) != it.value())
                faults << it.key() + QStringLiteral(": library ") + it.value().values().join('/') +
                              QStringLiteral(", table ") + table.value(it.key()).values().join('/');
        // A code newer than the installed library (8.12.57, late 2022) is vouched for by its
        // provenance row instead; a newer library checks it like any other code.
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            if (!library.contains(it.key()) && inProvenance.value(it.key()) != it.value())
                faults << it.key() + QStringLiteral(": in neither the library nor the provenance");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // Every code in service since 2019 or scheduled has a date and a source.
    void provenanceMatchesTheTable() {
        static const QRegularExpression date(
            QStringLiteral("^(\\d{4}(-\\d\\d(-\\d\\d)?)?|\\d{4}/\\d{4}|none yet)$"));
        const auto lines = readPlainCsv(QStringLiteral("area_codes_provenance.csv"),
                                        QStringLiteral("area_cd,state_cd,in_service,source"), 4);
        QSet<QString> seen;
        for (const QStringList& f : lines) {
            const QString where = f.join(QLatin1Char(','));
            QVERIFY2(table.value(f[0]) == QSet<QString>{f[1]}, qPrintable(where));
            QVERIFY2(date.match(f[2]).hasMatch(), qPrintable(where));
            QVERIFY2(f[2] == QLatin1String("none yet") ||
                         f[2].section(QLatin1Char('/'), -1).left(4).toInt() >= 2019,
                     qPrintable(where));
            QVERIFY2(!f[3].trimmed().isEmpty(), qPrintable(where));
            QVERIFY2(!seen.contains(f[0]), qPrintable("duplicate " + where));
            seen.insert(f[0]);
        }
    }

    // The newest codes through the real conversion command and the database the build made.
    void newCodesConvertThroughTheBuiltDatabase() {
        using namespace tallyvane;
        using namespace tallyvane::testing;
        SqliteAreaCodeDatabaseOpener opener(
            {QStringLiteral(TALLYVANE_BINARY_DIR "/bin/areacodes.db")});
        FakePlatform codes;
        PushButton7_Click(codes.prompts, codes.entries);
        codes.addEntries({"1 (436) 555-0142", "624-555-0199", "273", "565"});
        ConversionRun(codes.runServices(&opener)).PushButton17_Click();
        QCOMPARE(codes.resultTexts(), QStringList({"Not Found", "NH", "Not Found", "NJ", "NJ", "NJ",
                                                   "NH", "NH", "OH", "NY", "QC", "GA"}));
        FakePlatform states;
        states.options.option1 = false;
        states.options.option2 = true;
        states.addEntries({"OH"});
        ConversionRun(states.runServices(&opener)).PushButton17_Click();
        QVERIFY2(states.resultTexts().value(0).split(QLatin1Char(' ')).contains("436"),
                 qPrintable(states.resultTexts().join('|')));
        QVERIFY(codes.prompts.errorReports().empty() && states.prompts.errorReports().empty());
    }
};

QTEST_GUILESS_MAIN(TestAreaCodeData)
#include "test_area_code_data.moc"
