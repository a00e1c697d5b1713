#pragma once

#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/import_interface.hpp>

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

namespace tallyvane {

// The cells an .ods file gives as dates. The spreadsheet model keeps a date as
// its serial number, and only the file said it was a date.
class DateCells {
public:
    void add(std::size_t sheet, std::int32_t row, std::int32_t col) {
        cells_.insert(key(sheet, row, col));
    }
    bool contains(std::size_t sheet, std::int32_t row, std::int32_t col) const {
        return !cells_.empty() && cells_.count(key(sheet, row, col)) != 0;
    }

private:
    static std::uint64_t key(std::size_t sheet, std::int32_t row, std::int32_t col) {
        return (std::uint64_t(sheet) << 48) ^ (std::uint64_t(std::uint32_t(row)) << 16) ^
               std::uint64_t(std::uint16_t(col));
    }
    std::unordered_set<std::uint64_t> cells_;
};

// The model's own sheet, with the dates it is given written down on the way.
class DateRecordingSheet : public orcus::spreadsheet::iface::import_sheet {
public:
    using row_t = orcus::spreadsheet::row_t;
    using col_t = orcus::spreadsheet::col_t;
    DateRecordingSheet(import_sheet& sheet, std::size_t index, DateCells& dates)
        : sheet_(sheet), index_(index), dates_(dates) {}

    orcus::spreadsheet::iface::import_sheet_view* get_sheet_view() override {
        return sheet_.get_sheet_view();
    }
    orcus::spreadsheet::iface::import_sheet_properties* get_sheet_properties() override {
        return sheet_.get_sheet_properties();
    }
    orcus::spreadsheet::iface::import_data_table* get_data_table() override {
        return sheet_.get_data_table();
    }
    orcus::spreadsheet::iface::import_auto_filter* get_auto_filter() override {
        return sheet_.get_auto_filter();
    }
    orcus::spreadsheet::iface::import_table* get_table() override { return sheet_.get_table(); }
    orcus::spreadsheet::iface::import_conditional_format* get_conditional_format() override {
        return sheet_.get_conditional_format();
    }
    orcus::spreadsheet::iface::import_named_expression* get_named_expression() override {
        return sheet_.get_named_expression();
    }
    orcus::spreadsheet::iface::import_array_formula* get_array_formula() override {
        return sheet_.get_array_formula();
    }
    orcus::spreadsheet::iface::import_formula* get_formula() override {
        return sheet_.get_formula();
    }
    void set_auto(row_t row, col_t col, std::string_view s) override {
        sheet_.set_auto(row, col, s);
    }
    void set_string(row_t row, col_t col, orcus::spreadsheet::string_id_t id) override {
        sheet_.set_string(row, col, id);
    }
    void set_value(row_t row, col_t col, double value) override {
        sheet_.set_value(row, col, value);
    }
    void set_bool(row_t row, col_t col, bool value) override { sheet_.set_bool(row, col, value); }
    void set_date_time(row_t row, col_t col, int year, int month, int day, int hour, int minute,
                       double second) override {
        dates_.add(index_, row, col);
        sheet_.set_date_time(row, col, year, month, day, hour, minute, second);
    }
    void set_format(row_t row, col_t col, std::size_t xf) override {
        sheet_.set_format(row, col, xf);
    }
    void set_format(row_t rowStart, col_t colStart, row_t rowEnd, col_t colEnd,
                    std::size_t xf) override {
        sheet_.set_format(rowStart, colStart, rowEnd, colEnd, xf);
    }
    void fill_down_cells(row_t row, col_t col, row_t size) override {
        sheet_.fill_down_cells(row, col, size);
    }
    orcus::spreadsheet::range_size_t get_sheet_size() const override {
        return sheet_.get_sheet_size();
    }

private:
    import_sheet& sheet_;
    std::size_t index_;
    DateCells& dates_;
};

// The model's own factory, handing out recording sheets.
class DateRecordingFactory : public orcus::spreadsheet::import_factory {
public:
    DateRecordingFactory(orcus::spreadsheet::document& document, DateCells& dates)
        : import_factory(document), dates_(dates) {}
    using Sheet = orcus::spreadsheet::iface::import_sheet;
    Sheet* append_sheet(orcus::spreadsheet::sheet_t index, std::string_view name) override {
        return wrap(import_factory::append_sheet(index, name), index);
    }
    Sheet* get_sheet(std::string_view name) override {
        Sheet* const model = import_factory::get_sheet(name);
        for (const auto& sheet : sheets_)
            if (sheet.first == model)
                return sheet.second.get();
        return model;
    }
    Sheet* get_sheet(orcus::spreadsheet::sheet_t index) override {
        const auto at = std::size_t(index);
        return at < sheets_.size() ? sheets_[at].second.get() : import_factory::get_sheet(index);
    }

private:
    Sheet* wrap(Sheet* sheet, orcus::spreadsheet::sheet_t index) {
        if (sheet == nullptr)
            return nullptr;
        sheets_.emplace_back(
            sheet, std::make_unique<DateRecordingSheet>(*sheet, std::size_t(index), dates_));
        return sheets_.back().second.get();
    }
    DateCells& dates_;
    std::vector<std::pair<Sheet*, std::unique_ptr<DateRecordingSheet>>> sheets_;
};

} // namespace tallyvane
