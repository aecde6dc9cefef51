// Cp, Cpk and the number of parts they rest on, in the monitor's displays;
// "–" with the reason in the tooltip where they are not given.
#pragma once

#include "capability.h"
#include "trendstats.h"

#include <optional>
#include <span>

namespace Ui {
class MONITORP;
}

namespace tarvo {

// The band of the teach row as tolerance limits; none while its GF TOL is
// not above 0 (no band in force).
std::optional<ToleranceLimits> bandLimits(const GlossBand& band);

// Computes the figures of the parts in `window` (NaN: no part) and shows them.
ProcessFigures showCapability(const Ui::MONITORP& ui, std::span<const double> window, const GlossBand& band);

}  // namespace tarvo
