#include "support/cursor_files.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

namespace tallyvane::testing {

namespace {

void put16(QByteArray& b, quint16 v) {
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}
void put32(QByteArray& b, quint32 v) {
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

} // namespace

QByteArray cursorFile(Entry kind, QPoint hotSpot, quint16 type) {
    constexpr int side = 16;
    QByteArray image;
    if (kind == Entry::Png) {
        QImage picture(side, side, QImage::Format_ARGB32);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                picture.setPixel(x, y, y == 0 ? 0u : (x < 8 ? 0xffff0000u : 0xff0000ffu));
        QBuffer buffer(&image);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    } else {
        const int bits = kind == Entry::Dib32 ? 32 : 8;
        for (quint32 v : {40u, quint32(side), quint32(2 * side)})
            put32(image, v);
        put16(image, 1);
        put16(image, quint16(bits));
        for (int i = 0; i < 6; ++i)
            put32(image, bits == 8 ? (i == 4 ? 2u : 0u) : 0u);
        if (bits == 8) {
            put32(image, 0x00ff0000); // blue-green-red-zero: red
            put32(image, 0x000000ff); // blue
        }
        for (int row = side - 1; row >= 0; --row) // bottom-up
            for (int x = 0; x < side; ++x) {
                if (bits == 32)
                    put32(image, row == 0 ? 0u : (x < 8 ? 0xffff0000u : 0xff0000ffu));
                else
                    image.append(char(x < 8 ? 0 : 1));
            }
        for (int row = side - 1; row >= 0; --row)
            put32(image, row == 0 ? 0xffffffffu : 0u); // mask: the top row transparent
    }
    QByteArray file;
    put16(file, 0);
    put16(file, type);
    put16(file, 1);
    file.append(char(side)).append(char(side)).append(char(0)).append(char(0));
    put16(file, quint16(hotSpot.x()));
    put16(file, quint16(hotSpot.y()));
    put32(file, quint32(image.size()));
    put32(file, 22);
    return file + image;
}

} // namespace tallyvane::testing
