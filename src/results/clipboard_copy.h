#pragma once

#include <QString>

namespace tallyvane {

class Clipboard;
class ListView;
class Prompts;
class WindowServices;

// "Copy Results To Clipboard". The handler name is the window's own and
// appears in error reports.
void PushButton5_Click(Prompts& prompts, WindowServices& window, Clipboard& clipboard,
                       const ListView& results);

// The names below are the window's own; the first appears in error reports.

// Puts the checked rows on the clipboard as aligned text without headings, one
// CR LF line per row. An empty list leaves the clipboard alone. A failure
// while reading the list passes to the caller, before the clipboard is touched;
// so does a clipboard that still refuses the text after every attempt.
void CopyListViewToClipboard(WindowServices& window, Clipboard& clipboard, const ListView& list);

// Each retries at once, up to 1000 attempts in all, while the clipboard refuses
// (another program may hold it). Neither reports a failure.
void ClearClipboard(Clipboard& clipboard);
// Format 0 is plain text. The desktop names clipboard formats by MIME type
// rather than number, so plain text is the only format there is here.
bool SetClipboardText(Clipboard& clipboard, const QString& text, int format = 0);

} // namespace tallyvane
