#pragma once

#include "conversion/area_code.h"
#include "conversion/not_found_reasons.h"
#include "platform/area_code_database.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane {

// The results row for the matched values: "Not Found" when there are none,
// otherwise the values joined by single spaces (a null adds only the space),
// trimmed of spaces at both ends.
QString resultRowText(const FieldValues& values);

// Every answer the area-code database can give, read once through its own two
// queries so that the rows and their order are exactly what a query per entry
// would give. The table is a few hundred rows, so afterwards an entry costs a
// lookup in memory and no query at all.
//
// State entries are compared as SQLite's NOCASE compares them: byte for byte
// on the UTF-8 text, with only the ASCII letters A-Z folded.
class AreaCodeTable {
public:
    using AnswerId = std::uint32_t;
    static constexpr AnswerId kNotFound = 0;

    AreaCodeTable();
    // Whether a results row is the one that says nothing matched ("Not
    // Found"): the text is made here only, and other parts ask this.
    static bool isNotFound(QStringView row);
    static const QString& notFoundText();

    // Runs the area-code query once for every code in the table and the state
    // query once for every state code and name. Throws Failure.
    static AreaCodeTable read(AreaCodeDatabase& db);

    // A number of another country and a local number ask for no code.
    AnswerId statesFor(const AreaCode& code) const {
        return code.kind() == AreaCode::Kind::Code ? byCode_[std::size_t(code.slot())] : kNotFound;
    }
    AnswerId areaCodesFor(std::string_view utf8Entry) const;
    AnswerId areaCodesFor(const QString& entry) const;

    // The results row of an answer, and the same text as UTF-8.
    const QString& row(AnswerId id) const { return answers_[id].row; }
    const QByteArray& utf8Row(AnswerId id) const { return answers_[id].utf8; }
    AnswerId answerCount() const { return static_cast<AnswerId>(answers_.size()); }
    // No state entry longer than this (in UTF-8 bytes) can match.
    std::size_t longestStateKey() const { return longestKey_; }
    // Why an entry found nothing (see NotFoundReasons).
    const NotFoundReasons& reasons() const { return reasons_; }

private:
    struct Answer {
        QString row;
        QByteArray utf8;
    };
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t keyOffset = 0;
        std::uint32_t keyLength = 0;
        AnswerId answer = kNotFound; // kNotFound: the slot is free
    };

    AnswerId addAnswer(const FieldValues& values);
    AnswerId findKey(std::string_view utf8) const;
    void addStateKey(std::string_view utf8, AnswerId answer);
    void growSlots();

    std::vector<Answer> answers_;
    std::vector<AnswerId> byCode_;
    std::vector<Slot> slots_; // open addressing, a power of two in size
    std::string keys_;        // the state keys, folded, one after another
    std::size_t stateKeys_ = 0;
    std::size_t longestKey_ = 0;
    NotFoundReasons reasons_;
};

} // namespace tallyvane
