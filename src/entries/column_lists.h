#pragma once

#include "conversion/direction.h"
#include "platform/prompts.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <functional>
#include <string_view>
#include <vector>

namespace tallyvane {

class ListView;
class RegularFile;
class SourceTable;
struct KeptTable;

// Lists as people hold them: cells copied from a spreadsheet, a contacts
// export. The Load command reads every line as an entry; pasted text and
// files dropped or named on the command line may be read by one column.

// How a list is laid out in columns, from its first bytes.
struct ColumnLayout {
    char delimiter = 0; // 0: not in columns, one entry a line
    ColumnQuestion question;
};

// The delimiter that splits the list's rows into the same number of fields,
// two or more (a .csv or .tsv file may leave trailing cells off; other text
// needs two rows at least): a tab first (spreadsheets copy cells so), then a
// comma, then a semicolon; a .tsv file has tabs and a .csv file commas or
// semicolons. The
// first rows, whether the first names the columns, and the column that looks
// most like phone numbers (or, converting states, like states) come with it.
// start: the list's first bytes, UTF-8 (or Latin-1 where they are not), and
// whether they are all of it.
ColumnLayout columnLayout(QByteArrayView start, bool whole, const QString& fileName,
                          Direction direction);

// The same for a workbook's sheet, given as CSV text: always in columns, even
// one column.
ColumnLayout sheetLayout(QByteArrayView csv, Direction direction);

// Whether a cell looks like what each direction reads: an area code or phone
// number (three digits at least, a letter at most, not a date), or a state's
// code or name (letters, spaces and a little punctuation).
bool looksLikeAreaCodeEntry(const QString& cell);
// Whether a column's heading names phone numbers ("Phone", "Tel", "Mobile",
// "Cell", "Phone 1 - Value", "Business Phone"; any case).
bool namedLikePhones(const QString& heading);
bool looksLikeStateEntry(const QString& cell);

// Appends one entry a row: the cell of the column, as it stands (not
// upper-cased, not trimmed); an empty cell, a blank row or a row too short
// for the column adds an empty entry, so that rows and results stay aligned.
// A header row is skipped. Quoted cells are read as tallyvane-convert reads them.
// Returns how many rows were malformed (text after a closing quote, kept in
// its field). With a table, the columns are the table's (each row's cells in
// their order, one entry each), every row is kept in it, and each entry
// carries the key of its cell there.
std::size_t appendColumn(ListView& list, QByteArrayView text, char delimiter, int column,
                         bool header, SourceTable* table = nullptr);
// The same from text that comes in pieces: source hands each piece, in
// order, to the function it is given.
using CsvPieces = std::function<void(const std::function<void(std::string_view)>& piece)>;
std::size_t appendColumnFromPieces(ListView& list, const CsvPieces& source, char delimiter,
                                   int column, bool header, SourceTable* table = nullptr);
// The same from a file already open, read in blocks from its start. Throws
// Failure as the file loader does.
std::size_t appendColumnFromFile(ListView& list, RegularFile& file, char delimiter, int column,
                                 bool header, SourceTable* table = nullptr);

// The columns the person took: every ticked one, or the one answered.
std::vector<int> columnsTaken(const ColumnQuestion& question, int column);
// Reads a table in columns into the list, keeping every row of it where
// `kept` says (when it is given): read(table) appends the entries.
std::size_t readKeepingTable(KeptTable* kept, const QString& name, const ColumnQuestion& question,
                             int column, const std::function<std::size_t(SourceTable*)>& read,
                             bool workbook = false);

// Switches the window to the other direction for this run (not the stored
// choice) when the person took the column dialog's offer of it.
void takeOfferedDirection(const ColumnQuestion& question, Direction current,
                          const std::function<void(Direction)>& useDirection);

// What a person is told after a read that found malformed rows; where is
// the file's name, or empty for a paste.
QString malformedRowsText(std::size_t rows, const QString& where);

// The columns chosen this session, by the header of the files they came from.
class RememberedColumns {
public:
    bool recall(const ColumnQuestion& question, int& column) const;
    void remember(const ColumnQuestion& question, int column);

private:
    QHash<QString, int> byHeader_;
};

} // namespace tallyvane
