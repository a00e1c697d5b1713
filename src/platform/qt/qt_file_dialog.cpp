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
    return QFileDialog::getOpenFileNames(parent_, title_, fileName_, qtNameFilters(filter_));
}

QString QtFileDialog::showSave() {
    // The command asks about replacing an existing file itself.
    return QFileDialog::getSaveFileName(parent_, title_, fileName_, qtNameFilters(filter_), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace tallyvane
