#include "batch/convert_options.h"

namespace tallyvane::batch {

const char* helpText() {
    return R"(Usage: tallyvane-convert [OPTIONS] [FILE...]
Convert US telephone area codes or phone numbers to state codes, or states to
their area codes, with the rules of the Tallyvane window: one entry per line,
or the entries of one column of a CSV file. Reads each FILE in order, or
standard input when there is none or FILE is -, and writes to standard output.

  -d, --to=DIRECTION    states (the default): area codes and phone numbers to
                        two-letter state codes; area-codes: state codes or
                        names to their area codes
  -f, --format=FORMAT   results (the default): one result per input line, so
                          paste FILE <(tallyvane-convert FILE) lines up
                        tsv: the entry, a tab, the result (a tab or
                          backslash in the entry written \t or \\)
                        csv: RFC 4180 with the header line entry,result
                        text: the aligned text file the window's "Save Results
                          As Text File" writes (CR LF line ends)
      --reason          tsv, csv and columns: one more field, why an entry
                        gave "Not Found" (empty where it found something)
  -c, --column=COLUMN   take the entries from this column of a CSV file, by
                        its header's name or its position from 1, and write
                        every row with all its fields and the result as one
                        more (see Columns); repeated, a result for each column
      --delimiter=D     with --column: , ; or tab; without it, the one that
                        splits the first rows alike, as the window finds it
                        (else , or tab for .tsv), said when it is not a comma
      --header          with --column N: the first row is a header (a column
                        named by its header always has one)
      --result-name=NAME  the header of the result's field (State, or Area
                        Codes with --to area-codes); once for each --column
                        when several are given (else State (COLUMN))
      --sheet=SHEET     with --column on a workbook: the sheet, by name or
                        number from 1 (default: the first)
      --time-zone       tsv, csv and columns: one more field, the entry's time
                        zones (IANA names, space-separated): of its exchange
                        where the table lists it, else of its area code; of a
                        state; none for "Not Found"
      --local-time      one more field: the local time in each zone now (ISO
                        8601 with its offset), from the system's tzdata
      --callable[=HH:MM-HH:MM]  two more fields: yes (inside the calling hours,
                        08:00-21:00 by default, in every zone), no (in none)
                        or depends, and unless yes when the hours next open in
                        every zone, in your own time zone
      --at=TIME         "now" for the fields above, ISO 8601 (an offset or Z,
                        else your own time zone), to plan ahead or test; give
                        it to a job split over several machines, whose parts
                        run at different moments, for answers it can repeat
  -f xlsx -o FILE       with --column: write the table with its results as a
                        workbook FILE instead of CSV (each cell text; FILE is
                        replaced only when the workbook is complete)
      --summary         instead of a row per entry, count them: each result,
                        each reason for "Not Found" and each state (or area
                        code) named, with its share of all entries; tsv by
                        default, or -f csv or -f text; also with --column
                        (see Summary)
      --database=FILE   the area-code database (default: areacodes.db beside
                        the program, then in its share/tallyvane folder)
  -h, --help            show this help and exit
      --version         show the version and the dates of the area-code and
                        time-zone tables

Entries: a line ends at LF, CR LF or a lone CR; a final line end adds no empty
entry, and an empty line is an entry ("Not Found"). From an area code or phone
number the first three ASCII digits count, after dropping one leading 1 (none
from exactly ten digits, a whole number); digits after an extension marker (x,
ext, #) do not count. A number of another country (a "+" stands just before
its first digit, which is not 1, with only spaces of any kind, invisible marks,
dots, dashes, brackets or more "+" between; a label or quote may come first) and a local number
(seven digits once the leading 1 is dropped) give "Not Found", never a state
their digits happen to spell. A state entry is looked up as typed: not trimmed, with the case of
the letters A-Z ignored. The input is UTF-8; bytes that are not pass through
unchanged and match nothing. A UTF-8 mark at the start is dropped, UTF-16 (marked
or not) is read as the window reads it, and UTF-32 is refused. Output lines end in LF, except in the text format.

Columns: a contacts export gets its state column in one step:
  tallyvane-convert --column Phone contacts.csv > contacts-with-states.csv
Every row is written again with all its fields, the result appended (and the
reason, with --reason), and the line end it came with; a byte-order mark at
the start stays. Quoted fields with commas, doubled quotes and line breaks are
read as RFC 4180 says; a field is quoted on the way out only where it needs to
be, and the fields of the file are never changed otherwise. A blank cell gives
a blank result. The result stands under its heading: a row shorter than the
header is padded with empty fields, a longer one has its extra fields after
the result. Text after a closing quote ("Bob" Smith) stays in its field, as
spreadsheet programs read it. Standard error says at the end how many rows
were short, long, malformed or without the column. Several files make one
table with the first file's header; a later file with another header is
refused by name. A UTF-16 file is read as UTF-8 and written so. A vCard file
is read as a table of contacts: Name, Type and Phone, one row a number. A column is
named exactly, or else by the one name that differs only in the case of A-Z
and spaces around it; a missing name is reported with the header's names. A
column position past the last column of the header (or of the first row) is
a usage error, and nothing is written.

Workbooks: with --column, an .xlsx or .ods FILE (told by its content, not its
name) is read as a workbook, its first sheet or the one --sheet names, and
written as CSV: a number is written as its digits (6032374934, never 6.03e9),
a date as YYYY-MM-DD and a formula as its stored result. Any other file that
is not text (a PDF, an image, an archive, a file with zero bytes) is refused by
name, as is a workbook without --column; nothing of it is converted, and the
exit status is 2.

Summary: one row per count, in four fields, Group, Name, Count and Share %
(of all entries, two decimals). Groups: Result, each results row as written
(with --to area-codes, Found and Not Found); Reason, the "Not Found" entries by
why; State, each state or province named (an entry whose result names several
counts once for each, so these shares can add up to more than 100), or, with
--to area-codes, Area code; and Total. Within a group the largest count comes
first, then the name in order. Memory stays flat. The window's Summary shows
the same rows.

Long lines: input is read in blocks of 1 MiB and memory stays flat whatever
the size of the input, except in the text format, which keeps one number per
line until the end to find the column width, and a CSV row, which is held
whole. A line longer than a block is converted in pieces: its answer depends
only on its first digits (area codes) or on its length (no state name is that
long), so it is exact; tsv and csv copy the entry through block by block, and
csv then always quotes it. A regular file is converted on up to four threads
(TALLYVANE_CONVERT_THREADS=N sets how many; 1 keeps one).

CSV: a field is quoted when it holds a double quote, the delimiter or a line
end. A field this program writes that begins with =, +, -, @, a tab or a
single quote is written with one single quote (') in front, so that a
spreadsheet shows it as text and never runs it as a formula; to get the entry
back, drop the first character of a field that begins with a single quote. A
field of nothing but digits, spaces and + - ( ) . (+1 206 555 3254) runs
nothing and is written as it is.
With --column the file's own fields are written as they are.

Exit status: 0 when every input was read and every result written; 2 when a
FILE could not be read or has no column of that name (the others are still
converted), the database could not be read (before any output) or the output
could not be written; 64 for a bad command line. When the reader of the output
goes away (| head), the program ends quietly, by SIGPIPE.
)";
}

} // namespace tallyvane::batch
