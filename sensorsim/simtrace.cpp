#include "simtrace.h"

#include "frame.h"
#include "frametrace.h"
#include "sensorsim.h"

namespace tarvo::sim {

namespace {
const std::uint8_t* data(const QByteArray& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}
}  // namespace

SimTrace::SimTrace(SensorSim& sim, FrameTrace& trace, QObject* parent)
    : QObject(parent)
    , m_sim(sim)
    , m_trace(trace)
{
    connect(&sim, &SensorSim::clientConnected, this, &SimTrace::onConnected);
    connect(&sim, &SensorSim::clientDisconnected, this, [this](const QString& channel) {
        TraceRecord r;
        r.dir = TraceDirection::SensorToPc;
        r.link = linkName(channel);
        r.outcome = TraceOutcome::ConnectionClosed;
        m_trace.add(r);
    });
    connect(&sim, &SensorSim::frameReceived, this, &SimTrace::onFrame);
    connect(&sim, &SensorSim::bytesSent, this, &SimTrace::onSent);
}

QString SimTrace::linkName(const QString& channel) const
{
    if (channel == u"tcp")
        return QStringLiteral("TCP 127.0.0.1:%1").arg(m_sim.tcpPort());
    return QStringLiteral("pseudo-terminal %1").arg(m_sim.ptyPath());
}

void SimTrace::onConnected(const QString& channel)
{
    // The records that follow carry this link.
    m_trace.opened(linkName(channel), true, {});
}

void SimTrace::onFrame(const QByteArray& frame)
{
    // Bytes skipped while looking for this frame's start came first.
    const qint64 dropped = m_sim.droppedBytes();
    if (dropped > m_dropped) {
        TraceRecord r;
        r.outcome = TraceOutcome::Dropped;
        r.count = static_cast<int>(dropped - m_dropped);
        m_trace.add(r);
    }
    m_dropped = dropped;

    TraceRecord r;
    r.outcome = TraceOutcome::Received;
    r.bytes = frame;
    if (frame.size() >= 6) {
        r.command = frame::getWord(data(frame), 1);
        if (frame::hasArgument(static_cast<std::uint16_t>(r.command)))
            r.arg = frame::getWord(data(frame), 2);
    }
    m_trace.add(r);
    m_command = r.command;
    m_arg = r.arg;
    m_replyDue = r.command >= 0 && frame::awaitsReply(static_cast<std::uint16_t>(r.command));
}

void SimTrace::onSent(const QByteArray& bytes)
{
    TraceRecord r;
    r.dir = TraceDirection::SensorToPc;
    r.bytes = bytes;
    const bool header = bytes.size() >= 4 && bytes[0] == 0x00 && bytes[1] == char(0xAA);
    if (m_replyDue) {
        r.command = m_command;
        r.arg = m_arg;
        r.outcome = TraceOutcome::Sent;
        m_replyDue = false;
    } else if (header) {
        r.command = frame::getWord(data(bytes), 1);
        r.outcome = TraceOutcome::AutoFrame;
    } else {
        r.outcome = TraceOutcome::Sent;  // unrequested bytes
    }
    m_trace.add(r);
}

}  // namespace tarvo::sim
