#include "connectionfault.h"

#include "commandline.h"
#include "frame.h"
#include "link.h"
#include <QCoreApplication>

namespace tarvo {

namespace {

// The reasons are written by tarvoctl and the trace file in English and shown
// on the screen in the user's language.
constexpr char kContext[] = "ConnectionFault";

QString say(Wording wording, const char* source)
{
    return worded(wording, kContext, source);
}

QString loopBackText(Wording wording)
{
    return say(wording,
               QT_TRANSLATE_NOOP("ConnectionFault",
                                 "the line sends back what it is sent: no sensor, a loop-back plug or a modem echo"));
}

QString seconds(double s, Wording wording)
{
    return QStringLiteral("%1 s").arg(wordedSeconds(s, wording));
}

// The channel as the user chose it: "HOST:PORT", "serial port 1 (/dev/ttyS0)", a device path.
QString channelName(const Link& link, Wording wording)
{
    if (!link.isSerial() || !link.connectionInUse().comdevice.isEmpty())
        return connectionName(link.connectionInUse(), wording);
    const QString device = link.serialDevicePath();
    if (device.isEmpty())
        return connectionName(link.connectionInUse(), wording);
    return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "serial port %1 (%2)")).arg(link.serialPort()).arg(device);
}

QString serialAdvice(const Link& link)
{
    const QString device = link.serialDevicePath();
    if (device.isEmpty())
        return QCoreApplication::translate(
                   "ConnectionFault",
                   "This computer has no serial port %1: choose a port number that shows a device, "
                   "then TRY TO CONNECT.")
            .arg(link.serialPort());
    if (link.serialInUse())
        return QCoreApplication::translate("ConnectionFault",
                                           "%1 is in use by another program (another copy of this program, a terminal "
                                           "program): close it, then TRY TO CONNECT.")
            .arg(device);
    if (link.serialPermissionDenied()) {
#ifdef Q_OS_LINUX
        return QCoreApplication::translate("ConnectionFault",
                                           "Access to %1 was refused. On Linux, add your user to the dialout group "
                                           "(sudo usermod -aG dialout $USER), then log out and in again.")
            .arg(device);
#else
        return QCoreApplication::translate("ConnectionFault",
                                           "Access to %1 was refused: ask the administrator for the right to use it.")
            .arg(device);
#endif
    }
    if (link.openResult() == -6)
        return QCoreApplication::translate(
                   "ConnectionFault",
                   "%1 is not there (an unplugged USB adapter?): plug it in or choose another port, "
                   "then TRY TO CONNECT.")
            .arg(device);
    return QCoreApplication::translate("ConnectionFault", "%1 could not be opened.").arg(device);
}

QString tcpAdvice(const Link& link)
{
    const QString server = channelName(link, Wording::Shown);
    switch (link.openResult()) {
    case -4:
        return QCoreApplication::translate(
                   "ConnectionFault",
                   "Connection refused by %1: the computer is there, but nothing takes connections on "
                   "port %2. Check the port number, then TRY TO CONNECT.")
            .arg(server)
            .arg(link.tcpPort());
    case -2:
        return QCoreApplication::translate(
                   "ConnectionFault",
                   "Host not found: no computer is known by the name \"%1\". Check the server name, or "
                   "type its IP address.")
            .arg(link.connectionInUse().ipBuf.trimmed());
    case -11:
        return QCoreApplication::translate(
                   "ConnectionFault",
                   "No answer within 5 s from %1: check that the sensor is switched on and on this "
                   "network, and the server address.")
            .arg(server);
    case -17:
        return QCoreApplication::translate(
                   "ConnectionFault",
                   "Network unreachable: this computer has no way to %1. Check its network connection.")
            .arg(server);
    case -9:
        return link.connectionInUse().ipBuf.trimmed().isEmpty()
            ? QCoreApplication::translate("ConnectionFault",
                                          "Type the sensor's server name or IP address, then TRY TO CONNECT.")
            : QCoreApplication::translate("ConnectionFault",
                                          "Type a port number from 1 to 65535, then TRY TO CONNECT.");
    default: return QCoreApplication::translate("ConnectionFault", "The connection to %1 failed.").arg(server);
    }
}

ConnectionFault openingFault(const Link& link)
{
    QString reason = openingFaultReason(link, Wording::Shown);
    if (!link.isSerial() && link.openResult() == -4)
        reason = QCoreApplication::translate("ConnectionFault", "connection refused by %1")
                     .arg(channelName(link, Wording::Shown));
    return {reason, link.isSerial() ? serialAdvice(link) : tcpAdvice(link)};
}

