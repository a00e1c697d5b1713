#include "app/qt/help_viewer.h"

#include "app/help_resources.h"
#include "app/qt/form1_fit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

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

// A read-only text view reads to a screen reader as a label; the help page is
// a document, which the reader lets a person move through.
class HelpPageAccessible : public QAccessibleWidget {
public:
    explicit HelpPageAccessible(QWidget* page) : QAccessibleWidget(page, QAccessible::Document) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return static_cast<QTextBrowser*>(widget())->toPlainText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* helpPageAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("QTextBrowser") && object->objectName() == u"HelpViewer")
        return new HelpPageAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

QDialog* makeHelpWindow(QWidget* window) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(helpPageAccessible);
        return true;
    }();
    (void)factoryInstalled;
    auto* dialog = new QDialog(window);
    dialog->setObjectName(QStringLiteral("HelpWindow"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setSizeGripEnabled(true);
    auto* browser = new HelpBrowser(dialog);
    browser->setObjectName(QStringLiteral("HelpViewer"));
    browser->setOpenExternalLinks(true);
    browser->setAccessibleName(QStringLiteral("Help page"));
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    // Escape closes a dialog already; Ctrl+W is the desktop's "close this window".
    auto* closeKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), dialog);
    QObject::connect(closeKey, &QShortcut::activated, dialog, &QDialog::close);
    resizeWithinScreen(dialog, QSize(640, 720));
    return dialog;
}

} // namespace

void showHelpViewer(QWidget* window, const QString& address) {
    static QPointer<QDialog> helpWindow;
    if (!helpWindow)
        helpWindow = makeHelpWindow(window);
    auto* browser = helpWindow->findChild<HelpBrowser*>();
    const QUrl page(address);
    browser->folder = QFileInfo(page.toLocalFile()).absolutePath();
    browser->setSource(page);
    helpWindow->setWindowTitle(browser->documentTitle().isEmpty() ? QStringLiteral("Tallyvane Help")
                                                                  : browser->documentTitle());
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}

} // namespace tallyvane
