#include "tcpchannel.h"

#include "eventpump.h"

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
    m_pump.waitFor(timeoutMs / 1000.0,
                   [&] { return failed || socket->state() == QAbstractSocket::ConnectedState; },
                   QEventLoop::ExcludeUserInputEvents);
    disconnect(onError);
    disconnect(onConnected);

    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        socket->deleteLater();
        if (!failed)
            return -11;  // TimeOutError
        switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return -4;   // FailedToConnect
        case QAbstractSocket::HostNotFoundError:
            return -2;   // UnableToEstablishConnection
        case QAbstractSocket::SocketTimeoutError:
            return -11;
        case QAbstractSocket::NetworkError:
            return -17;  // NetworkSubsystemNotReady
        case QAbstractSocket::SocketResourceError:
            return -10;  // OutOfMemory
        default:
            return -13;  // GeneralIOErr
        }
    }

    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setReadBufferSize(kChannelReadBufferBytes);
    connect(socket, &QTcpSocket::readyRead, this, &ByteChannel::readyRead);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket == m_socket) {
            m_socket.clear();
            socket->deleteLater();
            emit peerClosed();
        }
    });
    m_socket = socket;
    return 0;
}

bool TcpChannel::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void TcpChannel::close()
{
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
    return m_socket ? m_socket->bytesAvailable() : 0;
}

std::int64_t TcpChannel::read(std::uint8_t* data, std::int64_t max)
{
    if (!m_socket)
        return -14;  // ConnectionClosed
    return m_socket->read(reinterpret_cast<char*>(data), max);
}

} // namespace tarvo
