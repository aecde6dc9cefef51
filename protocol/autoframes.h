// The frames the sensor sends on its own while automatic sending is on
// (command 50 with argument 1): one reader for the trend monitor and the
// triggered recorder, on either link.
//
// The reader takes the bytes that have come in, finds the measurement frames
// in them (FrameScanner: by their header, taken only whole) and keeps them in
// a bounded queue. Bytes that belong to no whole frame (stray bytes, a frame
// cut short) are skipped and counted; a reply to another command (such as an
// answer to command 50) is passed over whole. When the queue is full the
// reader stops taking bytes, so the link's own bounded buffer and the line
// hold the rest: nothing read is lost and memory stays bounded.
#pragma once

#include "frame.h"
#include "framescanner.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace tarvo {

class EventPump;
class Link;

using FrameWords = std::array<std::uint16_t, frame::kWords>;

struct AutoFrameCounts {
    long frames = 0;        // measurement frames taken
    long skippedBytes = 0;  // bytes that belonged to no whole frame, those of cut frames included
    long cutFrames = 0;     // frames that began but were cut short, dropped
    long otherFrames = 0;   // frames of other commands (an answer to command 50) passed over
};

class AutoFrameReader {
public:
    static constexpr int kQueueFrames = 512;

    // lineLost: the reaction when the link is lost while frames are awaited.
    AutoFrameReader(Link& link, EventPump& pump, std::function<void()> lineLost);

    // Automatic sending starts: the link hands its bytes to this reader;
    // older bytes and, unless keepCounts, the counts are dropped.
    void begin(bool keepCounts = false);
    // Automatic sending is over: what is still waiting is dropped.
    void end();
    bool active() const { return m_active; }

    // Waits until whole measurement frames are queued or loopFlag is no
    // longer 1. Pending events always run once first, so a sensor that sends
    // faster than the panel can draw never starves the window (STOP, paint).
    // A lost link ends the loop: loopFlag is cleared and the lineLost
    // reaction runs. True when frames are queued.
    bool wait(std::uint16_t& loopFlag);

    // How a wait of waitUntil ended.
    enum class WaitEnd { Frames, Stopped, Lost, Quiet };
    // As wait, but a lost link only ends the wait (Lost; loopFlag and the
    // reaction are left to the caller), and so does the clock passing
    // `until` (pump seconds) without a frame (Quiet).
    WaitEnd waitUntil(std::uint16_t& loopFlag, double until);
    // A measurement frame that a request's wait took in while this reader
    // is active (the line check asks while the sensor sends): queued like
    // the reader's own. False when the reader is not active or full.
    bool offer(const std::uint8_t* frameBytes);
    // Bytes a request's wait took in after its reply: they come before
    // anything still on the line. False when the reader is not active.
    bool adopt(const std::uint8_t* bytes, int n);
    // The bytes held that make no whole frame yet (a frame begun behind a
    // reply) go to `into`, a request's wait that reads their rest. The whole
    // frames held are queued first, as far as there is room.
    void yieldHeld(FrameScanner& into);
    // Hands every queued frame to take, oldest first; returns how many.
    int takeAll(const std::function<void(const FrameWords&)>& take);

    // Drops the frames queued after the first `keep` (they came from a
    // sensor that turned out to be another one); returns how many.
    int dropQueuedAfter(int keep);

    int queued() const { return m_count; }
    const AutoFrameCounts& counts() const { return m_counts; }

private:
    // Reads what the channel holds. With lineObserved (events have just run
    // and the channel is found empty), a pause on the line may decide a frame.
    void fill(bool lineObserved);
    // Takes the frames and skipped bytes the scanner can tell, while the
    // queue has room; `now` judges pauses (0: none is judged).
    void scan(double now);
    void queue(const std::uint8_t* frameBytes);

    Link& m_link;
    EventPump& m_pump;
    std::function<void()> m_lineLost;
    bool m_active = false;
    FrameScanner m_scanner;
    std::array<FrameWords, kQueueFrames> m_queue{};
    int m_head = 0;
    int m_count = 0;
    AutoFrameCounts m_counts;
};

// What the user is told when automatic reception stops and something did
// not reach the displays whole: skipped bytes, frames cut short, and frames
// that were taken but never appeared on a chart. Each is told only when it
// occurred; empty when there is nothing to tell.
QString autoFrameReport(const AutoFrameCounts& counts, long notDrawn);

}  // namespace tarvo
