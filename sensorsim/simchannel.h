// One way in and out of the simulated sensor: a TCP server or a
// pseudo-terminal. Carries bytes only; frames are the simulator's business.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace tarvo::sim {

class SimChannel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QString name() const = 0;
    virtual bool isConnected() const = 0;
    virtual void send(const QByteArray& bytes) = 0;
    // Ends the current connection from the sensor's side.
    virtual void closeConnection() = 0;
    // Bytes sent but not yet on their way to the PC (the line is slower).
    virtual qint64 backlog() const = 0;
    // The sensor is switched off: the channel is gone (TCP: connections
    // refused; pseudo-terminal: closed, its device vanishes) until resume().
    virtual void suspend() = 0;
    virtual bool resume(QString* error) = 0;

    // Changes whenever a new connection replaces the old one, so that a late
    // reply can tell whether its addressee is still there.
    quint64 connectionId() const { return m_connectionId; }

signals:
    void received(const QByteArray& bytes);
    void connected();
    void disconnected();

protected:
    quint64 m_connectionId = 0;
};

}  // namespace tarvo::sim
