#include "platform/xlsx/workbook_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <unistd.h>

namespace tallyvane {

namespace {

bool inside(const QString& target, const QString& folder) {
    return target == folder || target.startsWith(folder + QLatin1Char('/'));
}

bool anyProcessWorksIn(const QString& folder) {
    const QDir proc(QStringLiteral("/proc"));
    const QStringList processes = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& process : processes) {
        if (!process.front().isDigit())
            continue;
        const QString base = proc.filePath(process);
        if (inside(QFileInfo(base + QStringLiteral("/cwd")).symLinkTarget(), folder))
            return true;
        const QDir fds(base + QStringLiteral("/fd"));
        const QStringList links = fds.entryList(QDir::Files | QDir::System);
        for (const QString& fd : links) {
            if (inside(QFileInfo(fds.filePath(fd)).symLinkTarget(), folder))
                return true;
        }
    }
    return false;
}

} // namespace

QString workbookParentFolder() {
    const QString temporary = qEnvironmentVariable("TMPDIR");
    return temporary.isEmpty() ? QStringLiteral("/tmp") : temporary;
}

bool workbookFolderInUse(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    const QStringList locks = QDir(canonical).entryList({QStringLiteral(".~lock.*#")},
                                                        QDir::Files | QDir::Hidden | QDir::System);
    return !locks.isEmpty() || anyProcessWorksIn(canonical);
}

QStringList removeStaleWorkbookFolders(const QString& tempFolder, const QDateTime& notAfter,
                                       const std::function<bool(const QString&)>& inUse) {
    static const QRegularExpression name(QStringLiteral("^tallyvane-[A-Za-z0-9]{6}$"));
    QStringList removed;
    const QFileInfoList candidates =
        QDir(tempFolder)
            .entryInfoList({QStringLiteral("tallyvane-*")},
                           QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& folder : candidates) {
        if (!name.match(folder.fileName()).hasMatch() || folder.isSymLink() ||
            folder.ownerId() != ::getuid() || folder.lastModified() >= notAfter ||
            inUse(folder.absoluteFilePath()))
            continue;
        if (QDir(folder.absoluteFilePath()).removeRecursively())
            removed << folder.absoluteFilePath();
    }
    return removed;
}

void keepTemporaryFolderClean() {
    const auto clean = [] {
        removeStaleWorkbookFolders(workbookParentFolder(),
                                   QDateTime::currentDateTime().addSecs(-60LL * kGraceMinutes));
    };
    clean();
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, timer, clean);
    timer->start(kGraceMinutes * 60 * 1000);
}

} // namespace tallyvane
