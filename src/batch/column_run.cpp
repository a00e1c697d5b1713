#include "batch/column_run.h"

#include "batch/column_converter.h"
#include "batch/decoded_text.h"
#include "batch/line_reader.h"
#include "batch/run_inputs.h"
#include "entries/column_lists.h"
#include "platform/failure.h"
#include "reading/csv_records.h"
#include "reading/table_names.h"
#include "reading/vcard_table.h"
#include "reading/workbook_file.h"

#include <memory>
#include <optional>
#include <vector>

namespace tallyvane::batch {

namespace {

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

} // namespace

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

} // namespace tallyvane::batch
