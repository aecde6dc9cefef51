#include "compcurves.h"

#include <algorithm>
#include <cmath>

namespace tarvo::tempcomp {

namespace {

Limited limitTo16Bits(double value)
{
    if (std::isnan(value))
        return {0, true};
    const double t = std::trunc(value);
    if (t < 0.0)
        return {0, true};
    if (t > kFactorMax)
        return {kFactorMax, true};
    return {static_cast<std::uint16_t>(t), false};
}

Extremes overallOf(const std::array<Extremes, kChannels>& channels)
{
    Extremes all;
    for (const Extremes& e : channels) {
        all.min = std::min(all.min, e.min);
        all.max = std::max(all.max, e.max);
    }
    return all;
}

}  // namespace

Curves CalcCurves(const Coefficients& c)
{
    Curves out;
    CurveTable* tables[kChannels] = {&out.dataRot, &out.dataGruen, &out.dataBlau};
    for (int t = 0; t < kSteps; ++t) {
        const std::int32_t t2 = t * t;
        const std::int32_t t3 = t2 * t;
        const std::int32_t t4 = t3 * t;
        for (int ch = 0; ch < kChannels; ++ch) {
            const double* k = &c[static_cast<size_t>(5 * ch)];
            // Summed left to right, highest power first.
            const double v = k[0] * t4 + k[1] * t3 + k[2] * t2 + k[3] * t + k[4];
            (*tables[ch])[t] = v;
            out.dataRGB[static_cast<size_t>(3 * t + ch)] = v;
            // Extremes are whole numbers, truncated toward zero (-12.7 gives -12).
            Extremes& e = out.extremes[ch];
            if (!std::isfinite(v))
                continue;  // cannot happen with coefficients in the fields' range
            if (e.min > v)
                e.min = std::trunc(v);
            if (e.max < v)
                e.max = std::trunc(v);
        }
    }
    out.overall = overallOf(out.extremes);
    return out;
}

Limited compensationFactor(std::uint16_t ref, double curve)
{
    const std::int32_t dividend = std::int32_t(ref) * kFactorOne;  // exact
    const double q = dividend / curve;
    if (!std::isfinite(q))
        return {0, true};  // curve value 0: no quotient
    return limitTo16Bits(q);
}

Factors CalcCfCurves(const Curves& curves, const References& refs)
{
    Factors out;
    FactorTable* tables[kChannels] = {&out.dataCfRot, &out.dataCfGruen, &out.dataCfBlau};
    for (int t = 0; t < kSteps; ++t) {
        for (int ch = 0; ch < kChannels; ++ch) {
            const Limited f = compensationFactor(refs[ch], curves.channel(ch)[t]);
            (*tables[ch])[t] = f.value;
            out.dataCfRGB[static_cast<size_t>(3 * t + ch)] = f.value;
            if (f.clamped) {
                ClampReport& r = out.clamped[ch];
                if (r.count++ == 0)
                    r.firstStep = t;
            }
            Extremes& e = out.extremes[ch];
            e.min = std::min<double>(e.min, f.value);
            e.max = std::max<double>(e.max, f.value);
        }
    }
    out.overall = overallOf(out.extremes);
    return out;
}

Limited referenceValue(double curve)
{
    return limitTo16Bits(curve);
}

bool allZero(const FactorTable& table)
{
    return std::all_of(table.begin(), table.end(), [](std::uint16_t f) { return f == 0; });
}

}  // namespace tarvo::tempcomp
