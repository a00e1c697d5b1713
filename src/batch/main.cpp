// tallyvane-convert: the window's conversion for scripts and pipelines.
#include "batch/answer_counts.h"
#include "batch/byte_output.h"
#include "batch/column_converter.h"
#include "batch/convert_options.h"
#include "batch/decoded_text.h"
#include "batch/line_converter.h"
#include "batch/line_reader.h"
#include "batch/parallel_lines.h"
#include "batch/standard_streams.h"
#include "batch/workbook_output.h"
#include "batch/zone_fields.h"
#include "commands/product.h"
#include "conversion/area_code_table.h"
#include "entries/byte_order_marks.h"
#include "entries/column_lists.h"
#include "entries/file_kind.h"
#include "entries/table_names.h"
#include "entries/vcard_table.h"
#include "entries/workbook_file.h"
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
#include <memory>
#include <new>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tallyvane;
using namespace tallyvane::batch;

namespace {

constexpr std::size_t kBlockSize = std::size_t(1) << 20;

void complain(const std::string& what) {
    std::fprintf(stderr, "tallyvane-convert: %s\n", what.c_str());
}

// The answers, and the time zones when they are asked for.
struct Tables {
    AreaCodeTable codes;
    TimeZoneTable zones;
};

Tables readTables(const ConvertOptions& options) {
    QStringList candidates;
    if (!options.database.empty())
        candidates << QFile::decodeName(options.database.c_str());
    else // the folder of the real executable, as the window looks from its own
        candidates = dataFileCandidates(QFileInfo(QStringLiteral("/proc/self/exe"))
                                            .canonicalFilePath()
                                            .section(QLatin1Char('/'), 0, -2),
                                        kDatabaseFileName);
    SqliteAreaCodeDatabaseOpener opener(candidates);
    const std::unique_ptr<AreaCodeDatabase> db = opener.open();
    Tables tables{AreaCodeTable::read(*db), {}};
    if (options.zones()) {
        tables.zones = TimeZoneTable::read(*db);
        if (tables.zones.empty())
            throw Failure(QStringLiteral("the database has no time zones (it was made by an "
                                         "older build); rebuild it or give another with "
                                         "--database"));
    }
    return tables;
}

// What a regular file looks like from its first bytes, read without moving
// its offset. A pipe counts as text: waiting for its first 8 KB would hold
// back the results of the lines already come.
FileLooks looksOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    std::string start(kFileKindSample, '\0');
    const off_t offset = ::lseek(fd, 0, SEEK_CUR);
    const ssize_t got = ::pread(fd, start.data(), start.size(), offset < 0 ? 0 : offset);
    start.resize(got > 0 ? std::size_t(got) : 0);
    return fileLooks(start);
}

std::string inputName(const std::string& file) {
    return file == "-" ? std::string("the standard input") : file;
}

// Lines are read only from text; anything else is refused by name.
int refuseUnlessText(const FileLooks& looks, const std::string& file) {
    if (looks.kind == FileKind::Text)
        return 0;
    if (looks.kind == FileKind::NotText)
        complain(notTextWords(inputName(file), looks) + "; nothing of it was converted");
    else if (looks.kind == FileKind::VCard)
        complain(inputName(file) + " is a vCard file; read its phone numbers with --column Phone");
    else
        complain(inputName(file) + " is a workbook; read a column of it with --column NAME");
    return -1;
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
        const int error = fd >= 0 ? convert(fd, file, looksOf(fd)) : standardInput ? EBADF : errno;
        if (fd >= 0 && !standardInput)
            ::close(fd);
        if (error > 0)
            complain(file + ": " + std::strerror(error));
        allRead = allRead && error == 0;
    }
    return allRead;
}

