// Two small X clients for the end-to-end scripts.
//   x11_helper manager        a clipboard manager: owns CLIPBOARD_MANAGER, and
//                             on SAVE_TARGETS takes the clipboard's text and
//                             serves it from then on, as desktop managers do.
//                             Prints "ready" once it owns the selection.
//   x11_helper close WINDOW   asks a window to close (WM_DELETE_WINDOW), as a
//                             window manager's close button does.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

Atom atom(Display* d, const char* name) {
    return XInternAtom(d, name, False);
}

void reply(Display* d, const XSelectionRequestEvent& request, Atom property) {
    XEvent notify{};
    notify.xselection.type = SelectionNotify;
    notify.xselection.requestor = request.requestor;
    notify.xselection.selection = request.selection;
    notify.xselection.target = request.target;
    notify.xselection.property = property;
    notify.xselection.time = request.time;
    XSendEvent(d, request.requestor, False, NoEventMask, &notify);
    XFlush(d);
}

// Asks for the clipboard's text and waits for it; empty when none came.
bool fetchClipboard(Display* d, Window w, std::string& text) {
    const Atom property = atom(d, "_TALLYVANE_TEST_SAVED");
    XConvertSelection(d, atom(d, "CLIPBOARD"), atom(d, "UTF8_STRING"), property, w, CurrentTime);
    XEvent event;
    do {
        XNextEvent(d, &event);
    } while (event.type != SelectionNotify);
    if (event.xselection.property == None)
        return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(d, w, property, 0, 1 << 24, True, AnyPropertyType, &type, &format, &count,
                       &after, &data);
    const bool ok = data && type == atom(d, "UTF8_STRING") && format == 8;
    if (ok)
        text.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return ok;
}

int manager() {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 2;
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboardManager = atom(d, "CLIPBOARD_MANAGER"), clipboard = atom(d, "CLIPBOARD");
    const Atom saveTargets = atom(d, "SAVE_TARGETS"), targets = atom(d, "TARGETS");
    const Atom utf8 = atom(d, "UTF8_STRING");
    XSetSelectionOwner(d, clipboardManager, w, CurrentTime);
    if (XGetSelectionOwner(d, clipboardManager) != w)
        return 3;
    std::puts("ready");
    std::fflush(stdout);
    std::string saved;
    for (;;) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent request = event.xselectionrequest;
        const Atom property = request.property == None ? request.target : request.property;
        if (request.selection == clipboardManager && request.target == saveTargets) {
            const bool ok = fetchClipboard(d, w, saved);
            if (ok)
                XSetSelectionOwner(d, clipboard, w, CurrentTime);
            std::fprintf(stderr, "manager: saved %zu bytes\n", saved.size());
            reply(d, request, ok ? property : None);
        } else if (request.selection == clipboard && request.target == targets) {
            const Atom offered[] = {targets, utf8, XA_STRING};
            XChangeProperty(d, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), 3);
            reply(d, request, property);
        } else if (request.selection == clipboard &&
                   (request.target == utf8 || request.target == XA_STRING)) {
            XChangeProperty(d, request.requestor, property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(saved.data()),
                            static_cast<int>(saved.size()));
            reply(d, request, property);
        } else {
            reply(d, request, None);
        }
    }
}

int closeWindow(const char* id) {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 2;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(id, nullptr, 0);
    event.xclient.message_type = atom(d, "WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(atom(d, "WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(d);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "manager") == 0)
        return manager();
    if (argc == 3 && std::strcmp(argv[1], "close") == 0)
        return closeWindow(argv[2]);
    std::fprintf(stderr, "usage: x11_helper manager | x11_helper close WINDOW\n");
    return 2;
}
