#pragma once

#include <QString>
#include <QStringList>

namespace tallyvane {

// The file open / save dialog. The filter is the "Description|pattern|..." list.
// A Cancel gives no paths and raises no failure.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual void setFileName(const QString& fileName) = 0;
    virtual void setFlags(long flags) = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual void setFilter(const QString& filter) = 0;
    // Full paths of the chosen files, in the dialog's order; empty after Cancel.
    virtual QStringList showOpen() = 0;
    // The chosen path; the empty text after Cancel.
    virtual QString showSave() = 0;
};

} // namespace tallyvane
