// The workbook reader on packages around fuzzed parts: the input is cut at
// 0xFF bytes into a worksheet, a shared-string table, a style sheet and an
// .ods content part. Whatever they hold, the reader must refuse them with a
// Failure or give CSV text made of whole rows, the same whether its reader
// takes every piece or stops after the first.
#include "platform/failure.h"
#include "reading/workbook_file.h"

#include <zip.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

using namespace tallyvane;

namespace {

const std::string kRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string relationship(const char* id, const char* kind, const char* target) {
    return std::string("<Relationship Id=\"") + id + "\" Type=\"" + kRelType + kind +
           "\" Target=\"" + target + "\"/>";
}

std::string relationships(const std::string& entries) {
    return "<Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           entries + "</Relationships>";
}

void add(zip_t* archive, const char* name, const std::string& bytes) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
}

std::string packagePath(bool ods) {
    return "/tmp/tallyvane-fuzz-" + std::to_string(::getpid()) + (ods ? ".ods" : ".xlsx");
}

void writePackage(const std::array<std::string, 4>& parts, bool ods) {
    int error = 0;
    zip_t* archive = zip_open(packagePath(ods).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        std::abort();
    const std::string workbook =
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const std::string packageRels =
        relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"));
    const std::string workbookRels =
        relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                      relationship("rId2", "sharedStrings", "sharedStrings.xml") +
                      relationship("rId3", "styles", "styles.xml"));
    if (ods) {
        add(archive, "content.xml", parts[3]);
    } else {
        add(archive, "_rels/.rels", packageRels);
        add(archive, "xl/workbook.xml", workbook);
        add(archive, "xl/_rels/workbook.xml.rels", workbookRels);
        add(archive, "xl/worksheets/sheet1.xml", parts[0]);
        add(archive, "xl/sharedStrings.xml", parts[1]);
        add(archive, "xl/styles.xml", parts[2]);
    }
    if (zip_close(archive) != 0)
        std::abort();
}

void check(bool ods) {
    try {
        const WorkbookFile book(packagePath(ods), ods ? FileKind::Ods : FileKind::Xlsx);
        if (book.sheetNames().empty())
            return;
        const std::string whole = book.sheetCsv(0);
        if (!whole.empty() && whole.back() != '\n')
            std::abort();
        std::string first;
        book.readSheet(0, [&first](std::string_view piece) {
            first.assign(piece);
            return false;
        });
        if (whole.compare(0, first.size(), first) != 0 || (!first.empty() && first.back() != '\n'))
            std::abort();
    } catch (const Failure&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::string, 4> parts;
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && part + 1 < parts.size())
            ++part;
        else
            parts[part].push_back(char(data[i]));
    }
    writePackage(parts, false);
    check(false);
    writePackage(parts, true);
    check(true);
    return 0;
}
