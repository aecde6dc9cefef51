// tarvoctl publish: every value set of the sensor to the plant's MQTT broker.
#pragma once

#include "commands.h"

#include <vector>

namespace tarvo::ctl {

// The options publish takes.
std::vector<const Option*> publishOptions();

int publishValues(const Invocation& in, Session& s);

}  // namespace tarvo::ctl
