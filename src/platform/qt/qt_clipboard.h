#pragma once

#include "platform/clipboard.h"

namespace tallyvane {

class QtClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
    bool setTable(const QString& text, const QString& html) override;
};

// The program ends at once when its window closes, before Qt would pass the
// clipboard to the desktop's clipboard manager on its way out. This does that
// hand-over (the X11 CLIPBOARD_MANAGER / SAVE_TARGETS protocol) on its own:
// when the program owns the clipboard and a manager runs, it asks the manager
// to save the contents and serves its requests, for at most timeoutMs, with
// no user input handled meanwhile. True when a hand-over was asked for.
bool handClipboardToManager(int timeoutMs = 5000);

} // namespace tallyvane
