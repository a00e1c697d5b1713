#include "app/command_line.h"
#include "app/qt/form1.h"
#include "app/qt/self_test.h"
#include "entries/file_loading.h"
#include "entries/list_file.h"
#include "platform/xlsx/workbook_folders.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

QStringList rawArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Until the window system is up, Qt's messages are held back: without a
// display Qt would print several lines and abort with a core dump, where one
// line and exit status 1 tell a person or a script all there is to know.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QList<HeldMessage> heldMessages;

void holdStartUpMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        heldMessages.append({type, message});
        return;
    }
    QString reason = message.trimmed();
    for (const HeldMessage& held : std::as_const(heldMessages)) {
        if (held.type != QtDebugMsg && held.type != QtInfoMsg) {
            reason = held.text.trimmed(); // the cause, such as "could not connect to display"
            break;
        }
    }
    std::fprintf(stderr, "tallyvane: cannot open the window: %s\n",
                 qPrintable(reason.section(QLatin1Char('\n'), 0, 0)));
    std::fflush(stderr);
    _exit(1);
}

} // namespace

int main(int argc, char** argv) {
    using tallyvane::CommandLine;
    const CommandLine command = tallyvane::parseCommandLine(rawArguments(argc, argv));
    switch (command.action) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(tallyvane::usageText()), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(qPrintable(tallyvane::versionText()), stdout);
        return 0;
    case CommandLine::Action::Mistake:
        std::fprintf(stderr, "tallyvane: %s\n%s", qPrintable(command.mistake),
                     qPrintable(tallyvane::usageText()));
        return 2;
    default:
        break;
    }

    const QtMessageHandler previous = qInstallMessageHandler(holdStartUpMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    for (const HeldMessage& held : std::as_const(heldMessages))
        qt_message_output(held.type, QMessageLogContext(), held.text);
    heldMessages.clear();

    QApplication::setOrganizationName(QStringLiteral("Veltmark"));
    QApplication::setApplicationName(QStringLiteral("Tallyvane"));
    QApplication::setApplicationVersion(QStringLiteral(TALLYVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.veltmark.tallyvane"));

    // For CI and packaging checks: no window is shown and no box waits.
    if (command.action == CommandLine::Action::SelfTest) {
        const tallyvane::SelfTestResult result = tallyvane::runSelfTest();
        std::puts(qPrintable(result.line));
        return result.passed ? 0 : 1;
    }

    tallyvane::keepTemporaryFolderClean();
    tallyvane::Form1 window;
    window.show();
    if (!command.files.isEmpty()) {
        QStringList paths;
        for (const QString& file : command.files)
            paths.append(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
        // Once the window shows, so that a report of a file appears over it.
        QTimer::singleShot(0, &window, [&window, paths] {
            tallyvane::Form1Services& s = window.services();
            tallyvane::loadChosenFiles(
                s.prompts, s.window, s.entries, paths,
                {tallyvane::directionOf(s.options), s.columns, false, {}, &s.kept});
        });
    }
    return QApplication::exec();
}
