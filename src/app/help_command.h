#pragma once

#include <QString>

namespace tallyvane {

class Browser;
class Prompts;

// "Help". The handler name is the window's own and appears in error reports.
void PushButton8_Click(Prompts& prompts, Browser& browser, const QString& programFolder);

// The file address of the help page shipped with the program: beside the
// program in a build tree, in the data folder of an installed program. Throws
// Failure when neither is there.
QString helpPageAddress(const QString& programFolder);

// Told when no browser could be started: where the page is.
QString helpPageNotOpenedMessage(const QString& path);

} // namespace tallyvane
