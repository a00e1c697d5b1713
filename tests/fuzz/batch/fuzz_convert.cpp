// The batch converter's reader and output formats, with the bytes arriving in
// reads of random sizes and lines longer than a read block, against the rules
// its help states:
// - a line ends at LF, CR LF or a lone CR, and a final line end adds no entry;
// - the results, tsv and csv formats write one line per entry, and its result
//   is the one the area-code table gives the whole line at once (a line of
//   several numbers joined by ":::" that fits a block: each number's, joined);
// - tsv is the entry (its tabs and backslashes escaped), a tab and the result; csv is a header,
// then two fields
//   that read back (RFC 4180) to the entry (less the ' that guards one that
//   begins like a formula) and the result;
// - text is a heading and a line per entry, every line as wide as the widest,
//   CR LF after each.
//
// Input: one byte (bits 0-1: the format; bit 2: states to area codes; bits
// 3-7: the read block, 64 bytes and up), then the input's bytes.
#include "batch/line_converter.h"
#include "batch/line_reader.h"
#include "conversion/area_code.h"
#include "conversion/area_code_table.h"
#include "fuzz_support.h"

#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace tallyvane;
using namespace tallyvane::batch;

namespace {

const AreaCodeTable* table = nullptr;

QStringList texts(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromLatin1(line.data(), qsizetype(line.size()));
    return out;
}

std::vector<std::string> entriesOf(std::string_view bytes) {
    std::vector<std::string> entries;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            line += c;
            open = true;
            continue;
        }
        entries.push_back(std::exchange(line, {}));
        open = false;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    if (open)
        entries.push_back(line);
    return entries;
}

std::string resultOf(const std::string& entry, Direction direction) {
    AreaCode code;
    code.add(entry.data(), entry.data() + entry.size());
    const AreaCodeTable::AnswerId answer = direction == Direction::AreaCodesToStates
                                               ? table->statesFor(code)
                                               : table->areaCodesFor(std::string_view(entry));
    return table->utf8Row(answer).toStdString();
}

// A line shorter than the block arrives whole; a longer one goes in pieces,
// and is one entry whatever it holds.
std::string wholeResultOf(const std::string& entry, Direction direction, std::size_t block) {
    if (entry.size() >= block)
        return resultOf(entry, direction);
    return fuzz::severalOr(entry, direction == Direction::AreaCodesToStates,
                           [&](const std::string& part) { return resultOf(part, direction); });
}

std::vector<std::string> split(const std::string& text, std::string_view end) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(end, from)) != std::string::npos; from = at + end.size())
        lines.push_back(text.substr(from, at - from));
    if (from != text.size())
        fuzz::fail("the output ends with a line end", {},
                   {QString::fromStdString(text.substr(from))});
    return lines;
}

// Converts the bytes, handed over in reads of random sizes, into what the
// program would write.
std::string convertInPieces(std::string_view bytes, Format format, Direction direction,
                            std::size_t block) {
    const int fd = fuzz::outputFile();
    ByteOutput out(fd, 100);
    LineConverter converter(*table, direction, format, out);
    LineReader reader(converter, block);
    std::minstd_rand random(static_cast<unsigned>(bytes.size() * 2654435761u));
    std::size_t at = 0;
    converter.begin();
    reader.readAll([&](char* buffer, std::size_t room) -> ssize_t {
        // Never 0 before the end: a read of nothing is the end of the input.
        const std::size_t n = std::min({room, bytes.size() - at, 1 + std::size_t(random() % 96)});
        std::copy_n(bytes.data() + at, n, buffer);
        at += n;
        return ssize_t(n);
    });
    converter.finish();
    out.flush();
    return fuzz::writtenTo(fd);
}

// PostgreSQL's text format: every tab, CR, LF and backslash of a field escaped.
std::string tsvField(const std::string& field) {
    std::string out;
    for (const char c : field) {
        const char* escape = c == '\t'   ? "\\t"
                             : c == '\r' ? "\\r"
                             : c == '\n' ? "\\n"
                             : c == '\\' ? "\\\\"
                                         : nullptr;
        out += escape ? std::string(escape) : std::string(1, c);
    }
    return out;
}

void checkLines(const std::vector<std::string>& entries, const std::string& written, Format format,
                Direction direction, std::size_t block) {
    std::vector<std::string> got = split(written, "\n");
    std::vector<std::string> expected;
    if (format == Format::Csv) {
        if (got.empty() || got.front() != "entry,result")
            fuzz::fail("csv begins with its header", {"entry,result"}, texts(got));
        got.erase(got.begin());
        for (std::string& record : got) {
            std::vector<std::string> fields = fuzz::csvFields(record);
            if (fields.size() == 2 && !fields[0].empty() && fields[0].front() == '\'')
                fields[0].erase(0, 1);
            record =
                fields.size() == 2 ? fields[0] + '\n' + fields[1] : "(not two fields) " + record;
        }
    }
    for (const std::string& entry : entries) {
        const std::string result = wholeResultOf(entry, direction, block);
        expected.push_back(format == Format::Results ? result
                           : format == Format::Tsv   ? tsvField(entry) + '\t' + result
                                                     : entry + '\n' + result);
    }
    fuzz::expectEqual("one line per entry, with its entry and its result", texts(expected),
                      texts(got));
}

void checkText(const std::vector<std::string>& entries, const std::string& written,
               Direction direction, std::size_t block) {
    const std::vector<std::string> got = split(written, "\r\n");
    std::vector<std::string> expected{"Results"};
    for (const std::string& entry : entries)
        expected.push_back(wholeResultOf(entry, direction, block));
    std::vector<std::string> trimmed;
    for (const std::string& line : got) {
        if (line.size() != got.front().size() || line.empty() || line.back() != '\t')
            fuzz::fail("every text line as wide as the widest, ending in a tab", {}, texts(got));
        trimmed.push_back(line.substr(0, line.find_last_not_of(" \t") + 1));
    }
    fuzz::expectEqual("a heading, then the result of every entry", texts(expected), texts(trimmed));
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
    const auto format = static_cast<Format>(data[0] & 3);
    const Direction direction =
        data[0] & 4 ? Direction::StatesToAreaCodes : Direction::AreaCodesToStates;
    // The program's own block is never smaller than twice the longest state
    // key and a byte, so that a line that may be a state name arrives whole.
    const std::size_t block =
        std::max<std::size_t>(64u + (data[0] >> 3) * 8u, 2 * (table->longestStateKey() + 1));
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> entries = entriesOf(bytes);
    const std::string written = convertInPieces(bytes, format, direction, block);
    if (format == Format::Text)
        checkText(entries, written, direction, block);
    else
        checkLines(entries, written, format, direction, block);
    return 0;
}
