#include "convert/entry_answer.h"

namespace tallyvane::convert {

EntryAnswer answerForCode(const AreaCodeTable& table, const AreaCode& code, bool withReason) {
    EntryAnswer answer;
    answer.id = table.statesFor(code);
    answer.result = bytesOf(table.utf8Row(answer.id));
    if (withReason && answer.id == AreaCodeTable::kNotFound)
        answer.reason = bytesOf(table.reasons().utf8ForCode(code));
    return answer;
}

EntryAnswer answerForState(const AreaCodeTable& table, std::string_view key, std::string_view ends,
                           bool withReason) {
    EntryAnswer answer;
    answer.id = table.areaCodesFor(key);
    answer.result = bytesOf(table.utf8Row(answer.id));
    if (withReason && answer.id == AreaCodeTable::kNotFound)
        answer.reason = bytesOf(table.reasons().utf8ForState(ends));
    return answer;
}

} // namespace tallyvane::convert
