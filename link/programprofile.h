// Which program talks to the sensor: the scope (the gloss sensor's full
// program, and tarvoctl) or the temperature-compensation tool (the colour
// sensor's program, and tarvoctl's factor commands). Each layer derives
// from it how it behaves for that program: the link, the exchange, the
// interface panel.
#pragma once

namespace tarvo {

enum class ProgramProfile {
    Scope,
    ColourTool,
};

}  // namespace tarvo
