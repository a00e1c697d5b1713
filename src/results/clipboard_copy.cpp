#include "results/clipboard_copy.h"

#include "commands/procedure.h"
#include "lists/list_view.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "platform/window_services.h"
#include "results/aligned_cell.h"
#include "results/clipboard_attempts.h"

#include <algorithm>
#include <vector>

namespace tallyvane {

namespace {

std::vector<int> measureColumns(WindowServices& window, const ListView& list) {
    std::vector<int> widths;
    const int columns = list.columnCount();
    for (int c = 1; c <= columns; ++c) {
        int widest = 0;
        const int rows = list.count();
        for (int r = 1; r <= rows; ++r) {
            window.processEvents();
            widest = std::max(widest, cellWidth(list.columnText(r, c)));
        }
        widths.push_back(widest);
    }
    return widths;
}

// Drops the tab after the last cell and the spaces before it. Only this line
// is trimmed: a line without cells must not eat into the line before it.
void endLine(QString& text, qsizetype lineStart) {
    if (text.size() > lineStart)
        text.chop(1);
    while (text.size() > lineStart && text.back() == QLatin1Char(' '))
        text.chop(1);
    text += QStringLiteral("\r\n");
}

} // namespace

void CopyListViewToClipboard(WindowServices& window, Clipboard& clipboard, const ListView& list) {
    if (list.count() == 0)
        return;
    const std::vector<int> widths = measureColumns(window, list);
    QString text;
    const int rows = list.count();
    for (int r = 1; r <= rows; ++r) {
        window.processEvents();
        if (!list.checked(r))
            continue;
        const qsizetype lineStart = text.size();
        const int columns = list.columnCount();
        for (int c = 1; c <= columns; ++c) {
            window.processEvents();
            // A column added after the measuring has no width yet: no padding.
            const int width = c <= static_cast<int>(widths.size()) ? widths[c - 1] : 0;
            appendAlignedCell(text, list.columnText(r, c), width);
        }
        endLine(text, lineStart);
    }
    ClearClipboard(clipboard);
    // A copy that never reached the clipboard must not be confirmed.
    if (!SetClipboardText(clipboard, text, 0))
        throw Failure(QStringLiteral("The results could not be put on the clipboard (%1 attempts)")
                          .arg(kMaxClipboardAttempts));
}

void ClearClipboard(Clipboard& clipboard) {
    retryClipboard([&] { return clipboard.clear(); });
}

bool SetClipboardText(Clipboard& clipboard, const QString& text, int /*format*/) {
    return retryClipboard([&] { return clipboard.setText(text); });
}

void PushButton5_Click(Prompts& prompts, WindowServices& window, Clipboard& clipboard,
                       const ListView& results) {
    Procedure p(prompts,
                locationText(QStringLiteral("Form1"), QStringLiteral("PushButton5_Click")));
    p.step(106, [&] { window.setPointer(Pointer::Busy); });
    p.step(108, [&] { CopyListViewToClipboard(window, clipboard, results); });
    // The confirmation after a report would call a failure a success.
    if (p.failures() == 0)
        p.step(110, [&] {
            prompts.messageBox(QStringLiteral("Results have been copied to the clipboard.") +
                               QStringLiteral("\r\r") +
                               QStringLiteral("Click a text area where you normally type and press "
                                              "Ctrl+V to paste the clipboard."));
        });
    p.step(112, [&] { window.setPointer(Pointer::Default); });
}

} // namespace tallyvane
