// Live-loop measurement: tarvo_bench re-runs itself as a child that starts
// the scope program connected to the simulator, presses GO, lets the loop
// run for a while, presses STOP and reports how many value sets it showed
// and the CPU time it used meanwhile.
#pragma once

#include <QString>
#include <optional>

namespace tarvo::bench {

inline constexpr const char* kLiveChildFlag = "--live-child";

// The child: argv = {program, kLiveChildFlag, programDir, seconds[, "trace"]};
// with "trace" the TRACE window is open during the run. Prints
// one line "live ..." with its figures, then returns.
int runLiveChild(int argc, char** argv);

struct LiveRun {
    int cycles = 0;    // value sets shown (capped at the 1000 of the trend buffer)
    double wall = 0;   // seconds from GO to the loop's end
    double cpu = 0;    // process CPU seconds in that time
    QString status;    // the main panel's status display at the end
    QString platform;  // the Qt platform plugin used
};

// Runs one child against the settings in dir for the given seconds;
// serialDevice, if given, is the device the child opens as serial port 1;
// traceOpen: the TRACE window is open during the run.
std::optional<LiveRun> launchLiveChild(const QString& dir, double seconds, QString* error,
                                       const QString& serialDevice = QString(), bool traceOpen = false);

}  // namespace tarvo::bench
