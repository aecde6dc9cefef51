// Cuts a byte stream from the PC into 36-byte command frames.
#pragma once

#include <QByteArray>
#include <QList>

namespace tarvo::sim {

class FrameAssembler {
public:
    // Appends bytes and returns every frame that is now complete. Bytes that
    // cannot start a frame (the stream does not begin with 0x00 0x55) are
    // dropped one by one until it does, and counted.
    QList<QByteArray> feed(const QByteArray& bytes);

    qint64 droppedBytes() const { return m_dropped; }
    int pendingBytes() const { return int(m_buffer.size()); }
    void reset() { m_buffer.clear(); }

private:
    QByteArray m_buffer;
    qint64 m_dropped = 0;
};

}  // namespace tarvo::sim
