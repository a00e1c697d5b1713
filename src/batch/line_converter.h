#pragma once

#include "batch/answer_counts.h"
#include "batch/byte_output.h"
#include "batch/convert_options.h"
#include "batch/quick_entries.h"
#include "batch/zone_fields.h"
#include "conversion/area_code_table.h"
#include "conversion/entry_answer.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane::batch {

// Turns entry lines into output in the chosen format. A line comes either
// whole (line) or, when it is longer than a read block, in pieces followed by
// endLine; both give the same answer, and pieces keep memory flat.
// What every line is converted with: one thread or several build their
// converters from the same work, so a field asked for is written however
// large the file is.
struct LineWork {
    const AreaCodeTable& table;
    Direction direction;
    Format format;
    bool withReason = false;
    const ZoneFields* zones = nullptr;
};

class LineConverter {
public:
    LineConverter(const LineWork& work, ByteOutput& out);
    // withReason: tsv and csv get one more column, why an entry found nothing.
    LineConverter(const AreaCodeTable& table, Direction direction, Format format, ByteOutput& out,
                  bool withReason = false);

    // --summary: every answer is counted there and no row is written.
    void countInto(AnswerCounts* counts) { counts_ = counts; }
    // --time-zone and the like: their fields end each tsv and csv row.
    void withZones(const ZoneFields* zones) { zones_ = zones && zones->any() ? zones : nullptr; }

    void begin();
    void line(std::string_view entry);
    // Whole lines in order, as many as come at once, each with
    // AreaCode::kReadAhead bytes readable from its start (see quickSlots).
    void lines(const EntrySpan* entries, std::size_t count);
    void piece(std::string_view part);
    void endLine();
    // The text format is written here, once every width is known.
    void finish();

private:
    EntryAnswer answerForPieces() const;
    void severalNumbers(std::string_view entry, const std::vector<std::string_view>& numbers);
    void writeRow(std::string_view entry, const EntryAnswer& answer);
    void writeEnd(const EntryAnswer& answer, std::string_view entry);

    const AreaCodeTable& table_;
    const Direction direction_;
    const Format format_;
    ByteOutput& out_;
    const bool withReason_;
    AnswerCounts* counts_ = nullptr;
    const ZoneFields* zones_ = nullptr;
    // The line that comes in pieces.
    bool inPieces_ = false;
    // A csv entry in pieces that begins like a formula: its bytes are held
    // back while they are all phone characters, for only then is it known
    // whether the guard goes in front.
    bool guardPending_ = false;
    std::string heldBack_;
    AreaCode code_;
    std::string stateKey_; // its first bytes, up to one more than the longest state key
    char lastByte_ = 0;
    // The text format: the answer of every line, in order.
    std::vector<AreaCodeTable::AnswerId> textRows_;
    // Rows of several numbers, which no id of the table names: id
    // answerCount() + i is extraRows_[i].
    std::vector<QString> extraRows_;
    // The results format from area codes: each answer's row and its line
    // end, padded for ByteOutput::putShort (size 0: too long, put as it is).
    struct ShortRow {
        char bytes[ByteOutput::kShort] = {};
        std::size_t size = 0;
    };
    std::vector<ShortRow> shortRows_;
    // For each code's slot, its answer's row: one look-up where the table
    // takes two; and one more, a local number's.
    std::vector<const ShortRow*> rowOfSlot_;
    std::array<std::uint16_t, 256> slots_{}; // of the lines handed on together
};

} // namespace tallyvane::batch
