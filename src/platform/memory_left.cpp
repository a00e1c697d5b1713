#include "platform/memory_left.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <sys/resource.h>

namespace tallyvane {

namespace {

// A figure in kilobytes from a /proc file of "Name:  123 kB" lines.
std::int64_t procKilobytes(const char* file, const QByteArray& name) {
    QFile f(QString::fromLatin1(file));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

std::int64_t leftUnderLimit(int resource, const QByteArray& usedName) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kNoMemoryLimit;
    const std::int64_t used = procKilobytes("/proc/self/status", usedName) * 1024;
    return std::max<std::int64_t>(0,
                                  std::int64_t(limit.rlim_cur) - std::max<std::int64_t>(0, used));
}

// A number of bytes from a one-line cgroup file; kNoMemoryLimit for "max" or
// a file that is not there.
std::int64_t cgroupBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kNoMemoryLimit;
    bool ok = false;
    const std::int64_t bytes = file.readAll().trimmed().toLongLong(&ok);
    return ok ? bytes : kNoMemoryLimit;
}

// A figure from a cgroup's memory.stat ("name value" lines), or 0.
std::int64_t statBytes(const QString& path, const QByteArray& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(name + ' '))
            return std::max<std::int64_t>(0, line.mid(name.size() + 1).trimmed().toLongLong());
    }
    return 0;
}

// From the group's own folder up to the root of its hierarchy. The usage
// counts page cache, of which the inactive file pages are given back as soon
// as memory is short: the kernel's own working set leaves them out, and so
// does this (inactiveName in memory.stat).
std::int64_t leftOnThePath(const QString& root, const QString& group, const QStringList& limitFiles,
                           const QString& usageFile, const QByteArray& inactiveName) {
    std::int64_t left = kNoMemoryLimit;
    QString path = QDir::cleanPath(root + QLatin1Char('/') + group);
    for (;;) {
        std::int64_t limit = kNoMemoryLimit;
        for (const QString& name : limitFiles)
            limit = std::min(limit, cgroupBytes(path + QLatin1Char('/') + name));
        if (limit != kNoMemoryLimit) {
            std::int64_t used = cgroupBytes(path + QLatin1Char('/') + usageFile);
            used = used == kNoMemoryLimit ? 0 : used;
            used = std::max<std::int64_t>(
                0, used - statBytes(path + QStringLiteral("/memory.stat"), inactiveName));
            left = std::min(left, std::max<std::int64_t>(0, limit - used));
        }
        if (path.size() <= root.size())
            return left;
        path = path.section(QLatin1Char('/'), 0, -2);
    }
}

} // namespace

std::int64_t leftInControlGroups(const QByteArray& processGroups, const QString& cgroupRoot) {
    const QString root = QDir::cleanPath(cgroupRoot);
    std::int64_t left = kNoMemoryLimit;
    // "0::/user.slice/.../app.scope" (version 2), "4:memory:/path" (version 1).
    for (const QByteArray& line : processGroups.split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3)
            continue;
        const QString group = QString::fromUtf8(line.mid(fields[0].size() + fields[1].size() + 2));
        if (fields[0] == "0" && fields[1].isEmpty()) {
            left = std::min(
                left, leftOnThePath(root, group,
                                    {QStringLiteral("memory.max"), QStringLiteral("memory.high")},
                                    QStringLiteral("memory.current"), "inactive_file"));
        } else if (fields[1].split(',').contains("memory")) {
            left = std::min(left, leftOnThePath(root + QStringLiteral("/memory"), group,
                                                {QStringLiteral("memory.limit_in_bytes")},
                                                QStringLiteral("memory.usage_in_bytes"),
                                                "total_inactive_file"));
        }
    }
    return left;
}

std::int64_t memoryLeft() {
    std::int64_t available = kNoMemoryLimit;
    const std::int64_t ram = procKilobytes("/proc/meminfo", "MemAvailable");
    const std::int64_t swap = procKilobytes("/proc/meminfo", "SwapFree");
    if (ram >= 0)
        available = (ram + std::max<std::int64_t>(0, swap)) * 1024;
    available = std::min(available, leftUnderLimit(RLIMIT_AS, "VmSize"));
    available = std::min(available, leftUnderLimit(RLIMIT_DATA, "VmData"));
    QFile groups(QStringLiteral("/proc/self/cgroup"));
    if (groups.open(QIODevice::ReadOnly))
        available = std::min(
            available, leftInControlGroups(groups.readAll(), QStringLiteral("/sys/fs/cgroup")));
    return available == kNoMemoryLimit ? -1 : available;
}

} // namespace tallyvane
