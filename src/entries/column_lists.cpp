#include "entries/column_lists.h"

#include "conversion/area_code.h"
#include "entries/entry_splitter.h"
#include "entries/source_table.h"
#include "lists/list_view.h"
#include "platform/regular_file.h"
#include "reading/csv_records.h"
#include "reading/table_names.h"

#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace tallyvane {

// 2026-12-09, as a workbook's dates are read: ten characters, digits but for
// the dashes, which no phone number is written as.
static bool looksLikeDate(const QString& cell) {
    return cell.size() >= 10 && cell[4] == u'-' && cell[7] == u'-' &&
           std::all_of(cell.begin(), cell.begin() + 10,
                       [](QChar c) { return c == u'-' || isAsciiDigit(c.unicode()); });
}

// A phone's shape: three digits (an area code), or seven to fifteen with
// the usual separators and perhaps an extension. An amount ("8602.00"), a
// ZIP code, a date or a long id has digits too, but not this shape.
static bool hasPhoneShape(const QString& cell) {
    QStringView number = QStringView(cell).trimmed();
    // The extension is no part of the shape: "x12", "ext. 12", "#12".
    for (qsizetype i = 1; i < number.size(); ++i) {
        const QChar c = number[i];
        if ((c == u'x' || c == u'X' || c == u'#' || c == u'e' || c == u'E') &&
            std::any_of(number.begin(), number.begin() + i,
                        [](QChar d) { return isAsciiDigit(d.unicode()); })) {
            number = number.first(i).trimmed();
            break;
        }
    }
    int digits = 0;
    for (const QChar c : number) {
        if (isAsciiDigit(c.unicode()))
            ++digits;
        else if (!QStringView(u" -.()+/").contains(c) && !AreaCode::separatesCountry(c.unicode()))
            return false;
    }
    const bool decimal =
        number.size() > 3 && number[number.size() - 3] == u'.' && number.count(u'.') == 1;
    return !decimal && (digits == 3 ? number.size() <= 5 : digits >= 7 && digits <= 15);
}

bool looksLikeAreaCodeEntry(const QString& cell) {
    if (looksLikeDate(cell) || !hasPhoneShape(cell))
        return false;
    return AreaCode::of(cell).length() == 3;
}

