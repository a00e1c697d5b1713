#include "platform/qt/qt_window_services.h"

#include <QCoreApplication>

#include <algorithm>

namespace tallyvane {

namespace {
constexpr qint64 kPumpIntervalNs = 1'000'000;
}

void QtWindowServices::setPointer(Pointer pointer) {
    if (pointer_ == pointer)
        return;
    pointer_ = pointer;
    applyCursor();
}

void QtWindowServices::applyCursor() {
    if (!window_)
        return;
    switch (pointer_) {
    case Pointer::Busy:
        window_->setCursor(Qt::WaitCursor);
        break;
    case Pointer::Custom:
        if (custom_)
            window_->setCursor(*custom_);
        else
            window_->setCursor(Qt::ArrowCursor);
        break;
    case Pointer::Default:
        window_->setCursor(Qt::ArrowCursor);
        break;
    }
}

void QtWindowServices::setCustomPointer(const QCursor& cursor) {
    custom_ = cursor;
    applyCursor();
}

void QtWindowServices::clearCustomPointer() {
    custom_.reset();
    applyCursor();
}

void QtWindowServices::processEvents() {
    if (sinceLastPump_.isValid()) {
        const qint64 gap = sinceLastPump_.nsecsElapsed();
        if (gap < kPumpIntervalNs)
            return;
        if (gap > longestGapNs_)
            longestGapNs_ = gap;
    }
    QElapsedTimer pump;
    pump.start();
    QCoreApplication::processEvents();
    longestPumpNs_ = std::max(longestPumpNs_, pump.nsecsElapsed());
    ++pumps_;
    sinceLastPump_.start();
}

void QtWindowServices::resetPumpStatistics() {
    longestGapNs_ = 0;
    longestPumpNs_ = 0;
    pumps_ = 0;
    sinceLastPump_.start();
}

} // namespace tallyvane
