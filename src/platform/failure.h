#pragma once

#include <QString>

#include <stdexcept>

namespace tallyvane {

// A failed platform operation. The description is the layer's own wording
// (SQLite's message, the file system's error text) and reaches the person
// unchanged through the common error report.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& description() const { return description_; }

private:
    QString description_;
};

} // namespace tallyvane
