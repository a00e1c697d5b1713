// tallyvane-convert: the window's conversion for scripts and pipelines.
#include "commands/product.h"
#include "conversion/area_code_table.h"
#include "convert/answer_counts.h"
#include "convert/byte_output.h"
#include "convert/column_converter.h"
#include "convert/convert_options.h"
#include "convert/line_converter.h"
#include "convert/line_reader.h"
#include "convert/standard_streams.h"
#include "platform/data_files.h"
#include "platform/failure.h"
#include "platform/sqlite/sqlite_area_code_database.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::convert;

namespace {

constexpr std::size_t kBlockSize = std::size_t(1) << 20;

void complain(const std::string& what) {
    std::fprintf(stderr, "tallyvane-convert: %s\n", what.c_str());
}

AreaCodeTable readTable(const ConvertOptions& options) {
    QStringList candidates;
    if (!options.database.empty())
        candidates << QFile::decodeName(options.database.c_str());
    else // the folder of the real executable, as the window looks from its own
        candidates = dataFileCandidates(QFileInfo(QStringLiteral("/proc/self/exe"))
                                            .canonicalFilePath()
                                            .section(QLatin1Char('/'), 0, -2),
                                        kDatabaseFileName);
    SqliteAreaCodeDatabaseOpener opener(candidates);
    return AreaCodeTable::read(*opener.open());
}

// Opens each input in turn and hands it to convert, which answers 0 or an
// errno (-1: it has said what went wrong itself). False when one failed.
template <class Convert>
bool forEachInput(const ConvertOptions& options, bool inputClosed, Convert&& convert) {
    std::vector<std::string> files = options.files;
    if (files.empty())
        files.emplace_back("-");
    bool allRead = true;
    for (const std::string& file : files) {
        const bool standardInput = file == "-";
        const int fd = standardInput ? (inputClosed ? -1 : STDIN_FILENO)
                                     : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        const int error = fd >= 0 ? convert(fd, file) : standardInput ? EBADF : errno;
        if (fd >= 0 && !standardInput)
            ::close(fd);
        if (error > 0)
            complain(file + ": " + std::strerror(error));
        allRead = allRead && error == 0;
    }
    return allRead;
}

// One entry per line.
bool convertLines(const ConvertOptions& options, const AreaCodeTable& table, ByteOutput& out,
                  bool inputClosed, AnswerCounts* counts) {
    LineConverter converter(table, options.direction, options.format, out, options.withReason);
    converter.countInto(counts);
    // A line that could match a state must fit in one block.
    LineReader reader(converter, std::max(kBlockSize, 2 * (table.longestStateKey() + 1)));
    reader.setBeforeWaiting([&out] { out.flush(); });
    converter.begin();
    const bool allRead = forEachInput(
        options, inputClosed, [&](int fd, const std::string&) { return reader.readAll(fd); });
    converter.finish();
    return allRead;
}

// The entries of one column of CSV files, whose rows are written out again.
bool convertColumns(const ConvertOptions& options, const AreaCodeTable& table, ByteOutput& out,
                    bool inputClosed, AnswerCounts* counts) {
    // The rows of a summary are read and never written.
    ByteOutput discarded(ByteOutput::kDiscard, counts ? 1 << 16 : 1);
    ColumnConverter converter(table, options, counts ? discarded : out);
    converter.countInto(counts);
    std::vector<char> block(kBlockSize);
    const bool allRead = forEachInput(options, inputClosed, [&](int fd, const std::string& file) {
        const char delimiter = options.delimiterFor(file);
        CsvRecords records(delimiter);
        converter.beginFile(records, delimiter);
        const auto read = readerOf(fd, [&out] { out.flush(); });
        for (;;) {
            const ssize_t got = read(block.data(), block.size());
            if (got < 0)
                return errno;
            if (got == 0)
                break;
            records.feed(block.data(), std::size_t(got), converter);
        }
        records.finish(converter);
        if (converter.columnFound())
            return 0;
        complain(file + ": no column named " + options.column);
        return -1;
    });
    if (const std::size_t lacking = converter.rowsWithoutColumn(); lacking > 0)
        complain(std::to_string(lacking) + (lacking == 1 ? " row had" : " rows had") +
                 " no field for " + converter.columnName() + "; its result is left empty");
    return allRead;
}

QString summaryText(const ResultsSummary& summary, Format format) {
    return format == Format::Csv    ? summaryCsv(summary)
           : format == Format::Text ? summaryAlignedText(summary)
                                    : summaryTsv(summary);
}

int run(int argc, char** argv) {
    const ClosedStandardStreams closed = reserveStandardDescriptors();
    ConvertOptions options;
    if (!parseOptions(argc, argv, options))
        return kUsageError;
    if (closed.output) {
        complain(std::string("write error: ") + std::strerror(EBADF));
        return kFailure;
    }
    if (options.help || options.version) {
        std::fputs(options.help ? helpText() : versionText().c_str(), stdout);
        if (std::fflush(stdout) == 0)
            return 0;
        complain(std::string("write error: ") + std::strerror(errno));
        return kFailure;
    }

    AreaCodeTable table;
    try {
        table = readTable(options);
    } catch (const Failure& failure) {
        complain(failure.description().toStdString());
        return kFailure;
    }

    // A reader that goes away ends the program as SIGPIPE would, but only
    // after the write that found out, so nothing half-done is reported.
    std::signal(SIGPIPE, SIG_IGN);
    ByteOutput out(STDOUT_FILENO, kBlockSize);
    bool allRead = false;
    try {
        std::optional<AnswerCounts> counts;
        if (options.summary)
            counts.emplace(table, options.direction);
        AnswerCounts* const counting = counts ? &*counts : nullptr;
        allRead = options.columns() ? convertColumns(options, table, out, closed.input, counting)
                                    : convertLines(options, table, out, closed.input, counting);
        if (counts)
            out.put(summaryText(counts->summary(), options.format).toStdString());
        out.close();
    } catch (const OutputFailed& failed) {
        if (failed.errorNumber == EPIPE) {
            std::signal(SIGPIPE, SIG_DFL);
            std::raise(SIGPIPE);
            return 128 + SIGPIPE;
        }
        complain(std::string("write error: ") + std::strerror(failed.errorNumber));
        return kFailure;
    }
    return allRead ? 0 : kFailure;
}
} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        // What is still held back is not written: the output ends where it
        // ends, and the status says it is not complete.
        std::fputs("tallyvane-convert: out of memory; the output is incomplete\n", stderr);
        return kFailure;
    }
}
