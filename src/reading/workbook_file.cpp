#include "reading/workbook_file.h"

#include "platform/failure.h"
#include "reading/table_names.h"
#include "reading/workbooks/ods_book.h"
#include "reading/workbooks/xlsx_book.h"
#include "reading/workbooks/zip_members.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <charconv>

#include <fcntl.h>
#include <unistd.h>

namespace tallyvane {

WorkbookFile::WorkbookFile(const std::string& path, FileKind kind) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Failure(QStringLiteral("Cannot read %1: %2")
                          .arg(QFile::decodeName(path.c_str()), qt_error_string(errno)));
    try {
        open(fd, kind);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

WorkbookFile::WorkbookFile(int fd, FileKind kind) {
    open(fd, kind);
}

void WorkbookFile::open(int fd, FileKind kind) {
    zip_ = std::make_unique<ZipMembers>(fd);
    if (kind == FileKind::Ods)
        ods_ = std::make_unique<OdsBook>(*zip_);
    else
        xlsx_ = std::make_unique<XlsxBook>(*zip_);
}

WorkbookFile::~WorkbookFile() = default;

const std::vector<std::string>& WorkbookFile::sheetNames() const {
    return ods_ ? ods_->sheetNames() : xlsx_->sheetNames();
}

void WorkbookFile::readSheet(std::size_t sheet, const SheetText& to) const {
    SheetCsv out(to);
    if (ods_)
        ods_->readSheet(sheet, out, formulasWithoutResult_);
    else
        xlsx_->readSheet(sheet, out, formulasWithoutResult_);
}

std::string WorkbookFile::sheetCsv(std::size_t sheet) const {
    std::string whole;
    readSheet(sheet, [&whole](std::string_view csv) {
        whole.append(csv);
        return true;
    });
    return whole;
}

std::string formulasWithoutResultText(std::size_t formulas) {
    return std::to_string(formulas) + (formulas == 1 ? " formula" : " formulas") +
           " had no stored result; save the workbook from a spreadsheet application to store them";
}

std::optional<std::size_t> sheetNamed(const std::vector<std::string>& names,
                                      const std::string& nameOrNumber) {
    const std::vector<std::string_view> views = viewsOf(names);
    if (const std::optional<std::size_t> meant = nameMeant(views, nameOrNumber))
        return meant;
    if (!namesAlike(views, nameOrNumber).empty()) // several alike: none is meant
        return std::nullopt;
    std::size_t number = 0;
    const char* end = nameOrNumber.data() + nameOrNumber.size();
    const auto read = std::from_chars(nameOrNumber.data(), end, number);
    if (read.ec == std::errc() && read.ptr == end && number >= 1 && number <= names.size())
        return number - 1;
    return std::nullopt;
}

} // namespace tallyvane
