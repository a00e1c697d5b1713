#pragma once

#include "batch/answer_counts.h"
#include "batch/byte_output.h"
#include "batch/convert_options.h"
#include "batch/zone_fields.h"
#include "conversion/area_code_table.h"

#include <cstddef>
#include <string>

namespace tallyvane::batch {

// A column past the last one is a mistake on the command line, found in the
// first row of the table: nothing is written.
struct ColumnBeyond {
    std::string file;
    std::size_t columns;
    std::string column; // the position given
};

// The entries of the asked columns of CSV files, workbooks or vCard files,
// whose rows are written out again with the results. False when an input
// failed; throws ColumnBeyond.
bool convertColumns(const ConvertOptions& options, const AreaCodeTable& table,
                    const ZoneFields& zones, ByteOutput& out, bool inputClosed,
                    AnswerCounts* counts);

} // namespace tallyvane::batch
