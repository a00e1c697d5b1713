#include "bench_report.h"

#include "bench_conversion.h"
#include "bench_entries.h"
#include "bench_isolation.h"
#include "bench_util.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace tallyvane::bench {

namespace {

constexpr Direction kDirections[] = {Direction::AreaCodesToStates, Direction::StatesToAreaCodes};

const char* name(Direction direction) {
    return direction == Direction::AreaCodesToStates ? "codes" : "states";
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Every figure of the repeats, by name, then the median of each.
class Medians {
public:
    void add(const std::string& prefix, const Figures& figures) {
        for (const auto& [key, value] : figures)
            samples_[prefix + key].push_back(value);
    }
    bool has(const std::string& key) const { return samples_.count(key) != 0; }
    double operator()(const std::string& key) const {
        const auto found = samples_.find(key);
        return found == samples_.end() ? 0.0 : median(found->second);
    }
    double worst(const std::string& key) const {
        const auto found = samples_.find(key);
        if (found == samples_.end() || found->second.empty())
            return 0.0;
        return *std::max_element(found->second.begin(), found->second.end());
    }

private:
    std::map<std::string, std::vector<double>> samples_;
};

void printRow(const char* label, const QString& left, const QString& right) {
    std::printf("  %-38s %-24s %s\n", label, qPrintable(left), qPrintable(right));
}

QString timed(const Medians& m, const std::string& key, int entries) {
    if (!m.has(key))
        return QStringLiteral("-");
    const double s = m(key);
    return QStringLiteral("%1 %2").arg(formatPerEntry(s, entries), -9).arg(formatRate(entries / s));
}

QString number(double value, int decimals, const char* unit) {
    return QStringLiteral("%1 %2").arg(value, 0, 'f', decimals).arg(QLatin1String(unit));
}

int printConversion(const Medians& m, int entries, int repeat) {
    std::printf("\n%d entries (median of %d)\n", entries, repeat);
    printRow("", QStringLiteral("area codes -> states"), QStringLiteral("states -> area codes"));
    printRow("normalisation alone", timed(m, "norm.seconds", entries),
             m.has("norm.seconds") ? QStringLiteral("none: entries go as typed")
                                   : QStringLiteral("-"));
    printRow("database lookups alone", timed(m, "lookup.codes.seconds", entries),
             timed(m, "lookup.states.seconds", entries));
    const auto both = [&m](const std::string& key, int decimals, const char* unit) {
        const auto one = [&](const std::string& full) {
            return m.has(full) ? number(m(full), decimals, unit) : QStringLiteral("-");
        };
        return std::pair(one("run.codes." + key), one("run.states." + key));
    };
    const auto row = [](const char* label, const std::pair<QString, QString>& values) {
        printRow(label, values.first, values.second);
    };
    printRow("whole run, click to every row shown", timed(m, "run.codes.seconds", entries),
             timed(m, "run.states.seconds", entries));
    row("  whole run", both("seconds", 3, "s"));
    row("  of it after the click returned", both("catch_up_seconds", 3, "s"));
    row("peak memory", both("peak_mb", 0, "MB"));
    row("longest gap between two pumps", both("gap_ms", 2, "ms"));
    row("longest single pump", both("pump_ms", 2, "ms"));
    row("longest pump while catching up", both("catch_up_pump_ms", 2, "ms"));
    row("pumps", both("pumps", 0, ""));
    int bad = 0;
    for (const Direction d : kDirections) {
        const std::string prefix = std::string("run.") + name(d) + '.';
        if (m.worst(prefix + "wrong") > 0 || m.worst(prefix + "failed") > 0 ||
            m.worst("lookup.failed") > 0)
            bad = 1;
    }
    if (bad)
        std::printf("  SOME RUNS FAILED OR GAVE WRONG ROWS (worst: %.0f / %.0f wrong)\n",
                    m.worst("run.codes.wrong"), m.worst("run.states.wrong"));
    return bad;
}

Figures measureAlone(const QString& databasePath, const std::vector<AreaCodeRow>& table,
                     int entryCount) {
    return runIsolated([&](Figures& figures) {
        const std::vector<QString> entries = makeEntries(entryCount, table);
        Figures one;
        measureNormalisation(one, entries);
        figures["norm.seconds"] = one["seconds"];
        for (const Direction d : kDirections) {
            measureLookups(one, databasePath, entries, d);
            figures[std::string("lookup.") + name(d) + ".seconds"] = one["seconds"];
        }
    });
}

} // namespace

int reportConversion(const std::vector<int>& entryCounts, int repeat, QString databasePath,
                     const QString& onlyDirection) {
    if (databasePath.isEmpty())
        databasePath = defaultDatabasePath();
    std::vector<AreaCodeRow> table;
    try {
        table = readAreaCodeTable(databasePath);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tallyvane_bench: %s\n", error.what());
        return 1;
    }
    std::printf("database %s: %zu rows\n", qPrintable(QFileInfo(databasePath).canonicalFilePath()),
                table.size());
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly)) // other work on the machine skews every figure
        std::printf("load average: %s", load.readLine().constData());
    std::printf("targets: whole run of 1000000 entries <= 2 s either way, peak memory <= 300 MB,\n"
                "         no gap > 50 ms between two event-processing points\n");
    int failures = 0;
    for (const int entries : entryCounts) {
        Medians m;
        for (int r = 0; r < repeat; ++r) {
            if (onlyDirection.isEmpty())
                m.add("", measureAlone(databasePath, table, entries));
            for (const Direction d : kDirections) {
                if (!onlyDirection.isEmpty() && onlyDirection != QLatin1String(name(d)))
                    continue;
                m.add(std::string("run.") + name(d) + '.', runIsolated([&](Figures& figures) {
                          measureWholeRun(figures, databasePath, table, entries, d);
                      }));
            }
        }
        failures += printConversion(m, entries, repeat);
        std::fflush(stdout);
    }
    return failures;
}

int runHook(const std::function<void()>& measure) {
    const Figures figures = runIsolated([&](Figures& out) {
        try {
            measure();
        } catch (const std::exception& error) {
            std::printf("  FAILED: %s\n", error.what());
            out["failed"] = 1;
        }
    });
    return figures.count("failed") ? 1 : 0;
}

} // namespace tallyvane::bench
