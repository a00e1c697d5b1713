#pragma once

#include <string>

namespace tallyvane::batch {

// The enriched table as a workbook, for --format xlsx -o FILE: the rows are
// first written as CSV to a scratch file beside FILE, then each field becomes
// a text cell (so 6032374934 keeps its digits and nothing is taken for a
// formula). FILE is replaced only by a complete workbook.
class WorkbookOutput {
public:
    // Opens the scratch file; throws Failure naming the folder when it cannot.
    explicit WorkbookOutput(std::string path);
    ~WorkbookOutput();
    WorkbookOutput(const WorkbookOutput&) = delete;
    WorkbookOutput& operator=(const WorkbookOutput&) = delete;

    // Where the CSV rows go.
    int csvDescriptor() const { return csv_; }
    // Reads the CSV rows back (split by the delimiter) into FILE. Throws
    // Failure; FILE is then as it was.
    void write(char delimiter);

private:
    std::string path_;
    int csv_ = -1;
};

} // namespace tallyvane::batch
