#pragma once

#include "platform/prompts.h"

#include <QPointer>
#include <QWidget>

namespace tallyvane {

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent) : parent_(parent) {}
    int messageBox(const QString& text, int style, const QString& title) override;
    QString inputPrompt(const QString& message, const QString& title,
                        const QString& defaultText) override;
    int chooseColumn(ColumnQuestion& question) override;

private:
    QPointer<QWidget> parent_;
};

// The text as a message box shows it: CR LF and a lone CR become line breaks.
QString displayText(const QString& text);

} // namespace tallyvane
