#pragma once

#include "app/form1_services.h"

#include <QString>

namespace tallyvane {

void PushButton8_Click(Form1Services& s); // "Help"

// The file address of the help page shipped with the program: beside the
// program in a build tree, in the data folder of an installed program. Throws
// Failure when neither is there.
QString helpPageAddress(const QString& programFolder);

// Told when no browser could be started: where the page is.
QString helpPageNotOpenedMessage(const QString& path);

} // namespace tallyvane
