#pragma once

#include <QSaveFile>
#include <QString>

namespace tallyvane {

// A text file written through QSaveFile: the lines go to a temporary file
// beside the target, which replaces the target only when everything has been
// written, so a failure part-way leaves the old file (or no file) behind.
// Lines are collected here and written in large chunks; UTF-8, CR LF after
// each. The file itself is unbuffered, so a chunk's write reaches the system
// at once and its failure is seen where it happens, not in a later flush.
// Every failure throws Failure with the system's wording ("No space left on
// device") and drops the temporary file.
class TextFileOutput {
public:
    void create(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    void writeLine(const QString& line);
    // Bytes as they are, after the lines written before them.
    void writeBytes(const QByteArray& bytes);
    // Writes what is still collected, makes sure it reached the disk and puts
    // the file in place of the target.
    void commit();
    // Drops the temporary file; the target stays as it was.
    void abandon();

private:
    void writePending();
    void writeAll(const QByteArray& bytes);
    void syncToDisk();
    [[noreturn]] void fail(const QString& reason);

    QSaveFile file_;
    QString pending_;
};

} // namespace tallyvane
