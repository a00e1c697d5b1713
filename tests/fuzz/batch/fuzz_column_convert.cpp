// tallyvane-convert --column: the rows of a CSV or TSV file, handed over in
// reads of random sizes, written again with one more field. Read back, every
// row must hold the fields it came with, the result of its cell (blank for a
// blank or missing cell, the result's header for the header; for a cell of
// several numbers joined by ":::", each number's, joined) standing after
// the first row's width (short rows padded, long rows' extra fields after
// it; a column past the first row's last stops everything), and keep
// its line end, as the library reads them byte by byte; blank lines stay
// blank, and a byte-order mark stays before the first row.
//
// Input: one byte (bits 0-1: the delimiter, a comma, a semicolon or a tab;
// bits 2-3: the column, 1 to 4; bit 4: a header row; bit 5: states to area
// codes), then the file's bytes.
#include "batch/column_converter.h"
#include "conversion/area_code.h"
#include "conversion/area_code_table.h"
#include "fuzz_support.h"
#include "reading/csv_records.h"

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace tallyvane;
using namespace tallyvane::batch;

namespace {

const AreaCodeTable* table = nullptr;

struct Row {
    std::vector<std::string> fields;
    std::string end;
    bool operator==(const Row&) const = default;
};

struct Rows : CsvRecords::Reader {
    void record(const CsvRecord& record) override {
        Row row;
        for (const std::string_view field : record.fields)
            row.fields.emplace_back(field);
        row.end = record.end;
        rows.push_back(std::move(row));
    }
    std::vector<Row> rows;
};

// Read at once, every byte by the library's slow and sure path, as a
// reference for the reads in pieces.
Rows readWhole(std::string_view bytes, char delimiter, bool& mark) {
    CsvRecords records(delimiter, CsvRecords::Spaces::KeptAlways);
    Rows rows;
    records.feed(bytes.data(), bytes.size(), rows);
    records.finish(rows);
    mark = records.startedWithMark();
    return rows;
}

// A cell's result: blank for a blank cell, a number of several answered even empty.
std::string resultOf(const std::string& cell, Direction direction, bool partOfSeveral = false) {
    if (cell.empty() && !partOfSeveral)
        return {};
    AreaCode code;
    code.add(cell.data(), cell.data() + cell.size());
    const AreaCodeTable::AnswerId answer = direction == Direction::AreaCodesToStates
                                               ? table->statesFor(code)
                                               : table->areaCodesFor(std::string_view(cell));
    return table->utf8Row(answer).toStdString();
}

std::string convertInPieces(std::string_view bytes, const ConvertOptions& options) {
    const int fd = fuzz::outputFile();
    {
        ByteOutput out(fd, 100);
        ColumnConverter converter(*table, options, out);
        CsvRecords records(options.delimiter);
        converter.beginFile(records, options.delimiter);
        std::minstd_rand random(static_cast<unsigned>(bytes.size() * 2654435761u));
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t n = std::min(bytes.size() - at, 1 + std::size_t(random() % 96));
            records.feed(bytes.data() + at, n, converter);
            at += n;
        }
        records.finish(converter);
        out.flush();
    }
    return fuzz::writtenTo(fd);
}

QStringList texts(const std::vector<Row>& rows) {
    QStringList out;
    for (const Row& row : rows) {
        QString text;
        for (const std::string& field : row.fields)
            text += QLatin1Char('[') + QString::fromLatin1(field.data(), qsizetype(field.size())) +
                    QLatin1Char(']');
        out << text + QString::fromLatin1(row.end.data(), qsizetype(row.end.size()));
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startApplication();
    table = &fuzz::builtTable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    ConvertOptions options;
    options.delimiter = "\t;,,"[data[0] & 3];
    const int position = 1 + ((data[0] >> 2) & 3);
    options.columnsAsked = {{std::to_string(position), position}};
    options.header = data[0] & 16;
    options.direction = data[0] & 32 ? Direction::StatesToAreaCodes : Direction::AreaCodesToStates;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    bool markIn = false, markOut = false;
    std::vector<Row> expected = readWhole(bytes, options.delimiter, markIn).rows;
    bool header = options.header;
    const auto column = std::size_t(options.columnsAsked.front().number - 1);
    std::size_t width = 0; // of the header, or of the first row: the result stands after it
    for (std::size_t r = 0; r < expected.size(); ++r) {
        Row& row = expected[r];
        if (row.fields.empty())
            continue;
        if (width == 0 && column >= row.fields.size()) {
            // A column past the table's first row: nothing more is written.
            expected.resize(r);
            break;
        }
        if (width == 0)
            width = std::max(row.fields.size(), column + 1);
        const std::string cell = column < row.fields.size() ? row.fields[column] : std::string();
        const std::string result =
            std::exchange(header, false)
                ? (options.direction == Direction::AreaCodesToStates ? "State" : "Area Codes")
                : fuzz::severalOr(cell, options.direction == Direction::AreaCodesToStates,
                                  [&](const std::string& part) {
                                      return resultOf(part, options.direction, part != cell);
                                  });
        if (row.fields.size() < width)
            row.fields.resize(width);
        row.fields.insert(row.fields.begin() + std::ptrdiff_t(width), result);
    }
    const std::string written = convertInPieces(bytes, options);
    const std::vector<Row> got = readWhole(written, options.delimiter, markOut).rows;
    // Compared as they are: texts are made only to show a broken rule.
    if (expected != got)
        fuzz::fail("every row with its fields, its result and its line end", texts(expected),
                   texts(got));
    // A file of nothing but a mark has no row to keep it in front of.
    if (markIn != markOut && !expected.empty())
        fuzz::fail("a byte-order mark stays", {}, {});
    return 0;
}
