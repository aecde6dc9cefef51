// The three loop flags: 1 while the live, recorder or monitor loop runs.
// Clearing one ends that loop at its next test.
#pragma once

#include <cstdint>

namespace tarvo {

struct LoopFlags {
    std::uint16_t poll = 0;
    std::uint16_t pollrecord = 0;
    std::uint16_t pollmonitor = 0;

    void clearAll() { poll = pollrecord = pollmonitor = 0; }
};

}  // namespace tarvo
