#pragma once

#include <string>

namespace convert_bench {

// A workbook of the given rows and six columns, written by `-f xlsx` (text
// kept inline, as streaming writers keep it), read back by `--column Phone`
// beside `unzip -p` inflating its sheet, in the same run: the time of each,
// their ratio and the reader's peak memory. baseline: another build of the
// program timed beside this one, where given.
void benchWorkbook(const std::string& program, const std::string& baseline, const std::string& dir,
                   long rows, int repeat);

} // namespace convert_bench
