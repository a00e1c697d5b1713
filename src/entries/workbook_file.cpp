#include "entries/workbook_file.h"

#include "entries/workbook_reading.h"
#include "platform/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <charconv>

#include <dlfcn.h>

namespace tallyvane {

namespace {

// Where the module lies: beside the program in a build tree, in the
// program's own library folder once installed.
QStringList moduleCandidates() {
    const QString programFolder =
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    const QString name = QString::fromLatin1(kWorkbookModuleName);
    return {
        programFolder + u'/' + name,
        QDir::cleanPath(programFolder + QStringLiteral("/" TALLYVANE_MODULE_SUBDIR "/") + name)};
}

// The module's entry, loaded at the first workbook and kept.
ReadWorkbook workbookReader() {
    static const ReadWorkbook reader = [] {
        for (const QString& path : moduleCandidates()) {
            if (void* module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL))
                return reinterpret_cast<ReadWorkbook>(::dlsym(module, kReadWorkbookSymbol));
        }
        return ReadWorkbook{};
    }();
    if (!reader)
        throw Failure(QStringLiteral("The workbook reader (%1) is not installed with this program")
                          .arg(QString::fromLatin1(kWorkbookModuleName)));
    return reader;
}

} // namespace

WorkbookFile::WorkbookFile(const std::string& path, FileKind kind) {
    std::string error;
    contents_.reset(workbookReader()(path.c_str(), kind == FileKind::Ods, &error));
    if (!contents_)
        throw Failure(QString::fromStdString(error));
    names_ = contents_->sheetNames();
}

WorkbookFile::~WorkbookFile() = default;

std::string WorkbookFile::sheetCsv(std::size_t sheet) const {
    return contents_->sheetCsv(sheet);
}

std::optional<std::size_t> sheetNamed(const std::vector<std::string>& names,
                                      const std::string& nameOrNumber) {
    const auto exact = std::find(names.begin(), names.end(), nameOrNumber);
    if (exact != names.end())
        return std::size_t(exact - names.begin());
    std::optional<std::size_t> loose;
    const QString wanted = QString::fromStdString(nameOrNumber).trimmed();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (QString::fromStdString(names[i]).trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (loose)
            return std::nullopt;
        loose = i;
    }
    if (loose)
        return loose;
    std::size_t number = 0;
    const char* end = nameOrNumber.data() + nameOrNumber.size();
    const auto read = std::from_chars(nameOrNumber.data(), end, number);
    if (read.ec == std::errc() && read.ptr == end && number >= 1 && number <= names.size())
        return number - 1;
    return std::nullopt;
}

} // namespace tallyvane
