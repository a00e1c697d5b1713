#include "results/state_tiles.h"

#include <algorithm>
#include <array>

namespace tallyvane {

namespace {

// Canada across the top, the states below it and the far territories along
// the bottom, each roughly where a person looks for it.
constexpr std::array kTiles = std::to_array<StateTile>({
    {"YT", "Yukon", 1, 0, false},
    {"NT", "Northwest Territories", 2, 0, false},
    {"NU", "Nunavut", 3, 0, false},
    {"NL", "Newfoundland and Labrador", 12, 0, false},
    {"AK", "Alaska", 0, 1, false},
    {"BC", "British Columbia", 1, 1, false},
    {"AB", "Alberta", 2, 1, false},
    {"SK", "Saskatchewan", 3, 1, false},
    {"MB", "Manitoba", 4, 1, false},
    {"ON", "Ontario", 7, 1, false},
    {"QC", "Quebec", 9, 1, false},
    {"ME", "Maine", 10, 1, false},
    {"NB", "New Brunswick", 11, 1, false},
    {"PE", "Prince Edward Island", 12, 1, false},
    {"VT", "Vermont", 10, 2, false},
    {"NH", "New Hampshire", 11, 2, false},
    {"NS", "Nova Scotia", 12, 2, false},
    {"WA", "Washington", 1, 3, false},
    {"ID", "Idaho", 2, 3, false},
    {"MT", "Montana", 3, 3, false},
    {"ND", "North Dakota", 4, 3, false},
    {"MN", "Minnesota", 5, 3, false},
    {"IL", "Illinois", 6, 3, false},
    {"WI", "Wisconsin", 7, 3, false},
    {"MI", "Michigan", 8, 3, false},
    {"NY", "New York", 9, 3, false},
    {"RI", "Rhode Island", 10, 3, false},
    {"MA", "Massachusetts", 11, 3, false},
    {"OR", "Oregon", 1, 4, false},
    {"NV", "Nevada", 2, 4, false},
    {"WY", "Wyoming", 3, 4, false},
    {"SD", "South Dakota", 4, 4, false},
    {"IA", "Iowa", 5, 4, false},
    {"IN", "Indiana", 6, 4, false},
    {"OH", "Ohio", 7, 4, false},
    {"PA", "Pennsylvania", 8, 4, false},
    {"NJ", "New Jersey", 9, 4, false},
    {"CT", "Connecticut", 10, 4, false},
    {"CA", "California", 1, 5, false},
    {"UT", "Utah", 2, 5, false},
    {"CO", "Colorado", 3, 5, false},
    {"NE", "Nebraska", 4, 5, false},
    {"MO", "Missouri", 5, 5, false},
    {"KY", "Kentucky", 6, 5, false},
    {"WV", "West Virginia", 7, 5, false},
    {"VA", "Virginia", 8, 5, false},
    {"MD", "Maryland", 9, 5, false},
    {"DE", "Delaware", 10, 5, false},
    {"AZ", "Arizona", 2, 6, false},
    {"NM", "New Mexico", 3, 6, false},
    {"KS", "Kansas", 4, 6, false},
    {"AR", "Arkansas", 5, 6, false},
    {"TN", "Tennessee", 6, 6, false},
    {"NC", "North Carolina", 7, 6, false},
    {"SC", "South Carolina", 8, 6, false},
    {"DC", "District of Columbia", 9, 6, false},
    {"OK", "Oklahoma", 4, 7, false},
    {"LA", "Louisiana", 5, 7, false},
    {"MS", "Mississippi", 6, 7, false},
    {"AL", "Alabama", 7, 7, false},
    {"GA", "Georgia", 8, 7, false},
    {"HI", "Hawaii", 1, 8, false},
    {"TX", "Texas", 4, 8, false},
    {"FL", "Florida", 9, 8, false},
    {"GU", "Guam", 0, 9, true},
    {"MP", "Northern Mariana Islands", 1, 9, true},
    {"AS", "American Samoa", 2, 9, true},
    {"PR", "Puerto Rico", 10, 9, true},
    {"VI", "U.S. Virgin Islands", 11, 9, true},
});

} // namespace

std::span<const StateTile> stateTiles() {
    return kTiles;
}

const StateTile* tileOf(const QString& code) {
    const auto it = std::find_if(kTiles.begin(), kTiles.end(), [&](const StateTile& tile) {
        return code == QLatin1String(tile.code);
    });
    return it == kTiles.end() ? nullptr : &*it;
}

int tileColumns() {
    return 13;
}

int tileRows() {
    return 10;
}

} // namespace tallyvane
