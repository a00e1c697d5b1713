#pragma once

#include <QString>
#include <QStringList>

namespace tallyvane {

// What the program was asked to do on its command line. Read from the raw
// arguments before any window system is touched, so that --help, --version
// and a mistyped option work without a display.
struct CommandLine {
    enum class Action { OpenWindow, Help, Version, SelfTest, Mistake };
    Action action = Action::OpenWindow;
    QStringList files; // to load into the entry list, in the order given
    QString mistake;   // for Action::Mistake: what was wrong
};

// arguments: argv without the program name. Qt's own options (-platform xcb,
// -style=fusion, --display :1 ...) are left for Qt; "--" ends the options.
CommandLine parseCommandLine(const QStringList& arguments);

QString usageText();   // ends with a line end
QString versionText(); // ends with a line end

} // namespace tallyvane
