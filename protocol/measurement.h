// Measured values: the measurement frame (command 5) unpacked into the
// values every display reads, the ten-block piece profile (command 9), and
// the live polling loop behind GO.
#pragma once

#include "frame.h"

#include <array>
#include <cstdint>

namespace tarvo {

class EventPump;
class Exchange;
class Link;
class Reconnector;
struct LoopFlags;

constexpr int kProfilePoints = 150;      // profileBuf
constexpr int kProfileBlocks = 10;       // command 9, blocks 0..9
constexpr int kProfileBlockPoints = 16;  // points in blocks 0..8
constexpr std::uint16_t kNoVector = 255;

using DataWords = std::array<std::uint16_t, frame::kWords>;

// The units of the measured values, as chart axes and exports name them.
inline constexpr const char* kUnitCounts = "counts";   // CH_REF, CH_DIR, CH_DIF, INT
inline constexpr const char* kUnitNorm = "per mille";  // NORM = CH_DIR*1000/(CH_DIR+CH_DIF)
inline constexpr const char* kUnitGloss = "GU";        // GF and PP, gloss units
inline constexpr const char* kUnitRaw = "raw";         // TEMP as the sensor reports it
inline constexpr const char* kUnitProfile = "raw/10";  // profile points, the sensor's words / 10

// The last value set received, from whatever source, and the last profile.
struct MeasuredValues {
    std::uint16_t dataChRef = 0;
    std::uint16_t dataChDir = 0;
    std::uint16_t dataChDif = 0;
    std::uint16_t dataNorm = 0;
    std::uint16_t dataInt = 0;
    std::uint16_t dataGf = 0;   // tenths
    std::uint16_t dataVec = 0;  // 255: no vector or error state
    std::uint16_t dataTemp = 0;
    std::uint16_t dataGfRaw = 0;  // tenths
    std::uint16_t dataPP = 0;     // tenths
    double dataGfDouble = 0.0;
    double dataGfRawDouble = 0.0;
    double dataPPDouble = 0.0;

    // The PC clock when this value set arrived, ms since the epoch; 0 for
    // values that did not come from the sensor.
    std::int64_t receivedMs = 0;

    std::array<double, kProfilePoints> profileBuf{};
    std::uint16_t anzprof = 0;           // valid points, never more than kProfilePoints
    std::uint16_t maxprof = 0;           // raw word
    std::uint16_t minprof = 0;           // raw word
    std::int64_t profileReceivedMs = 0;  // when a block of the profile last arrived

    // Words 2..11 of a measurement frame into the values; the words are
    // unsigned, so a set top bit gives a large value, never a negative one.
    void CopyDatatoVars(const DataWords& databuf);
    // Profile block k (0..9) of a command-9 reply into profileBuf; block 9
    // also carries maxprof, minprof and anzprof. Other k change nothing.
    void StoreProfileBlock(int k, const DataWords& databuf);
};

// What the transfers show; the program implements it.
class MeasurementHost {
public:
    virtual ~MeasurementHost() = default;
    virtual void HideProfileGraph() = 0;
    virtual void SetPanelData() = 0;
    virtual void ShowGraph() = 0;
    virtual void ShowProfile() = 0;
};

class MeasurementTransfer {
public:
    MeasurementTransfer(Exchange& exchange, Link& link, EventPump& pump, LoopFlags& flags, MeasuredValues& values,
                        MeasurementHost& host);

    // The live loop: one measurement frame after another until poll is
    // cleared; each complete frame is shown and drawn before the next request.
    void GetData();
    // Ten profile blocks, the profile shown, then one measurement frame.
    void GetProfile();
    // One command-5 exchange; on a complete reply the values are unpacked
    // and true returned. A missing reply is left to the caller.
    bool ReadMeasurement();
    // The words of the last complete reply ReadMeasurement() took.
    const DataWords& lastWords() const { return m_lastWords; }

    // Automatic sending (command 50 with argument 1): the sensor then sends a
    // measurement frame for every part on its own, which the exchange's
    // automatic-frame reader takes. No reply is awaited.
    void StartAutoSend();

    bool running() const { return m_running; }

    // With "Reconnect and resume" on, the live loop takes a lost line up
    // again and goes on instead of ending.
    void setReconnector(Reconnector* reconnect) { m_reconnect = reconnect; }

private:
    Exchange& m_ex;
    Link& m_link;
    EventPump& m_pump;
    LoopFlags& m_flags;
    MeasuredValues& m_values;
    MeasurementHost& m_host;
    Reconnector* m_reconnect = nullptr;
    bool m_running = false;
    DataWords m_lastWords{};
};

}  // namespace tarvo
