#include "entries/orcus/workbook_sheet_proxy.h"
#include "entries/workbook_reading.h"

#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>
#include <ixion/model_iterator.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <orcus/spreadsheet/styles.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>

namespace tallyvane {

namespace ss = orcus::spreadsheet;

namespace {

// Excel's built-in number formats that show a date or a time.
bool builtInDate(std::size_t id) {
    return (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
}

// A format code shows a date when it has d, m, y or h outside quotes and
// brackets ("[Red]", "[$-409]").
bool dateFormatCode(std::string_view code) {
    bool quoted = false;
    int bracket = 0;
    for (const char c : code) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '[')
            ++bracket;
        else if (!quoted && c == ']' && bracket > 0)
            --bracket;
        else if (!quoted && bracket == 0 && std::strchr("dDmMyYhH", c) != nullptr)
            return true;
    }
    return false;
}

bool xlsxDate(const ss::document& document, const ss::sheet& sheet, ixion::row_t row,
              ixion::col_t col) {
    const ss::styles& styles = document.get_styles();
    const ss::cell_format_t* format = styles.get_cell_format(sheet.get_cell_format(row, col));
    if (format == nullptr || format->number_format == 0)
        return false;
    if (builtInDate(format->number_format))
        return true;
    for (std::size_t i = 0; i < styles.get_number_format_count(); ++i) {
        const ss::number_format_t* number = styles.get_number_format(i);
        if (number && number->identifier == format->number_format)
            return dateFormatCode(number->format_string);
    }
    return false;
}

void putNumber(std::string& out, double value) {
    char text[64];
    const bool whole = std::trunc(value) == value && std::fabs(value) < 1e16;
    const auto end = whole
                         ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                         : std::to_chars(text, text + sizeof text, value);
    out.append(text, end.ptr);
}

void putDate(std::string& out, const ss::sheet& sheet, ixion::row_t row, ixion::col_t col) {
    const orcus::date_time_t when = sheet.get_date_time(row, col);
    char text[32];
    int size = std::snprintf(text, sizeof text, "%04d-%02d-%02d", when.year, when.month, when.day);
    if (when.hour != 0 || when.minute != 0 || when.second >= 0.5)
        size += std::snprintf(text + size, sizeof text - std::size_t(size), " %02d:%02d:%02d",
                              when.hour, when.minute, int(std::lround(when.second)) % 60);
    out.append(text, std::size_t(size));
}

void putField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void putFormulaResult(std::string& out, const ixion::formula_cell& cell) {
    try {
        const ixion::formula_result result =
            cell.get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
        if (result.get_type() == ixion::formula_result::result_type::value)
            putNumber(out, result.get_value());
        else if (result.get_type() == ixion::formula_result::result_type::string)
            putField(out, result.get_string());
    } catch (const std::exception&) {
        // A formula with no stored result reads as a blank cell.
    }
}

// Some writers (streaming ones, libxlsxwriter's constant-memory mode among
// them) keep a sheet's text in its cells ("inline strings"), which liborcus
// 0.17 passes over: such a sheet would read with its text cells blank. Such a
// workbook is refused rather than read short.
bool hasInlineStrings(const std::string& path) {
    orcus::zip_archive_stream_fd stream(path.c_str());
    orcus::zip_archive archive(&stream);
    archive.load();
    std::vector<unsigned char> part;
    constexpr std::string_view kInline = "t=\"inlineStr\"";
    for (std::size_t i = 0; i < archive.get_file_entry_count(); ++i) {
        const std::string_view name = archive.get_file_entry_name(i);
        if (name.substr(0, 14) != "xl/worksheets/" || !archive.read_file_entry(name, part))
            continue;
        const std::string_view text(reinterpret_cast<const char*>(part.data()), part.size());
        if (text.find(kInline) != std::string_view::npos)
            return true;
    }
    return false;
}

class OrcusWorkbook : public WorkbookReading {
public:
    // Throws what liborcus throws.
    OrcusWorkbook(const std::string& path, bool ods) {
        DateRecordingFactory factory(document_, dates_);
        if (ods) {
            orcus::orcus_ods reader(&factory);
            reader.read_file(path);
        } else {
            orcus::orcus_xlsx reader(&factory);
            reader.read_file(path);
        }
    }
    std::vector<std::string> sheetNames() const override {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < document_.get_sheet_count(); ++i)
            names.emplace_back(document_.get_sheet_name(ss::sheet_t(i)));
        return names;
    }
    std::string sheetCsv(std::size_t index) const override;

private:
    ss::document document_{ss::range_size_t{1048576, 16384}};
    DateCells dates_; // cells an .ods file marks as dates
};

std::string OrcusWorkbook::sheetCsv(std::size_t index) const {
    const ss::document& document = document_;
    const ss::sheet* sheet = document.get_sheet(ss::sheet_t(index));
    std::string out;
    if (sheet == nullptr)
        return out;
    const ixion::abs_range_t range = sheet->get_data_range();
    if (!range.valid())
        return out;
    const ixion::model_context& model = document.get_model_context();
    // From A1, so that rows and columns keep their numbers; blank rows before
    // the header are skipped as a text file's are.
    const ixion::abs_rc_range_t cells(
        ixion::abs_range_t(ss::sheet_t(index), 0, 0, range.last.row + 1, range.last.column + 1));
    for (ixion::model_iterator it =
             model.get_model_iterator(ss::sheet_t(index), ixion::rc_direction_t::horizontal, cells);
         it.has(); it.next()) {
        const ixion::model_iterator::cell& cell = it.get();
        if (cell.col != 0)
            out.push_back(',');
        switch (cell.type) {
        case ixion::celltype_t::string:
            if (const std::string* text =
                    model.get_string(std::get<ixion::string_id_t>(cell.value)))
                putField(out, *text);
            break;
        case ixion::celltype_t::numeric:
            if (dates_.contains(index, cell.row, cell.col) ||
                xlsxDate(document, *sheet, cell.row, cell.col))
                putDate(out, *sheet, cell.row, cell.col);
            else
                putNumber(out, std::get<double>(cell.value));
            break;
        case ixion::celltype_t::boolean:
            out.append(std::get<bool>(cell.value) ? "TRUE" : "FALSE");
            break;
        case ixion::celltype_t::formula:
            putFormulaResult(out, *std::get<const ixion::formula_cell*>(cell.value));
            break;
        default:
            break;
        }
        if (cell.col == range.last.column)
            out.push_back('\n');
    }
    return out;
}

} // namespace

} // namespace tallyvane

extern "C" __attribute__((visibility("default"))) tallyvane::WorkbookReading*
tallyvane_read_workbook(const char* path, bool ods, std::string* error) {
    try {
        if (!ods && tallyvane::hasInlineStrings(path)) {
            *error = "The workbook keeps its text in a form this reader cannot read (inline "
                     "strings); save it again from a spreadsheet application";
            return nullptr;
        }
        return new tallyvane::OrcusWorkbook(path, ods);
    } catch (const std::bad_alloc&) {
        *error = "Not enough memory to read the workbook";
    } catch (const std::exception& e) {
        *error = std::string("Not a readable workbook (") + e.what() + ")";
    }
    return nullptr;
}
