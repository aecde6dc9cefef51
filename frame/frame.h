// 36-byte command frame: 18 big-endian 16-bit words.
// Shared by the programs and the simulated sensor; no Qt here on purpose.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvo::frame {

constexpr int kWords = 18;          // anzframe
constexpr int kBytes = kWords * 2;  // 36 bytes on the wire, both directions
constexpr int kBufferBytes = 1024;  // szWriteBuf / szReadBuf
// The calibration table on the wire (command 33): 77 rows of 13 words, from word 3 of the frame.
constexpr int kCalibRows = 77;
constexpr int kCalibRowWords = 13;
constexpr int kCalibWords = kCalibRows * kCalibRowWords;  // 1001
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

// Words of a measurement frame: the reply to command 5, and every frame the
// sensor sends on its own. GF, GF RAW and PP are in tenths.
namespace measurement {
enum Word : int { ChRef = 2, ChDir, ChDif, Norm, Int, Gf, Vec, Temp, GfRaw, PP };
}

// The name of a command code as the trace and the logs show it.
inline const char* commandName(std::uint16_t code)
{
    switch (code) {
    case WriteParams: return "write parameters";
    case WriteTeachRow: return "write teach row";
    case ReadParams: return "read parameters";
    case ReadTeachRow: return "read teach row";
    case ReadMeasurement: return "read measurement";
    case StoreEeprom: return "store in EEPROM";
    case Identify: return "identification";
    case LoadEeprom: return "load from EEPROM";
    case ReadProfileBlock: return "read profile block";
    case ConfirmRefCalib: return "confirm reference calibration";
    case AnnounceCalibTable: return "announce calibration table";
    case WriteCalibRow: return "write calibration row";
    case CompRed: return "red factors";
    case CompGreen: return "green factors";
    case CompBlue: return "blue factors";
    case CompStart: return "start factor tables";
    case AutoSend: return "automatic sending";
    }
    return "unknown command";
}

// Commands whose bytes 4-5 carry an argument (a row, a block, on/off); the
// others carry the first parameter word there, without meaning.
inline bool hasArgument(std::uint16_t code)
{
    switch (code) {
    case WriteTeachRow:
    case ReadTeachRow:
    case ReadProfileBlock:
    case WriteCalibRow:
    case CompRed:
    case CompGreen:
    case CompBlue:
    case CompStart:
    case AutoSend: return true;
    default: return false;
    }
}

// A command code of this protocol.
inline bool isCommand(std::uint16_t code)
{
    return code == AutoSend || (code >= WriteParams && code <= ReadProfileBlock) || code == ConfirmRefCalib
        || code == AnnounceCalibTable || code == WriteCalibRow || (code >= CompRed && code <= CompStart);
}

// Commands whose reply names the row or block asked for in its word 2 (the
// teach-row read and the echoes of row and block writes). The profile block
// reply carries points there instead.
inline bool echoesArgument(std::uint16_t code)
{
    switch (code) {
    case WriteTeachRow:
    case ReadTeachRow:
    case WriteCalibRow:
    case CompRed:
    case CompGreen:
    case CompBlue: return true;
    default: return false;
    }
}

// Every command but automatic sending on/off is answered by one frame.
inline bool awaitsReply(std::uint16_t code)
{
    return code != AutoSend;
}

inline std::uint16_t getWord(const std::uint8_t* buf, int word)
{
    return static_cast<std::uint16_t>(buf[2 * word] << 8 | buf[2 * word + 1]);
}

inline void putWord(std::uint8_t* buf, int word, std::uint16_t value)
{
    buf[2 * word] = static_cast<std::uint8_t>(value >> 8);
    buf[2 * word + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// The echo check of a reply against the frame sent, over its first `words`
// words: the reply starts with the sensor's header 0x00 0xAA and repeats
// bytes 2 .. 2*words-1 of the frame. Returns the first byte that differs,
// -1 when the reply passes. Every byte is compared, no early exit.
inline int echoMismatchAt(const std::uint8_t* sent, const std::uint8_t* reply, int words)
{
    int at = -1;
    auto differs = [&at](int i, bool bad) {
        if (bad && at < 0)
            at = i;
    };
    differs(0, reply[0] != 0x00);
    differs(1, reply[1] != 0xAA);
    for (int i = 2; i < 2 * words && i < kBytes; ++i)
        differs(i, reply[i] != sent[i]);
    return at;
}

}  // namespace tarvo::frame
