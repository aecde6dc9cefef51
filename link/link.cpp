#include "link.h"

#include "connectionfault.h"
#include "eventpump.h"
#include "serialports.h"
#include "statustexts.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarvo {

namespace {
constexpr int kConnectTimeoutMs = 5000;
constexpr int kReattachTimeoutMs = 2000;
}

LinkOptions linkOptions(ProgramProfile profile)
{
    LinkOptions o;
    if (profile == ProgramProfile::ColourTool) {
        o.serialOpenStopsLoops = false;
        o.tcpFailureAsMessage = true;
    }
    return o;
}

Link::Link(EventPump& pump, LoopFlags& flags, LinkHost& host, ProgramProfile profile, QObject* parent)
    : QObject(parent)
    , m_pump(pump)
    , m_flags(flags)
    , m_host(host)
    , m_options(linkOptions(profile))
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
    connect(m_serialChannel, &ByteChannel::vanished, this, &Link::SerialVanished);
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
    comdevice = settings.comdevice;
    ipBuf = settings.ipBuf;
    portNumStr = settings.portNumStr;
    portNum = portNumberOf(portNumStr);
    if (comprotocol == RS232)
        InitRS232();
    else if (comprotocol == TCPIP)
        InitTCP_IP();
}

void Link::Reattach(const ConnectionSettings& settings)
{
    ConnectionSettings same = settings;
    if (same.comprotocol == RS232 && same.comdevice.isEmpty() && !m_serialPath.isEmpty())
        same.comdevice = m_serialPath;
    m_reattaching = true;
    m_connectTimeoutMs = kReattachTimeoutMs;
    Connect(same);
    m_reattaching = false;
    m_connectTimeoutMs = kConnectTimeoutMs;
}

void Link::setAutoReconnect(bool on)
{
    m_autoReconnect = on;
    m_serialChannel->setKeepAlive(on);
    m_tcpChannel->setKeepAlive(on);
}

void Link::InitRS232()
{
    if (m_options.serialOpenStopsLoops && !m_reattaching) {
        m_flags.poll = 0;
        m_flags.pollrecord = 0;
    }
    CloseCom();
    opening();
    const SerialDevice device = comdevice.isEmpty() ? resolveSerialPort(comport)
                                                    : SerialDevice{.path = comdevice, .description = {}};
    m_serialPath = device.path;
    ret = static_cast<std::int16_t>(m_serialChannel->open(device.path, 0, 0));
    traceOpening(true);
    if (ret < 0) {
        szStatus = rs232StatusText(ret);
        if (!m_reattaching)
            m_host.showLinkStatus(rs232StatusText(ret, Wording::Shown));
        return;
    }
    m_serialChannel->flushQueues();
}

void Link::InitTCP_IP()
{
    if (tcpcon > 0)
        DisconnectFromTCPServer();
    opening();
    if (!m_reattaching)
        m_host.setWaitCursor(true);
    ret = static_cast<std::int16_t>(m_tcpChannel->open(ipBuf, portNum, m_connectTimeoutMs));
    traceOpening(false);
    if (!m_reattaching)
        m_host.setWaitCursor(false);
    if (ret < 0) {
        szStatus = tcpStatusText(ret);
        if (m_reattaching) {
            // the reconnection tells its own state
        } else if (m_options.tcpFailureAsMessage) {
            m_host.message(QStringLiteral("TCP Client"), connectionFault(*this, 0.0).advice);
        } else {
            // The status says why in words, not the channel's error name.
            m_host.showLinkStatus(openingFaultReason(*this, Wording::Shown));
        }
        tcpcon = 0;
        return;
    }
    tcpcon = 1;
}

void Link::opening()
{
    // A new line: nothing of the old one is owed or lost on it.
    ++m_openings;
    m_lost = false;
    m_lostReason.clear();
    m_lostReasonShown.clear();
    rx.waiting = false;
    rx.autoFrames = false;
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
    if (written == n)
        m_trace.written(data, n, written);
    else
        m_trace.written(data, n, written, writeFailureText(isSerial(), written),
                        writeFailureText(isSerial(), written, Wording::Shown));
    if (written != n)
        lose(QT_TRANSLATE_NOOP("Link", "a frame could not be written"));  // nothing more goes through this channel
    return written;
}