ConnectionFault identificationFault(const Link& link, double limitSeconds)
{
    const Wording shown = Wording::Shown;
    const QString where = channelName(link, shown);
    if (link.isSerial() && link.channelLost())
        return {QCoreApplication::translate("ConnectionFault", "the port went away"),
                QCoreApplication::translate(
                    "ConnectionFault", "%1 went away (an unplugged USB adapter?): plug it in, then TRY TO CONNECT.")
                    .arg(where)};
    if (!link.isSerial() && (!link.tcpConnected() || link.channelLost()))
        return {
            QCoreApplication::translate("ConnectionFault", "connection closed by the sensor"),
            QCoreApplication::translate(
                "ConnectionFault", "%1 took the connection and closed it again before the sensor identified itself.")
                .arg(where)};
    const QString reason = replyShortfall(link, limitSeconds, shown);
    if (link.receiveState().loopBack && link.receiveState().bytesToRead != 0)
        return {reason,
                QCoreApplication::translate(
                    "ConnectionFault",
                    "The line sends back what it is sent: no sensor, a loop-back plug or a modem echo. "
                    "Connect the sensor to %1, or choose the sensor's port or address.")
                    .arg(where)};
    if (link.receiveState().bytesToRead == frame::kBytes) {
        if (link.isSerial())
            return {reason,
                    QCoreApplication::translate("ConnectionFault",
                                                "%1 opened, but no sensor answered within %2: check the cable, that "
                                                "the sensor is switched on, and the port number.")
                        .arg(where, seconds(limitSeconds, shown))};
        return {reason,
                QCoreApplication::translate("ConnectionFault",
                                            "%1 took the connection, but no sensor answered within %2: check that "
                                            "this is the sensor's address and port.")
                    .arg(where, seconds(limitSeconds, shown))};
    }
    return {reason,
            QCoreApplication::translate("ConnectionFault",
                                        "Something on %1 answered, but not as the sensor does: check that this is the "
                                        "sensor%2.")
                .arg(where,
                     link.isSerial()
                         ? QCoreApplication::translate("ConnectionFault", " and that nothing else sends on the line")
                         : QString())};
}

}  // namespace

QString openingFaultReason(const Link& link, Wording wording)
{
    if (link.isSerial()) {
        if (link.serialDevicePath().isEmpty())
            return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "no device has this number"));
        if (link.serialInUse())
            return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "port in use by another program"));
        if (link.serialPermissionDenied()) {
#ifdef Q_OS_LINUX
            return say(wording,
                       QT_TRANSLATE_NOOP("ConnectionFault", "permission denied (add yourself to the dialout group)"));
#else
            return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "permission denied"));
#endif
        }
        if (link.openResult() == -6)
            return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "no such device"));
        // The system's own words come in the system's language.
        QString system = link.serialSystemError();
        if (!system.isEmpty())
            return system;
        return wording == Wording::English ? link.statusText().trimmed()
                                           : rs232StatusText(link.openResult(), wording).trimmed();
    }
    switch (link.openResult()) {
    case -4: return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "connection refused"));
    case -2: return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "host not found"));
    case -11: return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "no answer within 5 s"));
    case -17: return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "network unreachable"));
    case -10: return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "out of system resources"));
    case -9:
        return link.connectionInUse().ipBuf.trimmed().isEmpty()
            ? say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "no server given"))
            : say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "port number must be 1 to 65535"));
    default: return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "the connection failed"));
    }
}

QString replyShortfall(const Link& link, double limitSeconds, Wording wording)
{
    const ReceiveState& rx = link.receiveState();
    if (rx.bytesToRead < 0)
        return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "%1 bytes came back instead of %2"))
            .arg(rx.dataSize)
            .arg(frame::kBytes);
    if (rx.bytesToRead == 0)
        return QString();
    if (rx.loopBack)
        return loopBackText(wording);
    const int got = link.isSerial() ? rx.dataSize : rx.dataSize - rx.bytesToRead;
    if (got == 0)
        return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "no reply within %1"))
            .arg(seconds(limitSeconds, wording));
    return say(wording, QT_TRANSLATE_NOOP("ConnectionFault", "only %1 of %2 bytes came back within %3"))
        .arg(got)
        .arg(frame::kBytes)
        .arg(seconds(limitSeconds, wording));
}

ConnectionFault connectionFault(const Link& link, double identificationLimitSeconds)
{
    return link.openResult() < 0 ? openingFault(link) : identificationFault(link, identificationLimitSeconds);
}

QString firstStartAdvice(int comport)
{
    return QCoreApplication::translate(
               "ConnectionFault",
               "No sensor answered on RS-232 port %1: choose the port or TCP/IP, then TRY TO CONNECT")
        .arg(comport);
}

QString withReason(const QString& status, const QString& reason)
{
    return reason.isEmpty() ? status : status + QStringLiteral(": ") + reason;
}

}  // namespace tarvo
