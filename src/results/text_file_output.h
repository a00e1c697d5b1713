#pragma once

#include <QSaveFile>
#include <QString>

namespace tallyvane {

// A text file written through QSaveFile: the lines go to a temporary file
// beside the target, which replaces the target only when everything has been
// written, so a failure part-way leaves the old file (or no file) behind.
// Lines are collected and written in large chunks; UTF-8, CR LF after each.
// Every failure throws Failure with the file system's wording.
class TextFileOutput {
public:
    void create(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void writeLine(const QString& line);
    // Writes what is still collected and puts the file in place of the target.
    void commit();
    // Drops the temporary file; the target stays as it was.
    void abandon();

private:
    void writePending();

    QSaveFile file_;
    QString pending_;
};

} // namespace tallyvane
