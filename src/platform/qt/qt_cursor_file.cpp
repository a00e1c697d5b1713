#include "platform/qt/qt_cursor_file.h"

#include "platform/failure.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace tallyvane {

namespace {

constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr quint32 kDibHeaderMinimum = 40;

[[noreturn]] void invalid() {
    throw Failure(QStringLiteral("Invalid picture"));
}

quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 s32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

// A bottom-up device-independent bitmap of the ICO layout: the colour image of
// half the stored height followed by the 1-bit transparency mask.
QImage decodeDib(const QByteArray& dib) {
    if (dib.size() < kDibHeaderMinimum || u32(dib, 0) < kDibHeaderMinimum)
        invalid();
    const qint32 width = s32(dib, 4);
    const qint32 height = s32(dib, 8) / 2;
    const int bits = u16(dib, 14);
    if (width <= 0 || height <= 0 || width > 256 || height > 256 || u32(dib, 16) != 0)
        invalid();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        invalid();
    const quint32 paletteSize = bits <= 8 ? (u32(dib, 32) ? u32(dib, 32) : 1u << bits) : 0;
    const qsizetype paletteAt = u32(dib, 0);
    const qsizetype pixelsAt = paletteAt + 4 * qsizetype(paletteSize);
    const qsizetype stride = ((qsizetype(width) * bits + 31) / 32) * 4;
    const qsizetype maskStride = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype maskAt = pixelsAt + stride * height;
    if (dib.size() < maskAt)
        invalid();
    const bool hasMask = dib.size() >= maskAt + maskStride * height;
    const auto* data = reinterpret_cast<const uchar*>(dib.constData());

    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const uchar* row = data + pixelsAt + stride * (height - 1 - y);
        const uchar* mask = data + maskAt + maskStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            QRgb pixel;
            if (bits == 32) {
                const uchar* p = row + 4 * qsizetype(x);
                pixel = qRgba(p[2], p[1], p[0], p[3]);
            } else if (bits == 24) {
                const uchar* p = row + 3 * qsizetype(x);
                pixel = qRgb(p[2], p[1], p[0]);
            } else {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (1 + x % perByte);
                const quint32 index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
                if (index >= paletteSize)
                    invalid();
                const uchar* c = data + paletteAt + 4 * qsizetype(index);
                pixel = qRgb(c[2], c[1], c[0]);
            }
            // Images without alpha take their transparency from the mask.
            if (bits != 32 && hasMask && (mask[x / 8] >> (7 - x % 8)) & 1)
                pixel = qRgba(0, 0, 0, 0);
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

QImage decodeEntry(const QByteArray& entry) {
    if (entry.startsWith("\x89PNG")) {
        QImage png = QImage::fromData(entry, "PNG");
        if (png.isNull())
            invalid();
        return png;
    }
    return decodeDib(entry);
}

QImage decodeWithPlugin(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "cur");
    return reader.read();
}

} // namespace

CursorPicture readCursorPicture(const QByteArray& bytes, CursorDecoding decoding) {
    if (bytes.size() < kDirectorySize + kEntrySize || u16(bytes, 0) != 0)
        invalid();
    const int type = u16(bytes, 2);
    if ((type != 1 && type != 2) || u16(bytes, 4) == 0)
        invalid();
    const qsizetype entry = kDirectorySize;
    const qsizetype length = u32(bytes, entry + 8);
    const qsizetype offset = u32(bytes, entry + 12);
    if (offset < kDirectorySize || length <= 0 || offset > bytes.size() ||
        length > bytes.size() - offset)
        invalid();

    CursorPicture picture;
    const bool plugin = decoding == CursorDecoding::Automatic &&
                        QImageReader::supportedImageFormats().contains("cur");
    picture.image = plugin ? decodeWithPlugin(bytes) : decodeEntry(bytes.mid(offset, length));
    if (picture.image.isNull())
        invalid();
    // An icon has no hot spot of its own; its centre serves as one.
    picture.hotSpot = type == 2 ? QPoint(u16(bytes, entry + 4), u16(bytes, entry + 6))
                                : picture.image.rect().center();
    if (!picture.image.rect().contains(picture.hotSpot))
        picture.hotSpot = {};
    return picture;
}

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(file.errorString());
    const CursorPicture picture = readCursorPicture(file.readAll());
    return QCursor(QPixmap::fromImage(picture.image), picture.hotSpot.x(), picture.hotSpot.y());
}

} // namespace tallyvane
