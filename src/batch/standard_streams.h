#pragma once

namespace tallyvane::batch {

// Which of standard input and standard output the program was started with
// closed ("tallyvane-convert <&-").
struct ClosedStandardStreams {
    bool input = false;
    bool output = false;
};

// Makes sure descriptors 0, 1 and 2 are open before anything else opens a
// file: a closed one is given /dev/null, so that no file the program opens
// later (the database) takes its number and is read or written as if it were
// the input or the output. A closed input or output is then an error where it
// is used, as cat treats it.
ClosedStandardStreams reserveStandardDescriptors();

} // namespace tallyvane::batch
