#include "entries/list_file.h"

#include "commands/file_exists.h"
#include "entries/column_lists.h"
#include "entries/entry_file_reader.h"
#include "entries/load_memory.h"
#include "entries/workbook_list.h"
#include "lists/list_view.h"
#include "platform/failure.h"
#include "platform/prompts.h"
#include "platform/regular_file.h"
#include "reading/file_kind.h"
#include "reading/table_names.h"
#include "reading/vcard_table.h"

#include <QDir>
#include <QFileInfo>

#include <new>

namespace tallyvane {

namespace {

// With several files a reason alone would not tell which one it was, so a
// failure names the file, and running out of memory tells how many of its
// entries came in.
template <class Load> void namingFailures(ListView& list, const QString& path, Load&& load) {
    const int before = list.count();
    try {
        load();
    } catch (const std::bad_alloc&) {
        throw Failure(QStringLiteral("Out of memory: %1 entries of %2 were loaded and the "
                                     "rest was not.")
                          .arg(list.count() - before)
                          .arg(QDir::toNativeSeparators(path)));
    } catch (const Failure& failure) {
        throw Failure(failure.description() + QStringLiteral(": ") +
                      QDir::toNativeSeparators(path));
    }
}

// The column to read the file by: ColumnQuestion::kWholeLines for a file not
// in columns (or when the person asks for whole lines), kCancelled when the
// person takes nothing.
int chosenColumn(Prompts& prompts, const RegularFile& file, const QString& path,
                 const ColumnReading& reading, ColumnLayout& layout) {
    QByteArray start(qsizetype(kLayoutSampleBytes), Qt::Uninitialized);
    start.truncate(qsizetype(file.readAt(start.data(), kLayoutSampleBytes, 0)));
    const QString name = QFileInfo(path).fileName();
    if (reading.onlyNamedTables && !namedCsv(name) && !namedTsv(name))
        return ColumnQuestion::kWholeLines;
    layout = columnLayout(start, file.size() <= start.size(), name, reading.direction);
    layout.question.source = name;
    if (layout.delimiter == 0)
        return ColumnQuestion::kWholeLines;
    int column = ColumnQuestion::kCancelled;
    if (!reading.remembered.recall(layout.question, column)) {
        column = prompts.chooseColumn(layout.question);
        if (column != ColumnQuestion::kCancelled) {
            reading.remembered.remember(layout.question, column);
            takeOfferedDirection(layout.question, reading.direction, reading.useDirection);
        }
    }
    return column;
}

} // namespace

void LoadListFromFile(Prompts& prompts, ListView& list, const QString& path, MissingFile missing,
                      const ColumnReading* columns) {
    if (!FileExists(path)) {
        prompts.messageBox(missing == MissingFile::Named
                               ? QStringLiteral("File not found: ") + QDir::toNativeSeparators(path)
                               : QStringLiteral("File not found"),
                           MessageStyle::Ok);
        return;
    }
    std::size_t malformed = 0;
    bool refused = false;
    FileLooks looks;
    namingFailures(list, path, [&] {
        RegularFile file(path);
        std::string start(kFileKindSample, '\0');
        start.resize(file.readAt(start.data(), start.size(), 0));
        looks = fileLooks(start);
        if (looks.kind == FileKind::NotText) {
            refused = true;
            return;
        }
        if (looks.kind == FileKind::VCard) {
            refuseLoadBeyondMemory(file, path);
            std::string csv;
            VCardTable cards([&csv](std::string_view rows) { csv.append(rows); });
            std::string block(std::size_t(1) << 16, '\0');
            while (const std::size_t got = file.read(block.data(), block.size()))
                cards.feed(std::string_view(block.data(), got));
            cards.finish();
            malformed = appendColumnFromTable(
                prompts, list, QByteArray::fromStdString(csv),
                columns ? columns->direction : Direction::AreaCodesToStates,
                columns ? columns->useDirection : nullptr, QFileInfo(path).fileName(),
                columns ? columns->kept : nullptr);
            return;
        }
        if (looks.kind != FileKind::Text) {
            malformed = appendColumnFromWorkbook(
                prompts, list, path, looks.kind,
                columns ? columns->direction : Direction::AreaCodesToStates,
                columns ? columns->useDirection : nullptr,
                columns ? columns->keepResponsive : nullptr, columns ? columns->kept : nullptr);
            return;
        }
        ColumnLayout layout;
        const int column = columns ? chosenColumn(prompts, file, path, *columns, layout)
                                   : ColumnQuestion::kWholeLines;
        if (column == ColumnQuestion::kCancelled)
            return;
        refuseLoadBeyondMemory(file, path);
        if (column == ColumnQuestion::kWholeLines)
            appendEntriesFromFile(list, file);
        else
            malformed = readKeepingTable(columns->kept, QFileInfo(path).fileName(), layout.question,
                                         column, [&](SourceTable* table) {
                                             return appendColumnFromFile(
                                                 list, file, layout.delimiter, column,
                                                 layout.question.header, table);
                                         });
    });
    if (refused)
        prompts.messageBox(QString::fromStdString(
                               notTextWords(QDir::toNativeSeparators(path).toStdString(), looks)) +
                               QStringLiteral(". Nothing was loaded from it."),
                           MessageStyle::Warning);
    if (malformed > 0)
        prompts.messageBox(malformedRowsText(malformed, QFileInfo(path).fileName()),
                           MessageStyle::Warning);
}

} // namespace tallyvane
