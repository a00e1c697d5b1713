#include "convert/line_converter.h"

#include "results/aligned_cell.h"
#include "results/csv_field.h"

#include <algorithm>

namespace tallyvane::convert {

namespace {

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

LineConverter::LineConverter(const AreaCodeTable& table, Direction direction, Format format,
                             ByteOutput& out, bool withReason)
    : table_(table), direction_(direction), format_(format), out_(out),
      withReason_(withReason && (format == Format::Tsv || format == Format::Csv)) {}

void LineConverter::begin() {
    if (format_ == Format::Csv)
        out_.put(withReason_ ? "entry,result,reason\n" : "entry,result\n");
}

LineConverter::Answer LineConverter::answerFor(std::string_view entry) const {
    Answer answer;
    if (direction_ == Direction::StatesToAreaCodes) {
        answer.id = table_.areaCodesFor(entry);
        if (withReason_ && answer.id == AreaCodeTable::kNotFound)
            answer.reason = view(table_.reasons().utf8ForState(entry));
        return answer;
    }
    const AreaCode code = AreaCode::ofUtf8(entry);
    answer.id = table_.statesFor(code);
    if (withReason_ && answer.id == AreaCodeTable::kNotFound)
        answer.reason = view(table_.reasons().utf8ForCode(code));
    return answer;
}

// The answer of a line that came in pieces: its code, or its first bytes and
// its last, which are all that a state's name and the reason depend on.
LineConverter::Answer LineConverter::answerForPieces() const {
    Answer answer;
    if (direction_ == Direction::AreaCodesToStates) {
        answer.id = table_.statesFor(code_);
        if (withReason_ && answer.id == AreaCodeTable::kNotFound)
            answer.reason = view(table_.reasons().utf8ForCode(code_));
        return answer;
    }
    answer.id = table_.areaCodesFor(stateKey_);
    if (withReason_ && answer.id == AreaCodeTable::kNotFound) {
        const char ends[] = {stateKey_.empty() ? '\0' : stateKey_.front(), lastByte_};
        answer.reason = view(table_.reasons().utf8ForState(std::string_view(ends, 2)));
    }
    return answer;
}

void LineConverter::line(std::string_view entry) {
    if (format_ == Format::Results && direction_ == Direction::AreaCodesToStates) {
        // The common case, kept short: tens of millions of lines go this way.
        out_.put(view(table_.utf8Row(table_.statesFor(AreaCode::ofUtf8(entry)))));
        out_.put('\n');
        return;
    }
    writeRow(entry, answerFor(entry));
}

void LineConverter::writeRow(std::string_view entry, const Answer& answer) {
    switch (format_) {
    case Format::Results:
        out_.put(view(table_.utf8Row(answer.id)));
        out_.put('\n');
        return;
    case Format::Tsv:
        out_.put(entry);
        break;
    case Format::Csv:
        writeCsvField(entry);
        break;
    case Format::Text:
        textRows_.push_back(answer.id);
        return;
    }
    writeEnd(answer);
}

// The fields after the entry, and the line end.
void LineConverter::writeEnd(const Answer& answer) {
    const std::string_view result = view(table_.utf8Row(answer.id));
    if (format_ == Format::Tsv) {
        out_.put('\t');
        out_.put(result);
        if (withReason_) {
            out_.put('\t');
            out_.put(answer.reason);
        }
    } else {
        out_.put(',');
        writeCsvField(result);
        if (withReason_) {
            out_.put(',');
            writeCsvField(answer.reason);
        }
    }
    out_.put('\n');
}

void LineConverter::writeCsvField(std::string_view field) {
    const bool quoted = csv::needsQuotes(field);
    if (quoted)
        out_.put('"');
    if (!field.empty() && csv::startsLikeFormula(csv::unit(field.front())))
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
    if (part.empty())
        return;
    if (!inPieces_) {
        inPieces_ = true;
        code_ = AreaCode();
        stateKey_.clear();
        if (format_ == Format::Csv) { // the field's end is not known yet: always quote
            out_.put('"');
            if (csv::startsLikeFormula(csv::unit(part.front())))
                out_.put('\'');
        }
    }
    lastByte_ = part.back();
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
    const Answer answer = answerForPieces();
    inPieces_ = false;
    if (format_ == Format::Csv)
        out_.put('"');
    if (format_ == Format::Tsv || format_ == Format::Csv)
        writeEnd(answer);
    else // no entry is echoed: the row is the same as for a whole line
        writeRow({}, answer);
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
