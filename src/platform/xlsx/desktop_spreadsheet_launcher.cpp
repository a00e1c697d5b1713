#include "platform/xlsx/desktop_spreadsheet_launcher.h"

#include "platform/failure.h"

#include <QProcess>
#include <QStandardPaths>

namespace tallyvane {

namespace {

constexpr int kQueryTimeoutMs = 5000;

QString libreOffice() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return program;
    }
    return {};
}

bool xlsxApplicationRegistered() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    QProcess query;
    query.start(
        xdgMime,
        {QStringLiteral("query"), QStringLiteral("default"),
         QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool DesktopSpreadsheetLauncher::available() {
    return !libreOffice().isEmpty() || xlsxApplicationRegistered();
}

void DesktopSpreadsheetLauncher::open(const QString& path) {
    const QString office = libreOffice();
    const bool started = office.isEmpty()
                             ? QProcess::startDetached(QStringLiteral("xdg-open"), {path})
                             : QProcess::startDetached(
                                   office, {QStringLiteral("--calc"), QStringLiteral("-n"), path});
    if (!started)
        throw Failure(QStringLiteral("The spreadsheet application could not be started"));
}

} // namespace tallyvane
