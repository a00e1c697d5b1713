#pragma once

#include <QByteArray>
#include <QPoint>

namespace tallyvane::testing {

// A 16 x 16 cursor, a red left half and a blue right half with a transparent
// top row, as 32-bit, 8-bit (palette and mask) or PNG entry; type 2 is a
// cursor file, 1 an icon file.
enum class Entry { Dib32, Dib8, Png };
QByteArray cursorFile(Entry kind, QPoint hotSpot, quint16 type = 2);

} // namespace tallyvane::testing
