#include "conversion/area_code_table.h"

#include <QHash>

namespace tallyvane {

namespace {

const QString kNotFoundText = QStringLiteral("Not Found");

constexpr unsigned char foldNocase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// FNV-1a over the folded bytes.
std::uint32_t foldedHash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text)
        hash = (hash ^ foldNocase(c)) * 16777619u;
    return hash;
}

bool sameFolded(std::string_view text, std::string_view folded) {
    if (text.size() != folded.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (foldNocase(text[i]) != static_cast<unsigned char>(folded[i]))
            return false;
    }
    return true;
}

// Only a code of up to three ASCII digits can equal a normalised entry.
bool isQueryCode(const QString& value) {
    if (value.size() > 3)
        return false;
    for (const QChar c : value) {
        if (!isAsciiDigit(c.unicode()))
            return false;
    }
    return true;
}

} // namespace

bool AreaCodeTable::isNotFound(QStringView row) {
    return row == kNotFoundText;
}

const QString& AreaCodeTable::notFoundText() {
    return kNotFoundText;
}

QString resultRowText(const FieldValues& values) {
    if (values.empty())
        return kNotFoundText;
    QString joined;
    for (const auto& value : values) {
        if (value)
            joined += *value;
        joined += QLatin1Char(' ');
    }
    qsizetype begin = 0;
    qsizetype end = joined.size();
    while (begin < end && joined[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && joined[end - 1] == QLatin1Char(' '))
        --end;
    return joined.mid(begin, end - begin);
}

AreaCodeTable::AreaCodeTable()
    : answers_{{kNotFoundText, kNotFoundText.toUtf8()}}, byCode_(AreaCode::kSlots, kNotFound),
      slots_(16) {}

AreaCodeTable AreaCodeTable::read(AreaCodeDatabase& db) {
    AreaCodeTable table;
    QHash<QString, AnswerId> answerIds{{kNotFoundText, kNotFound}};
    const auto answerOf = [&](const FieldValues& values) {
        const QString row = resultRowText(values);
        auto found = answerIds.constFind(row);
        if (found != answerIds.constEnd())
            return *found;
        table.answers_.push_back({row, row.toUtf8()});
        return answerIds.insert(row, table.answerCount() - 1).value();
    };
    table.reasons_ = NotFoundReasons(db.specialCodes());
    std::vector<bool> codeRead(AreaCode::kSlots, false);
    for (const QString& value : db.columnValues(AreaCodeColumn::AreaCode)) {
        if (!isQueryCode(value))
            continue;
        const int slot = AreaCode::exact(value).slot();
        if (codeRead[slot])
            continue;
        codeRead[slot] = true;
        table.byCode_[slot] = answerOf(db.statesForAreaCode(value));
    }
    for (const AreaCodeColumn column : {AreaCodeColumn::StateCode, AreaCodeColumn::LocationName}) {
        for (const QString& value : db.columnValues(column)) {
            const QByteArray utf8 = value.toUtf8();
            const std::string_view key(utf8.constData(), static_cast<std::size_t>(utf8.size()));
            if (table.findKey(key) != kNotFound)
                continue;
            table.addStateKey(key, answerOf(db.areaCodesForState(value, value)));
        }
    }
    return table;
}

AreaCodeTable::AnswerId AreaCodeTable::areaCodesFor(std::string_view utf8Entry) const {
    return utf8Entry.size() > longestKey_ ? kNotFound : findKey(utf8Entry);
}

AreaCodeTable::AnswerId AreaCodeTable::findKey(std::string_view utf8Entry) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t hash = foldedHash(utf8Entry);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.answer == kNotFound)
            return kNotFound;
        if (slot.hash == hash &&
            sameFolded(utf8Entry, std::string_view(keys_).substr(slot.keyOffset, slot.keyLength)))
            return slot.answer;
    }
}

AreaCodeTable::AnswerId AreaCodeTable::areaCodesFor(const QString& entry) const {
    // A UTF-8 text has at least as many bytes as its UTF-16 text has units, so
    // a long entry is turned away before it is converted.
    if (static_cast<std::size_t>(entry.size()) > longestKey_)
        return kNotFound;
    // Most entries are ASCII: their UTF-8 is their UTF-16 units, no allocation.
    char ascii[64];
    if (entry.size() <= qsizetype(sizeof ascii)) {
        qsizetype n = 0;
        for (const QChar c : entry) {
            if (c.unicode() >= 0x80)
                break;
            ascii[n++] = static_cast<char>(c.unicode());
        }
        if (n == entry.size())
            return areaCodesFor(std::string_view(ascii, static_cast<std::size_t>(n)));
    }
    const QByteArray utf8 = entry.toUtf8();
    return areaCodesFor(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void AreaCodeTable::addStateKey(std::string_view utf8, AnswerId answer) {
    if (answer == kNotFound) {
        // A state query that matches nothing for its own value cannot happen
        // with a NOCASE column; storing it would only cost memory.
        return;
    }
    if ((stateKeys_ + 1) * 2 > slots_.size())
        growSlots();
    Slot slot;
    slot.hash = foldedHash(utf8);
    slot.keyOffset = static_cast<std::uint32_t>(keys_.size());
    slot.keyLength = static_cast<std::uint32_t>(utf8.size());
    slot.answer = answer;
    for (const char c : utf8)
        keys_ += static_cast<char>(foldNocase(c));
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots_[i].answer != kNotFound)
        i = (i + 1) & mask;
    slots_[i] = slot;
    ++stateKeys_;
    longestKey_ = std::max(longestKey_, utf8.size());
}

void AreaCodeTable::growSlots() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.answer == kNotFound)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].answer != kNotFound)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

} // namespace tallyvane
