// TCP client channel to a sensor that acts as TCP server.
#pragma once

#include "bytechannel.h"

#include <QPointer>
#include <QTcpSocket>

namespace tarvo {

class EventPump;

class TcpChannel final : public ByteChannel {
    Q_OBJECT
public:
    TcpChannel(EventPump& pump, QObject* parent = nullptr);
    ~TcpChannel() override;

    // Connects within timeoutMs; returns 0 or a negative code of the TCP
    // status table. User input is held back meanwhile, as during a blocking
    // connect, but the panels keep painting.
    int connectTo(const QString& host, int port, int timeoutMs);
    int open(const QString& host, int port, int timeoutMs) override { return connectTo(host, port, timeoutMs); }

    bool isOpen() const override;
    // Closes our side quietly: no peerClosed() for a close we asked for.
    // Bytes that came before the peer closed are dropped only here.
    void close() override;
    std::int64_t write(const std::uint8_t* data, std::int64_t n, int timeoutMs) override;
    std::int64_t bytesAvailable() const override;
    std::int64_t read(std::uint8_t* data, std::int64_t max) override;
    void setKeepAlive(bool on) override { m_keepAlive = on; }

private:
    void applyKeepAlive(QTcpSocket* socket);
    void peerGone(QTcpSocket* socket);

    EventPump& m_pump;
    QPointer<QTcpSocket> m_socket;
    QByteArray m_rest;  // what came before the peer closed, still to be read
    bool m_keepAlive = false;
};

}  // namespace tarvo
