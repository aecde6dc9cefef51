#include "capability.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

ProcessFigures processFigures(std::span<const double> values, std::optional<ToleranceLimits> limits)
{
    ProcessFigures f;
    if (limits && limits->valid())
        f.limits = limits;
    double sum = 0.0;
    for (double v : values) {
        if (std::isnan(v))
            continue;
        f.min = f.count == 0 ? v : std::min(f.min, v);
        f.max = f.count == 0 ? v : std::max(f.max, v);
        ++f.count;
        sum += v;
        if (f.limits && !f.limits->contains(v))
            ++f.outside;
    }
    if (f.count > 0) {
        f.mean = sum / f.count;
        f.outsidePercent = 100.0 * f.outside / f.count;
    }
    if (f.count > 1) {
        // Two passes: the squares about the mean, not sum of squares minus
        // the square of the sum, which loses the digits of a small spread
        // around a large mean.
        double squares = 0.0;
        for (double v : values)
            if (!std::isnan(v))
                squares += (v - f.mean) * (v - f.mean);
        f.stdDev = std::sqrt(squares / (f.count - 1));
    }

    if (!f.limits)
        f.gap = CapabilityGap::NoLimits;
    else if (f.count < kCapabilityMinParts)
        f.gap = CapabilityGap::TooFewParts;
    else if (!(f.stdDev > 0.0))
        f.gap = CapabilityGap::NoSpread;
    else {
        f.gap = CapabilityGap::None;
        f.cp = (f.limits->high - f.limits->low) / (6.0 * f.stdDev);
        f.cpk = std::min(f.limits->high - f.mean, f.mean - f.limits->low) / (3.0 * f.stdDev);
    }
    return f;
}

std::string capabilityGapText(const ProcessFigures& f)
{
    switch (f.gap) {
    case CapabilityGap::None: return {};
    case CapabilityGap::NoLimits: return "No tolerance band in force: Cp and Cpk need a low and a high limit.";
    case CapabilityGap::TooFewParts:
        return "Only " + std::to_string(f.count) + " parts: Cp and Cpk need at least "
            + std::to_string(kCapabilityMinParts) + ".";
    case CapabilityGap::NoSpread: return "All parts have the same value: with no spread Cp and Cpk are not defined.";
    }
    return {};
}

}  // namespace tarvo
