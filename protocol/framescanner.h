// Finds the sensor's frames in the bytes that come in, for the exchange's
// replies and for the frames the sensor sends on its own.
//
// A frame begins with the sensor's header (0x00AA, then a command code) and
// is taken only whole. The sensor sends a frame's 36 bytes back to back, so a
// frame is cut short when the line pauses inside it, or when another header
// begins inside it and the bytes after it do not go on with the next frame.
// What is not a whole frame is handed out as skipped bytes.
#pragma once

#include "frame.h"

#include <array>
#include <cstdint>
#include <limits>

namespace tarvo {

class FrameScanner {
public:
    static constexpr int kCapacity = 8192;
    // A frame's bytes come within 19 ms on a 19200-baud line and within a
    // USB adapter's latency of 16 to 32 ms; over TCP in one segment, or, from
    // a sensor that writes a frame in pieces, within the PC's delayed
    // acknowledgement of up to 200 ms. A line quiet for longer than all of
    // these inside a frame has cut it.
    static constexpr double kCutPause = 0.3;
    // A whole frame with a header inside it (its data can look like one)
    // waits this long for the bytes after it that tell which frame was cut;
    // bytes of a frame in flight follow much sooner.
    static constexpr double kSettle = 0.05;

    struct Item {
        enum Kind { None, Frame, Skipped };
        Kind kind = None;
        int bytes = 0;                       // 36 for a frame; the count of skipped bytes
        bool cut = false;                    // skipped bytes that began with a header: a frame cut short
        const std::uint8_t* data = nullptr;  // valid until the scanner is given more bytes
    };

    // Where the next bytes go, and how many fit; added() tells how many came.
    std::uint8_t* tail();
    int space() const { return kCapacity - held(); }
    void added(int n, double now);

    // The next whole frame or run of skipped bytes from the front, as far as
    // the bytes in hand and the time since the last one decide it; None when
    // it waits for more bytes or for the line's pause. With `text`, 36 bytes
    // that do not begin with a header are a frame too (the identification).
    Item next(double now, bool text = false);
    // Whether a pause on the line cuts a frame begun (the default). Off, a
    // frame begun waits for its bytes as long as its reader waits.
    void setCutByPause(bool on) { m_cutByPause = on; }
    // When a waiting next() decides without more bytes; infinity when it cannot.
    double decidesAt() const { return m_decidesAt; }
    int held() const { return m_end - m_start; }
    // Hands out everything held as skipped bytes (nothing when empty).
    Item flush();
    void clear();

private:
    bool headerAt(int i) const;        // a whole header at m_start + i
    bool headerPrefixAt(int i) const;  // a header, as far as the bytes in hand show
    Item take(Item::Kind kind, int n, bool cut = false);
    Item wait(double until);

    std::array<std::uint8_t, kCapacity> m_buf{};
    int m_start = 0;
    int m_end = 0;
    double m_lastByteAt = 0.0;
    bool m_cutByPause = true;
    double m_decidesAt = std::numeric_limits<double>::infinity();
};

}  // namespace tarvo
