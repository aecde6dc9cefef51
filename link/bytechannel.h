// The one byte channel: serial port, TCP client and, in tests, anything else
// that moves bytes. The exchange logic is written once against it.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

namespace tarvo {

// The most a channel holds for the program (the socket's and the serial
// port's read buffer): a sensor that sends faster than the program reads is
// held back by the line, and cannot fill the memory.
constexpr std::int64_t kChannelReadBufferBytes = 16 * 1024;

class ByteChannel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ByteChannel() override = default;

    // Opens the channel to `address` (a serial device path, or a host with
    // `port`) within timeoutMs; 0 or a negative code of the channel's status table.
    virtual int open(const QString& address, int port, int timeoutMs) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Writes n bytes; returns the count written, negative on error.
    virtual std::int64_t write(const std::uint8_t* data, std::int64_t n, int timeoutMs) = 0;
    virtual std::int64_t bytesAvailable() const = 0;
    virtual std::int64_t read(std::uint8_t* data, std::int64_t max) = 0;
    // Empties the input and output queues (serial only; TCP has none).
    virtual void flushQueues() {}
    // Blocks until new bytes arrive or msecs pass, running no event loop
    // (serial only). False on time-out, error, or a channel that cannot.
    virtual bool waitForReadyRead(int msecs)
    {
        (void)msecs;
        return false;
    }
    // TCP: the system probes an idle connection, so that a peer that lost
    // power is noticed as lost. Takes effect with the next opening.
    virtual void setKeepAlive(bool on) { (void)on; }

signals:
    void readyRead();
    // The peer closed the connection.
    void peerClosed();
    // The channel can carry no more bytes: its device went away.
    void vanished();
};

}  // namespace tarvo
