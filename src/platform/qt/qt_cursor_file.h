#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

namespace tallyvane {

// A Windows cursor file (ICO layout, type 2): the first image and its hot spot.
struct CursorPicture {
    QImage image;
    QPoint hotSpot;
};

enum class CursorDecoding {
    Automatic, // Qt's ICO image plugin when it is installed, else our own reader
    OwnDecoderOnly,
};

// Throws Failure("Invalid picture") for anything that is not a cursor or icon
// file; loadCursorFile throws the file system's wording when it cannot read it.
CursorPicture readCursorPicture(const QByteArray& bytes,
                                CursorDecoding decoding = CursorDecoding::Automatic);
QCursor loadCursorFile(const QString& path);

} // namespace tallyvane
