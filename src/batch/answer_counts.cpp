#include "batch/answer_counts.h"

namespace tallyvane::batch {

ResultsSummary AnswerCounts::summary() const {
    SummaryTally tally(direction_);
    for (AreaCodeTable::AnswerId id = 1; id < table_.answerCount(); ++id) {
        if (byAnswer_[id] > 0)
            tally.add(table_.row(id), QString(), byAnswer_[id]);
    }
    for (const auto& [key, counted] : byReason_) {
        tally.add(table_.row(AreaCodeTable::kNotFound),
                  QString::fromUtf8(counted.reason.data(), qsizetype(counted.reason.size())),
                  counted.count);
    }
    tally.addBlank(blanks_);
    return tally.summary();
}

} // namespace tallyvane::batch
