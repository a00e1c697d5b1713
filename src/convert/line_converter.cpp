#include "convert/line_converter.h"

#include "results/aligned_cell.h"

#include <algorithm>

namespace tallyvane::convert {

namespace {

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Characters a spreadsheet may take as the start of a formula, and the single
// quote that marks a field escaped against that.
bool needsFormulaGuard(std::string_view field) {
    return !field.empty() &&
           std::string_view("=+-@\t'").find(field.front()) != std::string_view::npos;
}

} // namespace

LineConverter::LineConverter(const AreaCodeTable& table, Direction direction, Format format,
                             ByteOutput& out)
    : table_(table), direction_(direction), format_(format), out_(out) {}

void LineConverter::begin() {
    if (format_ == Format::Csv)
        out_.put("entry,result\n");
}

AreaCodeTable::AnswerId LineConverter::answerFor(std::string_view entry) const {
    if (direction_ == Direction::StatesToAreaCodes)
        return table_.areaCodesFor(entry);
    AreaCode code;
    code.add(entry.data(), entry.data() + entry.size());
    return table_.statesFor(code);
}

void LineConverter::line(std::string_view entry) {
    writeRow(entry, answerFor(entry));
}

void LineConverter::writeRow(std::string_view entry, AreaCodeTable::AnswerId answer) {
    switch (format_) {
    case Format::Results:
        out_.put(view(table_.utf8Row(answer)));
        break;
    case Format::Tsv:
        out_.put(entry);
        out_.put('\t');
        out_.put(view(table_.utf8Row(answer)));
        break;
    case Format::Csv:
        writeCsvField(entry);
        out_.put(',');
        writeCsvField(view(table_.utf8Row(answer)));
        break;
    case Format::Text:
        textRows_.push_back(answer);
        return;
    }
    out_.put('\n');
}

void LineConverter::writeCsvField(std::string_view field) {
    const bool quoted = field.find_first_of("\",\r\n") != std::string_view::npos;
    if (quoted)
        out_.put('"');
    if (needsFormulaGuard(field))
        out_.put('\'');
    writeCsvBytes(field);
    if (quoted)
        out_.put('"');
}

void LineConverter::writeCsvBytes(std::string_view bytes) {
    for (std::size_t quote; (quote = bytes.find('"')) != std::string_view::npos;) {
        out_.put(bytes.substr(0, quote + 1));
        out_.put('"');
        bytes.remove_prefix(quote + 1);
    }
    out_.put(bytes);
}

void LineConverter::piece(std::string_view part) {
    if (!inPieces_) {
        inPieces_ = true;
        code_ = AreaCode();
        stateKey_.clear();
        if (format_ == Format::Csv) { // the field's end is not known yet: always quote
            out_.put('"');
            if (needsFormulaGuard(part))
                out_.put('\'');
        }
    }
    if (direction_ == Direction::AreaCodesToStates) {
        code_.add(part.data(), part.data() + part.size());
    } else {
        const std::size_t room =
            table_.longestStateKey() + 1 - std::min(stateKey_.size(), table_.longestStateKey() + 1);
        stateKey_.append(part.substr(0, room));
    }
    if (format_ == Format::Tsv)
        out_.put(part);
    else if (format_ == Format::Csv)
        writeCsvBytes(part);
}

void LineConverter::endLine() {
    inPieces_ = false;
    const AreaCodeTable::AnswerId answer = direction_ == Direction::AreaCodesToStates
                                               ? table_.statesFor(code_)
                                               : table_.areaCodesFor(stateKey_);
    switch (format_) {
    case Format::Tsv:
        out_.put('\t');
        out_.put(view(table_.utf8Row(answer)));
        out_.put('\n');
        break;
    case Format::Csv:
        out_.put("\",");
        writeCsvField(view(table_.utf8Row(answer)));
        out_.put('\n');
        break;
    default: // no entry is echoed: the row is the same as for a whole line
        writeRow({}, answer);
    }
}

void LineConverter::finish() {
    if (format_ != Format::Text)
        return;
    // The same cells as the window's text export: widths in UTF-16 units of
    // the heading and of every row, CR LF after each line.
    const QString heading = QStringLiteral("Results");
    int width = cellWidth(heading);
    std::vector<bool> used(table_.answerCount(), false);
    for (const AreaCodeTable::AnswerId answer : textRows_)
        used[answer] = true;
    for (AreaCodeTable::AnswerId id = 0; id < table_.answerCount(); ++id) {
        if (used[id])
            width = std::max(width, cellWidth(table_.row(id)));
    }
    const auto cellLine = [width](const QString& text) {
        QString line;
        appendAlignedCell(line, text, width);
        line += QStringLiteral("\r\n");
        return line.toUtf8();
    };
    out_.put(view(cellLine(heading)));
    std::vector<QByteArray> lines(table_.answerCount());
    for (const AreaCodeTable::AnswerId answer : textRows_) {
        if (lines[answer].isEmpty())
            lines[answer] = cellLine(table_.row(answer));
        out_.put(view(lines[answer]));
    }
}

} // namespace tallyvane::convert
