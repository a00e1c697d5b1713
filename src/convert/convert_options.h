#pragma once

#include "conversion/direction.h"

#include <string>
#include <vector>

namespace tallyvane::convert {

enum class Format { Results, Tsv, Csv, Text };

struct ConvertOptions {
    Direction direction = Direction::AreaCodesToStates;
    Format format = Format::Results;
    std::string database;           // empty: where the window looks for it
    std::vector<std::string> files; // empty: standard input
    bool withReason = false;        // tsv and csv: why an entry found nothing
    bool help = false;
    bool version = false;
};

// A bad command line: reported with the usage, exit status kUsageError.
constexpr int kUsageError = 64; // EX_USAGE
// An input, the database or the output failed.
constexpr int kFailure = 2;

// Parses the command line. On a bad one, prints what is wrong and the usage on
// standard error and returns false.
bool parseOptions(int argc, char** argv, ConvertOptions& options);

const char* helpText();
std::string versionText();

} // namespace tallyvane::convert
