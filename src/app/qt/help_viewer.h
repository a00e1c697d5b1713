#pragma once

#include <QString>

class QWidget;

namespace tallyvane {

// The help page in a window of the program's own, for a desktop that has no
// browser to show it: a simple reader over the page shipped with the program.
// One such window at a time; asking again brings it to the front.
void showHelpViewer(QWidget* window, const QString& address);

} // namespace tallyvane
