// Misbehaviour the simulated sensor can be told to show, so that the
// programs' timeout and echo handling can be exercised. The reply faults act
// on replies to requests, not on frames sent by automatic sending.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvo::sim {

struct Faults {
    int delayMs = 0;                  // hold each affected reply back this long
    int dropReplies = 0;              // drop the next N affected replies; kAll: every one
    int corruptByte = -1;             // invert this byte (0..35) of each affected reply
    int replyLength = 0;              // 0: 36 bytes; else cut or pad (0x00) affected replies to it
    int junkBytes = 0;                // send this many junk bytes before each affected reply
    int closeAfterFrames = 0;         // close a connection after answering N frames on it
    int followGapMs = 0;              // a reply held behind a delayed one leaves this long after it
    bool measurementInstead = false;  // a measurement frame goes out in place of each affected reply
    int onlyCommand = -1;             // affect only replies to this command code
    int onlyArgument = -1;            // affect only replies to frames with this argument (word 2)
    int afterFrames = 0;              // affect only replies to frames after the first N
    bool frameBehind = false;         // a measurement frame follows each affected reply in the same write
    int splitAt = -1;                 // write each affected reply (frame behind included) in two, cut here
    int splitGapMs = 0;               // the second piece of a split write leaves this long after the first
    bool echo = false;                // send back the frame received in place of each affected reply

    static constexpr int kAll = -1;

    bool operator==(const Faults&) const = default;
    QString describe() const;
};

// Decides, reply by reply, what the faults do to it. Counters restart
// whenever the faults are set.
class FaultInjector {
public:
    struct Result {
        bool dropped = false;
        bool measurementInstead = false;  // the caller sends a measurement frame instead
        bool frameBehind = false;         // the caller appends a measurement frame
        bool echo = false;                // the caller sends the frame received instead
        int splitAt = -1;                 // the caller writes the bytes in two, cut here
        int delayMs = 0;
        QByteArray bytes;   // what goes on the wire, junk included
        QStringList notes;  // one entry per fault applied, for the log
    };

    void set(const Faults& faults);
    const Faults& faults() const { return m_faults; }

    // Call for every frame received, before its reply is built.
    void countFrame() { ++m_frames; }
    Result apply(quint16 command, quint16 argument, const QByteArray& reply);

private:
    Faults m_faults;
    int m_frames = 0;
    int m_dropsLeft = 0;
};

}  // namespace tarvo::sim
