#include "workbook_bench.h"

#include "process_runs.h"

#include <cstdio>
#include <filesystem>

namespace convert_bench {

void benchWorkbook(const std::string& program, const std::string& baseline, const std::string& dir,
                   long rows, int repeat) {
    const std::string csv = dir + "/workbook-rows.csv", book = dir + "/workbook.xlsx";
    const std::string out = dir + "/workbook-out.csv";
    if (std::FILE* file = std::fopen(csv.c_str(), "w")) {
        std::fputs("Name,Company,Phone,Email,City,Notes\n", file);
        for (long i = 0; i < rows; ++i)
            std::fprintf(file,
                         "Person %ld,\"Acme, Inc.\",%03ld-%03ld-%04ld,p%ld@example.com,%s,n%ld\n",
                         i, 201 + i % 780, 200 + i % 800, i % 10000, i,
                         i % 3 ? "Springfield" : "Shelbyville", i % 97);
        std::fclose(file);
    }
    const Measure written =
        run({program, "--column", "Phone", "--result-name", "Old", "-f", "xlsx", "-o", book, csv},
            "/dev/null", "/dev/null");
    std::printf("\n%ld rows, six columns and a result, as an .xlsx written by -f xlsx "
                "(%.0f MB packed)\n",
                rows, static_cast<double>(std::filesystem::file_size(book)) / 1e6);
    printRow("writing it (-f xlsx -o)", written, rows);
    std::vector<Measure> inflate, ours, before;
    for (int r = 0; r < repeat; ++r) {
        inflate.push_back(run({"unzip", "-p", book, "xl/worksheets/sheet1.xml"}, "/dev/null", out));
        ours.push_back(run({program, "--column", "Phone", book}, "/dev/null", out));
        if (!baseline.empty())
            before.push_back(run({baseline, "--column", "Phone", book}, "/dev/null", out));
    }
    const Measure unzip = median(inflate), read = median(ours);
    printRow("unzip -p (inflating the sheet)", unzip, rows);
    printRow("tallyvane-convert --column Phone", read, rows);
    std::printf("  %-32s %.2fx (target: 3x), peak %.0f MB (target: 200 MB)\n", "reading / unzip -p",
                read.seconds / unzip.seconds, read.peakMb);
    if (!baseline.empty()) {
        const Measure old = median(before);
        printRow("baseline --column Phone", old, rows);
        std::printf("  %-32s %.2fx\n", "baseline / unzip -p", old.seconds / unzip.seconds);
    }
    for (const std::string& path : {csv, book, out})
        std::filesystem::remove(path);
}

} // namespace convert_bench
