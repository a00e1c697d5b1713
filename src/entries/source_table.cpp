#include "entries/source_table.h"

#include "commands/csv_field.h"

#include <array>
#include <atomic>
#include <utility>

namespace tallyvane {

namespace {

// Keys run on from table to table, so that an entry from one is never taken
// for an entry of another. Each table takes room for 2^40 cells.
std::atomic<std::uint64_t> nextBase{std::uint64_t(1) << 40};

constexpr std::array<std::string_view, 4> kEnds{"", "\n", "\r\n", "\r"};

std::uint8_t endIndex(std::string_view end) {
    for (std::size_t i = 0; i < kEnds.size(); ++i)
        if (kEnds[i] == end)
            return std::uint8_t(i);
    return 1;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

SourceTable::SourceTable(QString name, std::vector<int> columns, bool workbook)
    : name_(std::move(name)), columns_(std::move(columns)), workbook_(workbook),
      base_(nextBase.fetch_add(std::uint64_t(1) << 40)) {
    if (columns_.empty())
        columns_.push_back(0);
}

void SourceTable::setHeader(const std::vector<std::string_view>& fields, std::string_view end) {
    hasHeader_ = true;
    headerFields_.assign(fields.begin(), fields.end());
    width_ = fields.size();
    headerRow_ = store(fields, end);
}

void SourceTable::addRow(const std::vector<std::string_view>& fields, std::string_view end) {
    if (width_ == 0 && !fields.empty())
        width_ = fields.size();
    rows_.push_back(store(fields, end));
}

SourceTable::Stored SourceTable::store(const std::vector<std::string_view>& fields,
                                       std::string_view end) {
    Stored stored;
    stored.at = bytes_.size();
    stored.end = endIndex(end);
    const std::size_t width = width_ == 0 ? fields.size() : width_;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i == width)
            stored.split = std::uint32_t(bytes_.size() - stored.at);
        if (i > 0 && i != width)
            bytes_.push_back(',');
        // Unquoted at the very start of a file without a mark, a field's own
        // leading mark bytes would read back as a mark and be lost.
        if (std::exchange(firstField_, false) && !startedWithMark_ &&
            fields[i].starts_with(kUtf8Mark)) {
            bytes_.push_back('"');
            bytes_.append(fields[i]);
            bytes_.push_back('"');
            continue;
        }
        csv::appendField(bytes_, fields[i]);
    }
    stored.size = std::uint32_t(bytes_.size() - stored.at);
    stored.count = std::uint32_t(std::min(fields.size(), width));
    stored.longer = fields.size() > width;
    if (!stored.longer)
        stored.split = stored.size;
    return stored;
}

SourceTable::Row SourceTable::row(const Stored& stored) const {
    const std::string_view all = std::string_view(bytes_).substr(stored.at, stored.size);
    return {all.substr(0, stored.split), stored.count, stored.longer, all.substr(stored.split),
            kEnds[stored.end]};
}

} // namespace tallyvane
