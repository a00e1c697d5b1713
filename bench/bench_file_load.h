#pragma once

namespace tallyvane::bench {

// Writes a temporary entry-list file of the given number of mixed lines and
// times loading it into a real list model, printing
// "file load: N lines in X ms (Y ns/line)". Throws when the load goes wrong.
void benchFileLoad(int lines);

} // namespace tallyvane::bench
