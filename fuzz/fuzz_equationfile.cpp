// Arbitrary bytes as an equation file: fifteen finite numbers or a reason,
// and coefficients written read back as the same doubles.
#include "equationfile.h"
#include "fuzzfiles.h"

#include <cmath>

using namespace tarvo::tempcomp;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString path = tarvo::fuzz::scratchFile("equation.equ");
    tarvo::fuzz::putFile(path, tarvo::fuzz::bytesOf(data, size));

    QString error;
    const auto c = readEquationFile(path, &error);
    if (!tarvo::fuzz::accepted(c, error))
        return 0;
    for (double v : *c)
        if (!std::isfinite(v))
            broken("an accepted coefficient that is not finite");

    if (!writeEquationFile(path, *c, &error))
        broken("the equation file cannot be written back");
    const auto again = readEquationFile(path, &error);
    if (!again || *again != *c)
        broken("coefficients do not read back as written");
    return 0;
}
