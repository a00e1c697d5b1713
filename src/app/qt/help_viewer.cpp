#include "app/qt/help_viewer.h"

#include "app/help_resources.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace tallyvane {

namespace {

// Loads only what helpResource allows: the page itself and the files beside it.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override {
        (void)type;
        const QByteArray bytes = helpResource(folder, name);
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
    QString folder; // the page's own
};

} // namespace

void showHelpViewer(QWidget* window, const QString& address) {
    static QPointer<HelpBrowser> viewer;
    if (!viewer) {
        viewer = new HelpBrowser(window);
        viewer->setObjectName(QStringLiteral("HelpViewer"));
        viewer->setWindowFlag(Qt::Window);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setOpenExternalLinks(true);
        viewer->resize(640, 720);
    }
    const QUrl page(address);
    viewer->folder = QFileInfo(page.toLocalFile()).absolutePath();
    viewer->setSource(page);
    viewer->setWindowTitle(viewer->documentTitle().isEmpty() ? QStringLiteral("Tallyvane Help")
                                                             : viewer->documentTitle());
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace tallyvane
