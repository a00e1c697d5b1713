#include "platform/qt/qt_settings_store.h"

#include "platform/failure.h"

#include <QSettings>

namespace tallyvane {

QString QtSettingsStore::read(const QString& application, const QString& section,
                              const QString& key, const QString& defaultValue) {
    QSettings settings(application, section);
    settings.beginGroup(section);
    const QVariant value = settings.value(key, defaultValue);
    if (settings.status() == QSettings::FormatError)
        throw Failure(
            QStringLiteral("The settings file %1 cannot be read").arg(settings.fileName()));
    return value.toString();
}

void QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& value) {
    QSettings settings(application, section);
    settings.beginGroup(section);
    settings.setValue(key, value);
    // Written at once: the program may end the moment its window closes.
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Failure(
            QStringLiteral("The settings file %1 cannot be written").arg(settings.fileName()));
}

} // namespace tallyvane
