#pragma once

#include <QString>

namespace tallyvane {

// The system clipboard, plain text. Each attempt may fail while another program
// holds the clipboard: it then returns false.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool clear() = 0;
    virtual bool setText(const QString& text) = 0;
};

} // namespace tallyvane
