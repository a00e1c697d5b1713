#pragma once

#include <QString>

#include <span>

namespace tallyvane {

// A place of the summary's map: its two-letter code, its name, and its square
// on a grid of tiles that keeps each state or province beside its neighbours
// without a geographic data set. Territories far out to sea are small tiles
// along the bottom.
struct StateTile {
    const char* code;
    const char* name;
    int column;
    int row;
    bool small;
};

std::span<const StateTile> stateTiles();
// The tile of a code, or null when the map has none.
const StateTile* tileOf(const QString& code);
// The grid's size in tiles.
int tileColumns();
int tileRows();

} // namespace tallyvane
