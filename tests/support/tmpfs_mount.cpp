#include "support/tmpfs_mount.h"

#include <QFile>

#include <cerrno>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace tallyvane::testing {

TmpfsMount::TmpfsMount(const QByteArray& options, unsigned long flags) {
    const QByteArray target = QFile::encodeName(dir_.path());
    if (!dir_.isValid())
        refusal_ = dir_.errorString();
    else if (::mount("tmpfs", target.constData(), "tmpfs", flags, options.constData()) != 0)
        refusal_ = qt_error_string(errno);
    else
        mounted_ = true;
}

TmpfsMount::~TmpfsMount() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool TmpfsMount::fillLeaving(qint64 free) {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path()).constData(), &info) != 0)
        return false;
    qint64 toWrite = qint64(info.f_bavail) * qint64(info.f_frsize) - free;
    QFile filler(path() + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (toWrite > 0) {
        const qint64 written = filler.write(block.constData(), std::min<qint64>(toWrite, 4096));
        if (written <= 0)
            return free == 0; // full already, as asked
        toWrite -= written;
    }
    return true;
}

} // namespace tallyvane::testing
