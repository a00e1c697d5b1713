#pragma once

namespace tallyvane {

// The two ways a list converts: the window's option buttons, the batch
// program's --to and the benchmarks all speak of them by these names.
enum class Direction {
    AreaCodesToStates, // "Convert Area Codes To States"
    StatesToAreaCodes, // "Convert States To Area Codes"
};

} // namespace tallyvane
