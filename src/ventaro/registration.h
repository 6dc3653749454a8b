#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

// Registering a library in its own way: load it, look up its self-registration entry
// point ("DllRegisterServer" or "DllUnregisterServer") and run it on a worker thread,
// waiting a bounded time for it.
namespace Registration {

using namespace std::chrono_literals;

// How long the window's thread waits for the entry point.
inline constexpr std::chrono::milliseconds Wait = 1000ms;

enum class Outcome {
    Done,              // the entry point returned 0
    LibraryNotLoaded,  // the file is missing or is no loadable library
    EntryPointMissing, // the library does not export the entry point; no thread was started
    ThreadNotStarted,  // the system refused a new thread
    EntryPointFailed,  // the entry point returned a non-zero result
    TimedOut,          // the entry point was still running when the wait ended
    StillRunning,      // an earlier entry point that ran past its wait has not returned yet;
                       // nothing was started
};

struct Result
{
    Outcome outcome = Outcome::Done;
    QString entryPoint;
    // The entry point's return value (EntryPointFailed).
    std::int32_t code = 0;
    // The system's reason (LibraryNotLoaded).
    QString detail;

    bool succeeded() const { return outcome == Outcome::Done; }
};

QString entryPointName(bool registering);

// Runs the entry point of the library at the path on a new thread and waits at most
// `wait` for it. The library is released once the entry point has returned: at once
// when it returns in time, otherwise by the worker thread when it returns later, so
// the library is never released under code that still runs in it. While such a late
// entry point still runs, no second one is started.
Result run(const QString &libraryPath, bool registering, std::chrono::milliseconds wait = Wait);

// Gives the owner the right to write the file, keeping every other permission.
// False when the file is missing or its permissions cannot be changed.
bool clearReadOnly(const QString &path);

// The message for a failed run in the language ("rus" or "eng"); the empty text for a
// run that succeeded or for another language.
QString failureText(const Result &result, const QString &libraryPath, const QString &language);

} // namespace Registration
