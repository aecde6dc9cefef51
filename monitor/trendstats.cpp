#include "trendstats.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

TrendStatistics trendStatistics(std::span<const double> window, const GlossBand& band)
{
    TrendStatistics s;
    double sum = 0.0;
    int good = 0;
    for (double v : window) {
        if (std::isnan(v))
            continue;
        s.min = s.count == 0 ? v : std::min(s.min, v);
        s.max = s.count == 0 ? v : std::max(s.max, v);
        ++s.count;
        sum += v;
        if (band.contains(v))
            ++good;
    }
    if (s.count == 0)
        return s;
    s.mean = sum / s.count;

    if (s.count > 1) {
        double squares = 0.0;
        for (double v : window)
            if (!std::isnan(v))
                squares += (v - s.mean) * (v - s.mean);
        s.stdDev = std::sqrt(squares / (s.count - 1));
    }
    s.badPercent = 100.0 * (s.count - good) / s.count;
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
