#include "reading/workbooks/sheet_csv.h"

#include "commands/csv_field.h"

#include <algorithm>

namespace tallyvane {

namespace {
constexpr std::size_t kPiece = std::size_t(1) << 16;
}

void SheetCsv::startRow(std::uint64_t row) {
    row = std::min(row, kMaxRows);
    if (row > nextRow_)
        pendingBlank_ += row - nextRow_;
    nextRow_ = std::max(row, nextRow_);
    row_.clear();
    columns_ = 0;
}

void SheetCsv::cell(std::uint64_t column, std::string_view text) {
    if (text.empty() || column < columns_ || column >= kMaxColumns)
        return;
    row_.append(std::size_t(column - columns_) + (columns_ > 0 ? 1 : 0), ',');
    csv::appendField(row_, text);
    columns_ = column + 1;
}

void SheetCsv::endRow(std::uint64_t repeat) {
    repeat = std::min(repeat, kMaxRows - std::min(nextRow_, kMaxRows));
    nextRow_ += repeat;
    if (columns_ == 0) {
        pendingBlank_ += repeat;
        return;
    }
    if (width_ == 0)
        width_ = columns_;
    else
        blankRows(pendingBlank_);
    pendingBlank_ = 0;
    if (columns_ < width_)
        row_.append(std::size_t(width_ - columns_), ',');
    row_.push_back('\n');
    for (std::uint64_t i = 0; i < repeat && !stopped_; ++i) {
        out_ += row_;
        flushIfFull();
    }
    row_.clear();
    columns_ = 0;
}

void SheetCsv::blankRows(std::uint64_t count) {
    std::string blank(std::size_t(width_ - 1), ',');
    blank.push_back('\n');
    for (std::uint64_t i = 0; i < count && !stopped_; ++i) {
        out_ += blank;
        flushIfFull();
    }
}

void SheetCsv::flushIfFull() {
    if (out_.size() < kPiece)
        return;
    stopped_ = !to_(out_);
    out_.clear();
}

void SheetCsv::finish() {
    if (!out_.empty() && !stopped_)
        stopped_ = !to_(out_);
    out_.clear();
}

} // namespace tallyvane
