#include "framescanner.h"

#include <cstring>

namespace tarvo {

namespace {
constexpr int kHeaderBytes = 4;
constexpr double kNever = std::numeric_limits<double>::infinity();
}  // namespace

std::uint8_t* FrameScanner::tail()
{
    if (m_start > 0) {
        std::memmove(m_buf.data(), m_buf.data() + m_start, static_cast<size_t>(m_end - m_start));
        m_end -= m_start;
        m_start = 0;
    }
    return m_buf.data() + m_end;
}

void FrameScanner::added(int n, double now)
{
    if (n <= 0)
        return;
    m_end += n;
    m_lastByteAt = now;
}

void FrameScanner::clear()
{
    m_start = m_end = 0;
    m_decidesAt = kNever;
}

bool FrameScanner::headerAt(int i) const
{
    const std::uint8_t* p = m_buf.data() + m_start + i;
    return m_start + i + kHeaderBytes <= m_end && frame::getWord(p, 0) == frame::kSyncSensor
        && frame::isCommand(frame::getWord(p, 1));
}

bool FrameScanner::headerPrefixAt(int i) const
{
    const int have = m_end - (m_start + i);
    if (have >= kHeaderBytes)
        return headerAt(i);
    const std::uint8_t* p = m_buf.data() + m_start + i;
    return have > 0 && p[0] == 0x00 && (have < 2 || p[1] == 0xAA) && (have < 3 || p[2] == 0x00);
}

FrameScanner::Item FrameScanner::take(Item::Kind kind, int n, bool cut)
{
    Item item;
    item.kind = kind;
    item.bytes = n;
    item.cut = cut;
    item.data = m_buf.data() + m_start;
    m_start += n;
    if (m_start == m_end)
        m_start = m_end = 0;
    m_decidesAt = kNever;
    return item;
}

FrameScanner::Item FrameScanner::wait(double until)
{
    m_decidesAt = until;
    return {};
}

FrameScanner::Item FrameScanner::flush()
{
    const int n = held();
    return n > 0 ? take(Item::Skipped, n, headerAt(0)) : Item{};
}

FrameScanner::Item FrameScanner::next(double now, bool text)
{
    const int n = held();
    if (n == 0)
        return wait(kNever);
    const double quiet = now - m_lastByteAt;

    if (!headerAt(0)) {
        if (text || (n < kHeaderBytes && headerPrefixAt(0))) {
            // The identification, or what may yet become a header.
            if (text && n >= frame::kBytes)
                return take(Item::Frame, frame::kBytes);
            if (!m_cutByPause)
                return wait(kNever);
            return quiet >= kCutPause ? take(Item::Skipped, n) : wait(m_lastByteAt + kCutPause);
        }
        // Bytes that belong to no frame, up to where a header may begin.
        int p = 1;
        while (p < n && !headerPrefixAt(p))
            ++p;
        return take(Item::Skipped, p);
    }

    if (n < frame::kBytes) {
        if (!m_cutByPause)
            return wait(kNever);
        return quiet >= kCutPause ? take(Item::Skipped, n, true) : wait(m_lastByteAt + kCutPause);
    }

    // A header inside the frame: this one was cut short there, or its data
    // only look like a header. The bytes after it tell: the next frame
    // begins right after a whole one.
    int inner = 0;
    for (int j = kHeaderBytes; j < frame::kBytes && inner == 0; ++j)
        if (n - j >= 2 && headerPrefixAt(j))
            inner = j;
    if (inner == 0)
        return take(Item::Frame, frame::kBytes);
    if (n >= frame::kBytes + kHeaderBytes)
        return headerAt(frame::kBytes) ? take(Item::Frame, frame::kBytes) : take(Item::Skipped, inner, true);
    return quiet >= kSettle ? take(Item::Frame, frame::kBytes) : wait(m_lastByteAt + kSettle);
}

}  // namespace tarvo
