#include "platform/xlsx/workbook_folders.h"

#include "platform/xlsx/folder_tree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
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

namespace {

// The user's own workbook folder of that name, opened without following a
// link; -1 for anything else.
int openOwnFolder(int temp, const QByteArray& name) {
    struct stat seen {};
    if (::fstatat(temp, name.constData(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(seen.st_mode) || seen.st_uid != ::getuid())
        return -1;
    return openSubfolder(temp, name.toStdString(), seen);
}

} // namespace

QStringList removeStaleWorkbookFolders(const QString& tempFolder, const QDateTime& notAfter,
                                       const std::function<bool(const QString&)>& inUse) {
    static const QRegularExpression name(QStringLiteral("^tallyvane-[A-Za-z0-9]{6}$"));
    QStringList removed;
    const int temp =
        ::open(QFile::encodeName(tempFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (temp < 0)
        return removed;
    const QStringList candidates = QDir(tempFolder)
                                       .entryList({QStringLiteral("tallyvane-*")},
                                                  QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& candidate : candidates) {
        if (!name.match(candidate).hasMatch())
            continue;
        const QByteArray encoded = QFile::encodeName(candidate);
        const int folder = openOwnFolder(temp, encoded);
        if (folder < 0)
            continue;
        // Stale when nothing in it has changed for a while: a file that is
        // still being written keeps its folder.
        const QString path = QDir(tempFolder).filePath(candidate);
        if (newestChangeIn(folder) < notAfter.toSecsSinceEpoch() && !inUse(path)) {
            removeTreeContents(folder);
            if (::unlinkat(temp, encoded.constData(), AT_REMOVEDIR) == 0)
                removed << path;
        }
        ::close(folder);
    }
    ::close(temp);
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
