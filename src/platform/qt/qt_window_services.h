#pragma once

#include "platform/window_services.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace tallyvane {

// Pointer state kept as plain state (so "is the busy pointer showing" is a
// read), and an event pump that long loops may call for every entry.
class QtWindowServices : public WindowServices {
public:
    explicit QtWindowServices(QWidget* window) : window_(window) {}

    Pointer pointer() const override { return pointer_; }
    void setPointer(Pointer pointer) override;
    // Returns at once when the previous pump ended less than a millisecond ago,
    // timed from its end: timed from its start, one slow relayout would make
    // every later call pump and a long run would crawl.
    void processEvents() override;

    void setCustomPointer(const QCursor& cursor);
    void clearCustomPointer();

    // For the benchmark: the longest time between two pumps that ran, and the
    // longest single pump (events wait for that one too).
    void resetPumpStatistics();
    qint64 longestGapNs() const { return longestGapNs_; }
    qint64 longestPumpNs() const { return longestPumpNs_; }
    qint64 pumpCount() const { return pumps_; }

private:
    void applyCursor();

    QPointer<QWidget> window_;
    Pointer pointer_ = Pointer::Default;
    std::optional<QCursor> custom_;
    QElapsedTimer sinceLastPump_;
    qint64 longestGapNs_ = 0;
    qint64 longestPumpNs_ = 0;
    qint64 pumps_ = 0;
};

} // namespace tallyvane
