#include "platform/qt/qt_browser.h"

#include <QProcess>
#include <QStandardPaths>

namespace tallyvane {

QtBrowser::QtBrowser(std::function<void(const QString& address)> whenNoBrowser)
    : whenNoBrowser_(std::move(whenNoBrowser)) {}

bool QtBrowser::open(const QString& address) {
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!whenNoBrowser_)
            return false;
        whenNoBrowser_(address);
        return true;
    }
    auto* process = new QProcess(&context_);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    // The launcher answers once the browser has the page, or gives up; the
    // window does not wait for it meanwhile.
    QObject::connect(process, &QProcess::finished, &context_,
                     [this, process, address](int status, QProcess::ExitStatus how) {
                         process->deleteLater();
                         if ((how != QProcess::NormalExit || status != 0) && whenNoBrowser_)
                             whenNoBrowser_(address);
                     });
    QObject::connect(process, &QProcess::errorOccurred, &context_,
                     [this, process, address](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         if (whenNoBrowser_)
                             whenNoBrowser_(address);
                     });
    process->start(launcher, {address});
    return whenNoBrowser_ || process->state() != QProcess::NotRunning;
}

} // namespace tallyvane
