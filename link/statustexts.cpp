#include "statustexts.h"

#include <array>

namespace tarvo {

QString rs232StatusText(int code)
{
    switch (code) {
    case -1: return QStringLiteral("Unknown system error");
    case -2: return QStringLiteral("Invalid port number");
    case -3: return QStringLiteral("Port is not open");
    case -4: return QStringLiteral("Unknown I/0 error");
    case -5: return QStringLiteral("RS-232 error!");
    case -6: return QStringLiteral("No serial port found");
    case -7: return QStringLiteral("Cannot open port");
    case -99: return QStringLiteral("Timeout");
    default: return QStringLiteral("RS-232 error!");
    }
}

QString tcpStatusText(int code)
{
    // Three texts end in a blank; the sensor's users know them that way.
    static const std::array<const char*, 20> texts = {
        "UnableToRegisterService",
        "UnableToEstablishConnection",
        "ExistingServer",
        "FailedToConnect",
        "ServerNotRegistered",
        "TooManyConversations",
        "ReadFailed",
        "WriteFailed",
        "InvalidParameter",
        "OutOfMemory",
        "TimeOutError ",
        "NoConnectionEstablished ",
        "GeneralIOErr",
        "ConnectionClosed",
        "UnableToLoadWinsockDLL",
        "IncorrectWinsockDLLVersion",
        "NetworkSubsystemNotReady ",
        "ConnectionsStillOpen",
        "DisconnectPending",
        "InfoNotAvailable",
    };
    if (code <= -1 && code >= -20)
        return QString::fromLatin1(texts[static_cast<size_t>(-code - 1)]);
    return QStringLiteral("Connection to server failed");
}

QString writeFailureText(bool serial, long long result)
{
    if (result >= 0)
        return QStringLiteral("the line took only part of the frame");
    if (serial)
        return result == -3 ? QStringLiteral("the serial port is not open")
                            : QStringLiteral("the serial port refused the bytes (unplugged?)");
    switch (result) {
    case -8: return QStringLiteral("not connected to the sensor");
    case -14: return QStringLiteral("the sensor closed the connection");
    default: return QStringLiteral("the connection refused the bytes");
    }
}

}  // namespace tarvo
