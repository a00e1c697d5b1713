#pragma once

#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace tallyvane::batch {

// The enriched table as a workbook, for --format xlsx -o FILE: the rows are
// first written as CSV to a scratch file, then each field becomes a text
// cell (so 6032374934 keeps its digits and nothing is taken for a formula).
// A regular FILE is replaced only by a complete workbook, renamed over it
// from a private folder beside it; anything else (a device, a FIFO,
// /dev/stdout) is written into, as a shell redirection would.
class WorkbookOutput {
public:
    // Opens the scratch file; throws Failure naming the folder when it cannot.
    explicit WorkbookOutput(std::string path);
    ~WorkbookOutput();
    WorkbookOutput(const WorkbookOutput&) = delete;
    WorkbookOutput& operator=(const WorkbookOutput&) = delete;

    // Whether FILE is the file that fd reads (by device and inode).
    bool isFileOf(int fd) const;
    // Where the CSV rows go.
    int csvDescriptor() const { return csv_; }
    // Reads the CSV rows back (split by the delimiter) into FILE. Throws
    // Failure; FILE is then as it was.
    void write(char delimiter);

private:
    void writeInto(const std::string& book) const;

    std::string path_;
    bool stream_ = false; // FILE is not a regular file we may rename over
    struct stat target_ {};
    bool targetExists_ = false;
    int csv_ = -1;
};

// The input, if any, that is the very file the workbook would replace.
std::optional<std::string> inputThatIsOutput(const std::vector<std::string>& files,
                                             const WorkbookOutput& workbook);

} // namespace tallyvane::batch
