#include "reading/workbooks/xlsx_book.h"

#include "platform/failure.h"
#include "platform/memory_left.h"
#include "reading/workbooks/package_parts.h"
#include "reading/workbooks/rich_text.h"
#include "reading/workbooks/xml_part.h"
#include "reading/workbooks/zip_members.h"

#include <charconv>
#include <cstring>
#include <map>

namespace tallyvane {

namespace {

std::size_t numberOf(const char* text, std::size_t otherwise = 0) {
    std::size_t value = otherwise;
    if (text != nullptr)
        std::from_chars(text, text + std::strlen(text), value);
    return value;
}

bool isTrue(const char* text) {
    return text != nullptr && (std::strcmp(text, "1") == 0 || std::strcmp(text, "true") == 0);
}

class WorkbookEvents : public XmlEvents {
public:
    WorkbookEvents(const std::map<std::string, Relationship>& rels, std::vector<std::string>& names,
                   std::vector<std::string>& parts, bool& system1904)
        : rels_(rels), names_(names), parts_(parts), system1904_(system1904) {}
    void start(std::string_view name, const char** attributes) override {
        if (name == "workbookPr") {
            system1904_ = isTrue(attribute(attributes, "date1904"));
        } else if (name == "sheet") {
            const char* title = attribute(attributes, "name");
            const char* id = attribute(attributes, "id", "relationships");
            const auto rel = id ? rels_.find(id) : rels_.end();
            // Chart sheets and macro sheets hold no cells to read.
            if (title == nullptr || rel == rels_.end() || rel->second.kind != "worksheet")
                return;
            names_.emplace_back(title);
            parts_.push_back(rel->second.target);
        }
    }
    void end(std::string_view) override {}

private:
    const std::map<std::string, Relationship>& rels_;
    std::vector<std::string>& names_;
    std::vector<std::string>& parts_;
    bool& system1904_;
};

class StyleEvents : public XmlEvents {
public:
    explicit StyleEvents(std::vector<cells::Shown>& styles) : styles_(styles) {}
    void start(std::string_view name, const char** attributes) override {
        if (name == "numFmt") {
            const char* code = attribute(attributes, "formatCode");
            custom_[numberOf(attribute(attributes, "numFmtId"))] =
                cells::formatCode(code ? code : "");
        } else if (name == "cellXfs") {
            inCellFormats_ = true;
        } else if (name == "xf" && inCellFormats_) {
            const std::size_t id = numberOf(attribute(attributes, "numFmtId"));
            const auto found = custom_.find(id);
            styles_.push_back(found != custom_.end() ? found->second : cells::builtInFormat(id));
        }
    }
    void end(std::string_view name) override {
        if (name == "cellXfs")
            inCellFormats_ = false;
    }

private:
    std::vector<cells::Shown>& styles_;
    std::map<std::size_t, cells::Shown> custom_;
    bool inCellFormats_ = false;
};

class SharedStringEvents : public XmlEvents {
public:
    explicit SharedStringEvents(PackedStrings& strings) : strings_(strings) {}
    void start(std::string_view name, const char**) override {
        if (name == "si") {
            current_.clear();
            rich_.reset();
        } else {
            rich_.start(name);
        }
    }
    void end(std::string_view name) override {
        if (name != "si")
            return rich_.end(name);
        strings_.add(current_);
        if (strings_.held() > checkedTo_ + (std::size_t(16) << 20)) {
            checkedTo_ = strings_.held();
            if (std::int64_t(checkedTo_) * 2 > memoryLeft())
                throw Failure(QStringLiteral("Not a readable workbook (its table of texts needs "
                                             "more memory than is available)"));
        }
    }
    void text(std::string_view piece) override { rich_.text(piece, current_); }

private:
    PackedStrings& strings_;
    std::string current_;
    RichText rich_;
    std::size_t checkedTo_ = 0;
};

} // namespace

XlsxBook::XlsxBook(const ZipMembers& zip) : zip_(zip) {
    std::string workbook = "xl/workbook.xml";
    for (const auto& [id, rel] : relationshipsOf(zip, ""))
        if (rel.kind == "officeDocument")
            workbook = rel.target;
    const std::map<std::string, Relationship> rels = relationshipsOf(zip, workbook);
    WorkbookEvents events(rels, names_, sheetParts_, system1904_);
    parsePart(zip, workbook, events);
    for (const auto& [id, rel] : rels) {
        if (rel.kind == "styles" && zip.has(rel.target))
            readStyles(rel.target);
        else if (rel.kind == "sharedStrings" && zip.has(rel.target))
            sharedStringsPart_ = rel.target;
    }
}

void XlsxBook::readStyles(const std::string& part) {
    StyleEvents events(styles_);
    parsePart(zip_, part, events);
}

void XlsxBook::readSharedStrings() const {
    if (stringsRead_)
        return;
    stringsRead_ = true;
    if (sharedStringsPart_.empty())
        return;
    SharedStringEvents events(strings_);
    parsePart(zip_, sharedStringsPart_, events, Namespaces::Dropped);
}

} // namespace tallyvane
