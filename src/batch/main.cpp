// tallyvane-convert: the window's conversion for scripts and pipelines. The
// run reads as its steps: the standard descriptors, the options, the tables,
// the output, the conversion of lines or of columns, the summary.
#include "batch/answer_counts.h"
#include "batch/byte_output.h"
#include "batch/column_run.h"
#include "batch/convert_options.h"
#include "batch/line_run.h"
#include "batch/run_inputs.h"
#include "batch/run_tables.h"
#include "batch/standard_streams.h"
#include "batch/workbook_output.h"
#include "batch/zone_fields.h"
#include "platform/failure.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::batch;

namespace {

QString summaryText(const ResultsSummary& summary, Format format) {
    return format == Format::Csv    ? summaryCsv(summary)
           : format == Format::Text ? summaryAlignedText(summary)
                                    : summaryTsv(summary);
}

int writeError(int error) {
    complain(std::string("write error: ") + std::strerror(error));
    return kFailure;
}

int printHelpOrVersion(const ConvertOptions& options) {
    std::fputs(options.help ? helpText() : versionText().c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : writeError(errno);
}

std::optional<Tables> tablesOrSay(const ConvertOptions& options) {
    try {
        return readTables(options);
    } catch (const Failure& failure) {
        complain(failure.description().toStdString());
        return std::nullopt;
    }
}

// A reader that goes away ends the program as SIGPIPE would, but only after
// the write that found out, so nothing half-done is reported. Past the file
// size limit (ulimit -f) a write fails with EFBIG, which is reported, rather
// than the signal ending the program without a word.
void reportOutputSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

// -f xlsx -o FILE: the workbook to write, checked before anything is read;
// 0, or the status to end with.
int openWorkbook(const ConvertOptions& options, std::optional<WorkbookOutput>& workbook) {
    try {
        if (options.xlsx)
            workbook.emplace(options.output);
    } catch (const Failure& failure) {
        complain(failure.description().toStdString());
        return kFailure;
    }
    if (workbook) {
        if (const std::optional<std::string> both = inputThatIsOutput(options.files, *workbook)) {
            complain(*both + " is both an input and the workbook to write; nothing was written");
            return kUsageError;
        }
    }
    return 0;
}

int columnBeyond(const ColumnBeyond& beyond) {
    complain("column " + beyond.column + " is past the last column: " +
             (beyond.file == "-" ? std::string("the input") : beyond.file) + " has " +
             std::to_string(beyond.columns) + (beyond.columns == 1 ? " column" : " columns"));
    std::fputs("Try 'tallyvane-convert --help' for more information.\n", stderr);
    return kUsageError;
}

// Every input converted, lines or columns, then the summary and the
// workbook; the exit status.
int convertAll(const ConvertOptions& options, const Tables& tables, const ZoneFields& zones,
               std::optional<WorkbookOutput>& workbook, bool inputClosed) {
    // A workbook's rows go first to its scratch file, through a descriptor
    // of their own, which closing the output closes.
    ByteOutput out(workbook ? ::dup(workbook->csvDescriptor()) : STDOUT_FILENO, kBlockSize);
    bool allRead = false;
    try {
        std::optional<AnswerCounts> counts;
        if (options.summary)
            counts.emplace(tables.codes, options.direction);
        AnswerCounts* const counting = counts ? &*counts : nullptr;
        try {
            allRead = options.columns()
                          ? convertColumns(options, tables.codes, zones, out, inputClosed, counting)
                          : convertLines(options, tables.codes, zones, out, inputClosed, counting);
        } catch (const ColumnBeyond& beyond) {
            out.discardPending();
            return columnBeyond(beyond);
        }
        if (counts)
            out.put(summaryText(counts->summary(), options.format).toStdString());
        out.close();
        // A run that failed leaves the workbook as it was.
        if (workbook && allRead)
            workbook->write(',');
    } catch (const Failure& failure) {
        complain(failure.description().toStdString());
        return kFailure;
    } catch (const OutputFailed& failed) {
        if (failed.errorNumber != EPIPE)
            return writeError(failed.errorNumber);
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
        return 128 + SIGPIPE;
    }
    return allRead ? 0 : kFailure;
}

int run(int argc, char** argv) {
    const ClosedStandardStreams closed = reserveStandardDescriptors();
    ConvertOptions options;
    if (!parseOptions(argc, argv, options))
        return kUsageError;
    if (closed.output)
        return writeError(EBADF);
    if (options.help || options.version)
        return printHelpOrVersion(options);
    const std::optional<Tables> tables = tablesOrSay(options);
    if (!tables)
        return kFailure;
    const ZoneFields zones(tables->zones, options);
    for (const std::string& warning : zones.warnings())
        complain(warning);
    reportOutputSignals();
    std::optional<WorkbookOutput> workbook;
    if (const int refused = openWorkbook(options, workbook); refused != 0)
        return refused;
    return convertAll(options, *tables, zones, workbook, closed.input);
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
