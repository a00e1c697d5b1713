#include "batch/line_converter.h"

#include "conversion/several_numbers.h"

#include "batch/csv_output.h"
#include "commands/csv_field.h"
#include "results/aligned_cell.h"

#include <algorithm>
#include <cstring>

namespace tallyvane::batch {

LineConverter::LineConverter(const LineWork& work, ByteOutput& out)
    : LineConverter(work.table, work.direction, work.format, out, work.withReason) {
    withZones(work.zones);
}

LineConverter::LineConverter(const AreaCodeTable& table, Direction direction, Format format,
                             ByteOutput& out, bool withReason)
    : table_(table), direction_(direction), format_(format), out_(out),
      withReason_(withReason && (format == Format::Tsv || format == Format::Csv)) {
    if (format != Format::Results || direction != Direction::AreaCodesToStates)
        return;
    shortRows_.resize(table.answerCount());
    for (AreaCodeTable::AnswerId id = 0; id < table.answerCount(); ++id) {
        const QByteArray& row = table.utf8Row(id);
        if (std::size_t(row.size()) + 1 > ByteOutput::kShort)
            continue;
        std::memcpy(shortRows_[id].bytes, row.constData(), std::size_t(row.size()));
        shortRows_[id].bytes[row.size()] = '\n';
        shortRows_[id].size = std::size_t(row.size()) + 1;
    }
    rowOfSlot_.resize(AreaCode::kSlots + 1);
    rowOfSlot_[kLocalNumberSlot] = &shortRows_[AreaCodeTable::kNotFound];
    for (int length = 0, count = 1; length <= 3; ++length, count *= 10) {
        for (int value = 0; value < count; ++value) {
            const QString digits =
                length == 0 ? QString() : QString::number(value).rightJustified(length, u'0');
            rowOfSlot_[std::size_t(AreaCode::slotOf(length, value))] =
                &shortRows_[table.statesFor(AreaCode::exact(digits))];
        }
    }
}

void LineConverter::begin() {
    if (format_ != Format::Csv || counts_)
        return;
    out_.put(withReason_ ? "entry,result,reason" : "entry,result");
    if (zones_)
        for (const std::string& heading : zones_->headings(false))
            out_.put("," + heading);
    out_.put('\n');
}

// The answer of a line that came in pieces: its code, or its first bytes and
// its last, which are all that a state's name and the reason depend on.
EntryAnswer LineConverter::answerForPieces() const {
    const bool withReason = withReason_ || counts_ != nullptr;
    if (direction_ == Direction::AreaCodesToStates)
        return answerForCode(table_, code_, withReason);
    const char ends[] = {stateKey_.empty() ? '\0' : stateKey_.front(), lastByte_};
    return answerForState(table_, stateKey_, std::string_view(ends, 2), withReason);
}

namespace {

// Whether the entry has a ":": two overlapping eight-byte looks for most.
bool mayHoldColon(std::string_view entry) {
    if (entry.size() < 8 || entry.size() > 16)
        return entry.find(':') != std::string_view::npos;
    std::uint64_t head, end;
    std::memcpy(&head, entry.data(), sizeof head);
    std::memcpy(&end, entry.data() + entry.size() - 8, sizeof end);
    constexpr std::uint64_t kColon = 0x3A3A3A3A3A3A3A3Au;
    return (digit_words::zeroBytes(head ^ kColon) | digit_words::zeroBytes(end ^ kColon)) != 0;
}

} // namespace

void LineConverter::line(std::string_view entry) {
    // A ":" is rare in a phone number: one look for it spares the common
    // entry the splitting.
    if (direction_ == Direction::AreaCodesToStates && mayHoldColon(entry)) {
        if (const std::vector<std::string_view> numbers = tallyvane::severalNumbers(entry);
            !numbers.empty())
            return severalNumbers(entry, numbers);
    }
    if (counts_)
        return counts_->add(answerFor(table_, direction_, entry, true));
    if (!shortRows_.empty()) {
        // An entry the quick reading left to the careful one (see lines).
        const AreaCode code = AreaCode::ofUtf8(entry);
        const ShortRow& row = code.kind() == AreaCode::Kind::Code
                                  ? *rowOfSlot_[std::size_t(code.slot())]
                                  : shortRows_[AreaCodeTable::kNotFound];
        if (row.size != 0)
            return out_.putShort(row.bytes, row.size);
        out_.put(bytesOf(table_.utf8Row(table_.statesFor(code))));
        out_.put('\n');
        return;
    }
    writeRow(entry, answerFor(table_, direction_, entry, withReason_));
}

void LineConverter::lines(const EntrySpan* entries, std::size_t count) {
    if (shortRows_.empty() || counts_) {
        for (std::size_t i = 0; i < count; ++i)
            line({entries[i].start, entries[i].size});
        return;
    }
    // Most entries take the quick way: their rows are copied in a row.
    for (std::size_t from = 0; from < count; from += slots_.size()) {
        const std::size_t batch = std::min(count - from, slots_.size());
        quickSlots(entries + from, batch, slots_.data());
        for (std::size_t i = 0; i < batch; ++i) {
            const std::uint16_t slot = slots_[i];
            const ShortRow* row = slot != kCarefulEntry ? rowOfSlot_[slot] : nullptr;
            if (row && row->size != 0)
                out_.putShort(row->bytes, row->size);
            else
                line({entries[from + i].start, entries[from + i].size});
        }
    }
}

void LineConverter::writeRow(std::string_view entry, const EntryAnswer& answer) {
    switch (format_) {
    case Format::Results:
        out_.put(answer.result);
        out_.put('\n');
        return;
    case Format::Tsv:
        putTsvField(out_, entry);
        break;
    case Format::Csv:
        putCsvField(out_, entry, ',', true);
        break;
    case Format::Text:
        textRows_.push_back(answer.id);
        return;
    }
    writeEnd(answer, entry);
}

// A line of several numbers: one row for it, each number counted by itself.
void LineConverter::severalNumbers(std::string_view entry,
                                   const std::vector<std::string_view>& numbers) {
    const SeveralAnswers answers(table_, numbers, withReason_ || counts_ != nullptr);
    if (counts_) {
        for (const EntryAnswer& answer : answers.each())
            counts_->add(answer);
        return;
    }
    if (format_ == Format::Text) {
        const EntryAnswer joined = answers.joined();
        textRows_.push_back(AreaCodeTable::AnswerId(table_.answerCount() + extraRows_.size()));
        extraRows_.push_back(
            QString::fromUtf8(joined.result.data(), qsizetype(joined.result.size())));
        return;
    }
    writeRow(entry, answers.joined());
}

// The fields after the entry, and the line end. entry: what the zones are
// looked up by (a line in pieces gives its code or its state's first bytes).
void LineConverter::writeEnd(const EntryAnswer& answer, std::string_view entry) {
    if (format_ == Format::Tsv) {
        out_.put('\t');
        out_.put(answer.result);
        if (withReason_) {
            out_.put('\t');
            out_.put(answer.reason);
        }
    } else {
        out_.put(',');
        putCsvField(out_, answer.result, ',', true);
        if (withReason_) {
            out_.put(',');
            putCsvField(out_, answer.reason, ',', true);
        }
    }
    if (zones_) {
        const char delimiter = format_ == Format::Tsv ? '\t' : ',';
        for (const std::string& field :
             zones_->fieldsFor(direction_, entry, answer.id != AreaCodeTable::kNotFound)) {
            out_.put(delimiter);
            out_.put(field); // names, times and words: nothing to quote or escape
        }
    }
    out_.put('\n');
}

void LineConverter::piece(std::string_view part) {
    if (part.empty())
        return;
    if (!inPieces_) {
        inPieces_ = true;
        code_ = AreaCode();
        stateKey_.clear();
        if (format_ == Format::Csv && !counts_) { // the field's end is not known yet: always quote
            out_.put('"');
            guardPending_ = csv::startsLikeFormula(csv::unit(part.front()));
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
    if (counts_)
        return;
    if (format_ == Format::Tsv)
        return putTsvField(out_, part);
    if (format_ != Format::Csv)
        return;
    if (guardPending_) {
        // needsGuard, a piece at a time: the first byte began a formula, and
        // a byte that no phone number is written with settles it.
        const bool phoneSoFar = csv::onlyPhoneCharacters(part);
        heldBack_.append(part);
        if (phoneSoFar)
            return;
        guardPending_ = false;
        out_.put('\'');
        part = heldBack_;
    }
    putQuotesDoubled(out_, part);
    if (part.data() == heldBack_.data())
        std::string().swap(heldBack_);
}

void LineConverter::endLine() {
    const EntryAnswer answer = answerForPieces();
    inPieces_ = false;
    if (counts_)
        return counts_->add(answer);
    if (format_ == Format::Csv) {
        guardPending_ = false; // a phone number after all: no guard
        putQuotesDoubled(out_, heldBack_);
        std::string().swap(heldBack_);
        out_.put('"');
    }
    // The zones of a line too long to keep: its code's (its exchange is not
    // kept), or its state's by its first bytes.
    const QByteArray code = zones_ ? code_.text().toLatin1() : QByteArray();
    if (format_ == Format::Tsv || format_ == Format::Csv)
        writeEnd(answer, direction_ == Direction::AreaCodesToStates
                             ? std::string_view(code.constData(), std::size_t(code.size()))
                             : std::string_view(stateKey_));
    else // no entry is echoed: the row is the same as for a whole line
        writeRow({}, answer);
}

void LineConverter::finish() {
    if (format_ != Format::Text || counts_)
        return;
    // The same cells as the window's text export: widths in UTF-16 units of
    // the heading and of every row, CR LF after each line.
    const QString heading = QStringLiteral("Results");
    int width = cellWidth(heading);
    std::vector<bool> used(table_.answerCount(), false);
    for (const AreaCodeTable::AnswerId answer : textRows_)
        if (answer < table_.answerCount())
            used[answer] = true;
    for (AreaCodeTable::AnswerId id = 0; id < table_.answerCount(); ++id) {
        if (used[id])
            width = std::max(width, cellWidth(table_.row(id)));
    }
    for (const QString& row : extraRows_)
        width = std::max(width, cellWidth(row));
    const auto cellLine = [width](const QString& text) {
        QString line;
        appendAlignedCell(line, text, width);
        line += QStringLiteral("\r\n");
        return line.toUtf8();
    };
    out_.put(bytesOf(cellLine(heading)));
    std::vector<QByteArray> lines(table_.answerCount());
    for (const AreaCodeTable::AnswerId answer : textRows_) {
        if (answer >= table_.answerCount()) {
            out_.put(bytesOf(cellLine(extraRows_[answer - table_.answerCount()])));
            continue;
        }
        if (lines[answer].isEmpty())
            lines[answer] = cellLine(table_.row(answer));
        out_.put(bytesOf(lines[answer]));
    }
}

} // namespace tallyvane::batch
