#pragma once

#include "platform/progress_bar.h"

#include <QPointer>
#include <QProgressBar>
#include <QTimer>

namespace tallyvane {

// Keeps the exact value and text, and hands them to the widget at most about
// 60 times a second: QProgressBar repaints synchronously on every change, which
// costs milliseconds per entry in a long run.
class QtProgressBar : public ProgressBar {
public:
    explicit QtProgressBar(QProgressBar* bar);
    void setValue(double percent) override;
    void setText(const QString& text) override;
    double value() const override { return value_; }
    QString text() const override { return text_; }
    void flush();

private:
    void schedule();

    QPointer<QProgressBar> bar_;
    double value_ = 0;
    QString text_;
    QTimer timer_;
};

// The widget's range: the percentage in hundredths.
constexpr int kProgressScale = 100;

} // namespace tallyvane
