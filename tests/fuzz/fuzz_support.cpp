#include "fuzz_support.h"

#include "conversion/area_code_table.h"
#include "platform/sqlite/sqlite_area_code_database.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace tallyvane::fuzz {

namespace {

// Shows control characters and everything beyond ASCII as escapes, so that a
// finding reads unambiguously in a CI log.
QString visible(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f && u != '\\')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

void print(const char* label, const QStringList& texts) {
    std::fprintf(stderr, "%s (%lld):\n", label, static_cast<long long>(texts.size()));
    const qsizetype shown = std::min<qsizetype>(texts.size(), 40);
    for (qsizetype i = 0; i < shown; ++i)
        std::fprintf(stderr, "  [%lld] \"%s\"\n", static_cast<long long>(i),
                     qPrintable(visible(texts[i].left(200))));
    if (shown < texts.size())
        std::fprintf(stderr, "  ...\n");
}

} // namespace

void startApplication() {
    static int argc = 1;
    static char name[] = "tallyvane-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

QString scratchFolder() {
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                          ? QStringLiteral("/dev/shm/tallyvane-fuzz-XXXXXX")
                                          : QDir::tempPath() +
                                                QStringLiteral("/tallyvane-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(folder.errorString()));
        std::abort();
    }
    return folder.path();
}

const AreaCodeTable& builtTable() {
    static const AreaCodeTable table = [] {
        SqliteAreaCodeDatabaseOpener opener({QStringLiteral(TALLYVANE_FUZZ_DATABASE)});
        return AreaCodeTable::read(*opener.open());
    }();
    return table;
}

int outputFile() {
    return ::memfd_create("tallyvane-fuzz-output", 0);
}

std::string writtenTo(int fd) {
    std::string written(std::size_t(::lseek(fd, 0, SEEK_END)), '\0');
    if (::pread(fd, written.data(), written.size(), 0) != ssize_t(written.size()))
        fail("the output can be read back", {}, {});
    ::close(fd);
    return written;
}

std::vector<std::string> csvFields(const std::string& record) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        if (c == '"' && quoted && i + 1 < record.size() && record[i + 1] == '"')
            fields.back() += record[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

void fail(const char* rule, const QStringList& expected, const QStringList& actual) {
    std::fprintf(stderr, "\n==== broken rule: %s\n", rule);
    print("expected", expected);
    print("actual", actual);
    std::abort();
}

std::string severalOr(const std::string& entry, bool areaCodes,
                      const std::function<std::string(const std::string&)>& answer) {
    if (!areaCodes || entry.find(":::") == std::string::npos)
        return answer(entry);
    std::string joined;
    for (std::size_t at = 0;;) {
        const std::size_t mark = entry.find(":::", at);
        std::string part = entry.substr(at, mark == std::string::npos ? mark : mark - at);
        const std::size_t first = part.find_first_not_of(" \t");
        part.erase(0, first == std::string::npos ? part.size() : first);
        part.erase(part.find_last_not_of(" \t") + 1);
        joined += (at == 0 ? "" : " ::: ") + answer(part);
        if (mark == std::string::npos)
            return joined;
        at = mark + 3;
    }
}

} // namespace tallyvane::fuzz
