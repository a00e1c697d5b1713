#include "conversion/entry_progress.h"

#include "commands/file_name.h"
#include "lists/list_view.h"
#include "platform/progress_bar.h"
#include "platform/text_cut.h"

namespace tallyvane {

QString progressTextFor(const QString& entryText) {
    QString text = QStringLiteral("Processing: "); // one allocation an entry, in the append
    return appendCut(text, fileNameOf(entryText), kLongestProgressEntry);
}

void showEntryInProgress(ProgressBar& progress, ListView& results, const ListView& entries,
                         const QString& entryText, int i) {
    results.setNextRowOrigin(entries, i);
    progress.setText(progressTextFor(entryText));
}

} // namespace tallyvane
