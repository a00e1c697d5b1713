#pragma once

#include <QString>

namespace tallyvane {

// Per-user text values addressed by application name, section and key.
// Failures throw Failure.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString& application, const QString& section, const QString& key,
                         const QString& defaultValue) = 0;
    virtual void write(const QString& application, const QString& section, const QString& key,
                       const QString& value) = 0;
};

} // namespace tallyvane
