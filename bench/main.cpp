// tallyvane_bench: how fast a conversion run is, and what it costs in memory
// and responsiveness. Every measurement runs in a child process of its own.
#include "bench_report.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_big_inputs.h"
#include "bench_exports.h"
#include "bench_file_load.h"
#include "bench_paste.h"
#include "bench_workbook.h"

using namespace tallyvane::bench;

namespace {

struct Options {
    std::vector<int> entries;
    std::vector<int> fileLoads;
    std::vector<int> exports;
    std::vector<int> pastes;
    std::vector<int> hugeLines;
    std::vector<int> memory;
    std::vector<int> workbooks;
    int repeat = 3;
    QString database;
    QString direction; // empty: both
};

void usage() {
    std::puts("usage: tallyvane_bench [--entries N]... [--file-load N]... [--exports N]...\n"
              "                       [--huge-line MB]... [--memory N]...\n"
              "                       [--repeat R] [--database PATH] [--direction codes|states]\n"
              "Without --entries, --file-load or --exports it measures runs of 100000 and\n"
              "1000000 entries, then the file load and the exports of 1000000 lines/rows.");
    std::puts("--paste N: paste N lines into the window (measured by default as well)");
    std::puts("--workbook N: N contacts rows read as CSV and as .xlsx, in the window and by "
              "tallyvane-convert --column");
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const auto number = [&] { return std::atoi(argv[++i]); };
        if (arg == "--entries" && hasValue)
            o.entries.push_back(number());
        else if (arg == "--file-load" && hasValue)
            o.fileLoads.push_back(number());
        else if (arg == "--exports" && hasValue)
            o.exports.push_back(number());
        else if (arg == "--paste" && hasValue)
            o.pastes.push_back(number());
        else if (arg == "--huge-line" && hasValue)
            o.hugeLines.push_back(number());
        else if (arg == "--workbook" && hasValue)
            o.workbooks.push_back(number());
        else if (arg == "--memory" && hasValue)
            o.memory.push_back(number());
        else if (arg == "--repeat" && hasValue)
            o.repeat = std::max(1, number());
        else if (arg == "--database" && hasValue)
            o.database = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--direction" && hasValue)
            o.direction = QString::fromLocal8Bit(argv[++i]);
        else
            return false;
    }
    if (o.entries.empty() && o.fileLoads.empty() && o.exports.empty() && o.pastes.empty() &&
        o.hugeLines.empty() && o.memory.empty() && o.workbooks.empty()) {
        o.entries = {100000, 1000000};
        o.fileLoads = {1000000};
        o.exports = {1000000};
        o.pastes = {1000000};
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        usage();
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));

    int failures = 0;
    if (!options.entries.empty())
        failures +=
            reportConversion(options.entries, options.repeat, options.database, options.direction);
    for (const int lines : options.fileLoads)
        failures += runHook([lines] { benchFileLoad(lines); });
    for (const int rows : options.exports)
        failures += runHook([rows] { benchExports(rows); });
    for (const int lines : options.pastes)
        failures += runHook([lines] { benchPaste(lines); });
    for (const int megabytes : options.hugeLines)
        benchHugeLine(megabytes);
    for (const int entries : options.memory)
        benchMemory(entries);
    for (const int rows : options.workbooks)
        failures += runHook([rows] { benchWorkbook(rows); });
    return failures == 0 ? 0 : 1;
}
