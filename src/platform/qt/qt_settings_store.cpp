#include "platform/qt/qt_settings_store.h"

#include "platform/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tallyvane {

namespace {

// A name beside the file that nothing has yet: NAME.unreadable, then
// NAME.unreadable.2 and so on.
QString asideName(const QString& path) {
    const QString base = path + QStringLiteral(".unreadable");
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + QLatin1Char('.') + QString::number(n);
    return name;
}

// Whether every line of the file is one QSettings keeps when it writes the
// file again: a [group], a key=value, a comment or nothing. Qt reads other
// text without complaint and then drops it.
bool keptByQt(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(qint64(1) << 20);
    if (!file.atEnd() || bytes.contains('\0'))
        return false;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.isEmpty() && !line.contains('=') && !line.startsWith(';') &&
            !line.startsWith('#') && !(line.startsWith('[') && line.endsWith(']')))
            return false;
    }
    return true;
}

// Where QSettings keeps the file, worked out without opening it.
QString settingsPath(const QString& application, const QString& section) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + application + QLatin1Char('/') + section + QStringLiteral(".conf");
}

// Opening a FIFO in place of the file would wait for a writer for ever, and a
// device or a folder holds no settings: anything there that is not a regular
// file is moved aside (a link itself, not what it names) before Qt opens it.
void moveAsideUnlessRegular(const QString& application, const QString& section) {
    const QString path = settingsPath(application, section);
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return;
    const QString movedTo = asideName(path);
    if (!QFile::rename(path, movedTo))
        throw Failure(QStringLiteral("The settings file %1 is not a regular file, and it could "
                                     "not be moved aside to %2")
                          .arg(path, movedTo));
    throw Failure(QStringLiteral("The settings file %1 was not a regular file. It was kept as "
                                 "%2, and the settings start afresh")
                      .arg(path, movedTo));
}

} // namespace

QString QtSettingsStore::read(const QString& application, const QString& section,
                              const QString& key, const QString& defaultValue) {
    moveAsideUnlessRegular(application, section);
    QSettings settings(application, section);
    settings.beginGroup(section);
    const QVariant value = settings.value(key, defaultValue);
    if (settings.status() == QSettings::FormatError)
        throw Failure(
            QStringLiteral("The settings file %1 cannot be read").arg(settings.fileName()));
    return value.toString();
}

// Qt would write a file it cannot read over with the one setting, through a
// link into whatever file the link names too. Such a file is moved aside
// instead (a link itself, not what it names), a fresh one is written, and
// the person is told where the old one went.
void QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& value) {
    moveAsideUnlessRegular(application, section);
    QString movedTo;
    {
        const QSettings probe(application, section);
        const QString path = probe.fileName();
        if (probe.status() == QSettings::FormatError || !keptByQt(path)) {
            movedTo = asideName(path);
            if (!QFile::rename(path, movedTo))
                throw Failure(
                    QStringLiteral("The settings file %1 cannot be read, and it could not "
                                   "be moved aside to %2; the setting was not saved")
                        .arg(path, movedTo));
        }
    }
    QSettings settings(application, section);
    settings.beginGroup(section);
    settings.setValue(key, value);
    // Written at once: the program may end the moment its window closes.
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Failure(
            QStringLiteral("The settings file %1 cannot be written").arg(settings.fileName()));
    if (!movedTo.isEmpty())
        throw Failure(QStringLiteral("The settings file %1 could not be read as settings. It was "
                                     "kept as %2, and a new one holds this setting")
                          .arg(settings.fileName(), movedTo));
}

} // namespace tallyvane
