#include "bench_conversion.h"

#include "app/qt/form1.h"
#include "bench_util.h"
#include "conversion/conversion_run.h"
#include "lists/list_model.h"
#include "platform/direction_options.h"
#include "platform/qt/qt_window_services.h"
#include "platform/sqlite/sqlite_area_code_database.h"
#include "support/fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

#include <algorithm>

namespace tallyvane::bench {

namespace {

constexpr int kCatchUpLimitMs = 60'000;

double seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The rows the run must produce, worked out from the table alone.
class Expected {
public:
    explicit Expected(const std::vector<AreaCodeRow>& table) {
        for (const AreaCodeRow& r : table) {
            statesByCode_[r.areaCode] << r.stateCode;
            codesByState_[r.stateCode.toCaseFolded()] << r.areaCode;
            if (r.locationName.compare(r.stateCode, Qt::CaseInsensitive) != 0)
                codesByState_[r.locationName.toCaseFolded()] << r.areaCode;
        }
        for (QStringList& codes : codesByState_)
            codes.sort();
    }

    bool matches(Direction direction, const QString& entry, const QString& row) const {
        if (direction == Direction::AreaCodesToStates) {
            const auto found = statesByCode_.constFind(AreaCode::of(entry).text());
            return row ==
                   (found == statesByCode_.constEnd() ? notFound() : found->join(QLatin1Char(' ')));
        }
        const auto found = codesByState_.constFind(entry.toCaseFolded());
        if (found == codesByState_.constEnd())
            return row == notFound();
        QStringList codes = row.split(QLatin1Char(' '));
        codes.sort();
        return codes == *found;
    }

private:
    static QString notFound() { return QStringLiteral("Not Found"); }
    QHash<QString, QStringList> statesByCode_;
    QHash<QString, QStringList> codesByState_;
};

int wrongRows(Form1& form, Direction direction, const std::vector<AreaCodeRow>& table) {
    const Expected expected(table);
    ListModel& entries = form.entryModel();
    ListModel& results = form.resultModel();
    int wrong = std::abs(entries.count() - results.count());
    const int n = std::min(entries.count(), results.count());
    for (int i = 1; i <= n; ++i) {
        if (!expected.matches(direction, entries.text(i), results.text(i)))
            ++wrong;
    }
    return wrong;
}

void fillEntryList(Form1& form, const std::vector<AreaCodeRow>& table, int entryCount) {
    {
        // The list keeps its own copies; the generated vector goes before the
        // run so that the peak memory is the window's, not the benchmark's.
        const std::vector<QString> entries = makeEntries(entryCount, table);
        for (const QString& entry : entries)
            form.entryModel().append(entry);
    }
    form.entryModel().announcePendingRows();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// Runs the event loop, as the window's own loop would after the click, until
// the results list shows every row; notes the longest stretch of work between
// two moments when the loop was ready to wait for the user.
void waitForResultRows(Form1& form, Figures& figures) {
    ListModel& results = form.resultModel();
    const auto allShown = [&results] { return results.rowCount() == results.count(); };
    const qint64 longest = longestWorkUntil(allShown, 0, kCatchUpLimitMs);
    figures["catch_up_pump_ms"] = static_cast<double>(longest) / 1e6;
}

} // namespace

void measureNormalisation(Figures& figures, const std::vector<QString>& entries) {
    qsizetype sink = 0;
    QElapsedTimer timer;
    timer.start();
    for (const QString& entry : entries)
        sink += AreaCode::of(entry).text().size();
    figures["seconds"] = seconds(timer);
    figures["sink"] = static_cast<double>(sink);
}

void measureLookups(Figures& figures, const QString& databasePath,
                    const std::vector<QString>& entries, Direction direction) {
    SqliteAreaCodeDatabaseOpener opener({databasePath});
    const std::unique_ptr<AreaCodeDatabase> db = opener.open();
    std::vector<QString> keys;
    keys.reserve(entries.size());
    for (const QString& entry : entries)
        keys.push_back(direction == Direction::AreaCodesToStates ? AreaCode::of(entry).text()
                                                                 : entry);
    qsizetype found = 0;
    QElapsedTimer timer;
    timer.start();
    for (const QString& key : keys) {
        const QString row = resultRowText(direction == Direction::AreaCodesToStates
                                              ? db->statesForAreaCode(key)
                                              : db->areaCodesForState(key, key));
        found += row.size();
    }
    figures["seconds"] = seconds(timer);
    figures["sink"] = static_cast<double>(found);
}

void measureWholeRun(Figures& figures, const QString& databasePath,
                     const std::vector<AreaCodeRow>& table, int entryCount, Direction direction) {
    testing::FakePrompts prompts;
    testing::FakeSettingsStore settings;
    Form1Overrides overrides;
    overrides.prompts = &prompts;
    overrides.settings = &settings;
    overrides.programFolder = programFolderFor(databasePath);
    overrides.unload = [] {};
    Form1 form(overrides);
    form.show();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    fillEntryList(form, table, entryCount);
    DirectionOptions& options = form.services().options;
    options.setOption1(direction == Direction::AreaCodesToStates);
    options.setOption2(direction == Direction::StatesToAreaCodes);
    prompts.shown.clear();

    QtWindowServices& window = form.windowServices();
    window.resetPumpStatistics();
    QElapsedTimer timer;
    timer.start();
    form.conversionRun().PushButton17_Click();
    const double click = seconds(timer);
    window.processEvents(); // the first event-processing point after the run
    figures["gap_ms"] = static_cast<double>(window.longestGapNs()) / 1e6;
    figures["pump_ms"] = static_cast<double>(window.longestPumpNs()) / 1e6;
    figures["pumps"] = static_cast<double>(window.pumpCount());
    waitForResultRows(form, figures);
    figures["seconds"] = seconds(timer);
    figures["click_seconds"] = click;
    figures["catch_up_seconds"] = figures["seconds"] - click;
    figures["peak_mb"] = peakMemoryMb();

    int wrong = wrongRows(form, direction, table);
    if (prompts.texts() != QStringList{QStringLiteral("Done.")})
        wrong += 1 + static_cast<int>(prompts.shown.size());
    figures["wrong"] = wrong;
    figures["shown_rows"] = form.resultModel().rowCount();
}

} // namespace tallyvane::bench
