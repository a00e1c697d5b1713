#include "app/qt/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Veltmark"));
    QApplication::setApplicationName(QStringLiteral("Tallyvane"));
    QApplication::setApplicationVersion(QStringLiteral(TALLYVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.veltmark.Tallyvane"));
    tallyvane::Form1 window;
    window.show();
    return QApplication::exec();
}
