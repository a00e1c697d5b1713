#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace tallyvane {

// Each workbook export leaves its private folder tallyvane-XXXXXX in the
// temporary folder, because the spreadsheet application reads the file after
// the hand-over. The next start clears them away.

// Where the workbook folders are made and cleared: $TMPDIR, or /tmp. Not
// QDir::temp(), which for a TMPDIR that does not exist gives the current
// folder, so a workbook would be made there.
QString workbookParentFolder();

// True when a process can be seen working in the folder (its working folder
// or an open file lies inside; the spreadsheet application started for the
// workbook runs there) or LibreOffice's lock file ".~lock.NAME#" says a
// document in it is open.
bool workbookFolderInUse(const QString& folder);

// Removes the current user's workbook folders in tempFolder in which nothing
// has changed since before notAfter and that are not in use. Folders of other
// users, links and names of any other form are left alone, and so is anything
// inside that lies on another file system (and the folder that holds it).
// Returns the removed paths.
QStringList
removeStaleWorkbookFolders(const QString& tempFolder, const QDateTime& notAfter,
                           const std::function<bool(const QString&)>& inUse = workbookFolderInUse);

// Once at start and then every kGraceMinutes while the program runs: folders
// older than that grace, which covers an application still opening the file.
void keepTemporaryFolderClean();
constexpr int kGraceMinutes = 10;

} // namespace tallyvane
