#pragma once

// What the fuzz targets share: the application object Qt wants, and a way to
// stop on a broken rule so that libFuzzer keeps the input as a finding.
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace tallyvane::fuzz {

// Makes the one QCoreApplication (the list model's timers need one). Call it
// from LLVMFuzzerInitialize.
void startApplication();

// A folder for the files of the target's runs, removed at exit. In memory where
// the system offers it: the text writer syncs every file it commits.
QString scratchFolder();

// Prints what broke, with the expected and the actual texts, and aborts.
[[noreturn]] void fail(const char* rule, const QStringList& expected, const QStringList& actual);

inline void expectEqual(const char* rule, const QStringList& expected, const QStringList& actual) {
    if (expected != actual)
        fail(rule, expected, actual);
}

} // namespace tallyvane::fuzz
