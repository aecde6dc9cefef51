// Statistics of the gloss-factor trend: mean, standard deviation and share
// of bad parts over the last n gloss factors, judged against the gloss band
// of one teach-table row. No widgets here.
#pragma once

#include <span>
#include <utility>

namespace tarvo {

constexpr int kTrendValuesMax = 1000;  // length of the trend buffer

// Taught gloss factor and its tolerance; the band is widened by 0.001 on
// both sides so that values on its ends, shown with one decimal, count as in.
struct GlossBand {
    double gf = 0.0;
    double gfTol = 0.0;
    static constexpr double kMargin = 0.001;

    bool contains(double v) const { return gf - gfTol - kMargin <= v && v <= gf + gfTol + kMargin; }
};

struct TrendStatistics {
    int count = 0;
    double mean = 0.0;
    // Sample standard deviation (divisor n - 1); 0 for fewer than two values,
    // which have no spread to measure.
    double stdDev = 0.0;
    double badPercent = 0.0;  // share of values outside the band, 0..100
    double min = 0.0;
    double max = 0.0;
};

// An empty window gives all zeros. NaN marks a point without a part (a
// lost connection): it is not counted.
TrendStatistics trendStatistics(std::span<const double> window, const GlossBand& band);

// The peak-to-peak value is good up to and including its tolerance.
inline bool ppWithinTolerance(double pp, double ppTol)
{
    return pp <= ppTol;
}

// Left Y axis of the trend chart: one unit of margin around the values, never below 0.
std::pair<double, double> trendYRange(double min, double max);

// The number of scans shown, held to 1..1000.
int trendWindowSize(int n);

}  // namespace tarvo
