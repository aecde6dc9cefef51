#include "tcpserverchannel.h"

namespace tarvo::sim {

TcpServerChannel::TcpServerChannel(QObject* parent)
    : SimChannel(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpServerChannel::acceptClients);
}

TcpServerChannel::~TcpServerChannel()
{
    // Sockets closing during destruction must not call back into this object.
    const auto sockets = m_server.findChildren<QTcpSocket*>();
    for (QTcpSocket* s : sockets)
        s->disconnect(this);
}

bool TcpServerChannel::listen(quint16 port, QString* error)
{
    if (m_server.listen(QHostAddress::LocalHost, port)) {
        m_port = m_server.serverPort();
        return true;
    }
    if (error)
        *error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(m_server.errorString());
    return false;
}

bool TcpServerChannel::isConnected() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void TcpServerChannel::acceptClients()
{
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        if (m_socket) {
            QTcpSocket* old = m_socket;
            old->disconnect(this);
            connect(old, &QTcpSocket::disconnected, old, &QObject::deleteLater);
            old->disconnectFromHost();
            emit disconnected();
        }
        m_socket = client;
        ++m_connectionId;
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(client, &QTcpSocket::readyRead, this, [this, client] {
            if (client == m_socket)
                emit received(client->readAll());
        });
        connect(client, &QTcpSocket::disconnected, this, [this, client] {
            client->deleteLater();
            if (client == m_socket) {
                m_socket = nullptr;
                emit disconnected();
            }
        });
        emit connected();
    }
}

void TcpServerChannel::send(const QByteArray& bytes)
{
    if (isConnected())
        m_socket->write(bytes);
}

void TcpServerChannel::closeConnection()
{
    if (m_socket)
        m_socket->disconnectFromHost();
}

void TcpServerChannel::suspend()
{
    m_server.close();
    if (m_socket) {
        m_socket->flush();
        m_socket->abort();
    }
}

bool TcpServerChannel::resume(QString* error)
{
    return m_server.isListening() || listen(m_port, error);
}

}  // namespace tarvo::sim
