#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace tallyvane {

// The rules for a field of a CSV file this program writes (RFC 4180), shared
// by the window's CSV save and tallyvane-convert. A field is quoted when it
// holds a quote, the delimiter or a line end, and a quote inside is doubled.
// A field this program writes that begins like a formula (=, +, -, @, a tab
// or a single quote), unless it is made only of what a phone number is
// written with, gets one single quote in front, so that a spreadsheet shows
// it as text and never runs it; dropping the first character of a
// field that begins with a single quote gives the text back.
namespace csv {

constexpr std::string_view kFormulaStarts = "=+-@\t'";

inline bool startsLikeFormula(char32_t first) {
    return first < 0x80 && kFormulaStarts.find(static_cast<char>(first)) != std::string_view::npos;
}

inline char32_t unit(char c) {
    return static_cast<unsigned char>(c);
}
inline char32_t unit(QChar c) {
    return c.unicode();
}

// Whether a field holds nothing but what a phone number is written with
// (digits, spaces and + - ( ) .): such a field cannot run anything in a
// spreadsheet, so "+1 206 555 3254" is written as it is, unguarded.
template <class View> bool onlyPhoneCharacters(View field) {
    for (const auto c : field) {
        const char32_t u = unit(c);
        if (!((u >= U'0' && u <= U'9') || u == U' ' || u == U'+' || u == U'-' || u == U'(' ||
              u == U')' || u == U'.'))
            return false;
    }
    return true;
}

// Whether a field this program writes gets the formula guard.
template <class View> bool needsGuard(View field) {
    return !field.empty() && startsLikeFormula(unit(field.front())) && !onlyPhoneCharacters(field);
}

// For the bytes of a UTF-8 field, eight at a time: the batch converter writes
// tens of millions of fields.
bool needsQuotes(std::string_view field, char delimiter = ',');

template <class View> bool needsQuotes(View field, char delimiter = ',') {
    for (const auto c : field) {
        const char32_t u = unit(c);
        if (u == U'"' || u == U'\r' || u == U'\n' || u == static_cast<char32_t>(delimiter))
            return true;
    }
    return false;
}

// Hands put the bytes between a field's quotes: the field, each quote doubled.
template <class Put> void writeQuotesDoubled(Put&& put, std::string_view bytes) {
    for (std::size_t quote; (quote = bytes.find('"')) != std::string_view::npos;) {
        put(bytes.substr(0, quote + 1));
        put(std::string_view("\"", 1));
        bytes.remove_prefix(quote + 1);
    }
    put(bytes);
}

// The one writer of a field of a CSV (or tab-separated) file or copy: hands
// put the UTF-8 bytes of the field as written: quoted where it must be (or
// always, with quoteAnyway), quotes inside doubled, and with guard a field
// that begins like a formula escaped with a single quote.
template <class Put>
void writeField(Put&& put, std::string_view field, char delimiter, bool guard,
                bool quoteAnyway = false) {
    const bool quoted = quoteAnyway || needsQuotes(field, delimiter);
    if (quoted)
        put(std::string_view("\"", 1));
    if (guard && needsGuard(field))
        put(std::string_view("'", 1));
    if (!quoted)
        return put(field);
    writeQuotesDoubled(put, field);
    put(std::string_view("\"", 1));
}

// Appends the UTF-8 field, quoted where it must be, never guarded: for
// copying a field that was read, as it was.
inline void appendField(std::string& out, std::string_view field, char delimiter = ',') {
    writeField([&out](std::string_view bytes) { out.append(bytes); }, field, delimiter, false);
}

// The field as written, guarded when `guard` and it begins like a formula.
inline QString field(QStringView text, bool guard = true, char delimiter = ',') {
    std::string out;
    const QByteArray utf8 = text.toUtf8();
    writeField([&out](std::string_view bytes) { out.append(bytes); },
               std::string_view(utf8.constData(), std::size_t(utf8.size())), delimiter, guard);
    return QString::fromStdString(out);
}

} // namespace csv

} // namespace tallyvane
