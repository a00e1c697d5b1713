#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tallyvane::testing {

// Writes the bytes to a file of the folder and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// The file's bytes, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);

// Writes a shell script with the body, executable by its owner, into the
// folder: a stand-in for a program the code under test starts.
void writeProgram(const QString& folder, const QString& name, const QByteArray& body);

} // namespace tallyvane::testing
