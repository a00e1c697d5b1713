#pragma once

#include <QObject>

class QWidget;

namespace tallyvane {

// What assistive technology learns about the main window beyond the names the
// layout gives: each control's tooltip as its description (kept up to date
// when a tooltip changes), and direction buttons whose "toggle" and "press"
// actions choose a direction exactly as a click does, so the choice is saved.
// The progress bar's text reaches it as the bar's name (see QtProgressBar).
class Form1Accessibility : public QObject {
public:
    explicit Form1Accessibility(QWidget* window);
    // Before any control exists: an active screen reader has Qt build and keep
    // a control's accessible interface as soon as its name is set.
    static void installFactories();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tallyvane
