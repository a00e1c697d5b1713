#pragma once

#include <QString>
#include <QStringList>

namespace tallyvane {

// The options a command sets on the file dialog, as the commands name them.
namespace DialogFlag {
constexpr long ReadOnlyBox = 0x1;        // a "read-only" box, ticked
constexpr long OverwritePrompt = 0x2;    // the dialog asks before replacing a file
constexpr long AllowMultiSelect = 0x200; // several files may be chosen
constexpr long Explorer = 0x80000;       // the desktop's own dialog
constexpr long LongNames = 0x200000;     // long file names
} // namespace DialogFlag

// The file open / save dialog. The filter is the "Description|pattern|..." list.
// A Cancel gives no paths and raises no failure.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual void setFileName(const QString& fileName) = 0;
    // DialogFlag values, or-ed together; those this desktop has no use for are ignored.
    virtual void setFlags(long flags) = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual void setFilter(const QString& filter) = 0;
    // Full paths of the chosen files, in the dialog's order; empty after Cancel.
    virtual QStringList showOpen() = 0;
    // The chosen path; the empty text after Cancel.
    virtual QString showSave() = 0;
};

} // namespace tallyvane
