#pragma once

#include "app/qt/form1_layout.h"
#include "conversion/direction.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QMimeData;
class QKeySequence;

namespace tallyvane {

struct Form1Services;

// What people expect of any desktop window beyond its buttons: the usual
// shortcuts for the commands, Enter on a focused push button, pasting entries
// from the clipboard and dropping files or text on the window. Every gesture
// runs the same command as its button.
class Form1Gestures : public QObject {
public:
    Form1Gestures(QWidget* window, const Form1Controls& controls, Form1Services& services);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addShortcuts();
    void onShortcut(const QKeySequence& keys, std::function<void()> action);
    void pasteClipboard();
    // Sets the direction for this run, when the column dialog's offer is taken.
    std::function<void(Direction)> forThisRun();
    bool dragEvent(QEvent* event);

    QWidget* window_;
    Form1Controls controls_;
    Form1Services& services_;
};

// The local files a drag carries, in its order; empty when it carries anything
// else as well (a web address, say).
QStringList droppedFiles(const QMimeData& data);

} // namespace tallyvane
