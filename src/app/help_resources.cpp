#include "app/help_resources.h"

#include "platform/failure.h"
#include "platform/regular_file.h"

#include <QDir>
#include <QFileInfo>

namespace tallyvane {

QByteArray helpResource(const QString& pageFolder, const QUrl& name) {
    QString path;
    if (name.isLocalFile())
        path = name.toLocalFile();
    else if (name.isRelative() && name.scheme().isEmpty())
        path = QDir(pageFolder).filePath(name.path());
    else
        return {};
    const QString folder = QFileInfo(pageFolder).canonicalFilePath();
    const QString file = QFileInfo(path).canonicalFilePath(); // links resolved
    if (folder.isEmpty() || !file.startsWith(folder + QLatin1Char('/')))
        return {};
    try {
        RegularFile opened(file);
        if (opened.size() > kMostHelpResourceBytes)
            return {};
        QByteArray bytes(qsizetype(opened.size()), Qt::Uninitialized);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const std::size_t n = opened.read(bytes.data() + got, std::size_t(bytes.size() - got));
            if (n == 0)
                break;
            got += qsizetype(n);
        }
        bytes.truncate(got);
        return bytes;
    } catch (const Failure&) {
        return {};
    }
}

} // namespace tallyvane