// One entry per line.
bool convertLines(const ConvertOptions& options, const AreaCodeTable& table,
                  const ZoneFields& zones, ByteOutput& out, bool inputClosed,
                  AnswerCounts* counts) {
    const LineWork work{table, options.direction, options.format, options.withReason, &zones};
    LineConverter converter(work, out);
    converter.countInto(counts);
    // Made at the first input read on one thread: its block is a megabyte.
    std::optional<LineReader> reader;
    converter.begin();
    // The results of a large file come sooner from several threads; a pipe
    // keeps to one, so that each result goes out as soon as its line has come.
    const bool parallel = options.format != Format::Text && !counts;
    const bool allRead = forEachInput(
        options, inputClosed, [&](int fd, const std::string& file, const FileLooks& looks) {
            if (looks.kind != FileKind::Text)
                return refuseUnlessText(looks, file);
            if (const int threads = parallel && plainTextAt(fd) ? threadsFor(fd) : 1; threads > 1) {
                try {
                    return ParallelLines(work, out, ParallelLines::kChunkSize, threads).readAll(fd);
                } catch (const ParallelLines::NoRoom&) {
                    // read on one thread below, as a pipe is
                }
            }
            if (!reader) {
                reader.emplace(converter, LineReader::blockFor(table));
                reader->setBeforeWaiting([&out] { out.flush(); });
            }
            return reader->readAll(fd);
        });
    converter.finish();
    return allRead;
}

std::string rowsText(std::size_t rows) {
    return std::to_string(rows) + (rows == 1 ? " row" : " rows");
}

// What the rows of every file came to, on standard error, once at the end.
void reportRows(const ColumnConverter& converter, std::size_t malformed) {
    if (malformed > 0)
        complain(rowsText(malformed) +
                 " had text after a closing quote; it was kept in the same field, as spreadsheet "
                 "programs read it");
    if (const std::size_t lacking = converter.rowsWithoutColumn(); lacking > 0)
        complain(rowsText(lacking) + " had no field for " + converter.columnName() +
                 "; its result is left empty");
    if (const std::size_t rows = converter.shortRows(); rows > 0)
        complain(rowsText(rows) + (rows == 1 ? " was" : " were") +
                 " shorter than the header and padded with empty fields");
    if (const std::size_t rows = converter.longRows(); rows > 0)
        complain(rowsText(rows) + (rows == 1 ? " was" : " were") +
                 " longer than the header; the result stands under its heading, the extra "
                 "fields after it");
}

// A column past the last one is a mistake on the command line, found in the
// first row of the table: nothing is written.
struct ColumnBeyond {
    std::string file;
    std::size_t columns;
    std::string column; // the position given
};

// A workbook and the sheet of it that --sheet names (or the first); nothing,
// once said why, when the workbook or the sheet cannot be read.
struct ChosenSheet {
    std::unique_ptr<WorkbookFile> workbook;
    std::size_t sheet = 0;
};
std::optional<ChosenSheet> chosenSheet(int fd, const std::string& file, FileKind kind,
                                       const std::string& sheetName) {
    try {
        ChosenSheet chosen{std::make_unique<WorkbookFile>(fd, kind)};
        if (sheetName.empty() && kind == FileKind::Ods)
            return chosen; // its names would take a pass of their own
        const std::vector<std::string>& names = chosen.workbook->sheetNames();
        std::optional<std::size_t> sheet = std::size_t(0);
        if (!sheetName.empty())
            sheet = sheetNamed(names, sheetName);
        if (!sheet || names.empty()) {
            std::string list;
            for (const std::string& name : names)
                list += (list.empty() ? "" : ", ") + name;
            complain(inputName(file) + ": no sheet " + sheetName + "; its sheets are " + list);
            return std::nullopt;
        }
        chosen.sheet = *sheet;
        return chosen;
    } catch (const Failure& failure) {
        complain(inputName(file) + ": " + failure.description().toStdString());
        return std::nullopt;
    }
}

const char* delimiterName(char delimiter) {
    return delimiter == '\t' ? "tabs" : delimiter == ';' ? "semicolons" : "commas";
}

