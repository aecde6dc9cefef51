#include "axisticks.h"

#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

namespace tarvo {

RoundTicks roundTicks(double min, double max, int intervals, double minStep)
{
    const double span = max > min ? max - min : 1.0;
    const double rough = std::max(span / std::max(intervals, 1), minStep);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    const bool whole = minStep >= 1.0;  // an axis of counted points has whole ticks
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= rough * (1.0 - 1e-9) && !(whole && std::fmod(m * power, 1.0) != 0.0)) {
            step = m * power;
            break;
        }
    // Every tick is a multiple of the step: the step's own decimals show each exactly.
    int decimals = 0;
    while (decimals < 12) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            break;
        ++decimals;
    }
    return {step, QStringLiteral("%.%1f").arg(decimals)};
}

void setRoundTicks(QValueAxis* axis, double min, double max, double minStep, int intervals)
{
    const RoundTicks t = roundTicks(min, max, intervals, minStep);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setLabelFormat(t.labelFormat);
    // The axis makes its ticks at once: a wide range must never meet the
    // small step of a narrow one (0 to 20 000 in steps of 0.2), so the
    // larger of the two steps is set first.
    if (t.step >= axis->tickInterval()) {
        axis->setTickInterval(t.step);
        axis->setRange(min, max);
    } else {
        axis->setRange(min, max);
        axis->setTickInterval(t.step);
    }
}

}  // namespace tarvo
