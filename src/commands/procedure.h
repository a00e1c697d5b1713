#pragma once

#include "commands/error_report.h"
#include "platform/failure.h"

#include <exception>
#include <functional>
#include <new>
#include <utility>

namespace tallyvane {

// Runs the numbered steps of a command. A step that fails is reported in the
// common error report under its line number and the command goes on with the
// next step, so a command is never abandoned half-way by a failure.
//
// The numbers appear in those reports, where people quote them, so they are
// part of what the program says: a designed command keeps its numbers for
// good, and a step added to it takes a number no step of that command has
// used (never renumber the others). A command of our own numbers its steps
// from 100 in steps of 2, in the order they run.
class Procedure {
public:
    Procedure(Prompts& prompts, QString location)
        : prompts_(prompts), location_(std::move(location)) {}

    // Runs one step; false when it failed and was reported.
    template <class Body> bool step(int line, Body&& body) {
        try {
            std::forward<Body>(body)();
            return true;
        } catch (const Failure& failure) {
            reportFailure(prompts_, failure.description(), location_, line);
        } catch (const std::bad_alloc&) {
            reportOutOfMemory(line);
        } catch (const std::exception& error) {
            reportFailure(prompts_, QString::fromLocal8Bit(error.what()), location_, line);
        }
        ++failures_;
        return false;
    }

    // The test of an if or a loop. A test that fails counts as passed, so the
    // command continues into the steps that the test guards.
    template <class Test> bool test(int line, Test&& condition) {
        bool result = true;
        step(line, [&] { result = std::forward<Test>(condition)(); });
        return result;
    }

    // A step that yields a value; a failed step leaves the fallback unchanged.
    template <class T, class Read> T value(int line, T fallback, Read&& read) {
        step(line, [&] { fallback = std::forward<Read>(read)(); });
        return fallback;
    }

    // The words that report a step that ran out of memory, in place of the
    // plain "Out of memory".
    void describeOutOfMemory(std::function<QString()> describe) {
        describeOutOfMemory_ = std::move(describe);
    }
    // A command whose every later step would run out of memory in turn ends
    // after the first report instead of showing one box per step.
    bool ranOutOfMemory() const { return ranOutOfMemory_; }

    int failures() const { return failures_; }
    const QString& location() const { return location_; }

private:
    void reportOutOfMemory(int line) {
        ranOutOfMemory_ = true;
        try {
            reportFailure(prompts_,
                          describeOutOfMemory_ ? describeOutOfMemory_()
                                               : QStringLiteral("Out of memory"),
                          location_, line);
        } catch (...) {
            // Too little memory left even for the box; the command still ends.
        }
    }

    Prompts& prompts_;
    QString location_;
    std::function<QString()> describeOutOfMemory_;
    int failures_ = 0;
    bool ranOutOfMemory_ = false;
};

} // namespace tallyvane
