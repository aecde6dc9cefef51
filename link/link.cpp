#include "link.h"

#include "eventpump.h"
#include "serialports.h"
#include "statustexts.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {
constexpr int kConnectTimeoutMs = 5000;
}

Link::Link(EventPump& pump, LoopFlags& flags, LinkHost& host, LinkOptions options, QObject* parent)
    : QObject(parent)
    , m_pump(pump)
    , m_flags(flags)
    , m_host(host)
    , m_options(options)
    , m_serial(this)
    , m_tcp(pump, this)
{
    attachChannels();
}

void Link::attachChannels()
{
    // A serial wait watches the queue length; a byte arriving is reason to look.
    connect(m_serialChannel, &ByteChannel::readyRead, &m_pump, &EventPump::poke);
    connect(m_tcpChannel, &ByteChannel::readyRead, this, &Link::ClientTCPDataReady);
    connect(m_tcpChannel, &ByteChannel::peerClosed, this, &Link::ClientTCPDisconnected);
}

void Link::replaceChannels(ByteChannel& serial, ByteChannel& tcp)
{
    CloseCom();
    DisconnectFromTCPServer();
    m_serialChannel->disconnect(this);
    m_serialChannel->disconnect(&m_pump);
    m_tcpChannel->disconnect(this);
    m_serialChannel = &serial;
    m_tcpChannel = &tcp;
    attachChannels();
}

void Link::Connect(const ConnectionSettings& settings)
{
    CloseCom();
    DisconnectFromTCPServer();
    comprotocol = settings.comprotocol;
    comport = settings.comport;
    ipBuf = settings.ipBuf;
    portNumStr = settings.portNumStr;
    portNum = portNumberOf(portNumStr);
    if (comprotocol == RS232)
        InitRS232();
    else if (comprotocol == TCPIP)
        InitTCP_IP();
}

void Link::InitRS232()
{
    if (m_options.serialOpenStopsLoops) {
        m_flags.poll = 0;
        m_flags.pollrecord = 0;
    }
    CloseCom();
    rx.owed = 0;  // a new line owes nothing
    rx.autoFrames = false;
    const SerialDevice device = resolveSerialPort(comport);
    m_serialPath = device.path;
    ret = static_cast<std::int16_t>(m_serialChannel->open(device.path, 0, 0));
    traceOpening(true);
    if (ret < 0) {
        szStatus = rs232StatusText(ret);
        m_host.showLinkStatus(szStatus);
        return;
    }
    m_serialChannel->flushQueues();
}

void Link::InitTCP_IP()
{
    if (tcpcon > 0)
        DisconnectFromTCPServer();
    rx.owed = 0;  // a new connection owes nothing
    rx.autoFrames = false;
    m_host.setWaitCursor(true);
    ret = static_cast<std::int16_t>(m_tcpChannel->open(ipBuf, portNum, kConnectTimeoutMs));
    traceOpening(false);
    m_host.setWaitCursor(false);
    if (ret < 0) {
        szStatus = tcpStatusText(ret);
        if (m_options.tcpFailureAsMessage)
            m_host.message(QStringLiteral("TCP Client"), szStatus);
        else
            m_host.showLinkStatus(szStatus);
        tcpcon = 0;
        return;
    }
    tcpcon = 1;
}

void Link::CloseCom()
{
    m_serialChannel->close();
}

void Link::DisconnectFromTCPServer()
{
    m_tcpChannel->close();
    tcpcon = 0;
}

std::int64_t Link::write(const std::uint8_t* data, int n, int tcpTimeoutMs)
{
    const std::int64_t written = isSerial() ? m_serialChannel->write(data, n, tcpTimeoutMs)
                                            : m_tcpChannel->write(data, n, tcpTimeoutMs);
    trace.written(data, n, written);
    return written;
}

std::int32_t Link::GetInQLen() const
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(m_serialChannel->bytesAvailable(), rx.szReadBuf.size()));
}

std::int32_t Link::ComRd(std::int32_t n)
{
    n = std::clamp<std::int32_t>(n, 0, static_cast<std::int32_t>(rx.szReadBuf.size()));
    if (n == 0)
        return 0;
    const auto got = static_cast<std::int32_t>(m_serialChannel->read(rx.szReadBuf.data(), n));
    trace.received(rx.szReadBuf.data(), got);
    return got;
}

