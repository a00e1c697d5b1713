#include "entries/load_memory.h"

#include "platform/failure.h"
#include "platform/regular_file.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <optional>

#include <sys/resource.h>

namespace tallyvane {

namespace {

constexpr qint64 kSampleBytes = qint64(64) * 1024;
constexpr int kSamples = 4;
// A row costs 8 bytes in the list and about 40 in each view that shows it,
// which grows its table by copying; a text costs up to two bytes a byte read.
constexpr std::int64_t kRowBytes = 8 + 2 * 40;
constexpr std::int64_t kTextBytesPerByte = 2;
// A line longer than a sample is held while it is read and decoded.
constexpr std::int64_t kLongLineBuffers = 2;
constexpr std::int64_t kUnlimited = std::numeric_limits<std::int64_t>::max();

// A figure in kilobytes from a /proc or /sys file of "Name:  123 kB" lines.
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
        return kUnlimited;
    const std::int64_t used = procKilobytes("/proc/self/status", usedName) * 1024;
    return std::max<std::int64_t>(0,
                                  std::int64_t(limit.rlim_cur) - std::max<std::int64_t>(0, used));
}

std::int64_t leftInControlGroup() {
    QFile max(QStringLiteral("/sys/fs/cgroup/memory.max"));
    QFile current(QStringLiteral("/sys/fs/cgroup/memory.current"));
    if (!max.open(QIODevice::ReadOnly) || !current.open(QIODevice::ReadOnly))
        return kUnlimited;
    bool ok = false;
    const std::int64_t limit = max.readAll().trimmed().toLongLong(&ok);
    if (!ok)
        return kUnlimited; // "max"
    return std::max<std::int64_t>(0, limit - current.readAll().trimmed().toLongLong());
}

QString megabytes(std::int64_t bytes) {
    return QStringLiteral("%1 MB").arg((bytes + 999'999) / 1'000'000);
}

} // namespace

LoadEstimate estimateLoad(const QString& path) {
    LoadEstimate estimate;
    std::optional<RegularFile> file;
    try {
        file.emplace(path);
    } catch (const Failure&) {
        return estimate; // the load itself reports why it cannot read the file
    }
    const qint64 size = file->size();
    qint64 sampled = 0;
    qint64 lineEnds = 0;
    bool longLine = false;
    QByteArray bytes(kSampleBytes, Qt::Uninitialized);
    for (int i = 0; i < kSamples && size > 0; ++i) {
        const qint64 at = std::min(size * i / kSamples, std::max<qint64>(0, size - kSampleBytes));
        const auto got = qint64(file->readAt(bytes.data(), std::size_t(kSampleBytes), at));
        if (got == 0)
            break;
        const QByteArrayView sample(bytes.constData(), got);
        // CR LF, LF and a lone CR each end a line.
        const qint64 ends = std::max(sample.count('\n'), sample.count('\r'));
        longLine = longLine || (ends == 0 && got == kSampleBytes);
        lineEnds += ends;
        sampled += got;
    }
    const double endsPerByte = sampled > 0 ? double(lineEnds) / double(sampled) : 0.0;
    estimate.lines = std::int64_t(endsPerByte * double(size)) + 1;
    estimate.bytes = estimate.lines * kRowBytes + size * kTextBytesPerByte +
                     (longLine ? size * kLongLineBuffers : 0);
    return estimate;
}

std::int64_t memoryAvailable() {
    std::int64_t available = kUnlimited;
    const std::int64_t ram = procKilobytes("/proc/meminfo", "MemAvailable");
    const std::int64_t swap = procKilobytes("/proc/meminfo", "SwapFree");
    if (ram >= 0)
        available = (ram + std::max<std::int64_t>(0, swap)) * 1024;
    available = std::min(available, leftUnderLimit(RLIMIT_AS, "VmSize"));
    available = std::min(available, leftUnderLimit(RLIMIT_DATA, "VmData"));
    available = std::min(available, leftInControlGroup());
    return available == kUnlimited ? -1 : available;
}

void refuseLoadBeyondMemory(const QString& path) {
    const LoadEstimate estimate = estimateLoad(path);
    const std::int64_t available = memoryAvailable();
    if (available < 0 || estimate.bytes <= available)
        return;
    throw Failure(QStringLiteral("Not enough memory to load this file: it needs about %1 and "
                                 "%2 are available. Nothing was loaded from it.")
                      .arg(megabytes(estimate.bytes), megabytes(available)));
}

} // namespace tallyvane