// The delimiter of a file that --delimiter does not set: the one the window's
// column dialog finds in the same first bytes (a comma, a semicolon or a tab),
// else a comma (a tab for a .tsv file). Said when it is not what the name
// would have given.
// A first read shorter than asked for most likely holds all there is (a small
// file, or a pipe's whole input), and is taken as whole.
char delimiterOf(const ConvertOptions& options, const std::string& file, std::string_view first,
                 bool whole) {
    if (options.delimiter != 0)
        return options.delimiter;
    whole = whole && first.size() <= kLayoutSampleBytes;
    first = first.substr(0, kLayoutSampleBytes);
    const char byName = options.delimiterFor(file);
    const char found = columnLayout(QByteArrayView(first.data(), qsizetype(first.size())), whole,
                                    QString::fromStdString(file), options.direction)
                           .delimiter;
    if (found == 0 || found == byName)
        return byName;
    complain(inputName(file) + ": its fields are separated by " + delimiterName(found) +
             ", and were read so (--delimiter chooses)");
    return found;
}

// Streams a workbook's sheet into the converter as it is read.
bool readSheet(const ChosenSheet& chosen, const std::string& file, CsvRecords& records,
               ColumnConverter& converter) {
    try {
        chosen.workbook->readSheet(chosen.sheet, [&](std::string_view csv) {
            records.feed(csv.data(), csv.size(), converter);
            return true;
        });
    } catch (const Failure& failure) {
        complain(inputName(file) + ": " + failure.description().toStdString());
        return false;
    }
    if (const std::size_t formulas = chosen.workbook->formulasWithoutResult(); formulas > 0)
        complain(inputName(file) + ": " + formulasWithoutResultText(formulas));
    return true;
}

// The entries of one column of CSV files, whose rows are written out again.
bool convertColumns(const ConvertOptions& options, const AreaCodeTable& table,
                    const ZoneFields& zones, ByteOutput& out, bool inputClosed,
                    AnswerCounts* counts) {
    // The rows of a summary are read and never written.
    ByteOutput discarded(ByteOutput::kDiscard, counts ? 1 << 16 : 1);
    ColumnConverter converter(table, options, counts ? discarded : out);
    // A workbook's cells are split again at commas, whatever each file used.
    if (options.xlsx)
        converter.writeWithDelimiter(',');
    converter.withZones(&zones);
    converter.countInto(counts);
    std::vector<char> block(kBlockSize);
    std::size_t malformed = 0;
    const bool allRead = forEachInput(
        options, inputClosed, [&](int fd, const std::string& file, const FileLooks& looks) {
            if (looks.kind == FileKind::NotText)
                return refuseUnlessText(looks, file);
            const bool vcard = looks.kind == FileKind::VCard;
            std::optional<ChosenSheet> sheet;
            if (looks.kind != FileKind::Text && !vcard) {
                sheet = chosenSheet(fd, file, looks.kind, options.sheet);
                if (!sheet)
                    return -1;
            }
            // UTF-16 is read as UTF-8, as the window reads it, and a mark
            // comes out as UTF-8's: CSV bytes are never mixed with UTF-16 units.
            const auto read = decodedText(readerOf(fd, [&out] { out.flush(); }),
                                          vcard ? Marks::Dropped : Marks::AsUtf8);
            // The first block tells the delimiter before any of it is read as rows.
            ssize_t got = sheet ? 0 : read(block.data(), block.size());
            if (got < 0)
                return errno;
            const char delimiter =
                sheet || vcard ? ','
                               : delimiterOf(options, file, {block.data(), std::size_t(got)},
                                             std::size_t(got) < block.size());
            CsvRecords records(delimiter);
            converter.beginFile(records, delimiter);
            if (sheet && !readSheet(*sheet, file, records, converter))
                return -1;
            // A vCard file is read as its table of contacts, a row a number.
            std::optional<VCardTable> cards;
            if (vcard)
                cards.emplace([&](std::string_view rows) {
                    records.feed(rows.data(), rows.size(), converter);
                });
            for (; got > 0; got = read(block.data(), block.size())) {
                if (cards)
                    cards->feed({block.data(), std::size_t(got)});
                else
                    records.feed(block.data(), std::size_t(got), converter);
            }
            if (got < 0)
                return errno;
            if (cards)
                cards->finish();
            records.finish(converter);
            malformed += records.malformedRecords();
            if (const std::size_t columns = converter.columnsBeyond(); columns > 0)
                throw ColumnBeyond{file, columns, converter.columnBeyond()};
            if (converter.headerRefused()) {
                complain(file +
                         ": its header is not the first file's; none of its rows were written");
                return -1;
            }
            if (converter.columnFound())
                return 0;
            if (const std::vector<std::string> alike = converter.columnsAlike(); !alike.empty()) {
                std::string names;
                for (const std::string& name : alike)
                    names += (names.empty() ? "\"" : ", \"") + name + "\"";
                complain(file + ": " + converter.missingColumn() + " matches several columns (" +
                         names + ") but for case and spaces; give the exact name or its number");
                return -1;
            }
            complain(file + ": no column named " + converter.missingColumn() +
                     "; its columns are " + converter.headerText());
            return -1;
        });
    reportRows(converter, malformed);
    return allRead;
}

