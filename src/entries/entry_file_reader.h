#pragma once

#include <QString>

namespace tallyvane {

class ListView;
class RegularFile;

// Appends the entries of one entry-list file to the list, reading it in large
// blocks in one pass. Throws Failure with the system's error text when the file
// cannot be opened or read; entries appended before a read failure stay.
void appendEntriesFromFile(ListView& list, const QString& path);
// The same from a file already open, read from its start.
void appendEntriesFromFile(ListView& list, RegularFile& file);

} // namespace tallyvane
