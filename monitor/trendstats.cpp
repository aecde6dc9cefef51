#include "trendstats.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

TrendStatistics trendStatistics(std::span<const double> window, const GlossBand& band)
{
    TrendStatistics s;
    s.count = static_cast<int>(window.size());
    if (s.count == 0)
        return s;

    double sum = 0.0;
    int good = 0;
    s.min = s.max = window.front();
    for (double v : window) {
        s.min = std::min(s.min, v);
        s.max = std::max(s.max, v);
        sum += v;
        if (band.contains(v))
            ++good;
    }
    s.mean = sum / s.count;

    if (s.count > 1) {
        double squares = 0.0;
        for (double v : window)
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
