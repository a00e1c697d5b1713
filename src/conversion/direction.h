#pragma once

#include "platform/direction_options.h"

namespace tallyvane {

// The two ways a list converts: the window's option buttons, the batch
// program's --to and the benchmarks all speak of them by these names.
enum class Direction {
    AreaCodesToStates, // "Convert Area Codes To States"
    StatesToAreaCodes, // "Convert States To Area Codes"
};

// The direction the window's buttons choose now.
inline Direction directionOf(const DirectionOptions& options) {
    return options.option2Selected() && !options.option1Selected() ? Direction::StatesToAreaCodes
                                                                   : Direction::AreaCodesToStates;
}

} // namespace tallyvane
