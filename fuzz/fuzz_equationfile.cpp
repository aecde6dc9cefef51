// Arbitrary bytes as an equation file: fifteen finite numbers or a reason,
// and coefficients written read back as the same doubles.
#include "equationfile.h"
#include "fuzzfiles.h"

#include <cmath>

using namespace tarvo::tempcomp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const auto c = tarvo::fuzz::readsBackAsWritten("equation.equ", data, size, readEquationFile, writeEquationFile);
    if (c)
        for (double v : *c)
            if (!std::isfinite(v))
                tarvo::fuzz::broken("an accepted coefficient that is not finite");
    return 0;
}
