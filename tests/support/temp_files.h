#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tallyvane::testing {

// Writes the bytes to a file of the folder and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

} // namespace tallyvane::testing
