#include "autoframes.h"

#include "eventpump.h"
#include "link.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <limits>

namespace tarvo {

namespace {

// Without a frame the wait looks at its loop flag again this often: the flag
// can be cleared without a wake-up (closing the program).
constexpr double kRecheck = 0.25;

}  // namespace

AutoFrameReader::AutoFrameReader(Link& link, EventPump& pump, std::function<void()> lineLost)
    : m_link(link)
    , m_pump(pump)
    , m_lineLost(std::move(lineLost))
{
}

void AutoFrameReader::begin(bool keepCounts)
{
    m_link.setAutoFrames(true);
    m_active = true;
    m_scanner.clear();
    m_head = 0;
    m_count = 0;
    if (!keepCounts)
        m_counts = {};
}

void AutoFrameReader::end()
{
    if (!m_active)
        return;
    m_active = false;
    m_scanner.clear();
    m_count = 0;
    m_link.setAutoFrames(false);
}

bool AutoFrameReader::wait(std::uint16_t& loopFlag)
{
    if (waitUntil(loopFlag, std::numeric_limits<double>::infinity()) == WaitEnd::Lost) {
        loopFlag = 0;
        if (m_lineLost)
            m_lineLost();
    }
    return m_count > 0;
}

AutoFrameReader::WaitEnd AutoFrameReader::waitUntil(std::uint16_t& loopFlag, double until)
{
    fill(false);
    m_pump.processEvents();
    fill(true);
    while (m_count == 0 && loopFlag == 1) {
        if (m_link.channelLost())
            return WaitEnd::Lost;
        const double now = m_pump.now();
        if (now >= until && m_scanner.held() == 0)
            return WaitEnd::Quiet;  // never while a frame is coming in
        const double wake = now >= until ? m_scanner.decidesAt() : std::min(m_scanner.decidesAt(), until);
        m_pump.waitFor(std::clamp(wake - now, 0.0, kRecheck),
                       [&] { return loopFlag != 1 || m_link.bytesAvailable() > 0 || m_link.channelLost(); });
        m_pump.processEvents();  // bytes on their way are no pause on the line
        fill(true);
    }
    return m_count > 0 ? WaitEnd::Frames : WaitEnd::Stopped;
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

void AutoFrameReader::fill(bool lineObserved)
{
    if (!m_active)
        return;
    while (m_count < kQueueFrames && m_scanner.space() > 0) {
        const auto n = static_cast<int>(m_link.readBytes(m_scanner.tail(), m_scanner.space()));
        if (n <= 0)
            break;
        m_scanner.added(n, m_pump.now());
        scan(0.0);
    }
    // Only a line seen quiet may cut a frame: bytes that waited unread
    // while the panels were drawn are no pause.
    if (lineObserved && m_link.bytesAvailable() == 0)
        scan(m_pump.now());
}

void AutoFrameReader::scan(double now)
{
    while (m_count < kQueueFrames) {
        const FrameScanner::Item item = m_scanner.next(now);
        if (item.kind == FrameScanner::Item::None)
            break;
        if (item.kind == FrameScanner::Item::Skipped) {
            m_link.trace().dropped(item.data, item.bytes);
            m_counts.skippedBytes += item.bytes;
            m_counts.cutFrames += item.cut ? 1 : 0;
            continue;
        }
        m_link.trace().received(item.data, item.bytes);
        if (frame::getWord(item.data, 1) != frame::ReadMeasurement) {
            ++m_counts.otherFrames;
            continue;
        }
        queue(item.data);
    }
}

void AutoFrameReader::queue(const std::uint8_t* frameBytes)
{
    FrameWords& words = m_queue[static_cast<size_t>((m_head + m_count) % kQueueFrames)];
    for (int w = 0; w < frame::kWords; ++w)
        words[static_cast<size_t>(w)] = frame::getWord(frameBytes, w);
    ++m_count;
    ++m_counts.frames;
}

bool AutoFrameReader::adopt(const std::uint8_t* bytes, int n)
{
    if (!m_active)
        return false;
    n = std::min(n, m_scanner.space());
    std::copy_n(bytes, n, m_scanner.tail());
    m_scanner.added(n, m_pump.now());
    return true;
}

int AutoFrameReader::dropQueuedAfter(int keep)
{
    const int n = std::max(0, m_count - std::max(0, keep));
    m_count -= n;
    m_counts.frames -= n;
    return n;
}

void AutoFrameReader::yieldHeld(FrameScanner& into)
{
    if (!m_active)
        return;
    scan(0.0);
    const FrameScanner::Item rest = m_scanner.flush();
    const int n = std::min(rest.bytes, into.space());
    if (n <= 0)
        return;
    // They came before anything the wait reads; what it holds is older still.
    std::copy_n(rest.data, n, into.tail());
    into.added(n, m_pump.now());
}

bool AutoFrameReader::offer(const std::uint8_t* frameBytes)
{
    if (!m_active || m_count >= kQueueFrames)
        return false;
    queue(frameBytes);
    return true;
}

QString autoFrameReport(const AutoFrameCounts& counts, long notDrawn)
{
    QString text;
    if (counts.skippedBytes > 0)
        text += QCoreApplication::translate("AutoFrames",
                                            " The sensor's data were out of step: %n byte(s) that belonged to no "
                                            "whole frame \n were skipped. \n",
                                            nullptr, int(counts.skippedBytes));
    if (counts.cutFrames > 0)
        text += QCoreApplication::translate(
            "AutoFrames", " %n frame(s) came cut short and were dropped; their bytes are among those skipped. \n",
            nullptr, int(counts.cutFrames));
    if (notDrawn > 0)
        text += QCoreApplication::translate("AutoFrames",
                                            " %1 of %n frame(s) count in the trend but were not drawn: they came "
                                            "faster \n than the chart is drawn and had left its window before it "
                                            "was drawn again. \n",
                                            nullptr, int(counts.frames))
                    .arg(notDrawn);
    return text;
}

}  // namespace tarvo
