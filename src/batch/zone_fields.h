#pragma once

#include "batch/convert_options.h"
#include "conversion/time_zones.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallyvane::batch {

// The fields --time-zone, --local-time and --callable add to a row: the
// entry's zones (IANA names, space-separated), the local time in each (ISO
// 8601 with its offset), and whether it may be called now ("yes", "no",
// "depends") with, unless yes, when the calling hours next open everywhere
// (ISO 8601 in the user's own zone). "Now" is one moment for the whole run,
// so each set of zones is worked out once, before the first row.
class ZoneFields {
public:
    ZoneFields(const TimeZoneTable& table, const ConvertOptions& options);
    bool any() const { return !fieldsBySet_.front().empty(); }
    // What the person is to be told once: a zone the system cannot load,
    // an unknown TZ.
    const std::vector<std::string>& warnings() const { return warnings_; }
    // The fields' headings: "time_zone" for tsv and csv, "Time Zone" for columns.
    std::vector<std::string> headings(bool titled) const;
    // The fields of an entry; found: whether its conversion found something.
    const std::vector<std::string>& fieldsFor(Direction direction, std::string_view entry,
                                              bool found) const {
        return fieldsBySet_[table_.forEntry(direction, entry, found)];
    }

private:
    const TimeZoneTable& table_;
    const ConvertOptions& options_;
    std::vector<std::vector<std::string>> fieldsBySet_;
    std::vector<std::string> warnings_;
};

} // namespace tallyvane::batch
