#include "parameterset.h"

#include "frame.h"

#include <algorithm>

namespace tarvo {

std::array<std::uint16_t*, kParamCount> ParameterSet::vars()
{
    return {&power,   &pmod,     &average,   &evalmode,  &hold, &intlim, &maxno,     &digitalout,
            &trigger, &extteach, &anaoutbeg, &anaoutend, &bias, &sttrsh, &profilbeg, &profilend};
}

namespace {
// Teach values travel as integers: as they are in vector mode, in tenths in
// gloss mode, the fraction truncated. A value read as word / 10 comes back
// a hair below the word when multiplied again (2.3 * 10 = 22.999...), so a
// tiny allowance keeps a fetched table unchanged when it is sent back.
// Out-of-range values are clamped rather than wrapped.
std::uint16_t packTeach(double value, std::uint16_t evalmode)
{
    const double scaled = (evalmode == 1 ? value * 10.0 : value) + 1e-7;
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 65535.0)
        return 65535;
    return static_cast<std::uint16_t>(scaled);
}

double unpackTeach(std::uint16_t word, std::uint16_t evalmode)
{
    return evalmode == 1 ? word / 10.0 : static_cast<double>(word);
}
}  // namespace

void ParameterSet::CopyVarsToPP()
{
    auto v = vars();
    for (int i = 0; i < kParamCount; ++i)
        pp[i] = *v[i];
    if (evalmode != 0 && evalmode != 1) {
        std::copy(teachWords.begin(), teachWords.end(), pp.begin() + kParamCount);
        return;
    }
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c)
            pp[kParamCount + kTeachCols * r + c] = packTeach(cttDouble[r][c], evalmode);
}

void ParameterSet::CopyPPtoVars()
{
    if (pp[0] != frame::kSyncSensor)
        return;
    if (pp[1] == frame::ReadParams) {
        auto v = vars();
        for (int i = 0; i < kParamCount; ++i)
            *v[i] = pp[2 + i];
        if (maxno > 31)
            maxno = 31;
    } else if (pp[1] == frame::ReadTeachRow) {
        const int row = pp[2];
        if (row >= kTeachRows)
            return;
        std::copy(pp.begin() + 3, pp.begin() + 3 + kTeachCols, teachWords.begin() + kTeachCols * row);
        if (evalmode != 0 && evalmode != 1)
            return;
        for (int c = 0; c < kTeachCols; ++c)
            cttDouble[row][c] = unpackTeach(pp[3 + c], evalmode);
    }
}

void ParameterSet::CopyFileParatoVars()
{
    auto v = vars();
    for (int i = 0; i < kParamCount; ++i)
        *v[i] = pp[i];
    std::copy(pp.begin() + kParamCount, pp.end(), teachWords.begin());
    if (evalmode == 0 || evalmode == 1)
        for (int r = 0; r < kTeachRows; ++r)
            for (int c = 0; c < kTeachCols; ++c)
                cttDouble[r][c] = unpackTeach(pp[kParamCount + kTeachCols * r + c], evalmode);
    if (maxno >= 32)
        maxno = 31;
}

}  // namespace tarvo
