#include "batch/entry_answer.h"

namespace tallyvane::batch {

namespace {

// The answer with this id; reason() gives the reason's bytes when one is due.
template <class Reason>
EntryAnswer answered(const AreaCodeTable& table, AreaCodeTable::AnswerId id, bool withReason,
                     Reason&& reason) {
    EntryAnswer answer{id, bytesOf(table.utf8Row(id)), {}};
    if (withReason && id == AreaCodeTable::kNotFound)
        answer.reason = bytesOf(reason());
    return answer;
}

} // namespace

EntryAnswer answerForCode(const AreaCodeTable& table, const AreaCode& code, bool withReason) {
    return answered(table, table.statesFor(code), withReason,
                    [&]() -> const QByteArray& { return table.reasons().utf8ForCode(code); });
}

EntryAnswer answerForState(const AreaCodeTable& table, std::string_view key, std::string_view ends,
                           bool withReason) {
    return answered(table, table.areaCodesFor(key), withReason,
                    [&]() -> const QByteArray& { return table.reasons().utf8ForState(ends); });
}

} // namespace tallyvane::batch
