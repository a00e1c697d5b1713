#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tallyvane {

struct ColumnReading;
class FileDialog;
class ListView;
class Prompts;
class WindowServices;

// "Load State or Area Code From File". The handler name is the window's own
// and appears in error reports.
void PushButton3_Click(Prompts& prompts, FileDialog& dialog, WindowServices& window,
                       ListView& entries);

// The Load command from the moment its dialog has answered with these paths:
// busy pointer, each file in order, failures reported under the command's
// name and line, default pointer. Files named on the command line or dropped
// on the window come here: a missing one is named, and a file in columns is
// read by the column the person chooses (see loadListOrColumn).
void loadChosenFiles(Prompts& prompts, WindowServices& window, ListView& entries,
                     const QStringList& paths, const ColumnReading& reading);

// LoadListFromFile and FixDoubleBackslashes keep the window's own names.

// How a file that is not there is told: the Load command's own box says
// "File not found"; files named on the command line or dropped, perhaps
// hundreds at once, are named in it.
enum class MissingFile { Designed, Named };

// Appends the entries of one file to the list. A path whose file cannot be
// found shows "File not found" and changes nothing; a file that exists but
// cannot be opened or read, or that needs more memory than is available,
// throws Failure naming the file, for the calling command to report. Running
// out of memory part way keeps the entries appended so far and throws one
// Failure that says so.
void LoadListFromFile(Prompts& prompts, ListView& list, const QString& path,
                      MissingFile missing = MissingFile::Designed);

// Appends the entries of one file with `append`, once the memory left allows
// the file. With several files a reason alone would not tell which one it
// was, so a failure names the file, and running out of memory tells how many
// of its entries came in.
void appendNamingFailures(ListView& list, const QString& path, const std::function<void()>& append);

// Tidies a path joined from a folder and a file name: doubled separators become
// single ones, scanning from left to right without overlap, and any run of
// leading separators becomes one. The name is the window's own; the separator
// here is "/".
QString FixDoubleBackslashes(const QString& path);

} // namespace tallyvane
