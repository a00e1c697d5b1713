#include "platform/qt/qt_file_dialog.h"

#include <QFileDialog>

namespace tallyvane {

QString qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*")) {
            patterns = QStringLiteral("*");
            description.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
        }
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + patterns + QLatin1Char(')');
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

QStringList QtFileDialog::showOpen() {
    const QString filters = qtNameFilters(filter_);
    if (flags_ & DialogFlag::AllowMultiSelect)
        return QFileDialog::getOpenFileNames(parent_, title_, fileName_, filters);
    const QString path = QFileDialog::getOpenFileName(parent_, title_, fileName_, filters);
    return path.isEmpty() ? QStringList() : QStringList{path};
}

QString QtFileDialog::showSave() {
    // Without the prompt flag the command asks about replacing a file itself.
    const QFileDialog::Options options = (flags_ & DialogFlag::OverwritePrompt)
                                             ? QFileDialog::Options()
                                             : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent_, title_, fileName_, qtNameFilters(filter_), nullptr,
                                        options);
}

} // namespace tallyvane
