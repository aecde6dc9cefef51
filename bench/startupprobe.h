// Start-up measurement: tarvo_bench re-runs itself as a child that starts the
// scope program as its main() does and reports when the main panel was first
// painted. The parent launches it and collects the figures.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tarvo::bench {

inline constexpr const char* kStartupChildFlag = "--startup-child";

// The child: argv = {program, kStartupChildFlag, programDir}. Prints one line
// "probe ..." with the instants (steadyNs()) it reached, then returns.
int runStartupChild(int argc, char** argv);

// Instants of one child run, in seconds after the parent launched it.
struct StartupRun {
    double mainEntered = 0;  // main() reached: loading and linking done
    double appBuilt = 0;     // QApplication constructed
    double scopeBuilt = 0;   // ScopeApp constructed (all panels loaded)
    double firstPaint = 0;   // first paint of the main panel
    double runReturned = 0;  // ScopeApp::run() returned (closed at first paint)
    QString platform;        // the Qt platform plugin used
    QString status;          // the main panel's status display at the end
    QString warning;         // the child failed after reporting its figures
};

// Runs one child with the program directory dir; bounded by limitSeconds.
// nullopt with *error set when the child failed or did not paint.
std::optional<StartupRun> launchStartupChild(const QString& dir, double limitSeconds, QString* error);

}  // namespace tarvo::bench
