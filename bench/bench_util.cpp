#include "bench_util.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

#include <sys/resource.h>

namespace tallyvane::bench {

double peakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // Linux reports kilobytes
}

QString benchProgramFolder() {
    // Read from /proc, because the parent process measures before any
    // application object exists.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

QString defaultDatabasePath() {
    return QDir::cleanPath(benchProgramFolder() + QStringLiteral("/../bin/areacodes.db"));
}

QString programFolderFor(const QString& databasePath) {
    return QFileInfo(databasePath).absolutePath();
}

QString formatRate(double perSecond) {
    if (perSecond >= 1e6)
        return QStringLiteral("%1 M/s").arg(perSecond / 1e6, 0, 'f', 2);
    if (perSecond >= 1e3)
        return QStringLiteral("%1 k/s").arg(perSecond / 1e3, 0, 'f', 1);
    return QStringLiteral("%1 /s").arg(perSecond, 0, 'f', 1);
}

QString formatPerEntry(double seconds, std::int64_t entries) {
    const double each = entries > 0 ? seconds / static_cast<double>(entries) : 0.0;
    if (each < 1e-6)
        return QStringLiteral("%1 ns").arg(each * 1e9, 0, 'f', 0);
    if (each < 1e-3)
        return QStringLiteral("%1 us").arg(each * 1e6, 0, 'f', 2);
    return QStringLiteral("%1 ms").arg(each * 1e3, 0, 'f', 2);
}

std::int64_t longestWorkUntil(const std::function<bool()>& done, int quitDelayMs, int limitMs) {
    QEventLoop loop;
    QElapsedTimer busy;
    qint64 longest = 0;
    bool quitting = false;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &loop, [&busy] {
        if (!busy.isValid())
            busy.start();
    });
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        if (busy.isValid())
            longest = std::max(longest, busy.nsecsElapsed());
        busy.invalidate();
        if (!quitting && done()) {
            quitting = true;
            QTimer::singleShot(quitDelayMs, &loop, &QEventLoop::quit);
        }
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    busy.start();
    loop.exec();
    return longest;
}

void refuseMessages(testing::FakePrompts& prompts) {
    prompts.onShow = [](const testing::ShownMessage& message) {
        throw std::runtime_error("a message was shown: " + message.text.toStdString());
    };
}

} // namespace tallyvane::bench
