#pragma once

#include "entries/list_file.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tallyvane {

class FileDialog;
class ListView;
class Prompts;
class WindowServices;

// "Load State or Area Code From File". The handler name is the window's own
// and appears in error reports. A .csv or .tsv file or a workbook is read by
// the column the person chooses; any other file line by line.
void PushButton3_Click(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                       ListView& entries, const ColumnReading& reading);

// The Load command from the moment its dialog has answered with these paths:
// busy pointer, each file in order, failures reported under the command's
// name and line, default pointer. Files named on the command line or dropped
// on the window come here: a missing one is named, and a file in columns is
// read by the column the person chooses (see LoadListFromFile).
void loadChosenFiles(Prompts& prompts, WindowServices& window, ListView& entries,
                     const QStringList& paths, const ColumnReading& reading);

// LoadListFromFile (in list_file.h) and FixDoubleBackslashes keep the
// window's own names.

// Tidies a path joined from a folder and a file name: doubled separators become
// single ones, scanning from left to right without overlap, and any run of
// leading separators becomes one. The name is the window's own; the separator
// here is "/".
QString FixDoubleBackslashes(const QString& path);

} // namespace tallyvane
