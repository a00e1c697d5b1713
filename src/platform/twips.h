#pragma once

namespace tallyvane {

// The design measures the window in twips; a pixel is 15 of them, to the
// nearest whole pixel. The layout and the lists' column widths both use this
// one rule, so a width comes out the same wherever it is set.
constexpr int pixelsFromTwips(int twips) {
    return (twips + 7) / 15;
}

} // namespace tallyvane
