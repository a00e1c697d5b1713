#include "platform/qt/qt_prompts.h"

#include "platform/qt/qt_column_chooser.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace tallyvane {

QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int QtPrompts::messageBox(const QString& text, int style, const QString& title) {
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    if (style == MessageStyle::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if (style == MessageStyle::Warning)
        box.setIcon(QMessageBox::Warning);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return MessageAnswer::Yes;
    if (answer == QMessageBox::No)
        return MessageAnswer::No;
    return MessageAnswer::Ok;
}

QString QtPrompts::inputPrompt(const QString& message, const QString& title,
                               const QString& defaultText) {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        parent_, title.isEmpty() ? QGuiApplication::applicationDisplayName() : title, message,
        QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}

int QtPrompts::chooseColumn(ColumnQuestion& question) {
    return chooseColumnInDialog(parent_, question);
}

} // namespace tallyvane
