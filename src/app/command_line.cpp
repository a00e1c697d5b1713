#include "app/command_line.h"

#include "commands/product.h"

namespace tallyvane {

namespace {

// Options that QGuiApplication and QApplication take for themselves.
const QStringList kQtOptionsWithValue{
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("style"),
    QStringLiteral("stylesheet"),      QStringLiteral("session"),
    QStringLiteral("display"),         QStringLiteral("geometry"),
    QStringLiteral("title"),           QStringLiteral("name"),
    QStringLiteral("qmljsdebugger"),
};
const QStringList kQtFlags{
    QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("sync"),
    QStringLiteral("nograb"),  QStringLiteral("dograb"),
};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    const auto mistake = [&line](const QString& text) {
        line.action = CommandLine::Action::Mistake;
        line.mistake = text;
        return line;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == u"-") {
            line.files.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"--help" || argument == u"-h") {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (argument == u"--version") {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (argument == u"--self-test") {
            line.action = CommandLine::Action::SelfTest;
        } else {
            const QString bare = argument.mid(argument.startsWith(u"--") ? 2 : 1);
            const QString name = bare.section(QLatin1Char('='), 0, 0);
            if (kQtFlags.contains(name) && !bare.contains(QLatin1Char('=')))
                continue;
            if (!kQtOptionsWithValue.contains(name))
                return mistake(QStringLiteral("unknown option '%1'").arg(argument));
            if (!bare.contains(QLatin1Char('=')) && ++i >= arguments.size())
                return mistake(QStringLiteral("option '%1' needs a value").arg(argument));
        }
    }
    return line;
}

QString usageText() {
    return QStringLiteral(
        "Usage: tallyvane [OPTION]... [FILE]...\n"
        "Converts US telephone area codes into the codes of their states, or states into\n"
        "their area codes, in a window. Each FILE is loaded into the entry list as\n"
        "\"Load State or Area Code From File\" loads it; of a file in columns (such as\n"
        "a CSV file) the window asks which column to take.\n"
        "\n"
        "  --help       show this help and exit\n"
        "  --version    show the version and how current the area-code table is, and exit\n"
        "  --self-test  build the window unseen, check the area-code database, print one\n"
        "               line and exit (0 when every check held)\n"
        "  --           take every later argument as a FILE\n"
        "\n"
        "Qt's own options, such as -platform NAME or -display HOST:0, are accepted too.\n"
        "Exit status: 0 on success, 1 when the window cannot be opened or the self-test\n"
        "fails, 2 for a mistake on the command line.\n");
}

QString versionText() {
    return QStringLiteral("tallyvane %1\nArea-code table current to %2\n")
        .arg(QStringLiteral(TALLYVANE_VERSION), kAreaCodeTableCurrentTo);
}

} // namespace tallyvane
