// Display and recording figures, each measured in a child process that runs
// the scope's real panels:
//  - display work per live cycle: the value set distributed to the displays
//    and strip chart, the events processed, and the redraws and painting that
//    happen during the 25 ms pause (process CPU, per cycle);
//  - graph panel CPU per value set with many points already stored, the
//    panel shown and hidden, value sets arriving at 50 per second;
//  - a triggered recording against the simulator with the graph panel open.
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace tarvo::bench {

inline constexpr const char* kChartsChildFlag = "--charts-child";
inline constexpr const char* kRecordChildFlag = "--record-child";

int runChartsChild(int argc, char** argv);
int runRecordChild(int argc, char** argv);

struct ChartFigures {
    std::vector<double> cycleMs;  // display work of each live cycle
    struct Load {
        long long points = 0;  // stored before measuring
        double shownMs = 0;    // CPU per value set, graph panel shown
        double hiddenMs = 0;   // the same, panel hidden
    };
    std::vector<Load> loads;
    QString platform;
};

std::optional<ChartFigures> launchChartsChild(int cycles, int valueSets, QString* error);

struct RecordRun {
    long long written = 0;    // lines the recorder wrote
    long long fileLines = 0;  // value lines found in the file afterwards
    double wall = 0;          // seconds of recording
    double cpu = 0;           // child process CPU seconds meanwhile
    long long startNs = 0;    // steady clock when START and STOP were pressed
    long long stopNs = 0;
    long long graphPoints = 0;  // points the graph panel holds at the end
};

// The child connects over TCP to port; records to file for seconds.
std::optional<RecordRun> launchRecordChild(const QString& dir, const QString& file, double seconds, QString* error);

}  // namespace tarvo::bench
