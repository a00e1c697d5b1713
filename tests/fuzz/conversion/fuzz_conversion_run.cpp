// Normalisation and both lookups, through the conversion run and through the
// in-memory table, against the real database that the build makes from the
// area-code table. The oracle is that table read straight from its CSV file,
// with the rules written out here:
// an area-code entry keeps its ASCII digits up to an extension marker (x, X or
// # after a digit), drops one leading 1 unless it has exactly ten digits, and
// keeps the first three, but asks for nothing when it is another country's number (its
// first digit is not 1, and a "+" comes before it with nothing between but spaces
// of any kind, invisible marks, dots, dashes, brackets and more "+") or a local number (seven
// digits once the leading 1 is dropped); the run answers each number of an entry joined by ":::"
// apart; a state entry matches a row whose state code or location
// name equals it, ignoring ASCII case only. Matches come in table order.
//
// Input: one byte (bit 0: states to area codes; bit 1: the entries are
// UTF-16LE rather than UTF-8; bit 2: through the window's whole run, which
// reads the table anew each time, rather than straight through the in-memory
// table read once), then the entries, separated by line feeds.
#include "conversion/area_code.h"
#include "conversion/area_code_table.h"
#include "conversion/conversion_run.h"
#include "fuzz_support.h"
#include "platform/sqlite/sqlite_area_code_database.h"
#include "support/fakes.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

struct TableRow {
    QString areaCode, stateCode, locationName;
};

std::vector<TableRow> table;
const AreaCodeTable* memoryTable = nullptr;

// Finds the three columns by their headings, so that added columns do not matter.
void loadTable(const char* path) {
    std::ifstream csv(path);
    std::string line;
    std::vector<std::size_t> column;
    while (std::getline(csv, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const auto fields = fuzz::csvFields(line);
        if (column.empty()) {
            for (const char* name : {"area_cd", "state_cd", "location_name"})
                column.push_back(std::find(fields.begin(), fields.end(), name) - fields.begin());
            continue;
        }
        auto field = [&](int k) {
            return column[k] < fields.size() ? QString::fromStdString(fields[column[k]])
                                             : QString();
        };
        table.push_back({field(0), field(1), field(2)});
    }
    if (table.empty()) {
        std::fprintf(stderr, "no rows in %s\n", path);
        std::abort();
    }
}

bool equalIgnoringAsciiCase(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (qsizetype i = 0; i < a.size(); ++i)
        if (fold(a[i].unicode()) != fold(b[i].unicode()))
            return false;
    return true;
}

// Spaces and marks that show as nothing or as a space, as the rule lists them.
bool looksLikeSpace(char16_t c) {
    return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202F) || c == 0x205F || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0x3000 || c == 0xFEFF;
}

bool otherCountry(const QString& entry) {
    qsizetype first = 0; // the first ASCII digit
    while (first < entry.size() && !(entry[first] >= u'0' && entry[first] <= u'9'))
        ++first;
    if (first == entry.size() || entry[first] == u'1')
        return false;
    // Walk back from it over what may stand between a plus and the digit.
    for (qsizetype i = first - 1; i >= 0; --i) {
        const char16_t c = entry[i].unicode();
        if (c == u'+')
            return true;
        if (!QStringView(u" \t.-()[]").contains(QChar(c)) && !looksLikeSpace(c))
            return false;
    }
    return false;
}

// The code asked for; "x" for an entry that asks for none.
QString areaCodeOf(const QString& entry) {
    if (otherCountry(entry))
        return QStringLiteral("x");
    QString digits;
    for (const QChar c : entry) {
        if (c.unicode() >= u'0' && c.unicode() <= u'9')
            digits += c;
        else if (!digits.isEmpty() && (c == u'x' || c == u'X' || c == u'#'))
            break; // an extension's digits are not the number's
    }
    if (digits.startsWith(u'1') && digits.size() != 10)
        digits.remove(0, 1);
    return digits.size() == 7 ? QStringLiteral("x") : digits.left(3);
}

// "Not Found", or the values joined by single spaces without spaces at the ends.
// The values as one row, said another way than the program says it: the
// values joined by single spaces, less the spaces at both ends.
QString rowText(const QStringList& values) {
    if (values.isEmpty())
        return QStringLiteral("Not Found");
    const QString joined = values.join(u' ');
    const auto first =
        std::find_if(joined.begin(), joined.end(), [](QChar c) { return c != u' '; });
    const auto last =
        std::find_if(joined.rbegin(), joined.rend(), [](QChar c) { return c != u' '; });
    return first == joined.end() ? QString() : QString(first, last.base() - first);
}

