// The tarvoctl commands. Each returns the exit code; a failure has been
// written to standard error, naming the step and the reason.
#pragma once

#include "session.h"

#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>

namespace tarvo::ctl {

enum class Format { Text, Csv, Json };

struct MeasureOptions {
    int count = 0;         // 0: no limit
    double seconds = 0.0;  // 0: no limit
    int intervalMs = 25;   // pause between two requests, as the live loop's
    Format format = Format::Text;
};

struct RecordOptions {
    double seconds = 0.0;  // 0: until Ctrl+C or SIGTERM
    QString output;        // empty: standard output
};

struct FactorOptions {
    QString equationFile;
    std::optional<int> refStep;                     // references from the curves at this step
    std::optional<std::array<std::uint16_t, 3>> refs;  // references as given
    bool acceptLimited = false;
};

// Where the sensor is, and the frame trace file (empty: none).
struct Target {
    ConnectionSettings link;
    QString traceFile;
};

int identify(const Target& target);
int getParameters(const Target& target, bool eeprom, const QString& output);
int sendParameters(const Target& target, const QString& file, bool eeprom);
int measure(const Target& target, const MeasureOptions& options);
int recordTriggered(const Target& target, const RecordOptions& options);
int profile(const Target& target, Format format);
int sendFactors(const Target& target, const FactorOptions& options);

// What Ctrl+C and SIGTERM do outside a recording or measuring loop: the
// process ends at once with exit code 1.
void endAtOnce();

// While it lives, Ctrl+C and SIGTERM end every loop of the session instead
// of the process.
class StopOnInterrupt {
public:
    explicit StopOnInterrupt(Session& s);
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;
};

// Opens the trace file, if one is asked for, then connects: the exit code
// when either fails.
std::optional<int> begin(Session& s, const Target& target);

// Sets the loop's flag, which `timer` clears after `seconds` (0: never) and
// Ctrl+C at any time.
void armLoop(Session& s, std::uint16_t& flag, double seconds, QTimer& timer);

// Messages on standard error, prefixed with the program name.
int report(int code, const QString& text);

} // namespace tarvo::ctl
