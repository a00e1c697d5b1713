#pragma once

#include "conversion/direction.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace tallyvane {

class ListView;
class SourceTable;
class WindowServices;
struct KeptTable;
struct MoreColumns;

// The table the entries were read from, when every entry came from it, so
// that the whole of it can be written with the results beside their cells;
// null otherwise (entries typed or loaded from elsewhere as well, or none).
std::shared_ptr<const SourceTable> wholeTableOf(const KeptTable& kept, const ListView& entries);

// Writes the table as CSV, as tallyvane-convert --column --reason writes it:
// every row that still has an entry in the list (a removed entry takes its
// row along once no other entry of the row is left), each field as it was
// read, quoted only where it must be, and each row's own line end; after the
// row's fields, for each column taken, the result of its cell, the reason and
// the more columns. A blank cell, and a cell not converted, leave those empty.
// out is given the bytes in pieces of about a megabyte.
void writeWholeTable(const SourceTable& table, const ListView& entries, const ListView& results,
                     Direction direction, const MoreColumns* more, WindowServices& window,
                     const std::function<void(const QByteArray& piece)>& out);

// The same table as a workbook at path, each field a text cell, made in a
// private folder beside it and put in its place only when complete.
void writeWholeTableWorkbook(const QString& path, const SourceTable& table, const ListView& entries,
                             const ListView& results, Direction direction, const MoreColumns* more,
                             WindowServices& window);

} // namespace tallyvane