std::int32_t Link::GetInQLen() const
{
    return static_cast<std::int32_t>(
        std::min(m_serialChannel->bytesAvailable(), static_cast<std::int64_t>(rx.szReadBuf.size())));
}

void Link::FlushQueues()
{
    if (!isSerial())
        return;
    traceFlushedInput();
    m_serialChannel->flushQueues();
}

bool Link::WaitInQWithoutEvents(std::int32_t want, double limit)
{
    const double start = m_pump.now();
    while (GetInQLen() < want) {
        const double left = limit - (m_pump.now() - start);
        if (left <= 0.0)
            return false;
        // Ends early only when the port cannot deliver anything any more.
        if (!m_serialChannel->waitForReadyRead(std::max(1, static_cast<int>(std::ceil(left * 1000.0)))))
            return false;
    }
    return true;
}

void Link::ClientTCPDataReady()
{
    // A waiting exchange or the automatic-frame reader takes the bytes;
    // anything else (the answer to command 50, a reply that came after its
    // exchange gave up) is read and dropped, so it cannot pollute the next
    // reply.
    if (!rx.waiting && !rx.autoFrames)
        dropBytes(*m_tcpChannel);
    m_pump.poke();
}

void Link::dropBytes(ByteChannel& channel)
{
    while (channel.bytesAvailable() > 0) {
        const std::int64_t n = channel.read(m_scratch.data(), static_cast<std::int64_t>(m_scratch.size()));
        if (n <= 0)
            break;
        m_trace.dropped(m_scratch.data(), n);
    }
}

void Link::setAutoFrames(bool on, bool dropWaiting)
{
    if (on == rx.autoFrames && !on)
        return;
    if (!dropWaiting) {
        rx.autoFrames = on;
        return;
    }
    rx.autoFrames = false;
    // Older bytes belong to no frame of this sending; left-overs of the
    // sending belong to no later reply. Only what came in is dropped: a
    // frame on its way out (command 50) must still go.
    dropBytes(isSerial() ? *m_serialChannel : *m_tcpChannel);
    rx.autoFrames = on;
}

std::int64_t Link::bytesAvailable() const
{
    return isSerial() ? m_serialChannel->bytesAvailable() : m_tcpChannel->bytesAvailable();
}

std::int64_t Link::readBytes(std::uint8_t* data, std::int64_t max)
{
    if (max <= 0 || bytesAvailable() <= 0)
        return 0;
    return std::max<std::int64_t>(0, isSerial() ? m_serialChannel->read(data, max) : m_tcpChannel->read(data, max));
}

void Link::lose(const char* reason, const QString& arg)
{
    if (m_lost)
        return;
    m_lost = true;
    // A reason with %1 takes arg even when it is empty (a device path not known).
    const bool takesArg = std::strstr(reason, "%1") != nullptr;
    const auto worded = [&](Wording wording) {
        const QString text = tarvo::worded(wording, "Link", reason);
        return takesArg ? text.arg(arg) : text;
    };
    m_lostReason = worded(Wording::English);
    m_lostReasonShown = worded(Wording::Shown);
    m_trace.closed();
    emit connectionLost();
    m_pump.poke();  // a wait for the sensor ends now
}

void Link::ClientTCPDisconnected()
{
    tcpcon = 0;
    if (!isSerial())
        lose(QT_TRANSLATE_NOOP("Link", "connection closed by the sensor"));
    else
        m_trace.closed();
    if (!m_reattaching && !m_autoReconnect)
        m_host.message(QCoreApplication::translate("Link", "TCP Client"),
                       QCoreApplication::translate("Link", "Server has closed connection!"));
}

void Link::SerialVanished()
{
    if (isSerial())
        lose(QT_TRANSLATE_NOOP("Link", "the serial device %1 has gone"), m_serialPath);
}

}  // namespace tarvo