QString expectedRow(const QString& entry, bool statesToCodes) {
    QStringList values;
    const QString code = areaCodeOf(entry);
    for (const TableRow& row : table) {
        if (statesToCodes && (equalIgnoringAsciiCase(row.stateCode, entry) ||
                              equalIgnoringAsciiCase(row.locationName, entry)))
            values << row.areaCode;
        else if (!statesToCodes && equalIgnoringAsciiCase(row.areaCode, code))
            values << row.stateCode;
    }
    return rowText(values);
}

// The run's row: an area-code entry with ":::" in it holds several numbers,
// each answered by itself (spaces and tabs around it dropped), joined by " ::: ".
QString expectedRunRow(const QString& entry, bool statesToCodes) {
    if (statesToCodes || !entry.contains(QStringLiteral(":::")))
        return expectedRow(entry, statesToCodes);
    QStringList rows;
    for (QString part : entry.split(QStringLiteral(":::"))) {
        while (!part.isEmpty() && (part.front() == u' ' || part.front() == u'\t'))
            part.remove(0, 1);
        while (!part.isEmpty() && (part.back() == u' ' || part.back() == u'\t'))
            part.chop(1);
        rows << expectedRow(part, false);
    }
    return rows.join(QStringLiteral(" ::: "));
}

QStringList entriesOf(std::string_view bytes, bool utf16) {
    QString all;
    if (utf16) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            all += QChar(char16_t(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8));
    } else {
        all = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return all.isEmpty() ? QStringList() : all.split(u'\n');
}

void checkRun(const QStringList& entries, bool statesToCodes) {
    FakePlatform platform;
    platform.options.option1 = !statesToCodes;
    platform.options.option2 = statesToCodes;
    platform.addEntries(entries);
    SqliteAreaCodeDatabaseOpener database({QStringLiteral(TALLYVANE_FUZZ_DATABASE)});
    ConversionRun run(platform.runServices(&database));
    run.PushButton17_Click();

    const QString closing = entries.isEmpty() ? QStringLiteral("No states or area codes added.")
                                              : QStringLiteral("Done.");
    fuzz::expectEqual("the run reports nothing and ends with its message", {closing},
                      platform.prompts.texts());
    QStringList expected;
    for (const QString& entry : entries)
        expected << expectedRunRow(entry, statesToCodes);
    fuzz::expectEqual("one row per entry, as the table gives it", expected, platform.resultTexts());
}

// The in-memory table, asked with the entry's UTF-16 text and with its UTF-8
// bytes (as the batch converter asks it).
void checkMemoryTable(const QStringList& entries, bool statesToCodes) {
    QStringList expected, codes, fromText, fromUtf8;
    for (const QString& entry : entries) {
        expected << expectedRow(entry, statesToCodes);
        const QByteArray utf8 = entry.toUtf8();
        if (statesToCodes) {
            fromText << memoryTable->row(memoryTable->areaCodesFor(entry));
            fromUtf8 << memoryTable->row(memoryTable->areaCodesFor(
                std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
        } else {
            const AreaCode code = AreaCode::of(entry);
            AreaCode codeOfUtf8;
            codeOfUtf8.add(utf8.constData(), utf8.constData() + utf8.size());
            const auto asked = [](const AreaCode& c) {
                return c.kind() == AreaCode::Kind::Code ? c.text() : QStringLiteral("x");
            };
            fuzz::expectEqual("the normalised code", {areaCodeOf(entry), areaCodeOf(entry)},
                              {asked(code), asked(codeOfUtf8)});
            fromText << memoryTable->row(memoryTable->statesFor(code));
            fromUtf8 << memoryTable->row(memoryTable->statesFor(codeOfUtf8));
        }
    }
    fuzz::expectEqual("the table's row for each entry", expected, fromText);
    fuzz::expectEqual("the table's row for each entry's UTF-8", expected, fromUtf8);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startApplication();
    loadTable(TALLYVANE_FUZZ_AREA_CODES_CSV);
    memoryTable = &fuzz::builtTable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool statesToCodes = data[0] & 1;
    const QStringList entries =
        entriesOf(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), data[0] & 2);

    if (data[0] & 4)
        checkRun(entries, statesToCodes);
    else
        checkMemoryTable(entries, statesToCodes);
    return 0;
}
