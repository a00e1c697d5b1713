#pragma once

#include "conversion/area_code_table.h"
#include "convert/byte_output.h"
#include "convert/convert_options.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane::convert {

// Turns entry lines into output in the chosen format. A line comes either
// whole (line) or, when it is longer than a read block, in pieces followed by
// endLine; both give the same answer, and pieces keep memory flat.
class LineConverter {
public:
    LineConverter(const AreaCodeTable& table, Direction direction, Format format, ByteOutput& out);

    void begin();
    void line(std::string_view entry);
    void piece(std::string_view part);
    void endLine();
    // The text format is written here, once every width is known.
    void finish();

private:
    AreaCodeTable::AnswerId answerFor(std::string_view entry) const;
    void writeRow(std::string_view entry, AreaCodeTable::AnswerId answer);
    void writeCsvField(std::string_view field);
    void writeCsvBytes(std::string_view bytes);

    const AreaCodeTable& table_;
    const Direction direction_;
    const Format format_;
    ByteOutput& out_;
    // The line that comes in pieces.
    bool inPieces_ = false;
    AreaCode code_;
    std::string stateKey_; // its first bytes, up to one more than the longest state key
    // The text format: the answer of every line, in order.
    std::vector<AreaCodeTable::AnswerId> textRows_;
};

} // namespace tallyvane::convert
