#include "entries/entry_paste.h"

#include "commands/procedure.h"
#include "entries/column_lists.h"
#include "lists/list_view.h"
#include "reading/table_names.h"

namespace tallyvane {

namespace {
const QString kLocation = locationText(QStringLiteral("Form1"), QStringLiteral("ListView1_Paste"));
// Enough of the text to tell whether it is in columns.
constexpr auto kSample = qsizetype(kLayoutSampleBytes);
} // namespace

// Entry-list files are bytes of unknown encoding with their own line rules (a
// lone LF splits a line, the last piece is upper-cased); pasted text is already
// decoded and every line end counts the same, so it is split here on its own.
void appendPastedLines(ListView& list, QStringView text) {
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        list.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        list.append(text.sliced(start).toString());
}

void ListView1_Paste(Prompts& prompts, ListView& entries, const std::function<QString()>& read,
                     Direction direction, const std::function<void(Direction)>& useDirection) {
    Procedure p(prompts, kLocation);
    // Running out of memory part way keeps what came in, and says how much.
    const int before = entries.count();
    p.describeOutOfMemory([&] {
        return QStringLiteral("Out of memory: %1 entries were pasted and the rest was not.")
            .arg(entries.count() - before);
    });
    QString text;
    if (!p.step(100, [&] { text = read(); }) || text.isEmpty())
        return;
    std::size_t malformed = 0;
    p.step(102, [&] {
        // Only the start is looked at (and made UTF-8) to tell the layout: a
        // paste of a million plain lines should cost no more than before.
        const ColumnLayout layout =
            columnLayout(QStringView(text).first(std::min(text.size(), kSample)).toUtf8(),
                         text.size() <= kSample, QString(), direction);
        ColumnQuestion question = layout.question;
        const int column =
            layout.delimiter == 0 ? ColumnQuestion::kWholeLines : prompts.chooseColumn(question);
        if (column != ColumnQuestion::kCancelled)
            takeOfferedDirection(question, direction, useDirection);
        if (column == ColumnQuestion::kWholeLines)
            appendPastedLines(entries, text);
        else if (column != ColumnQuestion::kCancelled)
            malformed = readKeepingTable(nullptr, QString(), question, column, [&](SourceTable* t) {
                return appendColumn(entries, text.toUtf8(), layout.delimiter, column,
                                    question.header, t);
            });
    });
    if (malformed > 0)
        p.step(104, [&] {
            prompts.messageBox(malformedRowsText(malformed, QString()), MessageStyle::Warning);
        });
}

void ListView1_Paste(Prompts& prompts, ListView& entries, const QString& text, Direction direction,
                     const std::function<void(Direction)>& useDirection) {
    ListView1_Paste(
        prompts, entries, [&text] { return text; }, direction, useDirection);
}

} // namespace tallyvane
