#include "batch/convert_options.h"

#include <QTimeZone>

#include "commands/product.h"

#include <getopt.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tallyvane::batch {

namespace {

// Far more columns than any file has, and far fewer than a row could hold.
constexpr int kMaxColumn = 1'000'000;

constexpr const char* kUsage =
    "Usage: tallyvane-convert [-d states|area-codes] [-f results|tsv|csv|text]\n"
    "                         [--reason] [--database FILE] [FILE...]\n"
    "       tallyvane-convert --summary [-f tsv|csv|text] [-d ...] [FILE...]\n"
    "       tallyvane-convert --column NAME|N [--delimiter ,|;|tab] [--header] [--sheet NAME|N]\n"
    "                         [--result-name NAME] [-d ...] [--reason]\n"
    "                         [-f xlsx -o FILE.xlsx] [FILE...]\n"
    "Try 'tallyvane-convert --help' for more information.\n";

bool badUsage(const char* what, const char* value) {
    std::fprintf(stderr, "tallyvane-convert: %s '%s'\n", what, value);
    std::fputs(kUsage, stderr);
    return false;
}

bool setDelimiter(const char* value, ConvertOptions& options) {
    if (std::strcmp(value, ",") == 0 || std::strcmp(value, ";") == 0)
        options.delimiter = value[0];
    else if (std::strcmp(value, "tab") == 0 || std::strcmp(value, "\t") == 0)
        options.delimiter = '\t';
    else
        return badUsage("the delimiter is one of , ; tab, not", value);
    return true;
}

bool setColumn(const char* value, ConvertOptions& options) {
    ConvertOptions::ColumnAsked asked{value, 0};
    if (asked.name.empty())
        return badUsage("a column is named or numbered, not", value);
    const bool digits = std::all_of(asked.name.begin(), asked.name.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        const unsigned long long number = std::strtoull(value, nullptr, 10);
        if (number == 0)
            return badUsage("column positions count from 1, not", value);
        if (number > unsigned(kMaxColumn) || asked.name.size() > 9)
            return badUsage(
                ("a column position is at most " + std::to_string(kMaxColumn) + ", not").c_str(),
                value);
        asked.number = int(number);
    }
    options.header = options.header || asked.number == 0; // a name is in a header
    options.columnsAsked.push_back(std::move(asked));
    return true;
}

// A workbook is written with --column, to a file.
bool workbookFits(const ConvertOptions& options) {
    if (options.xlsx && (!options.columns() || options.summary))
        return badUsage("--format xlsx writes the table of --column, not",
                        options.summary ? "--summary" : "lines");
    if (options.xlsx && options.output.empty())
        return badUsage("--format xlsx writes to a file:", "-o FILE");
    if (!options.xlsx && !options.output.empty())
        return badUsage("an option that goes with --format xlsx:", "--output");
    return true;
}

// --at: an ISO 8601 moment, in the years the time-zone database covers; a
// local time that the clocks skip is named as such.
bool readMoment(const char* value, QDateTime& at) {
    const QString text = QString::fromLocal8Bit(value);
    at = QDateTime::fromString(text, Qt::ISODate);
    if (!at.isValid()) {
        const QDateTime asUtc = QDateTime::fromString(text + u'Z', Qt::ISODate);
        if (asUtc.isValid())
            return badUsage(("that local time does not exist in this time zone (" +
                             QTimeZone::systemTimeZoneId().toStdString() + "): the clocks skip it;")
                                .c_str(),
                            value);
        return badUsage("a moment is ISO 8601 (2026-07-15T09:00-04:00), not", value);
    }
    if (const int year = at.toUTC().date().year(); year < 1900 || year > 2200)
        return badUsage("a moment is in the years 1900 to 2200, which the time-zone database "
                        "covers, not",
                        value);
    return true;
}

// What the options say together.
bool fitTogether(ConvertOptions& options, bool formatGiven) {
    if (!workbookFits(options))
        return false;
    if (options.zones() &&
        (options.summary ||
         (!options.columns() && options.format != Format::Tsv && options.format != Format::Csv)))
        return badUsage("--time-zone, --local-time and --callable go with -f tsv, -f csv or "
                        "--column, not",
                        options.summary                     ? "--summary"
                        : options.format == Format::Results ? "-f results"
                                                            : "-f text");
    if (options.xlsx)
        formatGiven = false; // the table's own rows, in a workbook
    if (options.summary) {
        if (!formatGiven)
            options.format = Format::Tsv;
        else if (options.format == Format::Results)
            return badUsage("--summary writes tsv, csv or text, not", "results");
        formatGiven = false;        // with --column too, the format is the summary's
        options.withReason = false; // the summary always counts the reasons
    }
    if (options.columns()) {
        if (options.resultNames.size() > (options.columnsAsked.size() == 1 ? 1 : 0) &&
            options.resultNames.size() != options.columnsAsked.size())
            return badUsage("--result-name is given once for each --column, or not at all, not",
                            std::to_string(options.resultNames.size()).append(" times").c_str());
        if (formatGiven)
            return badUsage("--column writes the input's own rows, with no --format:",
                            options.columnsAsked.front().name.c_str());
        return true;
    }
    if (options.withReason && options.format != Format::Tsv && options.format != Format::Csv)
        return badUsage("an option that goes with --format tsv or csv:", "--reason");
    if (options.header || options.delimiter != 0 || !options.resultNames.empty() ||
        !options.sheet.empty())
        return badUsage("an option that goes with --column:", options.header      ? "--header"
                                                              : options.delimiter ? "--delimiter"
                                                              : options.sheet.empty()
                                                                  ? "--result-name"
                                                                  : "--sheet");
    return true;
}

} // namespace

