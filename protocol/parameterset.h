// The sensor's parameter set: sixteen 16-bit parameters and the 31-row teach
// table, and the packed block pp in which they travel.
#pragma once

#include <array>
#include <cstdint>

namespace tarvo {

constexpr int kParamCount = 16;
constexpr int kTeachRows = 31;
constexpr int kTeachCols = 4;
constexpr int kBlockWords = kParamCount + kTeachRows * kTeachCols;  // anzpara = 140
// The parameter words, then the teach rows' words.
using ParameterWords = std::array<std::uint16_t, kBlockWords>;

// The parameters' names, in the order of their words in the block.
inline constexpr std::array<const char*, kParamCount> kParamNames = {
    "power",   "pmod",     "average",   "evalmode",  "hold", "intlim", "maxno",     "digitalout",
    "trigger", "extteach", "anaoutbeg", "anaoutend", "bias", "sttrsh", "profilbeg", "profilend"};

// Transfer targets of Send and Get.
constexpr std::int32_t RAM = 1;
constexpr std::int32_t EEPROM = 2;
constexpr std::int32_t DATFILE = 3;

class ParameterSet {
public:
    std::uint16_t power = 0, pmod = 0, average = 0, evalmode = 0, hold = 0, intlim = 0, maxno = 0, digitalout = 0,
                  trigger = 0, extteach = 0, anaoutbeg = 0, anaoutend = 0, bias = 0, sttrsh = 0, profilbeg = 0,
                  profilend = 0;
    std::array<std::array<double, kTeachCols>, kTeachRows> cttDouble{};
    std::array<std::uint16_t, kBlockWords> pp{};
    // The teach words as last fetched or read, whatever the mode: with an
    // evaluation mode other than 0 and 1 the table is not unpacked, and these
    // go back unchanged.
    std::array<std::uint16_t, kTeachRows * kTeachCols> teachWords{};
    std::uint16_t anzpara = kBlockWords;
    std::uint16_t target = RAM;

    void CopyVarsToPP();
    // Unpacks a read reply that sits in pp[0..17] (header, code, payload).
    void CopyPPtoVars();
    // Unpacks a whole block pp[0..139] as read from a parameter file.
    void CopyFileParatoVars();

private:
    std::array<std::uint16_t*, kParamCount> vars();
};

}  // namespace tarvo