// The input, if any, that is the very file the workbook would replace.
std::optional<std::string> inputThatIsOutput(const ConvertOptions& options,
                                             const WorkbookOutput& workbook) {
    if (options.files.empty())
        return workbook.isFileOf(STDIN_FILENO) ? std::optional<std::string>("the standard input")
                                               : std::nullopt;
    for (const std::string& file : options.files) {
        const int fd =
            file == "-" ? ::dup(STDIN_FILENO) : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        const bool same = fd >= 0 && workbook.isFileOf(fd);
        if (fd >= 0)
            ::close(fd);
        if (same)
            return inputName(file);
    }
    return std::nullopt;
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

    Tables tables;
    try {
        tables = readTables(options);
    } catch (const Failure& failure) {
        complain(failure.description().toStdString());
        return kFailure;
    }
    const AreaCodeTable& table = tables.codes;
    const ZoneFields zones(tables.zones, options);
    for (const std::string& warning : zones.warnings())
        complain(warning);

    // A reader that goes away ends the program as SIGPIPE would, but only
    // after the write that found out, so nothing half-done is reported.
    std::signal(SIGPIPE, SIG_IGN);
    // Past the file size limit (ulimit -f) a write fails with EFBIG, which is
    // reported, rather than the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    std::optional<WorkbookOutput> workbook;
    try {
        if (options.xlsx)
            workbook.emplace(options.output);
    } catch (const Failure& failure) {
        complain(failure.description().toStdString());
        return kFailure;
    }
    if (workbook) {
        if (const std::optional<std::string> both = inputThatIsOutput(options, *workbook)) {
            complain(*both + " is both an input and the workbook to write; nothing was written");
            return kUsageError;
        }
    }
    // A workbook's rows go first to its scratch file, through a descriptor
    // of their own, which closing the output closes.
    ByteOutput out(workbook ? ::dup(workbook->csvDescriptor()) : STDOUT_FILENO, kBlockSize);
    bool allRead = false;
    try {
        std::optional<AnswerCounts> counts;
        if (options.summary)
            counts.emplace(table, options.direction);
        AnswerCounts* const counting = counts ? &*counts : nullptr;
        try {
            allRead = options.columns()
                          ? convertColumns(options, table, zones, out, closed.input, counting)
                          : convertLines(options, table, zones, out, closed.input, counting);
        } catch (const ColumnBeyond& beyond) {
            out.discardPending();
            complain("column " + beyond.column + " is past the last column: " +
                     (beyond.file == "-" ? std::string("the input") : beyond.file) + " has " +
                     std::to_string(beyond.columns) +
                     (beyond.columns == 1 ? " column" : " columns"));
            std::fputs("Try 'tallyvane-convert --help' for more information.\n", stderr);
            return kUsageError;
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
