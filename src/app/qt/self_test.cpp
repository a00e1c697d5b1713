#include "app/qt/self_test.h"

#include "app/qt/form1.h"
#include "conversion/area_code_table.h"
#include "lists/list_model.h"
#include "platform/area_code_database.h"
#include "platform/prompts.h"

#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTableView>

namespace tallyvane {

namespace {

// Any box during the self-test is a finding, never something to wait on.
class SilentPrompts : public Prompts {
public:
    int messageBox(const QString& text, int style, const QString&) override {
        shown << text.section(QLatin1Char('\r'), 0, 0);
        return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QString inputPrompt(const QString&, const QString&, const QString&) override { return {}; }
    int chooseColumn(ColumnQuestion&) override { return ColumnQuestion::kCancelled; }
    QStringList shown;
};

template <class Kind> int missing(const Form1& window, const QStringList& names) {
    int count = 0;
    for (const QString& name : names) {
        if (!window.findChild<Kind*>(name))
            ++count;
    }
    return count;
}

int missingControls(const Form1& window) {
    return missing<QPushButton>(window,
                                {QStringLiteral("PushButton1"), QStringLiteral("PushButton2"),
                                 QStringLiteral("PushButton3"), QStringLiteral("PushButton4"),
                                 QStringLiteral("PushButton5"), QStringLiteral("PushButton6"),
                                 QStringLiteral("PushButton7"), QStringLiteral("PushButton8"),
                                 QStringLiteral("PushButton13"), QStringLiteral("PushButton17")}) +
           missing<QTableView>(window, {QStringLiteral("ListView1"), QStringLiteral("ListView2")}) +
           missing<QGroupBox>(window, {QStringLiteral("Frame2")}) +
           missing<QRadioButton>(window, {QStringLiteral("Option1"), QStringLiteral("Option2")}) +
           missing<QProgressBar>(window, {QStringLiteral("ProgressBar1")});
}

QString checkDatabase(Form1& window, QStringList& problems) {
    try {
        const auto connection = window.services().database.open();
        const FieldValues states = connection->statesForAreaCode(QStringLiteral("603"));
        QStringList found;
        for (const auto& state : states)
            found << state.value_or(QStringLiteral("(no value)"));
        return QStringLiteral("603 -> ") +
               (found.isEmpty() ? AreaCodeTable::notFoundText() : found.join(QLatin1Char(' ')));
    } catch (const std::exception& error) {
        problems << QStringLiteral("database: ") + QString::fromLocal8Bit(error.what());
        return {};
    }
}

} // namespace

SelfTestResult runSelfTest() {
    SilentPrompts prompts;
    Form1Overrides overrides;
    overrides.prompts = &prompts;
    overrides.unload = [] {};
    Form1 window(std::move(overrides));

    QStringList problems;
    for (const QString& report : prompts.shown)
        problems << QStringLiteral("start-up reported: ") + report;
    if (const int absent = missingControls(window))
        problems << QStringLiteral("%1 controls missing").arg(absent);
    if (window.windowTitle() != QLatin1String("Tallyvane"))
        problems << QStringLiteral("caption is \"%1\"").arg(window.windowTitle());
    if (window.entryModel().heading(1) != QLatin1String("States or Area Codes") ||
        window.resultModel().heading(1) != QLatin1String("Results"))
        problems << QStringLiteral("list columns missing");
    const QString lookup = checkDatabase(window, problems);

    SelfTestResult result;
    result.passed = problems.isEmpty();
    result.line =
        result.passed
            ? QStringLiteral("self-test passed: window built, 16 controls, %1").arg(lookup)
            : QStringLiteral("self-test failed: ") + problems.join(QStringLiteral("; "));
    return result;
}

} // namespace tallyvane
