// 36-byte command frame: 18 big-endian 16-bit words.
// Shared by the programs and the simulated sensor; no Qt here on purpose.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvo::frame {

constexpr int kWords = 18;            // anzframe
constexpr int kBytes = kWords * 2;    // 36 bytes on the wire, both directions
constexpr int kBufferBytes = 1024;    // szWriteBuf / szReadBuf
constexpr std::uint16_t kSyncPc = 0x0055;
constexpr std::uint16_t kSyncSensor = 0x00AA;

// Command codes.
enum Command : std::uint16_t {
    WriteParams = 1,
    WriteTeachRow = 2,
    ReadParams = 3,
    ReadTeachRow = 4,
    ReadMeasurement = 5,
    StoreEeprom = 6,
    Identify = 7,
    LoadEeprom = 8,
    ReadProfileBlock = 9,
    ConfirmRefCalib = 30,
    AnnounceCalibTable = 32,
    WriteCalibRow = 33,
    CompRed = 40,
    CompGreen = 41,
    CompBlue = 42,
    CompStart = 43,
    AutoSend = 50,
};

inline std::uint16_t getWord(const std::uint8_t* buf, int word)
{
    return static_cast<std::uint16_t>(buf[2 * word] << 8 | buf[2 * word + 1]);
}

inline void putWord(std::uint8_t* buf, int word, std::uint16_t value)
{
    buf[2 * word] = static_cast<std::uint8_t>(value >> 8);
    buf[2 * word + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace tarvo::frame
