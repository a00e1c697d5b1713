#pragma once

#include <QString>

namespace tallyvane {

class Clipboard;

// Another program may hold the clipboard for a moment: every command that
// writes it tries this many times before it gives up.
inline constexpr int kMaxClipboardAttempts = 1000;

template <class Attempt> bool retryClipboard(Attempt&& attempt) {
    bool succeeded = false;
    for (int attempts = 0; !succeeded && attempts < kMaxClipboardAttempts; ++attempts)
        succeeded = attempt();
    return succeeded;
}

// Puts a table on the clipboard as text and as HTML, or throws Failure that
// says `what` ("The table") could not be put there.
void putTableOnClipboard(Clipboard& clipboard, const QString& text, const QString& html,
                         const QString& what);

} // namespace tallyvane
