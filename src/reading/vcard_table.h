#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallyvane {

// A vCard file (2.1, 3.0 or 4.0) read as the table of contacts people mean
// by it: the columns Name (FN), Type and Phone, one row for each telephone
// number (a contact without one keeps a row with a blank phone), written as
// the CSV text both programs read columns from. Folded lines are unfolded,
// 2.1's quoted-printable values decoded and escaped commas, semicolons and
// line breaks read as what they stand for.
class VCardTable {
public:
    // Receives the CSV text in pieces of whole rows.
    using Rows = std::function<void(std::string_view csv)>;
    explicit VCardTable(Rows rows);

    void feed(std::string_view bytes);
    void finish();

private:
    void line(std::string_view logical);
    void property(std::string_view name, std::string_view parameters, const std::string& value);
    void endCard();

    Rows rows_;
    std::string pending_; // the logical line being unfolded
    std::string partial_; // bytes of a physical line not yet ended
    bool quotedPrintable_ = false;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> phones_; // type, number
};

// The whole table of a vCard text at once.
std::string vcardCsv(std::string_view text);

// Whether the text is a vCard file: BEGIN:VCARD first, past a mark and blank lines.
bool looksLikeVCard(std::string_view start);

} // namespace tallyvane
