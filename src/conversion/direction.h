#pragma once

#include "platform/direction_options.h"

#include <optional>

namespace tallyvane {

// The two ways a list converts: the window's option buttons, the batch
// program's --to and the benchmarks all speak of them by these names.
enum class Direction {
    AreaCodesToStates, // "Convert Area Codes To States"
    StatesToAreaCodes, // "Convert States To Area Codes"
};

// What the two buttons choose: the first wins, as the run tests it first;
// neither chooses nothing.
inline std::optional<Direction> directionFor(bool option1Selected, bool option2Selected) {
    if (option1Selected)
        return Direction::AreaCodesToStates;
    if (option2Selected)
        return Direction::StatesToAreaCodes;
    return std::nullopt;
}

// The direction the window's buttons choose now (area codes to states when
// neither is chosen, as at the first start).
inline Direction directionOf(const DirectionOptions& options) {
    return directionFor(options.option1Selected(), options.option2Selected())
        .value_or(Direction::AreaCodesToStates);
}

// Sets the buttons to a direction for this run only: a choice made from the
// program runs no click handler, so the stored choice stays as it was.
inline void chooseForThisRun(DirectionOptions& options, Direction direction) {
    options.setOption1(direction == Direction::AreaCodesToStates);
    options.setOption2(direction == Direction::StatesToAreaCodes);
}

} // namespace tallyvane
