#include "reading/vcard_table.h"

#include "commands/csv_field.h"
#include "reading/byte_order_marks.h"

#include <algorithm>
#include <cctype>

namespace tallyvane {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (equalsIgnoringCase(text.substr(i, word.size()), word))
            return true;
    return false;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string quotedPrintable(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size() && hexValue(value[i + 1]) >= 0 &&
            hexValue(value[i + 2]) >= 0) {
            out.push_back(char(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2])));
            i += 2;
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

// "\,", "\;", "\n" and "\\" as what they stand for.
std::string unescaped(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out.push_back(next == 'n' || next == 'N' ? '\n' : next);
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

// The kinds a TEL line names, by TYPE= or, in 2.1, by bare words:
// "cell", "work,voice".
std::string typeOf(std::string_view parameters) {
    std::string type;
    std::size_t at = 0;
    while (at < parameters.size()) {
        std::size_t end = parameters.find(';', at);
        if (end == std::string_view::npos)
            end = parameters.size();
        std::string_view parameter = parameters.substr(at, end - at);
        at = end + 1;
        const std::size_t equals = parameter.find('=');
        if (equals != std::string_view::npos) {
            if (!equalsIgnoringCase(parameter.substr(0, equals), "TYPE"))
                continue;
            parameter.remove_prefix(equals + 1);
        } else if (parameter.empty() || containsIgnoringCase(parameter, "ENCODING") ||
                   containsIgnoringCase(parameter, "CHARSET")) {
            continue;
        }
        std::string word(parameter);
        word.erase(std::remove(word.begin(), word.end(), '"'), word.end());
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (!word.empty())
            type += (type.empty() ? "" : ",") + word;
    }
    return type;
}

} // namespace

VCardTable::VCardTable(Rows rows) : rows_(std::move(rows)) {
    rows_("Name,Type,Phone\n");
}

void VCardTable::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) {
            partial_.append(bytes);
            return;
        }
        partial_.append(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
        if (!partial_.empty() && partial_.back() == '\r')
            partial_.pop_back();
        const std::string physical = std::move(partial_);
        partial_.clear();
        // A line that begins with a space or a tab goes on the line before;
        // in 2.1's quoted-printable a line that ends in "=" goes on too.
        if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t') && !pending_.empty()) {
            if (quotedPrintable_ && pending_.back() == '=')
                pending_.pop_back();
            pending_.append(physical, 1);
            continue;
        }
        if (quotedPrintable_ && !pending_.empty() && pending_.back() == '=') {
            pending_.pop_back();
            pending_ += physical;
            continue;
        }
        if (!pending_.empty())
            line(pending_);
        pending_ = physical;
        const std::size_t colon = pending_.find(':');
        quotedPrintable_ =
            colon != std::string::npos &&
            containsIgnoringCase(std::string_view(pending_).substr(0, colon), "QUOTED-PRINTABLE");
    }
}

void VCardTable::finish() {
    if (!partial_.empty())
        feed("\n");
    if (!pending_.empty())
        line(pending_);
    pending_.clear();
    if (!name_.empty() || !phones_.empty())
        endCard();
}

void VCardTable::line(std::string_view logical) {
    const std::size_t colon = logical.find(':');
    if (colon == std::string_view::npos)
        return;
    std::string_view head = logical.substr(0, colon);
    std::string value(logical.substr(colon + 1));
    // A group prefix ("item1.TEL") names no property of its own.
    if (const std::size_t dot = head.find('.');
        dot != std::string_view::npos && dot < head.find(';'))
        head.remove_prefix(dot + 1);
    const std::size_t semicolon = head.find(';');
    const std::string_view name = head.substr(0, semicolon);
    const std::string_view parameters =
        semicolon == std::string_view::npos ? std::string_view() : head.substr(semicolon + 1);
    if (containsIgnoringCase(parameters, "QUOTED-PRINTABLE"))
        value = quotedPrintable(value);
    property(name, parameters, value);
}

void VCardTable::property(std::string_view name, std::string_view parameters,
                          const std::string& value) {
    if (equalsIgnoringCase(name, "BEGIN")) {
        name_.clear();
        phones_.clear();
    } else if (equalsIgnoringCase(name, "END")) {
        endCard();
    } else if (equalsIgnoringCase(name, "FN")) {
        name_ = unescaped(value);
    } else if (equalsIgnoringCase(name, "TEL")) {
        std::string number = unescaped(value);
        if (number.size() > 4 && equalsIgnoringCase(std::string_view(number).substr(0, 4), "tel:"))
            number.erase(0, 4);
        phones_.emplace_back(typeOf(parameters), std::move(number));
    }
}

void VCardTable::endCard() {
    std::string rows;
    const auto row = [&](std::string_view type, std::string_view phone) {
        csv::appendField(rows, name_);
        rows.push_back(',');
        csv::appendField(rows, type);
        rows.push_back(',');
        csv::appendField(rows, phone);
        rows.push_back('\n');
    };
    if (phones_.empty())
        row({}, {});
    for (const auto& [type, phone] : phones_)
        row(type, phone);
    rows_(rows);
    name_.clear();
    phones_.clear();
}

std::string vcardCsv(std::string_view text) {
    std::string csv;
    VCardTable table([&csv](std::string_view rows) { csv.append(rows); });
    table.feed(text);
    table.finish();
    return csv;
}

bool looksLikeVCard(std::string_view start) {
    if (start.starts_with(kUtf8Mark))
        start.remove_prefix(kUtf8Mark.size());
    const std::size_t first = start.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && start.size() - first >= 11 &&
           equalsIgnoringCase(start.substr(first, 11), "BEGIN:VCARD");
}

} // namespace tallyvane
