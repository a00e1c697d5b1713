#pragma once

#include "batch/answer_counts.h"
#include "batch/byte_output.h"
#include "batch/convert_options.h"
#include "batch/zone_fields.h"
#include "conversion/area_code_table.h"

namespace tallyvane::batch {

// One entry per line of every input, on several threads where a regular
// file is large enough (see ParallelLines). False when an input failed.
bool convertLines(const ConvertOptions& options, const AreaCodeTable& table,
                  const ZoneFields& zones, ByteOutput& out, bool inputClosed, AnswerCounts* counts);

} // namespace tallyvane::batch
