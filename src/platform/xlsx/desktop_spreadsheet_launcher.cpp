#include "platform/xlsx/desktop_spreadsheet_launcher.h"

#include "platform/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace tallyvane {

namespace {

constexpr int kQueryTimeoutMs = 5000;
constexpr int kPollMs = 250;
const QString kStatusFileName = QStringLiteral(".application-exit-status");

QString libreOffice() {
    for (const char* name : {"soffice", "libreoffice"}) {
        QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
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

DesktopSpreadsheetLauncher::DesktopSpreadsheetLauncher(TellFailure tellFailure)
    : tellFailure_(std::move(tellFailure)) {}

bool DesktopSpreadsheetLauncher::available() {
    return !libreOffice().isEmpty() || xlsxApplicationRegistered();
}

QString DesktopSpreadsheetLauncher::failureMessage(const QString& path, const QString& cause) {
    return QStringLiteral("The spreadsheet application could not open the workbook (%1). The "
                          "workbook is kept, so that you can open it yourself:\r\n%2")
        .arg(cause, QDir::toNativeSeparators(path));
}

void DesktopSpreadsheetLauncher::open(const QString& path) {
    const QString office = libreOffice();
    const QString program =
        office.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("xdg-open")) : office;
    const QStringList arguments =
        office.isEmpty() ? QStringList{path}
                         : QStringList{QStringLiteral("--calc"), QStringLiteral("-n"), path};
    if (program.isEmpty())
        throw Failure(failureMessage(path, QStringLiteral("no spreadsheet application was found")));

    const QString folder = QFileInfo(path).absolutePath();
    const QString statusFile = QDir(folder).filePath(kStatusFileName);
    QFile::remove(statusFile);
    // sh -c SCRIPT NAME ARGS...: "$0" is the application, "$@" its arguments.
    QStringList shellArguments{
        QStringLiteral("-c"),
        QStringLiteral("\"$0\" \"$@\"; echo $? >'%1'")
            .arg(QString(statusFile).replace(QLatin1Char('\''), QStringLiteral("'\\''"))),
        program};
    shellArguments += arguments;
    const QString workingFolder = QFileInfo(folder).isDir() ? folder : QString();
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), shellArguments, workingFolder))
        throw Failure(failureMessage(path, QStringLiteral("it could not be started")));
    if (tellFailure_)
        watch(statusFile, path, QFileInfo(program).fileName(), kWatchSeconds * 1000 / kPollMs);
}

void DesktopSpreadsheetLauncher::watch(const QString& statusFile, const QString& path,
                                       const QString& program, int polls) {
    QTimer::singleShot(kPollMs, &context_, [=, this] {
        QFile file(statusFile);
        const QByteArray written = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (!written.endsWith('\n')) { // not yet ended, or still being written
            if (polls > 1)
                watch(statusFile, path, program, polls - 1);
            return;
        }
        const QString status = QString::fromLatin1(written).trimmed();
        if (status != u"0")
            tellFailure_(failureMessage(
                path, QStringLiteral("%1 ended with exit status %2").arg(program, status)));
    });
}

} // namespace tallyvane
