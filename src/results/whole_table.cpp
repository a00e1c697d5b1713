#include "results/whole_table.h"

#include "commands/csv_field.h"
#include "entries/source_table.h"
#include "lists/list_view.h"
#include "platform/failure.h"
#include "platform/window_services.h"
#include "platform/xlsx/xlsx_workbook.h"
#include "reading/csv_records.h"
#include "results/entries_and_results.h"
#include "results/vanished_rows.h"
#include "results/workbook_cells.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>

#include <vector>

namespace tallyvane {

std::shared_ptr<const SourceTable> wholeTableOf(const KeptTable& kept, const ListView& entries) {
    const SourceTable* table = kept.table.get();
    const int count = entries.count();
    if (!table || count == 0)
        return nullptr;
    for (int position = 1; position <= count; ++position)
        if (!table->holds(entries.sourceKey(position)))
            return nullptr;
    return kept.table;
}

namespace {

constexpr qsizetype kPieceBytes = qsizetype(1) << 20;
constexpr int kRowsBetweenEvents = 4096;

// One column's result is "State" (or "Area Codes"); several are told apart
// by their columns: "State (Phone 1 - Value)".
QString resultHeading(const SourceTable& table, std::size_t slot, Direction direction) {
    const QString result = direction == Direction::AreaCodesToStates ? QStringLiteral("State")
                                                                     : QStringLiteral("Area Codes");
    if (table.slots() == 1)
        return result;
    const auto column = std::size_t(table.column(slot));
    const QString name = table.hasHeader() && column < table.headerFields().size()
                             ? QString::fromStdString(table.headerFields()[column])
                             : QStringLiteral("column %1").arg(column + 1);
    return result + QStringLiteral(" (") + name + QLatin1Char(')');
}

class TableWriter {
public:
    TableWriter(const SourceTable& table, const ListView& results, const MoreColumns* more,
                const std::function<void(const QByteArray&)>& out)
        : table_(table), results_(results), more_(more), out_(out) {}

    void put(std::string_view bytes) {
        bytes_.append(bytes.data(), qsizetype(bytes.size()));
        if (bytes_.size() >= kPieceBytes)
            flush();
    }
    // A field this program writes, guarded against formulas.
    void putField(const QString& text) {
        bytes_ += ',';
        bytes_ += csv::field(text).toUtf8();
    }
    void putEmptyFields(qsizetype count) {
        for (qsizetype i = 0; i < count; ++i)
            bytes_ += ',';
    }
    void flush() {
        if (!bytes_.isEmpty())
            out_(bytes_);
        bytes_.clear();
    }

    void putHeadings(Direction direction) {
        for (std::size_t slot = 0; slot < table_.slots(); ++slot) {
            putField(resultHeading(table_, slot, direction));
            putField(QStringLiteral("Reason"));
            if (more_)
                for (const QString& heading : more_->headings)
                    putField(heading);
        }
    }
    // The result of results row `position`, or empty fields for none.
    void putResult(int position, int lastRow) {
        const qsizetype fields = 2 + (more_ ? more_->headings.size() : 0);
        if (position == 0)
            return putEmptyFields(fields);
        if (position > results_.count())
            throwRowsGone(position, lastRow);
        if (results_.originEntry(position).isEmpty()) // a blank cell asks nothing
            return putEmptyFields(fields);
        putField(results_.text(position));
        putField(results_.note(position));
        if (more_)
            for (const QString& cell : more_->cells(position))
                putField(cell);
    }
    void putRow(const SourceTable::Row& row) {
        put(row.fields);
        putEmptyFields(qsizetype(table_.width() - std::min(row.count, table_.width())));
    }

private:
    const SourceTable& table_;
    const ListView& results_;
    const MoreColumns* more_;
    const std::function<void(const QByteArray&)>& out_;
    QByteArray bytes_;
};

} // namespace

void writeWholeTable(const SourceTable& table, const ListView& entries, const ListView& results,
                     Direction direction, const MoreColumns* more, WindowServices& window,
                     const std::function<void(const QByteArray& piece)>& out) {
    const std::size_t slots = table.slots();
    // The rows still among the entries, and each cell's results row.
    std::vector<bool> live(table.rowCount());
    for (int position = 1, count = entries.count(); position <= count; ++position)
        if (const std::uint64_t key = entries.sourceKey(position); table.holds(key))
            live[table.rowOf(key)] = true;
    std::vector<int> resultAt(table.rowCount() * slots);
    const int lastRow = results.count();
    for (int position = 1; position <= lastRow; ++position)
        if (const std::uint64_t key = results.sourceKey(position);
            table.holds(key) && results.checked(position))
            resultAt[table.rowOf(key) * slots + table.slotOf(key)] = position;

    TableWriter writer(table, results, more, out);
    if (table.startedWithMark())
        writer.put("\xEF\xBB\xBF");
    for (const std::string& end : table.linesBeforeHeader())
        writer.put(end);
    if (table.hasHeader()) {
        const SourceTable::Row header = table.header();
        writer.putRow(header);
        writer.putHeadings(direction);
        writer.put(header.end);
    }
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        if (r % kRowsBetweenEvents == 0)
            window.processEvents();
        if (!live[r])
            continue;
        const SourceTable::Row row = table.row(r);
        if (row.count > 0 || row.longer) { // a blank line stays one
            writer.putRow(row);
            for (std::size_t slot = 0; slot < slots; ++slot)
                writer.putResult(resultAt[r * slots + slot], lastRow);
            if (row.longer) {
                writer.put(",");
                writer.put(row.extra);
            }
        }
        writer.put(row.end);
    }
    writer.flush();
}

void writeWholeTableWorkbook(const QString& path, const SourceTable& table, const ListView& entries,
                             const ListView& results, Direction direction, const MoreColumns* more,
                             WindowServices& window) {
    const QFileInfo target(path);
    const QTemporaryDir scratch(target.absolutePath() + QStringLiteral("/.tallyvane-XXXXXX"));
    if (!scratch.isValid())
        throw Failure(QStringLiteral("Cannot write in %1: %2")
                          .arg(target.absolutePath(), scratch.errorString()));
    XlsxWorkbook book(scratch.path(), target.fileName());
    CsvRecords records(',');
    WorkbookCells cells(book);
    writeWholeTable(table, entries, results, direction, more, window, [&](const QByteArray& piece) {
        records.feed(piece.constData(), std::size_t(piece.size()), cells);
    });
    records.finish(cells);
    book.autofitAllColumns();
    book.close();
    if (std::rename(QFile::encodeName(book.path()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        throw Failure(qt_error_string(errno));
}

} // namespace tallyvane
