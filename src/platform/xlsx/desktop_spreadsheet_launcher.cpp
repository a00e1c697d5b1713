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

// Debian's libreoffice-calc-nogui converts files but cannot show one: it has
// none of the window-system plug-ins beside its program.
bool hasUserInterface(const QString& office) {
    const QDir program = QFileInfo(QFileInfo(office).canonicalFilePath()).absoluteDir();
    return !program.entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

// The desktop's application for .xlsx files, unless it is a LibreOffice that
// cannot show one.
bool xlsxApplicationRegistered(bool officeShowsFiles) {
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
    const QByteArray application = query.readAllStandardOutput().trimmed();
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !application.isEmpty() && (officeShowsFiles || !application.startsWith("libreoffice"));
}

} // namespace

DesktopSpreadsheetLauncher::DesktopSpreadsheetLauncher(TellFailure tellFailure)
    : tellFailure_(std::move(tellFailure)) {}

// A LibreOffice without a user interface counts: the workbook is still made,
// and the person told where it is kept.
bool DesktopSpreadsheetLauncher::available() {
    return !libreOffice().isEmpty() || xlsxApplicationRegistered(true);
}

bool DesktopSpreadsheetLauncher::canShow() {
    const QString office = libreOffice();
    return (!office.isEmpty() && hasUserInterface(office)) || xlsxApplicationRegistered(false);
}

QString DesktopSpreadsheetLauncher::failureMessage(const QString& path, const QString& cause) {
    return QStringLiteral("The spreadsheet application could not open the workbook (%1). The "
                          "workbook is kept, so that you can open it yourself:\r\n%2")
        .arg(cause, QDir::toNativeSeparators(path));
}

void DesktopSpreadsheetLauncher::open(const QString& path) {
    QString office = libreOffice();
    const bool officeShowsFiles = !office.isEmpty() && hasUserInterface(office);
    if (!office.isEmpty() && !officeShowsFiles) {
        if (!xlsxApplicationRegistered(false))
            throw Failure(failureMessage(path, QStringLiteral("the LibreOffice installed here has "
                                                              "no user interface")));
        office.clear(); // the desktop's other application
    }
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
