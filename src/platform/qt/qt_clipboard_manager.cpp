#include "platform/qt/qt_clipboard.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace tallyvane {

namespace {

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t selectionOwner(xcb_connection_t* c, xcb_atom_t selection) {
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr),
        &std::free);
    return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
}

// Ends the wait when the manager's answer to our window arrives.
class AnswerFilter : public QAbstractNativeEventFilter {
public:
    AnswerFilter(xcb_window_t window, QEventLoop& loop) : window_(window), loop_(loop) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY ||
            reinterpret_cast<const xcb_selection_notify_event_t*>(event)->requestor != window_)
            return false;
        loop_.quit();
        return true;
    }

private:
    xcb_window_t window_;
    QEventLoop& loop_;
};

} // namespace

bool handClipboardToManager(int timeoutMs) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!clipboard || !clipboard->ownsClipboard() || !x11)
        return false;
    xcb_connection_t* c = x11->connection();
    const xcb_atom_t manager = internAtom(c, "CLIPBOARD_MANAGER");
    if (manager == XCB_ATOM_NONE || selectionOwner(c, manager) == XCB_WINDOW_NONE)
        return false;

    // Our own window receives the answer; the manager meanwhile fetches the
    // contents from the clipboard owner, which Qt's event handling serves.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_convert_selection(c, window, manager, internAtom(c, "SAVE_TARGETS"),
                          internAtom(c, "_TALLYVANE_SAVE_TARGETS"), XCB_CURRENT_TIME);
    xcb_flush(c);

    QEventLoop loop;
    AnswerFilter filter(window, loop);
    QAbstractEventDispatcher::instance()->installNativeEventFilter(&filter);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QAbstractEventDispatcher::instance()->removeNativeEventFilter(&filter);
    xcb_destroy_window(c, window);
    xcb_flush(c);
    return true;
}

} // namespace tallyvane
