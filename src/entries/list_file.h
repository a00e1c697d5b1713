#pragma once

#include "conversion/direction.h"

#include <QString>

#include <functional>

namespace tallyvane {

struct KeptTable;

class ListView;
class Prompts;
class RememberedColumns;

// How a file that is not there is told: the Load command's own box says
// "File not found"; files named on the command line or dropped, perhaps
// hundreds at once, are named in it.
enum class MissingFile { Designed, Named };

// How files named on the command line or dropped on the window are read: a
// file in columns (a .csv or .tsv file, or lines that split alike on a tab,
// comma or semicolon) by the column the person chooses, remembered for later
// files of the same header; any other file line by line, as Load reads it.
struct ColumnReading {
    ColumnReading(Direction direction_, RememberedColumns& remembered_,
                  bool onlyNamedTables_ = false, std::function<void(Direction)> useDirection_ = {},
                  KeptTable* kept_ = nullptr)
        : direction(direction_), remembered(remembered_), onlyNamedTables(onlyNamedTables_),
          useDirection(std::move(useDirection_)), kept(kept_) {}
    Direction direction = Direction::AreaCodesToStates;
    RememberedColumns& remembered;
    // The Load command asks only about a file that says it is a table: a
    // .csv or .tsv file, or a workbook. Any other file is read line by line.
    bool onlyNamedTables = false;
    // Sets the window's direction for this run, when the person takes the
    // column dialog's offer of the other one.
    std::function<void(Direction)> useDirection;
    // Called now and then while a large workbook is read, so that the
    // window keeps answering.
    std::function<void()> keepResponsive;
    // Where a file read by columns leaves its table, every row of it, so
    // that the results can be written beside it; null keeps none.
    KeptTable* kept = nullptr;
};

// Appends the entries of one file to the list, the one way every load goes:
// the path is looked at once and the file opened once. A path whose file
// cannot be found shows "File not found" and changes nothing; a file that
// exists but cannot be opened or read, or that needs more memory than is
// available, throws Failure naming the file, for the calling command to
// report. Running out of memory part way keeps the entries appended so far
// and throws one Failure that says so. With `columns`, a file in columns is
// read by the column the person chooses (a cancelled question adds nothing),
// and malformed rows are told after the load.
void LoadListFromFile(Prompts& prompts, ListView& list, const QString& path,
                      MissingFile missing = MissingFile::Designed,
                      const ColumnReading* columns = nullptr);

} // namespace tallyvane
