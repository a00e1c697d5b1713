#pragma once

#include "conversion/area_code.h"
#include "conversion/area_code_table.h"
#include "conversion/direction.h"

#include <QByteArray>

#include <string>
#include <string_view>
#include <vector>

namespace tallyvane {

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

[[gnu::always_inline]] inline EntryAnswer answerFor(const AreaCodeTable& table, Direction direction,
                                                    std::string_view entry, bool withReason) {
    return direction == Direction::AreaCodesToStates
               ? answerForCode(table, AreaCode::ofUtf8(entry), withReason)
               : answerForState(table, entry, entry, withReason);
}

// An entry of several numbers ("603-237-4934 ::: +1 212 555 0147"): each
// number's answer, and the one row they make, their results (and, where one
// was not found, their reasons) joined as the numbers were. The joined
// texts live in the object.
class SeveralAnswers {
public:
    SeveralAnswers(const AreaCodeTable& table, const std::vector<std::string_view>& numbers,
                   bool withReason);
    const std::vector<EntryAnswer>& each() const { return each_; }
    EntryAnswer joined() const;

private:
    std::vector<EntryAnswer> each_;
    std::string result_;
    std::string reason_;
    bool anyNotFound_ = false;
};

} // namespace tallyvane
