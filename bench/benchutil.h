// Small helpers shared by the benchmark's sections: clocks, summary figures
// and table formatting.
#pragma once

class QProcess;
namespace tarvo {
class EventPump;
}

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvo::bench {

// Monotonic nanoseconds on a clock that every process of this machine shares,
// so a child can report instants that the parent compares with its own.
std::int64_t steadyNs();

// Sets up a re-run of this program as a measuring child: offscreen unless a
// display is there, quiet platform logging, killed with us (Linux), and the
// pump woken when it ends.
void prepareBenchChild(QProcess& child, tarvo::EventPump& pump);

// Waits up to limit seconds for a started child to end; kills it and says so
// in *error when it does not.
bool waitForChild(QProcess& child, tarvo::EventPump& pump, double limit, QString* error);

// Waits up to limit seconds for a started child and returns the line of its
// output that begins with tag; none, with the reason in *error, when the
// child hangs, fails or reports nothing.
std::optional<QString> childReport(QProcess& child, tarvo::EventPump& pump, double limit, const QString& tag,
                                   QString* error);
// The value of key=value in a report line.
QString reportField(const QString& line, const QString& key);

// In a measuring child nothing modal may block: every box is answered at once
// (no, cancel) and shown to nobody.
void silenceDialogs();

// CPU time used so far by the whole process (all threads, user + system), seconds.
double processCpuSeconds();

struct Summary {
    int n = 0;
    double median = 0, p95 = 0, min = 0, max = 0;
};

// Median (mean of the middle two for even n) and 95th percentile (nearest rank).
Summary summarize(std::vector<double> values);

// Fixed-width cells for the tables.
QString cell(const QString& text, int width);   // left-aligned
QString rcell(const QString& text, int width);  // right-aligned
QString num(double value, int decimals);

}  // namespace tarvo::bench
