#include "app/qt/help_viewer.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace tallyvane {

void showHelpViewer(QWidget* window, const QString& address) {
    static QPointer<QTextBrowser> viewer;
    if (!viewer) {
        viewer = new QTextBrowser(window);
        viewer->setObjectName(QStringLiteral("HelpViewer"));
        viewer->setWindowFlag(Qt::Window);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setOpenExternalLinks(true);
        viewer->resize(640, 720);
    }
    viewer->setSource(QUrl(address));
    viewer->setWindowTitle(viewer->documentTitle().isEmpty() ? QStringLiteral("Tallyvane Help")
                                                             : viewer->documentTitle());
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace tallyvane
