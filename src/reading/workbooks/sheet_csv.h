#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tallyvane {

// Receives a sheet's CSV text in pieces as it is read (whole rows, LF-ended);
// returns false once it wants no more.
using SheetText = std::function<bool(std::string_view csv)>;

// Writes a sheet's cells as the CSV text both programs read columns from,
// as they stream in: rows and cells are placed by their numbers, so a gap
// is blank rows or empty fields; blank rows before the first that holds
// anything are left out (as blank lines before a CSV header are), and so
// are blank rows after the last. A row is as wide as its last cell, and a
// row narrower than the first is padded to its width, so the table's rows
// line up under its header, while a far cell costs only its own row.
class SheetCsv {
public:
    explicit SheetCsv(const SheetText& to) : to_(to) {}

    // Rows are numbered from 0 and come in order; a row numbered before the
    // last is taken as the next one.
    void startRow(std::uint64_t row);
    // A cell of the current row; columns from 0, in order (one before the
    // last cell's is left out). Empty text is no cell.
    void cell(std::uint64_t column, std::string_view text);
    // Ends the row, which stands repeat times.
    void endRow(std::uint64_t repeat = 1);
    // Hands on what is left.
    void finish();
    // True once the receiver wants no more.
    bool stopped() const { return stopped_; }
    // The row the next startRow() without a number would take.
    std::uint64_t nextRow() const { return nextRow_; }

    static constexpr std::uint64_t kMaxColumns = 16384;
    static constexpr std::uint64_t kMaxRows = 1048576;

private:
    void blankRows(std::uint64_t count);
    void flushIfFull();

    const SheetText& to_;
    std::string out_;
    std::string row_;
    std::uint64_t nextRow_ = 0;
    std::uint64_t columns_ = 0; // fields in the current row
    std::uint64_t width_ = 0;   // the first row's, once written
    std::uint64_t pendingBlank_ = 0;
    bool stopped_ = false;
};

} // namespace tallyvane
