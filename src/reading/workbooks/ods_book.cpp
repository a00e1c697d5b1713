#include "reading/workbooks/ods_book.h"

#include "reading/workbooks/cell_text.h"
#include "reading/workbooks/xml_part.h"
#include "reading/workbooks/zip_members.h"

#include <charconv>
#include <cstring>

namespace tallyvane {

namespace {

constexpr std::string_view kContent = "content.xml";

std::uint64_t repeats(const char* count) {
    std::uint64_t value = 1;
    if (count != nullptr)
        std::from_chars(count, count + std::strlen(count), value);
    return value == 0 ? 1 : value;
}

// Each table's name; the cells of the wanted one (none: names only).
class ContentEvents : public XmlEvents {
public:
    ContentEvents(std::vector<std::string>& names, SheetCsv* out, std::size_t wanted)
        : names_(names), out_(out), wanted_(wanted) {}

    void start(std::string_view name, const char** attributes) override {
        if (name == "table" && depth_ == 0) {
            const char* title = attribute(attributes, "name", ":table:1.0");
            names_.emplace_back(title ? title : "");
            inWanted_ = out_ != nullptr && names_.size() == wanted_ + 1;
        }
        if (name == "table")
            ++depth_;
        if (!inWanted_ || depth_ != 1)
            return;
        if (name == "table-row")
            startRow(attributes);
        else if (name == "table-cell" || name == "covered-table-cell")
            startCell(attributes);
        else if (name == "annotation")
            ++hidden_;
        else if (inCell_ && hidden_ == 0)
            startText(name, attributes);
    }
    void end(std::string_view name) override {
        if (name == "table" && --depth_ == 0 && inWanted_) {
            inWanted_ = false;
            finished_ = true;
        }
        if (!inWanted_ || depth_ != 1)
            return;
        if (name == "annotation")
            --hidden_;
        else if (name == "p")
            inParagraph_ = false;
        else if (name == "table-cell" || name == "covered-table-cell")
            endCell();
        else if (name == "table-row")
            out_->endRow(rowRepeat_);
    }
    void text(std::string_view piece) override {
        if (inParagraph_ && hidden_ == 0)
            text_.append(piece);
    }
    bool done() const override { return finished_ || (out_ && out_->stopped()); }

    std::size_t formulasWithoutResult = 0;

private:
    void startRow(const char** attributes) {
        rowRepeat_ = repeats(attribute(attributes, "number-rows-repeated"));
        out_->startRow(out_->nextRow());
        column_ = 0;
    }
    void startCell(const char** attributes) {
        inCell_ = true;
        paragraphs_ = 0;
        text_.clear();
        value_.clear();
        cellRepeat_ = repeats(attribute(attributes, "number-columns-repeated"));
        const char* type = attribute(attributes, "value-type", ":office:1.0");
        const char* shown = attribute(attributes, "value-type", ":calcext:1.0");
        const std::string_view kind = shown && std::strcmp(shown, "error") == 0 ? "error"
                                      : type                                    ? type
                                                                                : "";
        const char* formula = attribute(attributes, "formula");
        withoutResult_ = formula != nullptr && type == nullptr;
        const char* value = nullptr;
        if (kind == "float" || kind == "percentage" || kind == "currency") {
            value = attribute(attributes, "value", ":office:1.0");
            double number = 0;
            if (value &&
                std::from_chars(value, value + std::strlen(value), number).ec == std::errc())
                cells::appendNumber(value_, number);
        } else if (kind == "date") {
            if ((value = attribute(attributes, "date-value")))
                cells::appendIsoDate(value_, value);
        } else if (kind == "time") {
            if ((value = attribute(attributes, "time-value")))
                cells::appendIsoTime(value_, value);
        } else if (kind == "boolean") {
            if ((value = attribute(attributes, "boolean-value")))
                value_ = std::strcmp(value, "true") == 0 ? "TRUE" : "FALSE";
        } else if (kind == "string") {
            if ((value = attribute(attributes, "string-value")))
                value_ = value;
        }
        hasValue_ = value != nullptr;
        // A boolean that came from an .xlsx is kept as the number of TRUE().
        if (formula != nullptr &&
            (std::strcmp(formula, "of:=TRUE()") == 0 || std::strcmp(formula, "of:=FALSE()") == 0)) {
            value_ = formula[4] == 'T' ? "TRUE" : "FALSE";
            hasValue_ = true;
        }
    }
    void startText(std::string_view name, const char** attributes) {
        if (name == "p") {
            if (paragraphs_++ > 0)
                text_.push_back('\n');
            inParagraph_ = true;
        } else if (name == "s") {
            text_.append(
                std::size_t(std::min<std::uint64_t>(repeats(attribute(attributes, "c")), 1024)),
                ' ');
        } else if (name == "tab") {
            text_.push_back('\t');
        } else if (name == "line-break") {
            text_.push_back('\n');
        }
    }
    void endCell() {
        inCell_ = false;
        formulasWithoutResult += withoutResult_ ? 1 : 0;
        const std::string& shown = hasValue_ ? value_ : text_;
        if (shown.empty()) {
            column_ = std::min(column_ + cellRepeat_, SheetCsv::kMaxColumns);
            return;
        }
        for (std::uint64_t i = 0; i < cellRepeat_ && column_ < SheetCsv::kMaxColumns; ++i)
            out_->cell(column_++, shown);
    }

    std::vector<std::string>& names_;
    SheetCsv* out_;
    const std::size_t wanted_;
    std::string text_;
    std::string value_;
    std::uint64_t rowRepeat_ = 1;
    std::uint64_t cellRepeat_ = 1;
    std::uint64_t column_ = 0;
    int depth_ = 0;
    int hidden_ = 0;
    int paragraphs_ = 0;
    bool inWanted_ = false;
    bool finished_ = false;
    bool inCell_ = false;
    bool inParagraph_ = false;
    bool hasValue_ = false;
    bool withoutResult_ = false;
};

} // namespace

const std::vector<std::string>& OdsBook::sheetNames() const {
    if (!named_) {
        ContentEvents events(names_, nullptr, 0);
        parsePart(zip_, kContent, events);
        named_ = true;
    }
    return names_;
}

void OdsBook::readSheet(std::size_t sheet, SheetCsv& out,
                        std::size_t& formulasWithoutResult) const {
    std::vector<std::string> names;
    ContentEvents events(names, &out, sheet);
    parsePart(zip_, kContent, events);
    out.finish();
    formulasWithoutResult += events.formulasWithoutResult;
}

} // namespace tallyvane
