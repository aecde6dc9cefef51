// Listens on 127.0.0.1 and serves one client at a time; a new client
// replaces the old one.
#pragma once

#include "simchannel.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace tarvo::sim {

class TcpServerChannel final : public SimChannel {
    Q_OBJECT
public:
    explicit TcpServerChannel(QObject* parent = nullptr);
    ~TcpServerChannel() override;

    bool listen(quint16 port, QString* error);
    quint16 port() const { return m_server.serverPort(); }

    QString name() const override { return QStringLiteral("tcp"); }
    bool isConnected() const override;
    void send(const QByteArray& bytes) override;
    void closeConnection() override;
    qint64 backlog() const override { return m_socket ? m_socket->bytesToWrite() : 0; }
    // Connections are refused (the port is closed, the client cut) until resume().
    void suspend() override;
    bool resume(QString* error) override;

private:
    void acceptClients();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_socket;
    quint16 m_port = 0;
};

}  // namespace tarvo::sim
