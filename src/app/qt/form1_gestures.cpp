#include "app/qt/form1_gestures.h"

#include "app/qt/form1_services.h"
#include "entries/entry_paste.h"
#include "entries/file_loading.h"
#include "entries/list_file.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace tallyvane {

QStringList droppedFiles(const QMimeData& data) {
    QStringList paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

namespace {
bool hasPlainText(const QMimeData& data) {
    const QStringList formats = data.formats();
    return std::any_of(formats.begin(), formats.end(), [](const QString& format) {
        return format.startsWith(QLatin1String("text/plain"));
    });
}
} // namespace

Form1Gestures::Form1Gestures(QWidget* window, const Form1Controls& controls,
                             Form1Services& services)
    : QObject(window), window_(window), controls_(controls), services_(services) {
    addShortcuts();
    for (QPushButton* button : window->findChildren<QPushButton*>())
        button->installEventFilter(this);
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

void Form1Gestures::onShortcut(const QKeySequence& keys, std::function<void()> action) {
    // A window shortcut stays out of the way of a focused text field, which
    // takes its own editing keys (Ctrl+V among them) first.
    auto* shortcut = new QShortcut(keys, window_);
    connect(shortcut, &QShortcut::activated, this, std::move(action));
}

void Form1Gestures::addShortcuts() {
    const auto press = [](QPushButton* button) { return [button] { button->click(); }; };
    onShortcut(QKeySequence(Qt::Key_F1), press(controls_.pushButton8));
    onShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), press(controls_.pushButton3));
    onShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), press(controls_.pushButton4));
    onShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), press(controls_.pushButton5));
    onShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), press(controls_.pushButton17));
    onShortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), press(controls_.pushButton17));
    // Closing goes the way the title bar's close button goes.
    onShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { window_->close(); });
    onShortcut(QKeySequence(Qt::CTRL | Qt::Key_V), [this] { pasteClipboard(); });
    onShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { pasteClipboard(); });
}

std::function<void(Direction)> Form1Gestures::forThisRun() {
    return [this](Direction direction) { chooseForThisRun(services_.options, direction); };
}

void Form1Gestures::pasteClipboard() {
    ListView1_Paste(
        services_.prompts, services_.entries, [] { return QApplication::clipboard()->text(); },
        directionOf(services_.options), forThisRun());
}

bool Form1Gestures::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_)
        return dragEvent(event);
    if (event->type() != QEvent::KeyPress)
        return false;
    // Enter presses the focused push button as Space does.
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat())
        return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

bool Form1Gestures::dragEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drag = static_cast<QDropEvent*>(event);
    const QMimeData* data = drag->mimeData();
    const QStringList files = data ? droppedFiles(*data) : QStringList();
    // QMimeData counts addresses as text too; a dragged web link is no entry list.
    const bool text = data && !data->hasUrls() && hasPlainText(*data);
    // Only a copy is accepted: a source offering to move would delete its files
    // once they are "moved" into the list.
    if ((files.isEmpty() && !text) || !(drag->possibleActions() & Qt::CopyAction)) {
        drag->ignore();
        return true;
    }
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type != QEvent::Drop)
        return true;
    // The command runs once the drag has ended, so that a box it shows does not
    // keep the program the files came from waiting.
    if (!files.isEmpty())
        QTimer::singleShot(0, this, [this, files] {
            loadChosenFiles(services_.prompts, services_.window, services_.entries, files,
                            {directionOf(services_.options), services_.columns, false, forThisRun(),
                             &services_.kept});
        });
    else
        QTimer::singleShot(0, this, [this, pasted = data->text()] {
            ListView1_Paste(services_.prompts, services_.entries, pasted,
                            directionOf(services_.options), forThisRun());
        });
    return true;
}

} // namespace tallyvane
