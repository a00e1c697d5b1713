#include "convert/convert_options.h"

#include "commands/product.h"

#include <getopt.h>

#include <cstdio>
#include <cstring>

namespace tallyvane::convert {

namespace {

constexpr const char* kUsage =
    "Usage: tallyvane-convert [-d states|area-codes] [-f results|tsv|csv|text]\n"
    "                         [--reason] [--database FILE] [FILE...]\n"
    "Try 'tallyvane-convert --help' for more information.\n";

bool badUsage(const char* what, const char* value) {
    std::fprintf(stderr, "tallyvane-convert: %s '%s'\n", what, value);
    std::fputs(kUsage, stderr);
    return false;
}

} // namespace

bool parseOptions(int argc, char** argv, ConvertOptions& options) {
    enum { kDatabase = 1000, kVersion, kReason };
    static const option kLong[] = {{"to", required_argument, nullptr, 'd'},
                                   {"format", required_argument, nullptr, 'f'},
                                   {"database", required_argument, nullptr, kDatabase},
                                   {"reason", no_argument, nullptr, kReason},
                                   {"help", no_argument, nullptr, 'h'},
                                   {"version", no_argument, nullptr, kVersion},
                                   {nullptr, 0, nullptr, 0}};
    optind = 1;
    opterr = 0; // getopt would name the program by its whole path
    int c;
    while ((c = getopt_long(argc, argv, ":d:f:h", kLong, nullptr)) != -1) {
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
            if (std::strcmp(optarg, "results") == 0)
                options.format = Format::Results;
            else if (std::strcmp(optarg, "tsv") == 0)
                options.format = Format::Tsv;
            else if (std::strcmp(optarg, "csv") == 0)
                options.format = Format::Csv;
            else if (std::strcmp(optarg, "text") == 0)
                options.format = Format::Text;
            else
                return badUsage("unknown format", optarg);
            break;
        case kDatabase:
            options.database = optarg;
            break;
        case kReason:
            options.withReason = true;
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
    if (options.withReason && options.format != Format::Tsv && options.format != Format::Csv)
        return badUsage("an option that goes with --format tsv or csv:", "--reason");
    return true;
}

std::string versionText() {
    return "tallyvane-convert " TALLYVANE_VERSION "\narea-code table current to " +
           kAreaCodeTableCurrentTo.toStdString() + "\n";
}

const char* helpText() {
    return R"(Usage: tallyvane-convert [OPTIONS] [FILE...]
Convert US telephone area codes or phone numbers to state codes, or states to
their area codes, one entry per line, with the rules of the Tallyvane window.
Reads each FILE in order, or standard input when there is none or FILE is -,
and writes to standard output.

  -d, --to=DIRECTION    states (the default): area codes and phone numbers to
                        two-letter state codes; area-codes: state codes or
                        names to their area codes
  -f, --format=FORMAT   results (the default): one result per input line, so
                          paste FILE <(tallyvane-convert FILE) lines up
                        tsv: the entry, a tab, the result
                        csv: RFC 4180 with the header line entry,result
                        text: the aligned text file the window's "Save Results
                          As Text File" writes (CR LF line ends)
      --reason          tsv and csv: one more column, why an entry gave
                        "Not Found" (empty where it found something)
      --database=FILE   the area-code database (default: areacodes.db beside
                        the program, then in its share/tallyvane folder)
  -h, --help            show this help and exit
      --version         show the version and the date of the area-code table

Entries: a line ends at LF, CR LF or a lone CR; a final line end adds no empty
entry, and an empty line is an entry ("Not Found"). From an area code or phone
number the first three ASCII digits count, after dropping one leading 1; but a
number of another country (its first character that is not a space is "+",
and the first digit after it is not 1) and a local number (seven digits once
the leading 1 is dropped) give "Not Found", never a state their digits happen
to spell. A state entry is looked up as typed: not trimmed, with the case of
the letters A-Z ignored. The input is UTF-8; bytes that are not pass through unchanged and
match nothing. Output lines end in LF, except in the text format.

Long lines: input is read in blocks of 1 MiB and memory stays flat whatever
the size of the input, except in the text format, which keeps one number per
line until the end to find the column width. A line longer than a block is
converted in pieces: its answer depends only on its first digits (area codes)
or on its length (no state name is that long), so it is exact; tsv and csv copy
the entry through block by block, and csv then always quotes it.

CSV: a field is quoted when it holds a double quote or a comma. A field that
begins with =, +, -, @, a tab or a single quote is written with one single
quote (') in front, so that a spreadsheet shows it as text and never runs it as
a formula; to get the entry back, drop the first character of a field that
begins with a single quote.

Exit status: 0 when every input was read and every result written; 2 when a
FILE could not be read (the others are still converted), the database could
not be read (before any output) or the output could not be written; 64 for a
bad command line. When the reader of the output goes away (| head), the
program ends quietly, by SIGPIPE.
)";
}

} // namespace tallyvane::convert
