// The tarvoctl commands. Each returns the exit code; a failure has been
// written to standard error, naming the step and the reason.
#pragma once

#include "session.h"

#include <QString>
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

int identify(const ConnectionSettings& link);
int getParameters(const ConnectionSettings& link, bool eeprom, const QString& output);
int sendParameters(const ConnectionSettings& link, const QString& file, bool eeprom);
int measure(const ConnectionSettings& link, const MeasureOptions& options);
int recordTriggered(const ConnectionSettings& link, const RecordOptions& options);
int profile(const ConnectionSettings& link, Format format);
int sendFactors(const ConnectionSettings& link, const FactorOptions& options);

// What Ctrl+C and SIGTERM do outside a recording or measuring loop: the
// process ends at once with exit code 1.
void endAtOnce();

// Messages on standard error, prefixed with the program name.
int report(int code, const QString& text);

} // namespace tarvo::ctl
