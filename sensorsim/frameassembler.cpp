#include "frameassembler.h"

#include "frame.h"

namespace tarvo::sim {

QList<QByteArray> FrameAssembler::feed(const QByteArray& bytes)
{
    m_buffer.append(bytes);
    QList<QByteArray> frames;
    qsizetype pos = 0;
    const qsizetype size = m_buffer.size();
    while (pos < size) {
        const auto first = static_cast<quint8>(m_buffer[pos]);
        if (first != 0x00) {
            ++pos;
            ++m_dropped;
            continue;
        }
        if (pos + 1 >= size)
            break;  // a lone 0x00 may still become a sync word
        if (static_cast<quint8>(m_buffer[pos + 1]) != frame::kSyncPc) {
            ++pos;
            ++m_dropped;
            continue;
        }
        if (size - pos < frame::kBytes)
            break;
        frames.append(m_buffer.mid(pos, frame::kBytes));
        pos += frame::kBytes;
    }
    m_buffer.remove(0, pos);
    return frames;
}

}  // namespace tarvo::sim
