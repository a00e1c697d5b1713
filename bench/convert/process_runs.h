#pragma once

// Whole processes, timed from start to exit with their peak memory.
#include <string>
#include <vector>

namespace convert_bench {

struct Measure {
    double seconds = 0;
    double peakMb = 0;
    int status = -1;
};

double now();
// Runs the command with standard input and output redirected to files.
Measure run(const std::vector<std::string>& command, const std::string& in, const std::string& out);
// The run of median time, with the largest peak memory of all.
Measure median(std::vector<Measure> runs);
bool sameFile(const std::string& a, const std::string& b);
// "  what   seconds   M/s   MB   exit N", items being the entries or rows.
void printRow(const char* what, const Measure& m, long items);

} // namespace convert_bench
