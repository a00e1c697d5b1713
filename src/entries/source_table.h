#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane {

// The table a list's entries were read from: one or more columns of a CSV
// file or of a workbook's sheet. Every row is kept as it was read (its fields
// as a CSV line would hold them, and its own line end), so that the results
// can later be written beside the columns they came from, as
// tallyvane-convert --column writes them. Each entry carries a key that names
// its row and its column here; keys of different tables never meet.
class SourceTable {
public:
    // name: the file's, for the person; columns: from 0, in the order a row's
    // entries were appended.
    SourceTable(QString name, std::vector<int> columns, bool workbook = false);

    const QString& name() const { return name_; }
    // Whether it was a workbook's sheet (and so may be saved as one again).
    bool fromWorkbook() const { return workbook_; }
    std::size_t slots() const { return columns_.size(); }
    int column(std::size_t slot) const { return columns_[slot]; }

    // The key of the entry that a row's slot gave (rows from 0), and back.
    std::uint64_t key(std::size_t row, std::size_t slot) const {
        return base_ + row * slots() + slot;
    }
    bool holds(std::uint64_t key) const {
        return key >= base_ && key < base_ + rows_.size() * slots();
    }
    std::size_t rowOf(std::uint64_t key) const { return (key - base_) / slots(); }
    std::size_t slotOf(std::uint64_t key) const { return (key - base_) % slots(); }

    // Reading, in the order of the text.
    void setStartedWithMark(bool mark) { startedWithMark_ = mark; }
    void addLineBeforeHeader(std::string_view end) { linesBeforeHeader_.emplace_back(end); }
    void setHeader(const std::vector<std::string_view>& fields, std::string_view end);
    // A row of the table; a blank line is a row without fields.
    void addRow(const std::vector<std::string_view>& fields, std::string_view end);

    // Writing.
    struct Row {
        std::string_view fields; // the first `width` of them (or fewer), comma-joined
        std::size_t count = 0;   // how many of the width it has
        bool longer = false;     // it has fields past the width:
        std::string_view extra;  // those, comma-joined
        std::string_view end;
    };
    bool startedWithMark() const { return startedWithMark_; }
    const std::vector<std::string>& linesBeforeHeader() const { return linesBeforeHeader_; }
    bool hasHeader() const { return hasHeader_; }
    // The header's fields, as read (not quoted); its line as written.
    const std::vector<std::string>& headerFields() const { return headerFields_; }
    Row header() const { return hasHeader_ ? row(headerRow_) : Row{}; }
    // How many fields a row should have: the header's, or the first row's.
    std::size_t width() const { return width_; }
    std::size_t rowCount() const { return rows_.size(); }
    Row row(std::size_t index) const { return row(rows_[index]); }

private:
    struct Stored {
        std::uint64_t at = 0;
        std::uint32_t split = 0; // bytes of the fields within the width
        std::uint32_t size = 0;
        std::uint32_t count = 0;
        std::uint8_t end = 0; // index into the line ends
        bool longer = false;
    };
    Stored store(const std::vector<std::string_view>& fields, std::string_view end);
    Row row(const Stored& stored) const;

    QString name_;
    std::vector<int> columns_;
    bool workbook_;
    std::uint64_t base_;
    bool startedWithMark_ = false;
    std::vector<std::string> linesBeforeHeader_;
    bool hasHeader_ = false;
    std::vector<std::string> headerFields_;
    Stored headerRow_;
    std::size_t width_ = 0;
    std::string bytes_;
    std::vector<Stored> rows_;
    bool firstField_ = true; // the next field stored is the first one written
};

// The table the entry list's entries were last read from, for the window's
// whole-table export; none until a file is read by columns.
struct KeptTable {
    std::shared_ptr<const SourceTable> table;
};

} // namespace tallyvane
