#pragma once

#include <QString>

namespace tallyvane {

// The system clipboard: plain text, or a table as text and as HTML at once, so
// that a spreadsheet takes the cells and a text editor the text. Each attempt
// may fail while another program holds the clipboard: it then returns false.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool clear() = 0;
    virtual bool setText(const QString& text) = 0;
    virtual bool setTable(const QString& text, const QString& html) = 0;
};

} // namespace tallyvane
