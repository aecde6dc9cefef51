// The frames the sensor sends on its own while automatic sending is on
// (command 50 with argument 1): one reader for the trend monitor and the
// triggered recorder, on either link.
//
// The reader takes the bytes that have come in, finds the measurement frames
// in them by their header (0x00AA, then command 5), and keeps whole frames in
// a bounded queue. Bytes that belong to no frame (stray bytes, a cut frame)
// are skipped up to the next header and counted; a reply to another command
// (such as an answer to command 50) is passed over whole. When the queue is
// full the reader stops taking bytes, so the link's own bounded buffer and
// the line hold the rest: nothing read is lost and memory stays bounded.
#pragma once

#include "frame.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace tarvo {

class EventPump;
class Link;

using FrameWords = std::array<std::uint16_t, frame::kWords>;

struct AutoFrameCounts {
    long frames = 0;         // measurement frames taken
    long droppedPieces = 0;  // places where bytes belonging to no whole frame were skipped
    long strayBytes = 0;     // bytes skipped there
    long otherFrames = 0;    // frames of other commands (an answer to command 50) passed over
};

class AutoFrameReader {
public:
    static constexpr int kQueueFrames = 512;
    static constexpr int kBufferBytes = 8192;

    AutoFrameReader(Link& link, EventPump& pump);

    // Automatic sending starts: the link hands its bytes to this reader;
    // older bytes and counts are dropped.
    void begin();
    // Automatic sending is over: what is still waiting is dropped.
    void end();
    bool active() const { return m_active; }

    // Waits until whole measurement frames are queued or loopFlag is no
    // longer 1. Pending events always run once first, so a sensor that sends
    // faster than the panel can draw never starves the window (STOP, paint).
    // True when frames are queued.
    bool wait(const std::uint16_t& loopFlag);
    // Hands every queued frame to take, oldest first; returns how many.
    int takeAll(const std::function<void(const FrameWords&)>& take);

    int queued() const { return m_count; }
    const AutoFrameCounts& counts() const { return m_counts; }

private:
    void fill();
    void scan();

    Link& m_link;
    EventPump& m_pump;
    bool m_active = false;
    bool m_inStray = false;
    std::array<std::uint8_t, kBufferBytes> m_bytes{};
    int m_have = 0;
    std::array<FrameWords, kQueueFrames> m_queue{};
    int m_head = 0;
    int m_count = 0;
    AutoFrameCounts m_counts;
};

// What the user is told when automatic reception stops and something did
// not reach the displays whole: skipped bytes, and frames received but not
// drawn when that was a tenth of them or more. Empty when there is nothing
// to tell.
QString autoFrameReport(const AutoFrameCounts& counts, long notDrawn);

} // namespace tarvo
