// Temperature curves of the three colour channels and the compensation
// factors derived from them. Pure computation; drawing is the panel's job.
#pragma once

#include <array>
#include <cstdint>

namespace tarvo::tempcomp {

constexpr int kSteps = 100;        // temperature steps 0..99
constexpr int kChannels = 3;       // red, green, blue
constexpr int kCoefficients = 15;  // five per channel
constexpr int kFactorOne = 1024;   // factors have ten fraction bits
constexpr int kFactorMax = 0xFFFF;

enum Channel : int { Red = 0, Green = 1, Blue = 2 };
inline constexpr const char* kChannelNames[kChannels] = {"red", "green", "blue"};

// The coefficients the tool takes lie within ±kCoefficientLimit (its fields' range).
inline constexpr double kCoefficientLimit = 1e9;

// RX4, RX3, RX2, RX1, RT, GX4 … GT, BX4 … BT: panel order and file order.
using Coefficients = std::array<double, kCoefficients>;
using CurveTable = std::array<double, kSteps>;
using FactorTable = std::array<std::uint16_t, kSteps>;
using References = std::array<std::uint16_t, kChannels>;

// Extremes of a chart's data. They start at 10000 / -10000, so a chart's
// y-range always takes in that band's edge nearest to the data.
struct Extremes {
    double min = 10000.0;
    double max = -10000.0;
};

struct Curves {
    CurveTable dataRot{};
    CurveTable dataGruen{};
    CurveTable dataBlau{};
    std::array<double, kChannels * kSteps> dataRGB{};  // red, green, blue per step
    std::array<Extremes, kChannels> extremes{};
    Extremes overall;

    const CurveTable& channel(int c) const { return c == Red ? dataRot : c == Green ? dataGruen : dataBlau; }
};

// Factors that did not fit 0..65535 (or had no quotient) in one channel.
struct ClampReport {
    int count = 0;
    int firstStep = -1;
};

struct Factors {
    FactorTable dataCfRot{};
    FactorTable dataCfGruen{};
    FactorTable dataCfBlau{};
    std::array<std::uint16_t, kChannels * kSteps> dataCfRGB{};
    std::array<Extremes, kChannels> extremes{};
    Extremes overall;
    std::array<ClampReport, kChannels> clamped{};

    const FactorTable& channel(int c) const { return c == Red ? dataCfRot : c == Green ? dataCfGruen : dataCfBlau; }
    bool anyClamped() const { return clamped[0].count + clamped[1].count + clamped[2].count > 0; }
};

// A value limited to an unsigned 16-bit field; `clamped` when it did not fit
// (negative, too large, or not a number at all).
struct Limited {
    std::uint16_t value = 0;
    bool clamped = false;
};

// Evaluates the three fourth-degree polynomials at t = 0..99.
Curves CalcCurves(const Coefficients& c);

// trunc(ref · 1024 / curve), limited to 0..65535. A curve value of 0 (or not
// a number) has no quotient and gives 0.
Limited compensationFactor(std::uint16_t ref, double curve);

// The factor tables for the given reference values.
Factors CalcCfCurves(const Curves& curves, const References& refs);

// A curve value as a reference: truncated toward zero, limited to 0..65535.
Limited referenceValue(double curve);

// A table of 100 zeros: the sensor would turn that colour off. Only a
// reference of 0 gives it.
bool allZero(const FactorTable& table);

}  // namespace tarvo::tempcomp
