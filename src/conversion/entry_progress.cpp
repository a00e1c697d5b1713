#include "conversion/entry_progress.h"

#include "platform/list_view.h"
#include "platform/progress_bar.h"

namespace tallyvane {

QString progressTextFor(const QString& entryText) {
    QStringView name(entryText);
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    QString text = QStringLiteral("Processing: ");
    if (name.size() <= kLongestProgressEntry)
        return text.append(name);
    return text.append(name.left(kLongestProgressEntry)).append(QChar(0x2026));
}

void showEntryInProgress(Form1Services& s, const QString& entryText, int i) {
    s.results.setNextRowOrigin(s.entries, i);
    s.progress.setText(progressTextFor(entryText));
}

} // namespace tallyvane
