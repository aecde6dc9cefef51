#include "connectionfault.h"

#include "frame.h"
#include "link.h"

namespace tarvo {

namespace {

QString seconds(double s)
{
    return QStringLiteral("%1 s").arg(QString::number(s, 'g', 3));
}

QString serialName(const Link& link)
{
    const QString device = link.serialDevicePath();
    return device.isEmpty() ? QStringLiteral("serial port %1").arg(link.comport)
                            : QStringLiteral("serial port %1 (%2)").arg(link.comport).arg(device);
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

ConnectionFault serialOpeningFault(const Link& link)
{
    const QString device = link.serialDevicePath();
    if (device.isEmpty())
        return {QStringLiteral("no serial port %1 on this computer").arg(link.comport),
                QStringLiteral("This computer has no serial port %1: choose a port number that shows a device, "
                               "then TRY TO CONNECT.")
                    .arg(link.comport)};
    if (link.serialInUse())
        return {QStringLiteral("port in use by another program"),
                QStringLiteral("%1 is in use by another program (another copy of this program, a terminal "
                               "program): close it, then TRY TO CONNECT.")
                    .arg(device)};
    if (link.serialPermissionDenied()) {
#ifdef Q_OS_LINUX
        return {QStringLiteral("permission denied (add yourself to the dialout group)"),
                QStringLiteral("Access to %1 was refused. On Linux, add your user to the dialout group "
                               "(sudo usermod -aG dialout $USER), then log out and in again.")
                    .arg(device)};
#else
        return {QStringLiteral("permission denied"),
                QStringLiteral("Access to %1 was refused: ask the administrator for the right to use it.").arg(device)};
#endif
    }
    if (link.ret == -6)
        return {QStringLiteral("device not found"),
                QStringLiteral("%1 is not there (an unplugged USB adapter?): plug it in or choose another port, "
                               "then TRY TO CONNECT.")
                    .arg(device)};
    const QString system = link.serialSystemError();
    const QString why = system.isEmpty() ? link.szStatus.trimmed() : system;
    return {QStringLiteral("cannot open %1: %2").arg(device, why),
            QStringLiteral("%1 could not be opened: %2.").arg(device, why)};
}

ConnectionFault tcpOpeningFault(const Link& link)
{
    const QString server = serverName(link.ipBuf, link.portNum);
    switch (link.ret) {
    case -4:
        return {QStringLiteral("connection refused by %1").arg(server),
                QStringLiteral("Connection refused by %1: the computer is there, but nothing takes connections on "
                               "port %2. Check the port number, then TRY TO CONNECT.")
                    .arg(server)
                    .arg(link.portNum)};
    case -2:
        return {QStringLiteral("host not found"),
                QStringLiteral("Host not found: no computer is known by the name \"%1\". Check the server name, "
                               "or type its IP address.")
                    .arg(link.ipBuf.trimmed())};
    case -11:
        return {QStringLiteral("no answer within 5 s"),
                QStringLiteral("No answer within 5 s from %1: check that the sensor is switched on and on this "
                               "network, and the server address.")
                    .arg(server)};
    case -17:
        return {QStringLiteral("network unreachable"),
                QStringLiteral("Network unreachable: this computer has no way to %1. Check its network "
                               "connection.")
                    .arg(server)};
    case -9:
        if (link.ipBuf.trimmed().isEmpty())
            return {QStringLiteral("no server given"),
                    QStringLiteral("Type the sensor's server name or IP address, then TRY TO CONNECT.")};
        return {QStringLiteral("port number must be 1 to 65535"),
                QStringLiteral("\"%1\" is no port number: type one from 1 to 65535, then TRY TO CONNECT.")
                    .arg(link.portNumStr.trimmed())};
    default:
        return {QStringLiteral("connection to %1 failed (%2)").arg(server, link.szStatus.trimmed()),
                QStringLiteral("The connection to %1 failed (%2).").arg(server, link.szStatus.trimmed())};
    }
}

} // namespace

ConnectionFault openingFault(const Link& link)
{
    return link.isSerial() ? serialOpeningFault(link) : tcpOpeningFault(link);
}

ConnectionFault identificationFault(const Link& link, double limitSeconds)
{
    const QString where = link.isSerial() ? serialName(link) : serverName(link.ipBuf, link.portNum);
    if (!link.isSerial() && link.tcpcon == 0)
        return {QStringLiteral("connection closed by the sensor"),
                QStringLiteral("%1 took the connection and closed it again before the sensor identified "
                               "itself.")
                    .arg(where)};
    // Every reply is one frame; what was missing of it (negative: too much) is left over.
    const int received = frame::kBytes - link.rx.bytesToRead;
    if (received <= 0) {
        const QString reason = QStringLiteral("no answer within %1").arg(seconds(limitSeconds));
        if (link.isSerial())
            return {reason, QStringLiteral("%1 opened, but no sensor answered within %2: check the cable, that "
                                           "the sensor is switched on, and the port number.")
                                .arg(capitalised(where), seconds(limitSeconds))};
        return {reason, QStringLiteral("%1 took the connection, but no sensor answered within %2: check that "
                                       "this is the sensor's address and port.")
                            .arg(where, seconds(limitSeconds))};
    }
    const QString reason = received < frame::kBytes
        ? QStringLiteral("incomplete answer (%1 of %2 bytes within %3)")
              .arg(received)
              .arg(frame::kBytes)
              .arg(seconds(limitSeconds))
        : QStringLiteral("answer too long (%1 bytes instead of %2)").arg(received).arg(frame::kBytes);
    return {reason, QStringLiteral("Something on %1 answered, but not as the sensor does (%2): check that this is "
                                   "the sensor%3.")
                        .arg(where, reason,
                             link.isSerial() ? QStringLiteral(" and that nothing else sends on the line")
                                             : QString())};
}

ConnectionFault connectionFault(const Link& link, double identificationLimitSeconds)
{
    return link.ret < 0 ? openingFault(link) : identificationFault(link, identificationLimitSeconds);
}

QString firstStartAdvice(int comport)
{
    return QStringLiteral("No sensor answered on RS-232 port %1: choose the port or TCP/IP, then TRY TO CONNECT")
        .arg(comport);
}

QString withReason(const QString& status, const QString& reason)
{
    return reason.isEmpty() ? status : status + QStringLiteral(": ") + reason;
}

QString serverName(const QString& host, int port)
{
    const QString h = host.trimmed();
    return (h.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2")).arg(h).arg(port);
}

} // namespace tarvo
