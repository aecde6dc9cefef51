// Axis ticks at round numbers, each labelled distinctly: for every value
// axis whose range the program sets.
#pragma once

#include <QString>

class QValueAxis;

namespace tarvo {

struct RoundTicks {
    double step = 1.0;    // 1, 2, 2.5 or 5 times a power of ten
    QString labelFormat;  // as many decimals as the step needs, no more
};

// The smallest round step that gives at most `intervals` intervals over
// min … max and is not below minStep (1 for an axis that counts points).
RoundTicks roundTicks(double min, double max, int intervals = 5, double minStep = 0.0);

// Sets the axis to min … max with ticks at the multiples of the round step,
// at most `intervals` of them.
void setRoundTicks(QValueAxis* axis, double min, double max, double minStep = 0.0, int intervals = 5);

}  // namespace tarvo
