#include "entries/load_memory.h"

#include "platform/failure.h"
#include "platform/memory_left.h"
#include "platform/regular_file.h"

#include <QDir>

#include <algorithm>

namespace tallyvane {

namespace {

constexpr qint64 kSampleBytes = qint64(64) * 1024;
constexpr int kSamples = 4;
// A row costs 8 bytes in the list and 8 in the view that shows it (a section
// of its row header); a text costs up to two bytes a byte read.
constexpr std::int64_t kRowBytes = 8 + 8;
constexpr std::int64_t kTextBytesPerByte = 2;
// A line longer than a sample is held while it is read and decoded.
constexpr std::int64_t kLongLineBuffers = 2;

QString megabytes(std::int64_t bytes) {
    return QStringLiteral("%1 MB").arg((bytes + 999'999) / 1'000'000);
}

} // namespace

LoadEstimate estimateLoad(const QString& path) {
    try {
        return estimateLoad(RegularFile(path));
    } catch (const Failure&) {
        return {}; // the load itself reports why it cannot read the file
    }
}

LoadEstimate estimateLoad(const RegularFile& file) {
    LoadEstimate estimate;
    const qint64 size = file.size();
    qint64 sampled = 0;
    qint64 lineEnds = 0;
    bool longLine = false;
    QByteArray bytes(kSampleBytes, Qt::Uninitialized);
    for (int i = 0; i < kSamples && size > 0; ++i) {
        const qint64 at = std::min(size * i / kSamples, std::max<qint64>(0, size - kSampleBytes));
        const auto got = qint64(file.readAt(bytes.data(), std::size_t(kSampleBytes), at));
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

void refuseLoadBeyondMemory(const RegularFile& file, const QString& path) {
    const LoadEstimate estimate = estimateLoad(file);
    const std::int64_t available = memoryLeft();
    if (available < 0 || estimate.bytes <= available)
        return;
    throw Failure(
        QStringLiteral("Not enough memory to load %1: it needs about %2 and %3 are "
                       "available. Nothing was loaded from it.")
            .arg(QDir::toNativeSeparators(path), megabytes(estimate.bytes), megabytes(available)));
}

} // namespace tallyvane
