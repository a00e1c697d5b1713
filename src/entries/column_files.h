#pragma once

#include "conversion/direction.h"

#include <QString>

namespace tallyvane {

class ListView;
class Prompts;
class RememberedColumns;

// How files named on the command line or dropped on the window are read: a
// file in columns (a .csv or .tsv file, or lines that split alike on a tab,
// comma or semicolon) by the column the person chooses, remembered for later
// files of the same header; any other file line by line, as Load reads it.
struct ColumnReading {
    Direction direction = Direction::AreaCodesToStates;
    RememberedColumns& remembered;
};

// Loads the file by a column or by its lines; a file in columns whose question
// the person cancels adds nothing. Fails as LoadListFromFile does.
void loadListOrColumn(Prompts& prompts, ListView& list, const QString& path,
                      const ColumnReading& reading);

} // namespace tallyvane
