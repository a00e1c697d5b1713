#pragma once

#include "batch/convert_options.h"
#include "conversion/area_code_table.h"
#include "conversion/time_zones.h"

namespace tallyvane::batch {

// The answers, and the time zones when they are asked for.
struct Tables {
    AreaCodeTable codes;
    TimeZoneTable zones;
};

// From --database, or the database beside the program (or in its data
// folder), as the window finds its own. Throws Failure.
Tables readTables(const ConvertOptions& options);

} // namespace tallyvane::batch
