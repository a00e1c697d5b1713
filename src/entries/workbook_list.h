#pragma once

#include "conversion/direction.h"
#include "reading/file_kind.h"

#include <QString>

#include <cstddef>
#include <functional>

namespace tallyvane {

class ListView;
class Prompts;
struct KeptTable;

// Appends one column of a workbook's sheet to the list, one entry a row, as a
// column of a CSV file is read: the person chooses the sheet (the first is
// shown) and the column in the column dialog. Returns how many rows were
// malformed; nothing is added when the person cancels. Throws Failure when
// the file cannot be read as a workbook. The sheet streams into the list,
// with keepResponsive called between its pieces.
std::size_t appendColumnFromWorkbook(Prompts& prompts, ListView& list, const QString& path,
                                     FileKind kind, Direction direction,
                                     const std::function<void(Direction)>& useDirection = {},
                                     const std::function<void()>& keepResponsive = {},
                                     KeptTable* kept = nullptr);

// The same for a table given as CSV text (a vCard file's contacts): the
// column dialog shows it, its phone column chosen.
std::size_t appendColumnFromTable(Prompts& prompts, ListView& list, const QByteArray& csv,
                                  Direction direction,
                                  const std::function<void(Direction)>& useDirection = {},
                                  const QString& name = {}, KeptTable* kept = nullptr);

} // namespace tallyvane
