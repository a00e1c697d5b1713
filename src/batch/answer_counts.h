#pragma once

#include "conversion/area_code_table.h"
#include "conversion/direction.h"
#include "conversion/entry_answer.h"
#include "results/results_summary.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tallyvane::batch {

// Counts answers for --summary in memory that does not grow with the input:
// one counter for each answer the table can give and one for each reason
// phrase, which the table keeps for as long as it lives.
class AnswerCounts {
public:
    AnswerCounts(const AreaCodeTable& table, Direction direction)
        : table_(table), direction_(direction), byAnswer_(table.answerCount(), 0) {}

    // An answer asked with its reason.
    void add(const EntryAnswer& answer) {
        ++byAnswer_[answer.id];
        if (answer.id == AreaCodeTable::kNotFound) {
            ReasonCount& counted = byReason_[answer.reason.data()];
            counted.reason = answer.reason;
            ++counted.count;
        }
    }
    // A blank cell, or a row without the column.
    void addBlank() { ++blanks_; }
    ResultsSummary summary() const;

private:
    struct ReasonCount {
        std::string_view reason;
        std::uint64_t count = 0;
    };
    const AreaCodeTable& table_;
    Direction direction_;
    std::vector<std::uint64_t> byAnswer_;
    std::unordered_map<const char*, ReasonCount> byReason_;
    std::uint64_t blanks_ = 0;
};

} // namespace tallyvane::batch
