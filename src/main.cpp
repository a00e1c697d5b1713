#include "app/qt/form1.h"
#include "app/qt/self_test.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Veltmark"));
    QApplication::setApplicationName(QStringLiteral("Tallyvane"));
    QApplication::setApplicationVersion(QStringLiteral(TALLYVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.veltmark.tallyvane"));

    // For CI and packaging checks: no window is shown and no box waits.
    if (QApplication::arguments().contains(QStringLiteral("--self-test"))) {
        const tallyvane::SelfTestResult result = tallyvane::runSelfTest();
        std::puts(qPrintable(result.line));
        return result.passed ? 0 : 1;
    }

    tallyvane::Form1 window;
    window.show();
    return QApplication::exec();
}