void Link::FlushQueues()
{
    if (!isSerial())
        return;
    dropped(m_serialChannel->bytesAvailable());
    traceFlushedInput();
    m_serialChannel->flushQueues();
}

void Link::WaitInQWithoutEvents(std::int32_t want, double limit)
{
    const double start = m_pump.now();
    while (GetInQLen() < want) {
        const double left = limit - (m_pump.now() - start);
        if (left <= 0.0)
            break;
        // Ends early only when the port cannot deliver anything any more.
        if (!m_serialChannel->waitForReadyRead(std::max(1, static_cast<int>(std::ceil(left * 1000.0)))))
            break;
    }
}

void Link::ClientTCPDataReady()
{
    if (rx.autoFrames) {
        m_pump.poke();  // the automatic-frame reader takes the bytes
        return;
    }
    // Bytes land consecutively from the start of the receive buffer, never
    // more than the waiting exchange still expects.
    const std::int32_t size = static_cast<std::int32_t>(rx.szReadBuf.size());
    while (rx.waiting && rx.bytesToRead > 0 && m_tcpChannel->bytesAvailable() > 0) {
        const std::int32_t offset = rx.dataSize - rx.bytesToRead;
        if (offset < 0 || offset >= size || rx.bytesToRead > size - offset) {
            rx.bytesToRead = 0;  // counters out of range: never write past the buffer
            break;
        }
        rx.bytesRead = static_cast<std::int32_t>(m_tcpChannel->read(rx.szReadBuf.data() + offset, rx.bytesToRead));
        if (rx.bytesRead <= 0)
            break;  // nothing more for now; a closed connection ends in the wait's time limit
        trace.received(rx.szReadBuf.data() + offset, rx.bytesRead);
        rx.bytesToRead -= rx.bytesRead;
    }
    // Anything beyond the expected reply, or arriving while no exchange waits
    // (the answer to command 50, a reply that came too late), is read and
    // dropped so it cannot pollute the next reply.
    if (!rx.waiting || rx.bytesToRead <= 0)
        dropTcpBytes();
    m_pump.poke();
}

void Link::dropTcpBytes()
{
    while (m_tcpChannel->bytesAvailable() > 0) {
        const std::int64_t n = m_tcpChannel->read(m_scratch.data(), static_cast<std::int64_t>(m_scratch.size()));
        if (n <= 0)
            break;
        trace.dropped(m_scratch.data(), n);
        dropped(n);
    }
}

void Link::dropped(std::int64_t n)
{
    // Dropped bytes pay off what an abandoned exchange still owed.
    rx.owed = static_cast<std::int32_t>(std::max<std::int64_t>(0, rx.owed - n));
}

void Link::setAutoFrames(bool on)
{
    if (on == rx.autoFrames && !on)
        return;
    rx.autoFrames = false;
    // Older bytes belong to no frame of this sending; left-overs of the
    // sending belong to no later reply. Only what came in is dropped: a
    // frame on its way out (command 50) must still go.
    if (isSerial()) {
        while (m_serialChannel->bytesAvailable() > 0) {
            const std::int64_t n = m_serialChannel->read(m_scratch.data(), static_cast<std::int64_t>(m_scratch.size()));
            if (n <= 0)
                break;
            trace.dropped(m_scratch.data(), n);
            dropped(n);
        }
    } else {
        dropTcpBytes();
    }
    rx.autoFrames = on;
}

std::int64_t Link::autoBytesAvailable() const
{
    return isSerial() ? m_serialChannel->bytesAvailable() : m_tcpChannel->bytesAvailable();
}

std::int64_t Link::readAutoBytes(std::uint8_t* data, std::int64_t max)
{
    if (max <= 0 || autoBytesAvailable() <= 0)
        return 0;
    const std::int64_t n = isSerial() ? m_serialChannel->read(data, max) : m_tcpChannel->read(data, max);
    trace.received(data, n);
    return n;
}

void Link::ClientTCPDisconnected()
{
    tcpcon = 0;
    trace.closed();
    m_host.message(QStringLiteral("TCP Client"), QStringLiteral("Server has closed connection!"));
}

} // namespace tarvo
