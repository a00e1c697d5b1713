#include "support/window_fakes.h"

#include <QPushButton>
#include <QTest>

namespace tallyvane::testing {

Form1Overrides windowOverrides(FakePlatform& fakes, SettingsStore* settings) {
    Form1Overrides o;
    o.prompts = &fakes.prompts;
    o.dialog = &fakes.dialog;
    o.settings = settings;
    o.database = &fakes.database;
    o.spreadsheet = &fakes.spreadsheet;
    o.clipboard = &fakes.clipboard;
    o.browser = &fakes.browser;
    return o;
}

std::unique_ptr<Form1> shownWindow(Form1Overrides overrides) {
    overrides.unload = [] {};
    auto window = std::make_unique<Form1>(std::move(overrides));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the window was not exposed");
    return window;
}

void clickButton(QWidget& window, const char* objectName) {
    auto* button = window.findChild<QPushButton*>(QLatin1String(objectName));
    if (!button)
        qFatal("the window has no push button %s", objectName);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace tallyvane::testing
