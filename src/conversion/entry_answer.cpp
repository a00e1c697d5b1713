#include "conversion/entry_answer.h"

#include "conversion/several_numbers.h"

namespace tallyvane {

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

SeveralAnswers::SeveralAnswers(const AreaCodeTable& table,
                               const std::vector<std::string_view>& numbers, bool withReason) {
    // Reasons only when asked: their phrases are made at the first one.
    for (const std::string_view number : numbers) {
        const EntryAnswer answer = answerForCode(table, AreaCode::ofUtf8(number), withReason);
        each_.push_back(answer);
        anyNotFound_ = anyNotFound_ || answer.id == AreaCodeTable::kNotFound;
    }
    for (std::size_t i = 0; i < each_.size(); ++i) {
        const std::string_view join = i == 0 ? std::string_view() : kSeveralNumbersJoin;
        result_.append(join).append(each_[i].result);
        if (withReason)
            reason_.append(join).append(each_[i].reason);
    }
}

EntryAnswer SeveralAnswers::joined() const {
    // Its own id: no row of the table is this row.
    return {anyNotFound_ ? AreaCodeTable::kNotFound : each_.front().id, result_,
            anyNotFound_ ? std::string_view(reason_) : std::string_view()};
}

} // namespace tallyvane
