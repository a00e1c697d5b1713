#pragma once

#include <functional>
#include <map>
#include <string>

namespace tallyvane::bench {

// Figures a measurement hands back, by name.
using Figures = std::map<std::string, double>;

// Runs the measurement in a child process of its own, with its own
// QApplication, so that its peak memory is its own and not what an earlier
// measurement left behind. Returns the child's figures; "failed" is set when
// the child did not end normally.
Figures runIsolated(const std::function<void(Figures&)>& measure);

} // namespace tallyvane::bench
