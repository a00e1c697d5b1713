#pragma once

#include "app/form1_services.h"

#include <QString>
#include <QStringList>

namespace tallyvane {

class ListView;
class Prompts;

void PushButton3_Click(Form1Services& s); // "Load State or Area Code From File"

// The Load command from the moment its dialog has answered with these paths:
// busy pointer, each file in order, failures reported under the command's
// name and line, default pointer. Files named on the command line come here.
void loadChosenFiles(Form1Services& s, const QStringList& paths);

// Appends the entries of one file to the list. A path whose file cannot be
// found shows "File not found" and changes nothing; a file that exists but cannot
// be opened or read, or that needs more memory than is available, throws
// Failure, for the calling command to report. Running out of memory part way
// keeps the entries appended so far and throws one Failure that says so.
void LoadListFromFile(Prompts& prompts, ListView& list, const QString& path);

// Tidies a path joined from a folder and a file name: doubled separators become
// single ones, scanning from left to right without overlap, and any run of
// leading separators becomes one.
QString FixDoubleBackslashes(const QString& path);

} // namespace tallyvane
