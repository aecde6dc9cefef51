// Arbitrary bytes as a parameter file: the block changes only when the whole
// file is good, and a block written reads back unchanged.
#include "fuzzfiles.h"
#include "paramfile.h"

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString path = fuzz::scratchFile("params.dat");
    fuzz::putFile(path, fuzz::bytesOf(data, size));

    ParameterBlock pp;
    pp.fill(0xA5A5);
    const ParameterBlock before = pp;
    const ParamFileResult read = readParameterFile(path, pp);
    if (read.ok != read.error.isEmpty())
        broken("a result that is good and has a reason, or neither");
    if (!read.ok) {
        if (pp != before)
            broken("a refused file changed the block");
        return 0;
    }

    ParameterBlock again{};
    if (!writeParameterFile(path, pp).ok || !readParameterFile(path, again).ok || again != pp)
        broken("a parameter block does not read back as written");
    return 0;
}
