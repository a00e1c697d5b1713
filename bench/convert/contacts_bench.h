#pragma once

#include <string>
#include <vector>

namespace convert_bench {

// A contacts export of the given rows (Name, Phone, Email, Company; quoted
// names with commas, quotes inside, blank phones, CR LF) enriched with a
// State column by `tallyvane-convert --column Phone`, beside a Python script
// that does the same with the csv module and a dictionary, in the same run.
// answers: "code<TAB>answer" lines, the converter's own answers for every
// area code, so that both outputs can be compared byte for byte.
void benchContacts(const std::string& program, const std::string& dir, long rows, int repeat,
                   const std::vector<std::string>& codes, const std::string& answers);

} // namespace convert_bench
