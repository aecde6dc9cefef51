// Process figures of a series of gloss factors: count, mean, sample standard
// deviation, minimum, maximum, share outside a tolerance band, and the
// process capability Cp and Cpk against that band. No Qt here, so that the
// monitor, the recorder's report and tarvoctl compute them alike.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace tarvo {

// A tolerance band; a value on a limit is inside.
struct ToleranceLimits {
    double low = 0.0;
    double high = 0.0;
    bool valid() const { return high > low; }
    bool contains(double v) const { return low <= v && v <= high; }
};

// Cp and Cpk are shown only from this many parts on: fewer give an estimate
// of the spread too rough to judge a process by.
inline constexpr int kCapabilityMinParts = 25;

// Why Cp and Cpk are not given.
enum class CapabilityGap {
    None,         // given
    NoLimits,     // no tolerance band in force
    TooFewParts,  // fewer than kCapabilityMinParts parts
    NoSpread,     // every part the same: the standard deviation is 0
};

struct ProcessFigures {
    int count = 0;
    double mean = 0.0;
    double stdDev = 0.0;  // sample standard deviation (n - 1); 0 below two parts
    double min = 0.0;
    double max = 0.0;
    std::optional<ToleranceLimits> limits;  // the band the figures below are against
    int outside = 0;                        // parts outside the band
    double outsidePercent = 0.0;            // their share, 0..100
    CapabilityGap gap = CapabilityGap::NoLimits;
    double cp = 0.0;   // (HIGH - LOW) / 6s, where gap is None
    double cpk = 0.0;  // min(HIGH - mean, mean - LOW) / 3s, where gap is None
};

// NaN marks a place without a part (a gap in the line): it is not counted.
ProcessFigures processFigures(std::span<const double> values, std::optional<ToleranceLimits> limits);

// Why Cp and Cpk are missing, as a sentence for a tooltip or a report;
// empty where they are given.
std::string capabilityGapText(const ProcessFigures& f);

}  // namespace tarvo
