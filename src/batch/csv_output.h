#pragma once

#include "batch/byte_output.h"

#include <string_view>

namespace tallyvane::batch {

// A field of a CSV or TSV file, written by the rules the window's CSV save
// follows too (see results/csv_field.h): quoted where it must be, or always
// with quoteAnyway; quotes inside doubled; and, with guard, a field that
// begins like a formula escaped with a single quote.
void putCsvField(ByteOutput& out, std::string_view field, char delimiter, bool guard,
                 bool quoteAnyway = false);

// The bytes of a field inside its quotes, each quote doubled.
void putQuotesDoubled(ByteOutput& out, std::string_view bytes);

// A field of the tsv format, escaped as PostgreSQL's text format does so that
// a row always has exactly its columns: a tab, CR, LF and backslash inside
// become \t, \r, \n and \\.
void putTsvField(ByteOutput& out, std::string_view bytes);

} // namespace tallyvane::batch
