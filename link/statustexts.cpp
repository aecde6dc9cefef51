#include "statustexts.h"

#include <QCoreApplication>
#include <QLocale>
#include <array>

namespace tarvo {

QString worded(Wording wording, const char* context, const char* source, int n)
{
    if (wording == Wording::Shown)
        return QCoreApplication::translate(context, source, nullptr, n);
    QString text = QString::fromUtf8(source);
    if (n >= 0)
        text.replace(QLatin1String("%n"), QString::number(n));
    return text;
}

QString wordedSeconds(double seconds, Wording wording)
{
    return wording == Wording::Shown ? QLocale().toString(seconds, 'f', 1) : QString::number(seconds, 'f', 1);
}

QString rs232StatusText(int code, Wording wording)
{
    const auto say = [wording](const char* source) { return worded(wording, "StatusTexts", source); };
    switch (code) {
    case -1: return say(QT_TRANSLATE_NOOP("StatusTexts", "Unknown system error"));
    case -2: return say(QT_TRANSLATE_NOOP("StatusTexts", "Invalid port number"));
    case -3: return say(QT_TRANSLATE_NOOP("StatusTexts", "Port is not open"));
    case -4: return say(QT_TRANSLATE_NOOP("StatusTexts", "Unknown I/0 error"));
    case -5: return say(QT_TRANSLATE_NOOP("StatusTexts", "RS-232 error!"));
    case -6: return say(QT_TRANSLATE_NOOP("StatusTexts", "No serial port found"));
    case -7: return say(QT_TRANSLATE_NOOP("StatusTexts", "Cannot open port"));
    case -99: return say(QT_TRANSLATE_NOOP("StatusTexts", "Timeout"));
    default: return say(QT_TRANSLATE_NOOP("StatusTexts", "RS-232 error!"));
    }
}

QString tcpStatusText(int code)
{
    // Three texts end in a blank; the sensor's users know them that way.
    // They are the channel's error names: the screen says why in words
    // (openingFaultReason), so these are never translated.
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

QString writeFailureText(bool serial, long long result, Wording wording)
{
    const auto say = [wording](const char* source) { return worded(wording, "StatusTexts", source); };
    if (result >= 0)
        return say(QT_TRANSLATE_NOOP("StatusTexts", "the line took only part of the frame"));
    if (serial)
        return result == -3 ? say(QT_TRANSLATE_NOOP("StatusTexts", "the serial port is not open"))
                            : say(QT_TRANSLATE_NOOP("StatusTexts", "the serial port refused the bytes (unplugged?)"));
    switch (result) {
    case -8: return say(QT_TRANSLATE_NOOP("StatusTexts", "not connected to the sensor"));
    case -14: return say(QT_TRANSLATE_NOOP("StatusTexts", "the sensor closed the connection"));
    default: return say(QT_TRANSLATE_NOOP("StatusTexts", "the connection refused the bytes"));
    }
}

}  // namespace tarvo
