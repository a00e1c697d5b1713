// The aligned text writer and the clipboard text, on lists of any shape: the
// file and the clipboard must hold exactly what the padding rules give.
//
// Input: one byte (bits 0-1: columns - 1; bit 2: with a progress bar), then
// fields separated by 0xFF, which UTF-8 text never holds: one heading per
// column, then one field per row. A row's first byte says whether it is
// checked (bit 0 clear); the rest is its cells, separated by 0xFE. Rows may
// have fewer cells than the list has columns, or more.
#include "fuzz_support.h"
#include "lists/list_model.h"
#include "results/aligned_text_writer.h"
#include "results/clipboard_copy.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <string_view>
#include <vector>

using namespace tallyvane;
using namespace tallyvane::testing;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct Row {
    QStringList cells;
    bool checked;
};

struct Shape {
    int columns;
    bool withProgressBar;
    QStringList headings;
    std::vector<Row> rows;
};

std::vector<std::string_view> split(std::string_view bytes, char separator) {
    std::vector<std::string_view> parts;
    std::size_t at;
    while ((at = bytes.find(separator)) != std::string_view::npos) {
        parts.push_back(bytes.substr(0, at));
        bytes.remove_prefix(at + 1);
    }
    parts.push_back(bytes);
    return parts;
}

QString text(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

Shape shapeOf(std::string_view bytes) {
    Shape shape{1 + (bytes[0] & 3), (bytes[0] & 4) != 0, {}, {}};
    const auto fields = split(bytes.substr(1), '\xFF');
    std::size_t f = 0;
    for (int c = 0; c < shape.columns; ++c)
        shape.headings << (f < fields.size() ? text(fields[f++]) : QString());
    for (; f < fields.size(); ++f) {
        Row row{{}, fields[f].empty() || (fields[f][0] & 1) == 0};
        if (!fields[f].empty())
            for (const auto cell : split(fields[f].substr(1), '\xFE'))
                row.cells << text(cell);
        shape.rows.push_back(std::move(row));
    }
    return shape;
}

// --- The rules. ----------------------------------------------------------------

QString cellOf(const Row& row, int c) {
    return c < row.cells.size() ? row.cells[c] : QString();
}

// Width = the longest text of the column (16-bit units); the file's widths
// count the heading too, the clipboard's do not. Unchecked rows count.
std::vector<qsizetype> widths(const Shape& shape, bool withHeadings) {
    std::vector<qsizetype> out;
    for (int c = 0; c < shape.columns; ++c) {
        qsizetype widest = withHeadings ? shape.headings[c].size() : 0;
        for (const Row& row : shape.rows)
            widest = std::max(widest, cellOf(row, c).size());
        out.push_back(widest);
    }
    return out;
}

// A cell: the text, spaces up to the width (none when it is as long or
// longer), one tab.
QString line(const QStringList& cells, const std::vector<qsizetype>& width) {
    QString out;
    for (int c = 0; c < cells.size(); ++c)
        out += cells[c] + QString(std::max<qsizetype>(0, width[c] - cells[c].size()), u' ') + u'\t';
    return out;
}

QStringList cellsOf(const Row& row, int columns) {
    QStringList cells;
    for (int c = 0; c < columns; ++c)
        cells << cellOf(row, c);
    return cells;
}

// The heading line, then a line per checked row, each ended by CR LF.
QStringList expectedFileLines(const Shape& shape) {
    const auto width = widths(shape, true);
    QStringList lines{line(shape.headings, width) + kCrLf};
    for (const Row& row : shape.rows)
        if (row.checked)
            lines << line(cellsOf(row, shape.columns), width) + kCrLf;
    return lines;
}

// A line per checked row without its last tab and the spaces before it.
QString expectedClipboard(const Shape& shape) {
    const auto width = widths(shape, false);
    QString out;
    for (const Row& row : shape.rows) {
        if (!row.checked)
            continue;
        QString l = line(cellsOf(row, shape.columns), width);
        l.chop(1);
        while (l.endsWith(u' '))
            l.chop(1);
        out += l + kCrLf;
    }
    return out;
}

// The file's lines as written, split after each CR LF.
QStringList fileLines(const QByteArray& bytes) {
    QStringList lines;
    const QString all = QString::fromUtf8(bytes);
    qsizetype start = 0, end;
    while ((end = all.indexOf(kCrLf, start)) >= 0) {
        lines << all.mid(start, end + 2 - start);
        start = end + 2;
    }
    if (start < all.size())
        lines << all.mid(start);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Shape shape = shapeOf(std::string_view(reinterpret_cast<const char*>(data), size));
    ListModel list;
    for (const QString& heading : shape.headings)
        list.addColumn(heading);
    for (const Row& row : shape.rows)
        list.appendRow(row.cells, row.checked);

    FakePrompts prompts;
    FakeWindowServices window;
    FakeProgressBar progress;
    const QString path = fuzz::scratchFolder() + QStringLiteral("/results.txt");
    const bool succeeded = SaveListviewProperlySpaced(prompts, window, list, path,
                                                      shape.withProgressBar ? &progress : nullptr);
    fuzz::expectEqual("the writer reports nothing", {}, prompts.texts());
    if (!succeeded)
        fuzz::fail("the writer says it succeeded", {QStringLiteral("true")},
                   {QStringLiteral("false")});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::fail("the file is there", {path}, {file.errorString()});
    const QByteArray written = file.readAll();
    const QStringList expected = expectedFileLines(shape);
    if (written != expected.join(QString()).toUtf8())
        fuzz::fail("the file holds the padded lines, in UTF-8", expected, fileLines(written));
    fuzz::expectEqual("no temporary file stays", {QStringLiteral("results.txt")},
                      QDir(fuzz::scratchFolder()).entryList(QDir::Files | QDir::Hidden));
    fuzz::expectEqual("the progress bar is back at rest", {QStringLiteral("Progress Bar")},
                      {progress.text()});

    FakeClipboard clipboard;
    CopyListViewToClipboard(window, clipboard, list);
    const QString clipboardText =
        shape.rows.empty() ? QStringLiteral("old clipboard") : expectedClipboard(shape);
    fuzz::expectEqual("the clipboard holds the trimmed lines", {clipboardText}, {clipboard.text});
    return 0;
}
