#include "results/clipboard_attempts.h"

#include "platform/clipboard.h"
#include "platform/failure.h"

namespace tallyvane {

void putTableOnClipboard(Clipboard& clipboard, const QString& text, const QString& html,
                         const QString& what) {
    if (!retryClipboard([&] { return clipboard.setTable(text, html); }))
        throw Failure(QStringLiteral("%1 could not be put on the clipboard (%2 attempts)")
                          .arg(what)
                          .arg(kMaxClipboardAttempts));
}

} // namespace tallyvane
