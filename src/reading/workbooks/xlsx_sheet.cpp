// Reading one worksheet part of an .xlsx workbook as it is inflated.
#include "reading/workbooks/rich_text.h"
#include "reading/workbooks/xlsx_book.h"
#include "reading/workbooks/xml_part.h"
#include "reading/workbooks/zip_members.h"

#include <charconv>
#include <cstring>

namespace tallyvane {

namespace {

// "BC12": column 54 (from 0) and row 11; what a reference lacks stays as given.
void readReference(const char* reference, std::uint64_t& column, std::uint64_t& row) {
    std::uint64_t letters = 0;
    const char* p = reference;
    for (; (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); ++p)
        letters = std::min<std::uint64_t>(letters * 26 + std::uint64_t((*p | 0x20) - 'a' + 1),
                                          SheetCsv::kMaxColumns + 1);
    if (letters > 0)
        column = letters - 1;
    std::uint64_t number = 0;
    const auto read = std::from_chars(p, p + std::strlen(p), number);
    if (read.ec == std::errc() && number > 0)
        row = number - 1;
}

// A cell's type by one letter: s shared string, f formula string, i inline
// string, b boolean, e error, d ISO date, n number.
char typeOf(std::string_view type) {
    if (type == "str")
        return 'f';
    if (type == "inlineStr")
        return 'i';
    return type.size() == 1 && std::string_view("sbedn").find(type[0]) != std::string_view::npos
               ? type[0]
               : 'n';
}

class SheetEvents : public XmlEvents {
public:
    SheetEvents(SheetCsv& out, const PackedStrings& strings,
                const std::vector<cells::Shown>& styles, bool system1904)
        : out_(out), strings_(strings), styles_(styles), system1904_(system1904) {}

    void start(std::string_view name, const char** attributes) override {
        if (name == "c")
            return startCell(attributes);
        if (name == "v") {
            collecting_ = hasValue_ = true;
        } else if (name == "f") {
            hasFormula_ = true;
        } else if (name == "is") {
            inline_ = hasValue_ = true;
            rich_.reset();
        } else if (inline_) {
            rich_.start(name);
        } else if (name == "row") {
            std::uint64_t column = 0, row = out_.nextRow();
            if (const char* reference = attribute(attributes, "r"))
                readReference(reference, column, row);
            out_.startRow(row);
            nextColumn_ = 0;
        }
    }
    void end(std::string_view name) override {
        if (name == "v")
            collecting_ = false;
        else if (name == "is")
            inline_ = false;
        else if (inline_)
            rich_.end(name);
        else if (name == "c")
            endCell();
        else if (name == "row")
            out_.endRow();
    }
    void text(std::string_view piece) override {
        if (collecting_)
            value_.append(piece);
        else if (inline_)
            rich_.text(piece, value_);
    }
    bool done() const override { return out_.stopped(); }

    std::size_t formulasWithoutResult = 0;

private:
    void startCell(const char** attributes) {
        column_ = nextColumn_;
        std::uint64_t row = 0;
        type_ = 'n';
        style_ = 0;
        for (; *attributes != nullptr; attributes += 2) {
            const std::string_view attributeName = localName(attributes[0]);
            if (attributeName == "r")
                readReference(attributes[1], column_, row);
            else if (attributeName == "t")
                type_ = typeOf(attributes[1]);
            else if (attributeName == "s")
                std::from_chars(attributes[1], attributes[1] + std::strlen(attributes[1]), style_);
        }
        value_.clear();
        hasValue_ = hasFormula_ = false;
    }
    void endCell() {
        nextColumn_ = column_ + 1;
        // Writers that cannot calculate leave a formula's value out, or empty.
        if (!hasValue_ || (hasFormula_ && type_ != 'i' && value_.empty())) {
            formulasWithoutResult += hasFormula_ ? 1 : 0;
            return;
        }
        text_.clear();
        switch (type_) {
        case 's': {
            std::size_t index = 0;
            std::from_chars(value_.data(), value_.data() + value_.size(), index);
            if (index < strings_.size())
                out_.cell(column_, strings_[index]);
            return;
        }
        case 'b':
            out_.cell(column_, value_ == "1" || value_ == "true" ? "TRUE" : "FALSE");
            return;
        case 'd':
            cells::appendIsoDate(text_, value_);
            break;
        case 'n':
            number();
            break;
        default: // inline strings, formula strings, errors: as written
            out_.cell(column_, value_);
            return;
        }
        out_.cell(column_, text_);
    }
    void number() {
        double value = 0;
        const auto read = std::from_chars(value_.data(), value_.data() + value_.size(), value);
        if (read.ec != std::errc() || read.ptr != value_.data() + value_.size()) {
            text_ = value_;
            return;
        }
        const cells::Shown shown = style_ < styles_.size() ? styles_[style_] : cells::Shown::Number;
        if (shown == cells::Shown::Number || !cells::appendSerial(text_, value, shown, system1904_))
            cells::appendNumber(text_, value);
    }

    SheetCsv& out_;
    const PackedStrings& strings_;
    const std::vector<cells::Shown>& styles_;
    const bool system1904_;
    RichText rich_;
    std::string value_;
    std::string text_;
    std::uint64_t column_ = 0;
    std::uint64_t nextColumn_ = 0;
    std::size_t style_ = 0;
    char type_ = 'n';
    bool collecting_ = false;
    bool inline_ = false;
    bool hasValue_ = false;
    bool hasFormula_ = false;
};

} // namespace

void XlsxBook::readSheet(std::size_t sheet, SheetCsv& out,
                         std::size_t& formulasWithoutResult) const {
    readSharedStrings();
    SheetEvents events(out, strings_, styles_, system1904_);
    parsePart(zip_, sheetParts_.at(sheet), events, Namespaces::Dropped);
    out.finish();
    formulasWithoutResult += events.formulasWithoutResult;
}

} // namespace tallyvane
