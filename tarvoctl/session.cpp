#include "session.h"

#include "frame.h"
#include "settingslocation.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tarvo::ctl {

ConnectionSettings savedConnection(const QString& programDir)
{
    const SettingsLocation location = settingsLocation(programDir, kScopeProgram);
    QString path = location.filePath(kConSettingsFile);
    // An installed scope takes the file beside it over at its first start;
    // until then that file is the saved connection.
    if (!location.portable && !QFileInfo::exists(path))
        path = QDir(programDir).filePath(kConSettingsFile);
    const auto saved = readConnectionSettings(path);
    if (!saved)
        return {};
    ConnectionSettings where = *saved;
    // As the scope's interface panel takes them: a protocol other than TCP/IP
    // leaves the selector at RS-232, the port field holds 1 to 256.
    where.comprotocol = saved->comprotocol == TCPIP ? TCPIP : RS232;
    where.comport = std::clamp<std::uint16_t>(saved->comport, 1, 256);
    return where;
}

Session::Session(ExchangeOptions options)
    : link(pump, flags, *this)
    , exchange(link, pump, flags, params, *this, options)
    , transfer(exchange, link, flags, params, pump, *this)
    , measurement(exchange, link, pump, flags, values, *this)
    , m_options(options)
{
}

bool Session::connect(const ConnectionSettings& where)
{
    link.comprotocol = where.comprotocol;
    link.comport = where.comport;
    link.ipBuf = where.ipBuf;
    link.portNumStr = where.portNumStr;
    link.portNum = atoiLike(where.portNumStr.toUtf8());
    if (link.comprotocol == TCPIP) {
        setStep(QStringLiteral("connecting to %1:%2").arg(link.ipBuf).arg(link.portNum));
        link.InitTCP_IP();
    } else {
        setStep(QStringLiteral("opening serial port %1").arg(link.comport));
        link.InitRS232();
    }
    if (failed())
        return false;

    setStep(QString());
    m_lineCheck = true;
    exchange.CheckComLine();
    m_lineCheck = false;
    return !failed();
}

void Session::fail(const QString& step, const QString& reason)
{
    if (m_failure.isEmpty())
        m_failure = step.isEmpty() ? reason : step + QStringLiteral(": ") + reason;
    // Nothing more is to be done after a failure: every loop ends.
    flags.clearAll();
    pump.poke();
}

void Session::interrupt()
{
    m_interrupted = true;
    flags.clearAll();
    pump.poke();
}

void Session::showLinkStatus(const QString& text)
{
    QString reason = text.trimmed();
    if (link.isSerial()) {
        const QString device = link.serialDevicePath();
        reason = device.isEmpty() ? QStringLiteral("%1 (no device for this port number)").arg(reason)
                                  : QStringLiteral("%1 (%2: %3)").arg(reason, device, link.serialSystemError());
    }
    fail(m_step, reason);
}

void Session::message(const QString& title, const QString& text)
{
    // The only message of the link: the sensor closed the connection.
    fail(currentStep(), title + QStringLiteral(": ") + text.trimmed());
}

void Session::timeoutReaction()
{
    fail(currentStep(), replyFault());
}

void Session::lineCheckFailed()
{
    fail(currentStep(), replyFault());
}

bool Session::acceptReply(const std::uint16_t* words)
{
    const std::uint16_t row = frame::getWord(exchange.szWriteBuf.data(), 2);
    QString wrong;
    if (words[0] != frame::kSyncSensor)
        wrong = QStringLiteral("the reply starts with %1 instead of 00AA").arg(words[0], 4, 16, QChar(u'0'));
    else if (words[1] != exchange.order)
        wrong = QStringLiteral("the reply is one to command %1").arg(words[1]);
    else if (exchange.order == frame::ReadTeachRow && words[2] != row)
        wrong = QStringLiteral("the reply is one for teach row %1").arg(words[2]);
    if (wrong.isEmpty())
        return true;
    fail(currentStep(), wrong);
    return false;
}

void Session::ParameterReplyRead()
{
    if (!acceptReply(params.pp.data()))
        exchange.comecho = 0;
}

QString Session::currentStep() const
{
    // The frame on its way names the step (the tool keeps order at 40 for all three colours).
    const std::uint16_t code = frame::getWord(exchange.szWriteBuf.data(), 1);
    const std::uint16_t arg = frame::getWord(exchange.szWriteBuf.data(), 2);
    QString what;
    switch (code) {
    case frame::WriteParams: what = QStringLiteral("writing the parameters"); break;
    case frame::WriteTeachRow: what = QStringLiteral("writing teach row %1").arg(arg); break;
    case frame::ReadParams: what = QStringLiteral("reading the parameters"); break;
    case frame::ReadTeachRow: what = QStringLiteral("reading teach row %1").arg(arg); break;
    case frame::ReadMeasurement: what = QStringLiteral("reading measured values"); break;
    case frame::StoreEeprom: what = QStringLiteral("storing to EEPROM"); break;
    case frame::Identify: what = QStringLiteral("identification"); break;
    case frame::LoadEeprom: what = QStringLiteral("loading from EEPROM"); break;
    case frame::ReadProfileBlock: what = QStringLiteral("reading profile block %1").arg(arg); break;
    case frame::CompStart: what = QStringLiteral("announcing the factor tables"); break;
    case frame::CompRed: what = QStringLiteral("red factor block %1").arg(arg); break;
    case frame::CompGreen: what = QStringLiteral("green factor block %1").arg(arg); break;
    case frame::CompBlue: what = QStringLiteral("blue factor block %1").arg(arg); break;
    case frame::AutoSend: what = QStringLiteral("automatic sending"); break;
    default: what = QStringLiteral("exchange"); break;
    }
    what += QStringLiteral(" (command %1)").arg(code);
    return m_step.isEmpty() ? what : m_step + QStringLiteral(", ") + what;
}

QString Session::replyFault() const
{
    const ReceiveState& rx = link.rx;
    if (!link.isSerial() && link.tcpcon == 0)
        return QStringLiteral("the connection to the sensor is closed");
    if (rx.bytesToRead < 0)
        return QStringLiteral("%1 bytes came back instead of %2").arg(rx.dataSize).arg(frame::kBytes);
    if (rx.bytesToRead > 0) {
        const double limit = !m_lineCheck ? m_options.replyLimit
                             : link.isSerial() ? m_options.lineCheckSerialLimit
                                               : m_options.lineCheckTcpLimit;
        const int got = link.isSerial() ? rx.dataSize : rx.dataSize - rx.bytesToRead;
        if (got == 0)
            return QStringLiteral("no reply within %1 s").arg(limit, 0, 'f', 1);
        return QStringLiteral("only %1 of %2 bytes came back within %3 s").arg(got).arg(frame::kBytes).arg(limit, 0, 'f', 1);
    }
    const auto& in = rx.szReadBuf;
    const auto hex = [](std::uint8_t b) { return QStringLiteral("%1").arg(b, 2, 16, QChar(u'0')).toUpper(); };
    if (in[0] != 0x00 || in[1] != 0xAA)
        return QStringLiteral("the reply starts with %1 %2 instead of 00 AA").arg(hex(in[0]), hex(in[1]));
    for (int i = 2; i < frame::kBytes; ++i)
        if (in[i] != exchange.szWriteBuf[i])
            return QStringLiteral("the reply does not echo the frame (byte %1 is %2, sent %3)")
                .arg(i)
                .arg(in[i])
                .arg(exchange.szWriteBuf[i]);
    return QStringLiteral("the reply was refused");
}

} // namespace tarvo::ctl
