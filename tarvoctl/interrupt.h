// Ctrl+C, SIGTERM and SIGHUP (on Windows: Ctrl+C, Ctrl+Break and closing the
// console). While a command talks to the sensor they call a function on the
// main thread, inside whatever wait runs, so that the command can leave the
// sensor as it found it; otherwise the process ends at once. On POSIX a closed
// output pipe no longer ends the process either: the write fails instead.
#pragma once

#include <functional>

namespace tarvo::ctl {

// handler: called with the signal's number. Without one (nullptr) a signal
// ends the process at once with "interrupted" and interruptedExitCode().
void onInterrupt(std::function<void(int signal)> handler);

// The exit code of a command ended by `signal`: 128 + its number, as shells
// report a program ended by a signal (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP).
int interruptedExitCode(int signal);

// Ends the process now, after "tarvoctl: interrupted" on standard error.
[[noreturn]] void endInterrupted(int signal);

}  // namespace tarvo::ctl
