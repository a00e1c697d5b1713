#include "entries/column_files.h"

#include "commands/file_exists.h"
#include "entries/column_lists.h"
#include "entries/file_loading.h"
#include "platform/failure.h"
#include "platform/regular_file.h"

#include <QFileInfo>

namespace tallyvane {

namespace {

constexpr std::size_t kSampleBytes = std::size_t(64) * 1024;

// The start of a regular file, or nothing for anything else (the line
// loader then says what is wrong with it).
QByteArray startOf(const QString& path, bool& whole) {
    whole = true;
    try {
        const RegularFile file(path);
        QByteArray start(qsizetype(kSampleBytes), Qt::Uninitialized);
        start.truncate(qsizetype(file.readAt(start.data(), kSampleBytes, 0)));
        whole = file.size() <= start.size();
        return start;
    } catch (const Failure&) {
        return {};
    }
}

} // namespace

void loadListOrColumn(Prompts& prompts, ListView& list, const QString& path,
                      const ColumnReading& reading) {
    bool whole = true;
    const QByteArray start = FileExists(path) ? startOf(path, whole) : QByteArray();
    const ColumnLayout layout =
        columnLayout(start, whole, QFileInfo(path).fileName(), reading.direction);
    if (layout.delimiter == 0)
        return LoadListFromFile(prompts, list, path, MissingFile::Named);
    ColumnQuestion question = layout.question;
    int column = ColumnQuestion::kCancelled;
    if (!reading.remembered.recall(question, column)) {
        column = prompts.chooseColumn(question);
        if (column != ColumnQuestion::kCancelled)
            reading.remembered.remember(question, column);
    }
    if (column == ColumnQuestion::kCancelled)
        return;
    if (column == ColumnQuestion::kWholeLines)
        return LoadListFromFile(prompts, list, path, MissingFile::Named);
    std::size_t malformed = 0;
    appendNamingFailures(list, path, [&] {
        malformed = appendColumnFromFile(list, path, layout.delimiter, column, question.header);
    });
    if (malformed > 0)
        prompts.messageBox(malformedRowsText(malformed, QFileInfo(path).fileName()),
                           MessageStyle::Warning);
}

} // namespace tallyvane
