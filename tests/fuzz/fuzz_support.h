#pragma once

// What the fuzz targets share: the application object Qt wants, and a way to
// stop on a broken rule so that libFuzzer keeps the input as a finding.
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tallyvane {
class AreaCodeTable;
}

namespace tallyvane::fuzz {

// Makes the one QCoreApplication (the list model's timers need one). Call it
// from LLVMFuzzerInitialize.
void startApplication();

// A folder for the files of the target's runs, removed at exit. In memory where
// the system offers it: the text writer syncs every file it commits.
QString scratchFolder();

// The area-code table of the database the build made, read once. Call it
// first from LLVMFuzzerInitialize.
const AreaCodeTable& builtTable();

// A file in memory for a program's output, and (closing it) what was written.
int outputFile();
std::string writtenTo(int fd);

// The fields of one CSV record as RFC 4180 reads them: the oracle's own
// reading, apart from the program's.
std::vector<std::string> csvFields(const std::string& record);

// Prints what broke, with the expected and the actual texts, and aborts.
[[noreturn]] void fail(const char* rule, const QStringList& expected, const QStringList& actual);

inline void expectEqual(const char* rule, const QStringList& expected, const QStringList& actual) {
    if (expected != actual)
        fail(rule, expected, actual);
}

// The rule for an area-code entry with ":::" in it, written out: it holds
// several numbers (spaces and tabs around each dropped), each answered by
// answer(), the answers joined by " ::: ". Other entries: answer(entry).
std::string severalOr(const std::string& entry, bool areaCodes,
                      const std::function<std::string(const std::string&)>& answer);

} // namespace tallyvane::fuzz
