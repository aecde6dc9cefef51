// The colour sensor's factor tables on the wire: the announcement (command
// 43), a short pause, then ten blocks of ten factors per colour (commands 40
// to 42), each acknowledged by its echo before the next one goes out.
#pragma once

#include "compcurves.h"
#include "exchange.h"

#include <QString>
#include <cstdint>
#include <span>

namespace tarvo {
class Link;
}

namespace tarvo::tempcomp {

constexpr int kFactorBlocks = kSteps / 10;  // ten factors per frame

// The words a factor block carries from word 3 on: factors 10·block to
// 10·block+9 of the table chosen by colour (0 red, 1 green, 2 blue); none
// for a block or colour out of range.
std::span<const std::uint16_t> factorBlock(const Factors& factors, int block, int colour);

// Sends the three tables. Stops at the first frame without a correct echo
// (the exchange has shown its failure) and leaves what was acknowledged in
// force. True when all 31 frames were acknowledged. blocksWritten, when
// given, learns how many factor blocks were acknowledged (red 0-9, green
// 10-19, blue 20-29). Between the announcement and the tables it pauses
// pauseMs (200 ms for the sensor; tests shorten it), running no callback.
bool SendFactorTables(Exchange& exchange, Link& link, const Factors& factors, int* blocksWritten = nullptr,
                      int pauseMs = 200);

// After a send that stopped at block `blocksWritten` (not the first): which
// blocks of which table are new, which one is unsure and which are as before.
QString describeCutFactors(int blocksWritten);

}  // namespace tarvo::tempcomp
