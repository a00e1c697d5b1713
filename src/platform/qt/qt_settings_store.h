#pragma once

#include "platform/settings_store.h"

namespace tallyvane {

// QSettings in the user's configuration folder: the application name is the
// organisation, the section the application and the group.
class QtSettingsStore : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;
};

} // namespace tallyvane