bool parseOptions(int argc, char** argv, ConvertOptions& options) {
    enum {
        kDatabase = 1000,
        kVersion,
        kReason,
        kDelimiter,
        kHeader,
        kResultName,
        kSummary,
        kSheet,
        kTimeZone,
        kLocalTime,
        kCallable,
        kAt
    };
    static const option kLong[] = {{"to", required_argument, nullptr, 'd'},
                                   {"format", required_argument, nullptr, 'f'},
                                   {"database", required_argument, nullptr, kDatabase},
                                   {"reason", no_argument, nullptr, kReason},
                                   {"summary", no_argument, nullptr, kSummary},
                                   {"column", required_argument, nullptr, 'c'},
                                   {"delimiter", required_argument, nullptr, kDelimiter},
                                   {"header", no_argument, nullptr, kHeader},
                                   {"sheet", required_argument, nullptr, kSheet},
                                   {"output", required_argument, nullptr, 'o'},
                                   {"time-zone", no_argument, nullptr, kTimeZone},
                                   {"local-time", no_argument, nullptr, kLocalTime},
                                   {"callable", optional_argument, nullptr, kCallable},
                                   {"at", required_argument, nullptr, kAt},
                                   {"result-name", required_argument, nullptr, kResultName},
                                   {"help", no_argument, nullptr, 'h'},
                                   {"version", no_argument, nullptr, kVersion},
                                   {nullptr, 0, nullptr, 0}};
    optind = 1;
    opterr = 0; // getopt would name the program by its whole path
    int c;
    bool formatGiven = false;
    while ((c = getopt_long(argc, argv, ":d:f:c:o:h", kLong, nullptr)) != -1) {
        const char* const given = argv[optind - 1];
        switch (c) {
        case 'd':
            if (std::strcmp(optarg, "states") == 0)
                options.direction = Direction::AreaCodesToStates;
            else if (std::strcmp(optarg, "area-codes") == 0)
                options.direction = Direction::StatesToAreaCodes;
            else
                return badUsage("unknown direction", optarg);
            break;
        case 'f':
            formatGiven = true;
            if (std::strcmp(optarg, "results") == 0)
                options.format = Format::Results;
            else if (std::strcmp(optarg, "tsv") == 0)
                options.format = Format::Tsv;
            else if (std::strcmp(optarg, "csv") == 0)
                options.format = Format::Csv;
            else if (std::strcmp(optarg, "text") == 0)
                options.format = Format::Text;
            else if (std::strcmp(optarg, "xlsx") == 0)
                options.xlsx = true;
            else
                return badUsage("unknown format", optarg);
            break;
        case kDatabase:
            options.database = optarg;
            break;
        case kReason:
            options.withReason = true;
            break;
        case kSummary:
            options.summary = true;
            break;
        case 'c':
            if (!setColumn(optarg, options))
                return false;
            break;
        case kDelimiter:
            if (!setDelimiter(optarg, options))
                return false;
            break;
        case kHeader:
            options.header = true;
            break;
        case kResultName:
            options.resultNames.emplace_back(optarg);
            break;
        case kSheet:
            options.sheet = optarg;
            break;
        case 'o':
            options.output = optarg;
            break;
        case kTimeZone:
            options.timeZone = true;
            break;
        case kLocalTime:
            options.localTime = true;
            break;
        case kCallable:
            options.callable = true;
            if (optarg) {
                const QString text = QString::fromLocal8Bit(optarg);
                const auto hours = CallingHours::parse(text);
                if (!hours && text.size() == 11 && text.left(5) == text.right(5))
                    return badUsage("calling hours that end when they start are empty:", optarg);
                if (!hours)
                    return badUsage("calling hours are HH:MM-HH:MM, not", optarg);
                options.callingHours = *hours;
            }
            break;
        case kAt:
            if (!readMoment(optarg, options.at))
                return false;
            break;
        case 'h':
            options.help = true;
            break;
        case kVersion:
            options.version = true;
            break;
        case ':':
            return badUsage("missing value for", given);
        default:
            return badUsage("unknown option", given);
        }
    }
    for (int i = optind; i < argc; ++i)
        options.files.emplace_back(argv[i]);
    return fitTogether(options, formatGiven);
}

std::string versionText() {
    return "tallyvane-convert " TALLYVANE_VERSION "\narea-code table current to " +
           kAreaCodeTableCurrentTo.toStdString() + "\ntime-zone table current to " +
           kTimeZoneTableCurrentTo.toStdString() + "\n";
}

} // namespace tallyvane::batch
