// RS-232 channel: 19200 baud, 8N1, no handshake, 1024-byte input queue.
#pragma once

#include "bytechannel.h"

#include <QSerialPort>

namespace tarvo {

class SerialChannel final : public ByteChannel {
    Q_OBJECT
public:
    explicit SerialChannel(QObject* parent = nullptr);

    // Opens the device; returns 0 or a negative code of the RS-232 status table.
    int open(const QString& devicePath);
    int open(const QString& devicePath, int, int) override { return open(devicePath); }
    // Why the last open failed in the system's words (empty after success).
    QString lastSystemError() const { return m_lastError; }
    // The system refused the device to this user, or it is held by another program.
    bool lastErrorWasPermission() const { return m_permission; }
    bool lastErrorWasInUse() const { return m_inUse; }

    bool isOpen() const override { return m_port.isOpen(); }
    void close() override;
    std::int64_t write(const std::uint8_t* data, std::int64_t n, int timeoutMs) override;
    std::int64_t bytesAvailable() const override { return m_port.isOpen() ? m_port.bytesAvailable() : 0; }
    std::int64_t read(std::uint8_t* data, std::int64_t max) override;
    void flushQueues() override;
    bool waitForReadyRead(int msecs) override { return m_port.isOpen() && m_port.waitForReadyRead(msecs); }

private:
    QSerialPort m_port;
    QString m_lastError;
    bool m_permission = false;
    bool m_inUse = false;
};

}  // namespace tarvo
