#include "app/qt/form1_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QRadioButton>
#include <QWidget>

namespace tallyvane {

namespace {

void describeByToolTip(QWidget* widget) {
    if (!widget->toolTip().isEmpty() && widget->accessibleDescription() != widget->toolTip())
        widget->setAccessibleDescription(widget->toolTip());
}

// Qt's own radio button answers "toggle" with QAbstractButton::toggle(), which
// changes the selection without the click that saves the direction; here both
// actions are a click.
class AccessibleOptionButton : public QAccessibleWidget {
public:
    explicit AccessibleOptionButton(QRadioButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = button()->text().remove(QLatin1Char('&'));
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction() << pressAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != toggleAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (widget()->isEnabled())
            button()->click();
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == toggleAction() || action == pressAction())
            return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QRadioButton* button() const { return static_cast<QRadioButton*>(widget()); }
};

QAccessibleInterface* optionButtonFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QRadioButton"))
        return nullptr;
    auto* button = qobject_cast<QRadioButton*>(object);
    return button ? new AccessibleOptionButton(button) : nullptr;
}

} // namespace

void Form1Accessibility::installFactories() {
    static const bool installed = [] {
        QAccessible::installFactory(optionButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

Form1Accessibility::Form1Accessibility(QWidget* window) : QObject(window) {
    installFactories();
    for (QWidget* control : window->findChildren<QWidget*>()) {
        describeByToolTip(control);
        control->installEventFilter(this);
    }
}

bool Form1Accessibility::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTipChange && watched->isWidgetType())
        describeByToolTip(static_cast<QWidget*>(watched));
    return false;
}

} // namespace tallyvane
