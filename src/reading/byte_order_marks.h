#pragma once

#include <string_view>

namespace tallyvane {

// The marks a text file may open with to say how it is encoded.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

} // namespace tallyvane
