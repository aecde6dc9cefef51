#include "tcpchannel.h"

#include "eventpump.h"

#include <algorithm>

#if defined(Q_OS_LINUX)
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace tarvo {

TcpChannel::TcpChannel(EventPump& pump, QObject* parent)
    : ByteChannel(parent)
    , m_pump(pump)
{
}

TcpChannel::~TcpChannel()
{
    close();
}

int TcpChannel::connectTo(const QString& host, int port, int timeoutMs)
{
    close();
    if (port < 1 || port > 65535 || host.trimmed().isEmpty())
        return -9;  // InvalidParameter

    auto* socket = new QTcpSocket(this);
    bool failed = false;
    QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
    auto onError = connect(socket, &QTcpSocket::errorOccurred, this, [&](QAbstractSocket::SocketError e) {
        failed = true;
        error = e;
        m_pump.poke();
    });
    auto onConnected = connect(socket, &QTcpSocket::connected, &m_pump, &EventPump::poke);
    socket->connectToHost(host.trimmed(), static_cast<quint16>(port));
    m_pump.waitFor(
        timeoutMs / 1000.0, [&] { return failed || socket->state() == QAbstractSocket::ConnectedState; },
        QEventLoop::ExcludeUserInputEvents);
    disconnect(onError);
    disconnect(onConnected);

    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        socket->deleteLater();
        if (!failed)
            return -11;  // TimeOutError
        switch (error) {
        case QAbstractSocket::ConnectionRefusedError: return -4;  // FailedToConnect
        case QAbstractSocket::HostNotFoundError: return -2;       // UnableToEstablishConnection
        case QAbstractSocket::SocketTimeoutError: return -11;
        case QAbstractSocket::NetworkError: return -17;         // NetworkSubsystemNotReady
        case QAbstractSocket::SocketResourceError: return -10;  // OutOfMemory
        default: return -13;                                    // GeneralIOErr
        }
    }

    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setReadBufferSize(kChannelReadBufferBytes);
    if (m_keepAlive)
        applyKeepAlive(socket);
    connect(socket, &QTcpSocket::readyRead, this, &ByteChannel::readyRead);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { peerGone(socket); });
    // A connection that failed (reset, or the keep-alive probes unanswered)
    // ends as one the peer closed.
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
        if (e != QAbstractSocket::SocketTimeoutError && socket->state() != QAbstractSocket::ConnectedState)
            peerGone(socket);
    });
    m_socket = socket;
    return 0;
}

void TcpChannel::peerGone(QTcpSocket* socket)
{
    if (socket != m_socket)
        return;
    m_socket.clear();
    socket->disconnect(this);
    // The last frames often come together with the close: they were sent,
    // so they stay readable.
    m_rest = socket->readAll();
    socket->deleteLater();
    emit peerClosed();
}

void TcpChannel::applyKeepAlive(QTcpSocket* socket)
{
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#if defined(Q_OS_LINUX)
    // The system's default waits two hours before the first probe; a sensor
    // that lost power is noticed here after about 5 + 3 x 2 s of silence.
    const int fd = static_cast<int>(socket->socketDescriptor());
    const int idle = 5, interval = 2, count = 3;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
#endif
}

bool TcpChannel::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void TcpChannel::close()
{
    m_rest.clear();
    if (!m_socket)
        return;
    QTcpSocket* socket = m_socket;
    m_socket.clear();
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

std::int64_t TcpChannel::write(const std::uint8_t* data, std::int64_t n, int)
{
    if (!isOpen())
        return -8;  // WriteFailed
    const qint64 written = m_socket->write(reinterpret_cast<const char*>(data), n);
    m_socket->flush();
    return written;
}

std::int64_t TcpChannel::bytesAvailable() const
{
    return m_socket ? m_socket->bytesAvailable() : m_rest.size();
}

std::int64_t TcpChannel::read(std::uint8_t* data, std::int64_t max)
{
    if (m_socket)
        return m_socket->read(reinterpret_cast<char*>(data), max);
    if (m_rest.isEmpty())
        return -14;  // ConnectionClosed
    const auto n = std::min<std::int64_t>(max, m_rest.size());
    std::copy_n(m_rest.constData(), n, reinterpret_cast<char*>(data));
    m_rest.remove(0, n);
    return n;
}

}  // namespace tarvo
