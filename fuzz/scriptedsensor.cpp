#include "scriptedsensor.h"

#include <algorithm>
#include <cstring>

namespace tarvo::fuzz {

ScriptedChannel::ScriptedChannel(Kind kind, std::int64_t capacity, QObject* parent)
    : ByteChannel(parent)
    , m_kind(kind)
    , m_capacity(capacity)
{
}

int ScriptedChannel::open(const QString&, int, int)
{
    close();
    const int code = onOpen ? onOpen() : 0;
    if (code != 0)
        return code;
    m_open = true;
    ++m_opens;
    return 0;
}

void ScriptedChannel::close()
{
    // A new line or connection starts empty; nothing of the old one arrives.
    m_open = false;
    m_input.clear();
    m_readPos = 0;
    m_pending.clear();
}

std::int64_t ScriptedChannel::write(const std::uint8_t* data, std::int64_t n, int)
{
    if (!m_open)
        return m_kind == Kind::Tcp ? -8 : -3;
    // What came too late for the previous request arrives now, before any reply.
    for (Arrival& a : m_pending)
        if (a.late) {
            a.late = false;
            a.ticks = 0;
        }
    std::stable_partition(m_pending.begin(), m_pending.end(), [](const Arrival& a) { return a.ticks == 0; });
    if (onRequest)
        onRequest(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(n)));
    return n;
}

bool ScriptedChannel::enter(Arrival& a)
{
    if (a.hangUp) {
        const bool wasOpen = m_open;
        close();
        if (wasOpen && m_kind == Kind::Tcp)
            emit peerClosed();
        return true;
    }
    if (!m_open)
        return true;  // sent into a line that is gone
    const std::int64_t room = m_capacity - bytesAvailable();
    if (m_kind == Kind::Tcp && room < a.bytes.size()) {
        if (room <= 0)
            return false;
        m_input.append(a.bytes.left(room));
        a.bytes.remove(0, room);
        emit readyRead();
        return false;
    }
    m_input.append(a.bytes.left(std::max<std::int64_t>(room, 0)));  // a serial overrun loses the rest
    emit readyRead();
    return true;
}

bool ScriptedChannel::tick()
{
    if (m_pending.empty())
        return false;
    Arrival& next = m_pending.front();
    if (next.late)
        return false;
    if (next.ticks > 0) {
        --next.ticks;
        return true;
    }
    const std::int64_t before = bytesAvailable();
    if (!enter(next))
        return bytesAvailable() != before;
    if (!m_pending.empty())
        m_pending.pop_front();
    return true;
}

void ScriptedChannel::flushPending()
{
    while (!m_pending.empty()) {
        Arrival a = std::move(m_pending.front());
        m_pending.pop_front();
        enter(a);
    }
}

std::int64_t ScriptedChannel::read(std::uint8_t* data, std::int64_t max)
{
    if (onRead)
        onRead(data, max);
    if (!m_open)
        return m_kind == Kind::Tcp ? -14 : 0;
    const std::int64_t n = std::min<std::int64_t>(max, bytesAvailable());
    if (n <= 0)
        return 0;
    std::memcpy(data, m_input.constData() + m_readPos, static_cast<size_t>(n));
    m_readPos += n;
    if (m_readPos == m_input.size() || m_readPos > 4096) {  // drop what was read, now and then
        m_input.remove(0, m_readPos);
        m_readPos = 0;
    }
    return n;
}

void ScriptedChannel::flushQueues()
{
    if (m_kind == Kind::Serial) {
        m_input.clear();
        m_readPos = 0;
    }
}

bool ScriptedChannel::waitForReadyRead(int)
{
    // A blocking wait gets the next arrival at once, however late it was
    // planned; nothing pending is a time-out.
    if (m_kind != Kind::Serial || !m_open)
        return false;
    while (!m_pending.empty() && !m_pending.front().late) {
        m_pending.front().ticks = 0;
        const std::int64_t before = bytesAvailable();
        tick();
        if (bytesAvailable() != before)
            return true;
    }
    return false;
}

}  // namespace tarvo::fuzz
