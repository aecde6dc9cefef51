#include "autoframes.h"

#include "eventpump.h"
#include "link.h"

#include <algorithm>
#include <cstring>

namespace tarvo {

namespace {

// Without a frame the wait looks at its loop flag again this often: the flag
// can be cleared without a wake-up (closing the program).
constexpr double kRecheck = 0.25;

// Replies to requests, which a sensor may also send while sending on its own.
bool isOtherReply(std::uint16_t code)
{
    switch (code) {
    case frame::WriteParams: case frame::WriteTeachRow: case frame::ReadParams: case frame::ReadTeachRow:
    case frame::StoreEeprom: case frame::Identify: case frame::LoadEeprom: case frame::ReadProfileBlock:
    case frame::ConfirmRefCalib: case frame::AnnounceCalibTable: case frame::WriteCalibRow:
    case frame::CompRed: case frame::CompGreen: case frame::CompBlue: case frame::CompStart: case frame::AutoSend:
        return true;
    default:
        return false;
    }
}

} // namespace

AutoFrameReader::AutoFrameReader(Link& link, EventPump& pump)
    : m_link(link)
    , m_pump(pump)
{
}

void AutoFrameReader::begin()
{
    m_link.setAutoFrames(true);
    m_active = true;
    m_inStray = false;
    m_have = 0;
    m_head = 0;
    m_count = 0;
    m_counts = {};
}

void AutoFrameReader::end()
{
    if (!m_active)
        return;
    m_active = false;
    m_have = 0;
    m_count = 0;
    m_link.setAutoFrames(false);
}

bool AutoFrameReader::wait(const std::uint16_t& loopFlag)
{
    fill();
    m_pump.processEvents();
    fill();
    while (m_count == 0 && loopFlag == 1) {
        m_pump.waitFor(kRecheck, [&] { return loopFlag != 1 || m_link.autoBytesAvailable() > 0; });
        fill();
    }
    return m_count > 0;
}

int AutoFrameReader::takeAll(const std::function<void(const FrameWords&)>& take)
{
    int n = 0;
    while (m_count > 0) {
        const FrameWords words = m_queue[static_cast<size_t>(m_head)];
        m_head = (m_head + 1) % kQueueFrames;
        --m_count;
        ++n;
        take(words);
        if (!m_active)
            break;  // the taker ended automatic reception
    }
    return n;
}

void AutoFrameReader::fill()
{
    if (!m_active)
        return;
    while (m_count < kQueueFrames) {
        const std::int64_t n = m_link.readAutoBytes(m_bytes.data() + m_have, kBufferBytes - m_have);
        if (n <= 0)
            break;
        m_have += static_cast<int>(n);
        scan();
    }
}

void AutoFrameReader::scan()
{
    int i = 0;
    auto skip = [&] {
        if (!m_inStray)
            ++m_counts.droppedPieces;
        m_inStray = true;
        ++m_counts.strayBytes;
        ++i;
    };
    while (m_have - i >= 4) {
        const std::uint8_t* p = m_bytes.data() + i;
        if (frame::getWord(p, 0) != frame::kSyncSensor) {
            skip();
            continue;
        }
        const std::uint16_t code = frame::getWord(p, 1);
        if (code != frame::ReadMeasurement && !isOtherReply(code)) {
            skip();
            continue;
        }
        if (m_have - i < frame::kBytes)
            break;  // the rest of the frame is still on its way
        if (code == frame::ReadMeasurement) {
            if (m_count == kQueueFrames)
                break;  // full: the frame waits here until the queue is taken
            FrameWords& words = m_queue[static_cast<size_t>((m_head + m_count) % kQueueFrames)];
            for (int w = 0; w < frame::kWords; ++w)
                words[static_cast<size_t>(w)] = frame::getWord(p, w);
            ++m_count;
            ++m_counts.frames;
        } else {
            ++m_counts.otherFrames;
        }
        m_inStray = false;
        i += frame::kBytes;
    }
    m_have -= i;
    std::memmove(m_bytes.data(), m_bytes.data() + i, static_cast<size_t>(m_have));
}

QString autoFrameReport(const AutoFrameCounts& counts, long notDrawn)
{
    QString text;
    if (counts.droppedPieces > 0)
        text += QStringLiteral(" The sensor's data were out of step %1 time(s): %2 byte(s) that belonged to no whole \n"
                               " frame were skipped, and a frame they cut short was dropped. \n")
                    .arg(counts.droppedPieces)
                    .arg(counts.strayBytes);
    // A frame now and then that comes with the next is not worth a word; a
    // display that keeps falling behind is.
    if (notDrawn > 0 && notDrawn * 10 >= counts.frames)
        text += QStringLiteral(" %1 of %2 frame(s) were taken but not drawn, to keep up with the sensor. \n")
                    .arg(notDrawn)
                    .arg(counts.frames);
    return text;
}

} // namespace tarvo
