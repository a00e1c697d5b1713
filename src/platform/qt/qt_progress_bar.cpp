#include "platform/qt/qt_progress_bar.h"

#include "platform/text_cut.h"

#include <algorithm>
#include <cmath>

namespace tallyvane {

namespace {
// A text of millions of characters stalls, and once crashed, the bar's
// painting; no one reads more than fits on the bar anyway.
constexpr qsizetype kLongestShownText = 512;
} // namespace

QtProgressBar::QtProgressBar(QProgressBar* bar) : bar_(bar) {
    bar_->setRange(0, 100 * kProgressScale);
    bar_->setTextVisible(true);
    text_ = bar_->format();
    timer_.setSingleShot(true);
    timer_.setInterval(16);
    QObject::connect(&timer_, &QTimer::timeout, bar_, [this] { flush(); });
}

void QtProgressBar::setValue(double percent) {
    value_ = percent;
    schedule();
}

void QtProgressBar::setText(const QString& text) {
    text_ = text;
    schedule();
}

void QtProgressBar::schedule() {
    if (!timer_.isActive())
        timer_.start();
}

void QtProgressBar::flush() {
    timer_.stop();
    if (!bar_)
        return;
    const double clamped = std::clamp(value_, 0.0, 100.0);
    bar_->setValue(static_cast<int>(std::lround(clamped * kProgressScale)));
    // The bar's format treats %p, %v and %m as placeholders; a zero-width space
    // keeps an entry such as "50%p" from being expanded.
    QString format = cutText(text_, kLongestShownText);
    format.replace(QLatin1Char('%'), QStringLiteral("%\u200B"));
    bar_->setFormat(format);
    // A screen reader reads the text shown on the bar ("Processing: ...") as its name.
    QString shown = bar_->text();
    shown.remove(QChar(0x200B));
    if (bar_->accessibleName() != shown)
        bar_->setAccessibleName(shown);
}

} // namespace tallyvane
