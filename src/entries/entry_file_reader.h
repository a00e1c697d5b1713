#pragma once

#include <QString>

namespace tallyvane {

class ListView;

// Appends the entries of one entry-list file to the list, reading it in large
// blocks in one pass. Throws Failure with the system's error text when the file
// cannot be opened or read; entries appended before a read failure stay.
void appendEntriesFromFile(ListView& list, const QString& path);

} // namespace tallyvane