bool namedLikePhones(const QString& heading) {
    static const QRegularExpression phone(
        QStringLiteral("\\b(phone|telephone|tel|mobile|cell|cellphone|fax)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return phone.match(heading).hasMatch();
}

bool looksLikeStateEntry(const QString& cell) {
    return cell.size() >= 2 && cell.size() <= 30 &&
           std::all_of(cell.begin(), cell.end(), [](QChar c) {
               return c.isLetter() || c == u' ' || c == u'.' || c == u'-' || c == u'\'';
           });
}

namespace {

constexpr int kSampleRows = 100;
constexpr int kShownRows = 4; // a header and three values

// Every record of the text, as texts.
class Rows : public CsvRecords::Reader {
public:
    void record(const CsvRecord& record) override {
        if (record.fields.empty())
            return;
        QStringList cells;
        for (const std::string_view field : record.fields)
            cells << decoder.decode(QByteArrayView(field.data(), qsizetype(field.size())), false);
        rows << cells;
    }
    EntryTextDecoder decoder;
    QList<QStringList> rows;
};

QList<QStringList> rowsOf(QByteArrayView start, bool whole, char delimiter) {
    CsvRecords records(delimiter);
    Rows rows;
    records.feed(start.data(), std::size_t(start.size()), rows);
    records.finish(rows);
    // A sample may end inside a row: only whole ones count.
    if (!whole && rows.rows.size() > 1)
        rows.rows.removeLast();
    return rows.rows.mid(0, kSampleRows);
}

// Rows in columns: at least two of them, set by the first row. A file that
// says it is CSV or TSV may leave trailing cells off a row, as spreadsheets
// do when they export it; other text must keep the width in every row.
// A single line of other text is a line, not a table.
bool inColumns(const QList<QStringList>& rows, bool namedAsTable) {
    return rows.size() >= (namedAsTable ? 1 : 2) && rows.front().size() >= 2 &&
           std::all_of(rows.begin(), rows.end(), [&](const QStringList& row) {
               return row.size() == rows.front().size() ||
                      (namedAsTable && row.size() < rows.front().size());
           });
}

struct Likeliest {
    int column = 0;
    double share = 0; // of the column's filled cells that look the part
};

// headings: the header's names, or none. A column named like a phone column
// counts for phone numbers as much as half its cells would.
Likeliest likeliestColumn(const QList<QStringList>& rows, Direction direction,
                          const QStringList& headings = {}) {
    int best = 0;
    double bestShare = -1;
    const qsizetype columns = rows.isEmpty() ? headings.size() : rows.front().size();
    for (qsizetype column = 0; column < columns; ++column) {
        int looking = 0, filled = 0;
        for (const QStringList& row : rows) {
            const QString cell = row.value(column);
            if (cell.isEmpty())
                continue;
            ++filled;
            looking += direction == Direction::AreaCodesToStates ? looksLikeAreaCodeEntry(cell)
                                                                 : looksLikeStateEntry(cell);
        }
        double share = filled == 0 ? 0 : double(looking) / filled;
        if (direction == Direction::AreaCodesToStates && namedLikePhones(headings.value(column)))
            share += 0.5;
        if (share > bestShare) {
            best = int(column);
            bestShare = share;
        }
    }
    return {best, std::clamp(bestShare, 0.0, 1.0)};
}

// A first row names the columns when each of its cells is a different,
// non-empty text with no number in it.
bool namesColumns(const QStringList& first) {
    for (qsizetype i = 0; i < first.size(); ++i) {
        if (first[i].trimmed().isEmpty() || looksLikeAreaCodeEntry(first[i]) ||
            first.indexOf(first[i]) != i)
            return false;
    }
    return true;
}

// The rows' guesses: the column for this direction, or, where a column looks
// plainly like the other direction's entries (a phone column while states
// are to be converted; a state column while no column holds numbers), that
// one, with the other direction offered. Names look like states, so phone
// numbers, which nothing else looks like, win over them.
void guessColumn(ColumnQuestion& question, const QList<QStringList>& rows, Direction direction) {
    question.header = rows.size() > 1 && namesColumns(rows.front());
    const QList<QStringList> body = question.header ? rows.mid(1) : rows;
    const QStringList headings = question.header ? rows.front() : QStringList();
    const Likeliest mine = likeliestColumn(body, direction, headings);
    question.likeliest = mine.column;
    question.otherDirection.clear();
    if (body.isEmpty())
        return;
    const Direction other = direction == Direction::AreaCodesToStates
                                ? Direction::StatesToAreaCodes
                                : Direction::AreaCodesToStates;
    const Likeliest theirs = likeliestColumn(body, other);
    constexpr double kPlainly = 0.8;
    const bool phonesWhileStates =
        direction == Direction::StatesToAreaCodes && theirs.share >= kPlainly;
    const bool statesWithoutPhones =
        direction == Direction::AreaCodesToStates && mine.share < 0.5 && theirs.share >= kPlainly;
    if (phonesWhileStates)
        question.otherDirection = QStringLiteral(
            "This column holds phone numbers: convert them to states (\"Convert Area Codes To "
            "States\") this time");
    else if (statesWithoutPhones)
        question.otherDirection = QStringLiteral(
            "This column holds states: convert them to area codes (\"Convert States To Area "
            "Codes\") this time");
    if (phonesWhileStates || statesWithoutPhones)
        question.likeliest = theirs.column;
}

} // namespace

ColumnLayout columnLayout(QByteArrayView start, bool whole, const QString& fileName,
                          Direction direction) {
    ColumnLayout layout;
    const bool tsv = namedTsv(fileName);
    const bool csv = namedCsv(fileName);
    // A file named .csv is often tab-separated all the same (spreadsheets
    // export "CSV" so); its own commas and semicolons are tried first.
    const QByteArray candidates = tsv   ? QByteArray("\t")
                                  : csv ? QByteArray(",;\t")
                                        : QByteArray("\t,;");
    for (const char delimiter : candidates) {
        const QList<QStringList> rows = rowsOf(start, whole, delimiter);
        if (!inColumns(rows, tsv || csv))
            continue;
        layout.delimiter = delimiter;
        guessColumn(layout.question, rows, direction);
        layout.question.firstRows = rows.mid(0, kShownRows);
        break;
    }
    return layout;
}

ColumnLayout sheetLayout(QByteArrayView csv, Direction direction) {
    ColumnLayout layout;
    layout.delimiter = ',';
    constexpr auto kSample = qsizetype(kLayoutSampleBytes);
    const QList<QStringList> rows =
        rowsOf(csv.first(std::min(csv.size(), kSample)), csv.size() <= kSample, ',');
    guessColumn(layout.question, rows, direction);
    layout.question.firstRows = rows.mid(0, kShownRows);
    return layout;
}

namespace {

// One entry a row of the text for each column taken: the column's cell. A
// table to keep gets every row, and each entry the key of its cell there.
class ColumnEntries : public CsvRecords::Reader {
public:
    ColumnEntries(ListView& list, int column, bool header, SourceTable* table,
                  const CsvRecords& records)
        : list_(list), header_(header), table_(table), records_(records) {
        if (table_)
            for (std::size_t slot = 0; slot < table_->slots(); ++slot)
                columns_.push_back(std::size_t(table_->column(slot)));
        else
            columns_.push_back(std::size_t(column));
    }
    void record(const CsvRecord& record) override {
        if (table_ && std::exchange(first_, false))
            table_->setStartedWithMark(records_.startedWithMark());
        // Blank lines before the header are no rows of the table, as
        // tallyvane-convert reads them too; the header is the first row.
        if (header_) {
            header_ = record.fields.empty();
            if (table_ && header_)
                table_->addLineBeforeHeader(record.end);
            else if (table_)
                table_->setHeader(record.fields, record.end);
            return;
        }
        const std::size_t row = table_ ? table_->rowCount() : 0;
        if (table_)
            table_->addRow(record.fields, record.end);
        for (std::size_t slot = 0; slot < columns_.size(); ++slot) {
            const std::size_t at = columns_[slot];
            if (table_)
                list_.setNextRowSourceKey(table_->key(row, slot));
            list_.append(at < record.fields.size()
                             ? decoder_.decode(QByteArrayView(record.fields[at].data(),
                                                              qsizetype(record.fields[at].size())),
                                               false)
                             : QString());
        }
    }

private:
    ListView& list_;
    std::vector<std::size_t> columns_;
    bool header_;
    SourceTable* table_;
    const CsvRecords& records_;
    bool first_ = true;
    EntryTextDecoder decoder_;
};

} // namespace

std::size_t appendColumn(ListView& list, QByteArrayView text, char delimiter, int column,
                         bool header, SourceTable* table) {
    CsvRecords records(delimiter);
    ColumnEntries entries(list, column, header, table, records);
    records.feed(text.data(), std::size_t(text.size()), entries);
    records.finish(entries);
    return records.malformedRecords();
}

std::size_t appendColumnFromPieces(ListView& list, const CsvPieces& source, char delimiter,
                                   int column, bool header, SourceTable* table) {
    CsvRecords records(delimiter);
    ColumnEntries entries(list, column, header, table, records);
    source([&](std::string_view piece) { records.feed(piece.data(), piece.size(), entries); });
    records.finish(entries);
    return records.malformedRecords();
}

std::vector<int> columnsTaken(const ColumnQuestion& question, int column) {
    std::vector<int> taken(question.columns.begin(), question.columns.end());
    if (std::find(taken.begin(), taken.end(), column) == taken.end())
        taken.push_back(column);
    std::sort(taken.begin(), taken.end());
    return taken;
}

std::size_t readKeepingTable(KeptTable* kept, const QString& name, const ColumnQuestion& question,
                             int column, const std::function<std::size_t(SourceTable*)>& read,
                             bool workbook) {
    const std::vector<int> columns = columnsTaken(question, column);
    if (!kept && columns.size() == 1)
        return read(nullptr);
    auto table = std::make_shared<SourceTable>(name, columns, workbook);
    const std::size_t malformed = read(table.get());
    if (kept)
        kept->table = std::move(table);
    return malformed;
}

QString malformedRowsText(std::size_t rows, const QString& where) {
    return QStringLiteral("%1 %2 %3 text after a closing quote. It was kept in the same cell, as "
                          "spreadsheet programs read it; check %4.")
        .arg(rows)
        .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
        .arg(where.isEmpty() ? QStringLiteral("of the pasted cells had")
                             : QStringLiteral("of %1 had").arg(where))
        .arg(rows == 1 ? QStringLiteral("that row") : QStringLiteral("those rows"));
}

std::size_t appendColumnFromFile(ListView& list, RegularFile& file, char delimiter, int column,
                                 bool header, SourceTable* table) {
    constexpr std::size_t kBlockBytes = std::size_t(1) << 20;
    const auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    CsvRecords records(delimiter);
    ColumnEntries entries(list, column, header, table, records);
    while (const std::size_t got = file.read(block.get(), kBlockBytes))
        records.feed(block.get(), got, entries);
    records.finish(entries);
    return records.malformedRecords();
}

bool RememberedColumns::recall(const ColumnQuestion& question, int& column) const {
    if (!question.header || question.firstRows.isEmpty())
        return false;
    const auto found = byHeader_.constFind(question.firstRows.front().join(QChar(0)));
    if (found == byHeader_.constEnd())
        return false;
    column = *found;
    return true;
}

void RememberedColumns::remember(const ColumnQuestion& question, int column) {
    if (question.header && !question.firstRows.isEmpty())
        byHeader_.insert(question.firstRows.front().join(QChar(0)), column);
}

void takeOfferedDirection(const ColumnQuestion& question, Direction current,
                          const std::function<void(Direction)>& useDirection) {
    if (question.useOtherDirection && useDirection)
        useDirection(current == Direction::AreaCodesToStates ? Direction::StatesToAreaCodes
                                                             : Direction::AreaCodesToStates);
}

} // namespace tallyvane
