#pragma once

namespace tallyvane::bench {

// One line of the given size loaded and converted in both directions in the
// real window: the load's time, the longest event-processing pause after it and
// during each run, and whether the row kept the whole line.
void benchHugeLine(int megabytes);

// The given number of mixed phone-number entries loaded from a file into the
// real window and converted (area codes to states): the peak memory, once with
// the window shown and once hidden (the lists' views then lay out no rows).
void benchMemory(int entries);

} // namespace tallyvane::bench
