#pragma once

#include <QString>

namespace tallyvane {

// Opens an address with the desktop's default program. The answer is advisory:
// a desktop that cannot open it is not a failure of the command.
class Browser {
public:
    virtual ~Browser() = default;
    virtual bool open(const QString& address) = 0;
};

} // namespace tallyvane
