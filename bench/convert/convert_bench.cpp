// convert_bench: the whole tallyvane-convert process on large mixed files, in
// both directions, against a mawk hash join over the same table in the same
// run, and against another build of the program (--baseline) where one is
// given. Reports entries per second (start to exit, output to a file) and the
// peak memory of each process.
#include "contacts_bench.h"
#include "process_runs.h"
#include "workbook_bench.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace convert_bench;

namespace {

struct Row {
    std::string code, state, name;
};

std::vector<Row> readTable(const std::string& database) {
    sqlite3* db = nullptr;
    std::vector<Row> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT area_cd, state_cd, location_name FROM area_codes", -1,
                           &statement, nullptr) == SQLITE_OK) {
        const auto text = [&](int column) {
            const auto* value = sqlite3_column_text(statement, column);
            return std::string(value ? reinterpret_cast<const char*>(value) : "");
        };
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.push_back({text(0), text(1), text(2)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// Phone numbers in six forms (one of them the bare code) and one entry in
// twenty a state code or name, as people paste them.
void writeMixedFile(const std::string& path, long lines, const std::vector<Row>& table) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> row(0, table.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99), shape(0, 5), exchange(200, 999),
        number(0, 9999);
    for (long i = 0; i < lines; ++i) {
        const Row& r = table[row(random)];
        if (percent(random) < 5) {
            std::fprintf(file, "%s\n", (percent(random) < 50 ? r.state : r.name).c_str());
            continue;
        }
        const char* a = r.code.c_str();
        const int e = exchange(random), n = number(random);
        switch (shape(random)) {
        case 0:
            std::fprintf(file, "%s-%03d-%04d\n", a, e, n);
            break;
        case 1:
            std::fprintf(file, "1-%s-%03d-%04d\n", a, e, n);
            break;
        case 2:
            std::fprintf(file, "(%s) %03d-%04d\n", a, e, n);
            break;
        case 3:
            std::fprintf(file, "%s%03d%04d\n", a, e, n);
            break;
        case 4:
            std::fprintf(file, "+1 %s %03d %04d\n", a, e, n);
            break;
        default:
            std::fprintf(file, "%s\n", a);
            break;
        }
    }
    std::fclose(file);
}

// The join table for mawk: every key with the converter's own answer for it,
// so that both give the same output and the comparison is fair.
std::string writeJoinTable(const std::string& program, const std::string& dir,
                           const std::vector<std::string>& keys, const char* direction) {
    const std::string keysPath = dir + "/keys-" + direction + ".txt";
    const std::string answersPath = dir + "/answers-" + direction + ".txt";
    std::FILE* file = std::fopen(keysPath.c_str(), "w");
    for (const std::string& key : keys)
        std::fprintf(file, "%s\n", key.c_str());
    std::fclose(file);
    run({program, "-d", direction, "-f", "tsv"}, keysPath, answersPath);
    return answersPath;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes;
    std::string program, baseline, database, dir = "/tmp/tallyvane-convert-bench";
    int repeat = 3;
    long longLineMb = 200, contactRows = 1'000'000, workbookRows = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool more = i + 1 < argc;
        if (arg == "--lines" && more)
            sizes.push_back(std::atol(argv[++i]));
        else if (arg == "--program" && more)
            program = argv[++i];
        else if (arg == "--baseline" && more)
            baseline = argv[++i];
        else if (arg == "--database" && more)
            database = argv[++i];
        else if (arg == "--dir" && more)
            dir = argv[++i];
        else if (arg == "--repeat" && more)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--long-line-mb" && more)
            longLineMb = std::atol(argv[++i]);
        else if (arg == "--contacts" && more)
            contactRows = std::atol(argv[++i]);
        else if (arg == "--workbook" && more)
            workbookRows = std::atol(argv[++i]);
        else {
            std::puts("usage: convert_bench [--lines N]... [--program PATH] [--baseline PATH]\n"
                      "                     [--database PATH] [--dir DIR] [--repeat R]\n"
                      "                     [--long-line-mb MB] [--contacts ROWS]\n"
                      "                     [--workbook ROWS]\n"
                      "Without --lines: 1000000 and 10000000. Files go to DIR and are removed.\n"
                      "--baseline: another tallyvane-convert, timed beside this one.\n"
                      "--contacts: rows of the contacts CSV enriched beside Python (0: none).\n"
                      "--workbook: rows of an .xlsx read by --column beside unzip -p (0: none,\n"
                      "            the default; --lines 0 --contacts 0 --long-line-mb 0 alone).");
            return 2;
        }
    }
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    const std::filesystem::path bin = self.parent_path().parent_path() / "bin";
    if (program.empty())
        program = (bin / "tallyvane-convert").string();
    if (database.empty())
        database = (bin / "areacodes.db").string();
    if (sizes.empty())
        sizes = {1'000'000, 10'000'000};
    const std::vector<Row> table = readTable(database);
    if (table.empty()) {
        std::fprintf(stderr, "convert_bench: no area codes in %s\n", database.c_str());
        return 1;
    }
    std::filesystem::create_directories(dir);

    std::vector<std::string> codes, states;
    for (const Row& r : table) {
        codes.push_back(r.code);
        for (const std::string& key : {r.state, r.name}) {
            std::string lower = key;
            for (char& c : lower)
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            states.push_back(lower);
        }
    }
    std::sort(states.begin(), states.end());
    states.erase(std::unique(states.begin(), states.end()), states.end());
    const std::string codeTable = writeJoinTable(program, dir, codes, "states");
    const std::string stateTable = writeJoinTable(program, dir, states, "area-codes");
    // The same normalisation as the converter: ASCII digits, one leading 1
    // dropped, the first three; state entries by their lower-case text.
    const std::string codesJoin =
        "NR==FNR{m[$1]=$2;next}{d=$0;gsub(/[^0-9]/,\"\",d);if(substr(d,1,1)==\"1\")d=substr(d,2);"
        "d=substr(d,1,3);print((d in m)?m[d]:\"Not Found\")}";
    const std::string statesJoin =
        "NR==FNR{m[$1]=$2;next}{k=tolower($0);print((k in m)?m[k]:\"Not Found\")}";
    setenv("LC_ALL", "C", 1);

    std::printf("tallyvane-convert %s, database %s (%zu rows), median of %d\n", program.c_str(),
                database.c_str(), table.size(), repeat);
    for (const long lines : sizes) {
        if (lines <= 0)
            continue;
        const std::string input = dir + "/mixed-" + std::to_string(lines) + ".txt";
        writeMixedFile(input, lines, table);
        std::printf("\n%ld lines (%.0f MB), output to a file\n", lines,
                    static_cast<double>(std::filesystem::file_size(input)) / 1e6);
        // The floor: what reading the file (wc -l) and copying it (cat) cost,
        // in the same run, so that the converter's time can be read against it.
        std::vector<Measure> counts, copies;
        for (int r = 0; r < repeat; ++r) {
            counts.push_back(run({"wc", "-l"}, input, dir + "/wc.txt"));
            copies.push_back(run({"cat"}, input, dir + "/cat.txt"));
        }
        const Measure copy = median(copies);
        printRow("wc -l", median(counts), lines);
        printRow("cat", copy, lines);
        for (const bool toStates : {true, false}) {
            const char* direction = toStates ? "states" : "area-codes";
            std::vector<Measure> ours, theirs, before;
            const std::string ourOut = dir + "/ours.txt", mawkOut = dir + "/mawk.txt";
            for (int r = 0; r < repeat; ++r) {
                ours.push_back(run({program, "-d", direction}, input, ourOut));
                theirs.push_back(run({"mawk", "-F\t", toStates ? codesJoin : statesJoin,
                                      toStates ? codeTable : stateTable, "-"},
                                     input, mawkOut));
                if (!baseline.empty())
                    before.push_back(run({baseline, "-d", direction}, input, dir + "/before.txt"));
            }
            const Measure a = median(ours), b = median(theirs);
            std::printf(" %s\n", toStates ? "area codes -> states" : "states -> area codes");
            printRow("tallyvane-convert", a, lines);
            printRow("mawk hash join", b, lines);
            std::printf("  %-32s %.2fx, outputs %s\n", "tallyvane-convert / mawk",
                        b.seconds / a.seconds, sameFile(ourOut, mawkOut) ? "identical" : "DIFFER");
            std::printf("  %-32s %.2fx\n", "tallyvane-convert / cat", a.seconds / copy.seconds);
            if (!before.empty()) {
                const Measure c = median(before);
                printRow("baseline", c, lines);
                std::printf("  %-32s %.2fx\n", "baseline / cat", c.seconds / copy.seconds);
                std::printf("  %-32s %.2fx\n", "baseline / tallyvane-convert",
                            c.seconds / a.seconds);
            }
        }
        for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
                 {"-f", "csv"},
                 {"-f", "text"},
                 {"-f", "tsv"},
                 {"-f", "tsv", "--time-zone"},
                 {"-f", "tsv", "--local-time", "--callable"},
                 {"-f", "tsv", "--reason"},
                 {"-f", "csv", "--reason"},
                 {"-f", "tsv", "--summary"},
                 {"-f", "tsv", "--summary", "-d", "area-codes"}}) {
            std::vector<std::string> command{program}, before{baseline};
            command.insert(command.end(), options.begin(), options.end());
            before.insert(before.end(), options.begin(), options.end());
            // Options newer than some baselines are not asked of them; plain
            // tsv is the row to hold the time-zone rows against.
            const bool compare =
                !baseline.empty() && std::none_of(options.begin(), options.end(), [](auto& o) {
                    return o == "--summary" || o == "--time-zone" || o == "--local-time" ||
                           o == "--callable";
                });
            std::vector<Measure> runs, baselineRuns;
            runs.reserve(std::size_t(repeat));
            for (int r = 0; r < repeat; ++r) {
                runs.push_back(run(command, input, dir + "/ours.txt"));
                if (compare)
                    baselineRuns.push_back(run(before, input, dir + "/before.txt"));
            }
            std::string what = "area codes -> states,";
            for (std::size_t k = 1; k < options.size(); ++k)
                what += " " + options[k];
            printRow(what.c_str(), median(runs), lines);
            if (compare)
                printRow("  baseline", median(baselineRuns), lines);
        }
        std::filesystem::remove(input);
    }
    if (contactRows > 0)
        benchContacts(program, dir, contactRows, repeat, codes, codeTable);
    if (workbookRows > 0)
        benchWorkbook(program, baseline, dir, workbookRows, repeat);
    if (longLineMb > 0) {
        const std::string input = dir + "/long-line.txt";
        {
            std::FILE* file = std::fopen(input.c_str(), "w");
            std::fputs("1-603-", file);
            const std::string block(1 << 20, '7');
            for (long i = 0; i < longLineMb; ++i)
                std::fwrite(block.data(), 1, block.size(), file);
            std::fputs("\nNH\n", file);
            std::fclose(file);
        }
        std::printf("\none line of %ld MB, then one short line\n", longLineMb);
        for (const char* format : {"results", "tsv", "csv"}) {
            for (const char* direction : {"states", "area-codes"}) {
                const Measure m =
                    run({program, "-d", direction, "-f", format}, input, dir + "/ours.txt");
                printRow((std::string(format) + ", " + direction).c_str(), m, 2);
            }
        }
        std::filesystem::remove(input);
    }
    for (const char* name :
         {"/ours.txt", "/mawk.txt", "/before.txt", "/keys-states.txt", "/keys-area-codes.txt",
          "/answers-states.txt", "/answers-area-codes.txt"})
        std::filesystem::remove(dir + name);
    return 0;
}
