#pragma once

#include <QString>

namespace tallyvane {

class ListView;
class ProgressBar;
class Prompts;
class WindowServices;

// The name is the window's own and appears in error reports.
//
// Writes any report-style list as an aligned text file: a heading line, then a
// line per checked row; every cell padded to its column's widest text (checked
// or not, heading included) and followed by a tab; CR LF after every line.
// Reports its own failures and always returns; true when it reported none,
// so that its caller claims success only then. Without a progress bar the
// progress updates, and the event pumps around them, are left out.
bool SaveListviewProperlySpaced(Prompts& prompts, WindowServices& window, const ListView& list,
                                const QString& path, ProgressBar* progress);

} // namespace tallyvane
