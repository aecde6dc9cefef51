#include "trendstats.h"

#include "capability.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

TrendStatistics trendStatistics(std::span<const double> window, const GlossBand& band)
{
    // The figures every report of parts shares; the monitor's own is the
    // share of bad parts, against its band with the margin.
    const ProcessFigures f = processFigures(window, std::nullopt);
    TrendStatistics s{.count = f.count, .mean = f.mean, .stdDev = f.stdDev, .min = f.min, .max = f.max};
    if (s.count == 0)
        return s;
    const auto good = std::count_if(window.begin(), window.end(),
                                    [&band](double v) { return !std::isnan(v) && band.contains(v); });
    s.badPercent = 100.0 * double(s.count - good) / s.count;
    return s;
}

std::pair<double, double> trendYRange(double min, double max)
{
    return {std::max(min - 1.0, 0.0), max + 1.0};
}

int trendWindowSize(int n)
{
    return std::clamp(n, 1, kTrendValuesMax);
}

}  // namespace tarvo
