#pragma once

#include "conversion/area_code.h"
#include "conversion/area_code_table.h"
#include "conversion/direction.h"

#include <QByteArray>

#include <string_view>

namespace tallyvane::batch {

inline std::string_view bytesOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// What the batch program writes for one entry, as UTF-8: its results row and,
// where it found nothing and the reason is asked for, why.
struct EntryAnswer {
    AreaCodeTable::AnswerId id = AreaCodeTable::kNotFound;
    std::string_view result; // empty only for an entry that asked nothing
    std::string_view reason; // empty when found, or when no reason is asked for
};

EntryAnswer answerForCode(const AreaCodeTable& table, const AreaCode& code, bool withReason);
// key: what is looked up; ends: the bytes the reason looks at, the entry's
// first and last (a state entry with loose ends gets a hint).
EntryAnswer answerForState(const AreaCodeTable& table, std::string_view key, std::string_view ends,
                           bool withReason);

inline EntryAnswer answerFor(const AreaCodeTable& table, Direction direction,
                             std::string_view entry, bool withReason) {
    return direction == Direction::AreaCodesToStates
               ? answerForCode(table, AreaCode::ofUtf8(entry), withReason)
               : answerForState(table, entry, entry, withReason);
}

} // namespace tallyvane::batch
