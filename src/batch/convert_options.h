#pragma once

#include "conversion/calling_window.h"
#include "conversion/direction.h"
#include "reading/table_names.h"

#include <QDateTime>

#include <string>
#include <vector>

namespace tallyvane::batch {

enum class Format { Results, Tsv, Csv, Text };

struct ConvertOptions {
    Direction direction = Direction::AreaCodesToStates;
    Format format = Format::Results;
    std::string database;           // empty: where the window looks for it
    std::vector<std::string> files; // empty: standard input
    bool withReason = false;        // tsv and csv: why an entry found nothing
    bool summary = false;           // counts by result, reason and place instead of rows
    // Entries from a column of a CSV or TSV file, whose rows are written out
    // with the result as one more field. Empty: one entry per line.
    // Every --column, in order: each gives a result field of its own.
    struct ColumnAsked {
        std::string name; // as given: a header's name, or a position from 1
        int number = 0;   // the position, when name is one
    };
    std::vector<ColumnAsked> columnsAsked;
    char delimiter = 0;                   // 0: a comma, or a tab for a .tsv file
    bool header = false;                  // the first row is a header (always with a name)
    std::string resultName;               // the header of the result's field; empty: by direction
    std::vector<std::string> resultNames; // every --result-name, one for each --column
    std::string sheet;                    // a workbook's sheet, by name or number; empty: the first
    bool xlsx = false;                    // with --column: the table as a workbook, to output
    std::string output;                   // the file --format xlsx writes
    // Fields of each entry's time zones (tsv, csv and columns).
    bool timeZone = false;     // the zones' IANA names
    bool localTime = false;    // the local time in each
    bool callable = false;     // yes, no or depends, and when the hours next open
    CallingHours callingHours; // 08:00-21:00 unless --callable=HH:MM-HH:MM
    QDateTime at;              // "now"; invalid: the clock's
    bool zones() const { return timeZone || localTime || callable; }
    bool help = false;
    bool version = false;

    bool columns() const { return !columnsAsked.empty(); }
    // The delimiter for the file of that name.
    char delimiterFor(const std::string& file) const {
        if (delimiter != 0)
            return delimiter;
        return namedTsv(file) ? '\t' : ',';
    }
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

} // namespace tallyvane::batch
