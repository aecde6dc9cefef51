#include "serialchannel.h"

#include <QFileInfo>

namespace tarvo {

SerialChannel::SerialChannel(QObject* parent)
    : ByteChannel(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &ByteChannel::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // A vanished device (USB adapter pulled): closed, and the link told.
        // A device that is gone can also fail each read (a hung-up line
        // reports a read error at every wake-up, never a resource error).
        if ((e == QSerialPort::ResourceError || e == QSerialPort::ReadError) && m_port.isOpen()) {
            m_port.close();
            emit vanished();
        }
    });
}

int SerialChannel::open(const QString& devicePath)
{
    close();
    m_lastError.clear();
    m_permission = false;
    m_inUse = false;
    if (devicePath.isEmpty())
        return -2;  // "Invalid port number": the number names no device
    m_port.setPortName(devicePath);
    m_port.setReadBufferSize(1024);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_lastError = m_port.errorString();
        switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError: return -6;
        case QSerialPort::PermissionError: {
            // The port library says "permission" also for a device that another
            // program holds; with read and write rights the device is in use.
            const QFileInfo file(devicePath);
            m_inUse = file.isReadable() && file.isWritable();
            m_permission = !m_inUse;
            return -7;
        }
        case QSerialPort::OpenError: return -7;
        default: return -1;
        }
    }
    const bool ok = m_port.setBaudRate(QSerialPort::Baud19200) && m_port.setDataBits(QSerialPort::Data8)
        && m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        m_lastError = m_port.errorString();
        m_port.close();
        return -4;
    }
    flushQueues();
    return 0;
}

void SerialChannel::close()
{
    if (m_port.isOpen())
        m_port.close();
}

std::int64_t SerialChannel::write(const std::uint8_t* data, std::int64_t n, int)
{
    if (!m_port.isOpen())
        return -3;
    const qint64 written = m_port.write(reinterpret_cast<const char*>(data), n);
    m_port.flush();
    return written;
}

std::int64_t SerialChannel::read(std::uint8_t* data, std::int64_t max)
{
    if (!m_port.isOpen())
        return 0;
    return m_port.read(reinterpret_cast<char*>(data), max);
}

void SerialChannel::flushQueues()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::AllDirections);
}

}  // namespace tarvo
