#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tallyvane {

// The bytes of something the help page names (an image, a style sheet): only
// a regular file inside the page's own folder, and only up to kMostBytes.
// Anything else (a device such as /dev/zero, a FIFO that would never answer,
// a file elsewhere, reached by a path or a link) is nothing, so that a page
// cannot make the program read without end or wait for ever.
QByteArray helpResource(const QString& pageFolder, const QUrl& name);

inline constexpr qint64 kMostHelpResourceBytes = qint64(8) << 20;

} // namespace tallyvane
