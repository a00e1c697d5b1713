#include "contacts_bench.h"

#include "process_runs.h"

#include <cstdio>
#include <filesystem>
#include <random>

namespace convert_bench {

namespace {

// What a careful person would write without us: the csv module, a dict, and
// the same reading of a number (digits only, a leading 1 dropped, the first
// three); a blank phone gets a blank state.
constexpr const char* kPythonEnrichment = R"(import csv, re, sys
table = dict(line.rstrip('\n').split('\t', 1) for line in open(sys.argv[1]))
nondigits = re.compile(r'[^0-9]')
rows = csv.reader(sys.stdin)
out = csv.writer(sys.stdout, lineterminator='\r\n')
header = next(rows)
column = header.index('Phone')
out.writerow(header + ['State'])
for row in rows:
    cell = row[column] if column < len(row) else ''
    if not cell:
        out.writerow(row + [''])
        continue
    digits = nondigits.sub('', cell)
    if digits.startswith('1'):
        digits = digits[1:]
    out.writerow(row + [table.get(digits[:3], 'Not Found')])
)";

void writeContacts(const std::string& path, long rows, const std::vector<std::string>& codes) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> code(0, codes.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99), shape(0, 3), exchange(200, 999),
        number(0, 9999);
    std::fputs("Name,Phone,Email,Company\r\n", file);
    for (long i = 0; i < rows; ++i) {
        if (i % 3 == 0)
            std::fprintf(file, "\"Smith, Ann %ld\",", i);
        else
            std::fprintf(file, "Ann Smith %ld,", i);
        const char* a = codes[code(random)].c_str();
        const int e = exchange(random), n = number(random);
        if (percent(random) < 5)
            ; // no phone
        else if (const int s = shape(random); s == 0)
            std::fprintf(file, "(%s) %03d-%04d", a, e, n);
        else if (s == 1)
            std::fprintf(file, "%s-%03d-%04d", a, e, n);
        else if (s == 2)
            std::fprintf(file, "+1 %s %03d %04d", a, e, n);
        else
            std::fprintf(file, "1%s%03d%04d", a, e, n);
        std::fprintf(file, ",ann.smith%ld@example.com,%s\r\n", i,
                     i % 7 == 0 ? "\"Acme \"\"East\"\"\"" : "Acme");
    }
    std::fclose(file);
}

} // namespace

void benchContacts(const std::string& program, const std::string& dir, long rows, int repeat,
                   const std::vector<std::string>& codes, const std::string& answers) {
    const std::string input = dir + "/contacts.csv", script = dir + "/enrich.py";
    const std::string ours = dir + "/contacts-ours.csv", python = dir + "/contacts-python.csv";
    writeContacts(input, rows, codes);
    if (std::FILE* file = std::fopen(script.c_str(), "w")) {
        std::fputs(kPythonEnrichment, file);
        std::fclose(file);
    }
    std::vector<Measure> a, b;
    a.reserve(std::size_t(repeat));
    b.reserve(std::size_t(repeat));
    for (int r = 0; r < repeat; ++r) {
        a.push_back(run({program, "--column", "Phone"}, input, ours));
        b.push_back(run({"python3", script, answers}, input, python));
    }
    const Measure m = median(a), p = median(b);
    std::printf("\n%ld contacts rows, four columns (%.0f MB), a State column added\n", rows,
                static_cast<double>(std::filesystem::file_size(input)) / 1e6);
    printRow("tallyvane-convert --column Phone", m, rows);
    printRow("python3 csv module, dict", p, rows);
    std::printf("  %-32s %.2fx, outputs %s (targets: 2 M rows/s, 10x)\n",
                "tallyvane-convert / python", p.seconds / m.seconds,
                sameFile(ours, python) ? "identical" : "DIFFER");
    for (const std::string& path : {input, script, ours, python})
        std::filesystem::remove(path);
}

} // namespace convert_bench
