#include "session.h"

#include "commandline.h"
#include "connectionfault.h"
#include "frame.h"
#include "interrupt.h"
#include "settingslocation.h"
#include "traceoption.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace tarvo::ctl {

int report(int code, const QString& text)
{
    std::fputs(("tarvoctl: " + text + '\n').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    return code;
}

ConnectionSettings savedConnection(const QString& programDir)
{
    const SettingsLocation location = settingsLocation(programDir, kScopeProgram);
    QString path = location.filePath(kConSettingsFile);
    // An installed scope takes the file beside it over at its first start;
    // until then that file is the saved connection.
    if (!location.portable && !QFileInfo::exists(path))
        path = QDir(programDir).filePath(kConSettingsFile);
    const SettingsRead read = readConnectionSettings(path);
    if (read.status == SettingsRead::Failed)
        report(Done, QStringLiteral("%1; RS-232 port 1 is used").arg(read.error));
    if (read.status != SettingsRead::Ok)
        return {};
    ConnectionSettings where = read.settings;
    // As the scope's interface panel takes them: a protocol other than TCP/IP
    // leaves the selector at RS-232, the port field holds 1 to 256.
    where.comprotocol = where.comprotocol == TCPIP ? TCPIP : RS232;
    where.comport = std::clamp<std::uint16_t>(where.comport, 1, 256);
    return where;
}

namespace {

ExchangeOptions withTarget(ExchangeOptions o, const Target& target)
{
    if (target.timeout)
        o.replyLimit = o.lineCheckTcpLimit = o.lineCheckSerialLimit = *target.timeout;
    // Nothing else runs inside a wait here, and a signal must be acted on in every one.
    o.lineCheckSerialRunsEvents = true;
    // Tests shorten the hold-off after a missed reply (seconds, up to the
    // default); users never set it.
    bool ok = false;
    const double window = qEnvironmentVariable("TARVO_LATE_WINDOW").toDouble(&ok);
    if (ok && window >= 0.0 && window <= o.lateWindow)
        o.lateWindow = window;
    // And the line check's pause after command 50 (seconds, up to the default).
    const double pause = qEnvironmentVariable("TARVO_LINE_CHECK_PAUSE").toDouble(&ok);
    if (ok && pause >= 0.0 && pause <= o.lineCheckStopPause)
        o.lineCheckStopPause = pause;
    return o;
}

ConnectionOptions sessionOptions(ProgramProfile profile, const Target& target)
{
    // A failed opening is the session's failure, whatever the profile: the scope's link.
    return {.linkProfile = ProgramProfile::Scope, .exchange = withTarget(exchangeOptions(profile), target)};
}

}  // namespace

Session::Session(const Target& target, ProgramProfile profile)
    : connection(sessionOptions(profile, target))
    , pump(connection.pump())
    , flags(connection.flags())
    , params(connection.params())
    , link(connection.link())
    , exchange(connection.exchange())
    , reconnect(connection.reconnector())
    , transfer(exchange, link, flags, params, pump, *this)
    , measurement(exchange, link, pump, flags, values, *this)
    , m_target(target)
{
    // Nothing here shows the trace's records (--trace writes each one as it
    // comes): a small ring keeps a long run's memory flat.
    link.trace().setBounds(1000, 1024 * 1024);
    QObject::connect(&connection, &Connection::openingFailed, &connection, [this] { openingFailed(); });
    QObject::connect(&connection, &Connection::message, &connection, [this] { connectionClosed(); });
    QObject::connect(&connection, &Connection::timedOut, &connection, [this] { timeoutReaction(); });
    QObject::connect(&connection, &Connection::lineCheckFailed, &connection, [this] { timeoutReaction(); });
    QObject::connect(&connection, &Connection::linkEvent, &connection,
                     [this](LinkEvent event, const QString& reason) { linkEvent(event, reason); });
    QObject::connect(&connection, &Connection::retryState, &connection,
                     [this](const QString& text) { retryState(text); });
    QObject::connect(&connection, &Connection::lineQuiet, &connection,
                     [this](const QString& text) { lineQuiet(text); });
    // Tests shorten the reconnection's retry delays by this factor; users
    // never set it and get the full schedule.
    if (const double scale = qEnvironmentVariable("TARVO_RETRY_SCALE").toDouble(); scale > 0.0 && scale <= 1.0)
        reconnect.retryScale = scale;
    onInterrupt([this](int signal) { interrupt(signal); });
}

Session::~Session()
{
    onInterrupt(nullptr);
}

bool Session::enableReconnect(const QString& eventsBeside, bool readWorkingSet)
{
    reconnect.setEnabled(true);
    measurement.setReconnector(&reconnect);
    if (!eventsBeside.isEmpty())
        m_events.startFresh(eventsBeside);
    if (!readWorkingSet)
        return true;
    // What a reboot changes is told against the set the sensor has now.
    setStep(QStringLiteral("reading the working set to compare it after a lost connection"));
    transfer.GetPara();
    setStep(QString());
    return !failed() && !interrupted();
}

void Session::linkEvent(LinkEvent event, const QString& reason)
{
    const QString word = linkEventWord(event);
    report(Done, QStringLiteral("%1: %2 %3 (%4 line(s) so far)").arg(where(), word, reason).arg(linesWritten));
    if (!m_events.path().isEmpty() && !m_events.write(word, reason, linesWritten) && !m_eventsFailed) {
        m_eventsFailed = true;
        report(BadUsage, QStringLiteral("%1: cannot be written: %2").arg(m_events.path(), m_events.errorString()));
        flags.clearAll();  // the gap would go unrecorded
        pump.poke();
    }
}

void Session::retryState(const QString& text)
{
    // Each attempt once, not the countdown in between.
    if (text.isEmpty() || text.contains(QStringLiteral("next in")) || text == m_lastState)
        return;
    m_lastState = text;
    report(Done, QStringLiteral("%1: %2").arg(where(), text));
}

void Session::lineQuiet(const QString& text)
{
    // Once: the recording goes on, and a line that stays dead would repeat it.
    if (text.isEmpty() || m_quietWarned)
        return;
    m_quietWarned = true;
    QString said = text;
    said.replace(QStringLiteral("Reconnect and resume"), QStringLiteral("Reconnect and resume (--reconnect)"));
    report(Done, QStringLiteral("%1: %2").arg(where(), said));
}

void Session::stopped(const QString& reason)
{
    if (reconnect.enabled())
        linkEvent(LinkEvent::Stopped, reason);
}

std::optional<int> Session::begin()
{
    if (const int rc = openTraceFile(link.trace(), m_target.traceFile, appendTrace))
        return rc;
    link.Connect(m_target.link);
    if (interrupted() || failed())
        return failureExit();
    m_opened = true;

    m_lineCheck = true;
    exchange.CheckComLine();
    m_lineCheck = false;
    if (interrupted() || failed())
        return failureExit();
    return std::nullopt;
}

QString Session::where() const
{
    if (m_target.link.comprotocol == TCPIP || !m_target.link.comdevice.isEmpty())
        return connectionName(m_target.link);
    const QString device = link.serialDevicePath();
    return device.isEmpty() ? QStringLiteral("serial port %1").arg(m_target.link.comport)
                            : QStringLiteral("serial port %1 (%2)").arg(m_target.link.comport).arg(device);
}

void Session::fail(const QString& step, const QString& reason)
{
    if (interrupted())
        return;  // the interruption is the reason; what fails after it follows from it
    if (m_failure.isEmpty())
        m_failure = step.isEmpty() ? reason : step + QStringLiteral(": ") + reason;
    // Nothing more is to be done after a failure: every loop ends.
    flags.clearAll();
    pump.poke();
}

int Session::failureExit(const QString& otherwise) const
{
    if (interrupted())
        return SensorFailed;  // end() says why
    return report(SensorFailed, failed() ? m_failure : where() + QStringLiteral(": ") + otherwise);
}

void Session::startAutoSend()
{
    measurement.StartAutoSend();
    m_autoSendOn = true;
}

bool Session::stopAutoSend(const std::function<void(const FrameWords&)>& take)
{
    const bool cut = pump.waitsCutShort();
    resumeWaits();
    bool written = false;
    if (!take) {
        written = exchange.StopAutoSend();
        pump.sleep(0.2);  // the frame leaves before the connection closes
    } else {
        written = exchange.post(frame::AutoSend, 0);
        takeFramesOnTheirWay(written && !failed(), take);
    }
    pump.setWaitsCutShort(cut);
    if (written)
        m_autoSendOn = false;
    m_autoSendStopped = written;
    return written;
}

void Session::takeFramesOnTheirWay(bool wait, const std::function<void(const FrameWords&)>& take)
{
    // The flag ends the wait when the line has been quiet, at the limit, and
    // on a signal or failure, which clear every flag.
    constexpr int kQuietMs = 250;
    constexpr int kLimitMs = 2000;
    AutoFrameReader& reader = exchange.autoFrames();
    std::uint16_t& taking = flags.pollrecord;
    taking = wait ? 1 : 0;
    QTimer quiet, limit;
    for (QTimer* t : {&quiet, &limit}) {
        t->setSingleShot(true);
        QObject::connect(t, &QTimer::timeout, &pump, [this, &taking] {
            taking = 0;
            pump.poke();
        });
    }
    quiet.start(kQuietMs);
    limit.start(kLimitMs);
    while (taking == 1) {
        if (reader.wait(taking)) {
            reader.takeAll(take);
            quiet.start(kQuietMs);
        }
    }
    reader.takeAll(take);
    reader.end();
    taking = 0;
}

void Session::interrupt(int signal)
{
    if (interrupted())
        endInterrupted(signal);  // a second signal: at once
    m_signal = signal;
    flags.clearAll();
    pump.setWaitsCutShort(true);
}

int Session::end(int code)
{
    if (!interrupted())
        return code;
    // A command may have switched automatic sending on, or be about to: off
    // it goes, whatever the command was. The colour sensor has no command 50.
    if (m_opened && connection.options().exchange.lineCheckStopsAutoSend && !m_autoSendStopped && !stopAutoSend()
        && m_autoSendOn)
        report(SensorFailed,
               QStringLiteral("%1: automatic sending (command 50) could not be switched off: the "
                              "frame could not be written")
                   .arg(where()));
    report(code, QStringLiteral("interrupted"));
    return m_autoSendOn ? SensorFailed : interruptedExitCode(m_signal);
}

void Session::openingFailed()
{
    fail(QString(),
         QStringLiteral("cannot %1 %2: %3")
             .arg(link.isSerial() ? QStringLiteral("open") : QStringLiteral("connect to"), where(), openingFault()));
}

QString Session::openingFault() const
{
    if (link.isSerial() && link.serialDevicePath().isEmpty())
        return openingFaultReason(link) + QStringLiteral(" ('tarvoctl ports' lists them)");
    return openingFaultReason(link);
}

void Session::connectionClosed()
{
    // The only message of the link: the sensor closed the connection.
    fail(currentStep(false), QStringLiteral("connection closed by %1").arg(where()));
}

void Session::timeoutReaction()
{
    // A closed connection's reason names the sensor already.
    fail(currentStep(link.isSerial() || link.tcpConnected()), replyFault());
}

bool Session::acceptReply(const std::uint16_t* words)
{
    const std::uint16_t code = frame::getWord(exchange.lastRequest().data(), 1);
    const std::uint16_t row = frame::getWord(exchange.lastRequest().data(), 2);
    QString wrong;
    if (words[0] != frame::kSyncSensor)
        wrong = QStringLiteral("the reply starts with %1 instead of 00AA").arg(words[0], 4, 16, QChar(u'0'));
    else if (words[1] != code)
        wrong = QStringLiteral("the reply is one to command %1").arg(words[1]);
    else if (code == frame::ReadTeachRow && words[2] != row)
        wrong = QStringLiteral("the reply is one for teach row %1").arg(words[2]);
    if (wrong.isEmpty())
        return true;
    fail(currentStep(), wrong);
    return false;
}

bool Session::ParameterReplyRead()
{
    return acceptReply(params.pp.data());
}

QString Session::currentStep(bool withWhere) const
{
    // The frame on its way names the step.
    const std::uint16_t code = frame::getWord(exchange.lastRequest().data(), 1);
    const std::uint16_t arg = frame::getWord(exchange.lastRequest().data(), 2);
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
    const QString step = m_step.isEmpty() ? what : m_step + QStringLiteral(", ") + what;
    return withWhere ? where() + QStringLiteral(": ") + step : step;
}

QString Session::replyFault() const
{
    const ReceiveState& rx = link.receiveState();
    if (!link.isSerial() && !link.tcpConnected())
        return QStringLiteral("connection closed by %1").arg(where());
    // What the bytes left in the buffer say is no reply from a device that has gone.
    if (link.isSerial() && link.channelLost())
        return link.lostReason();
    if (rx.bytesToRead != 0)
        return replyShortfall(link,
                              !m_lineCheck ? connection.options().exchange.replyLimit : exchange.lineCheckLimit());
    const auto& in = rx.szReadBuf;
    const auto hex = [](std::uint8_t b) { return QStringLiteral("%1").arg(b, 2, 16, QChar(u'0')).toUpper(); };
    if (in[0] != 0x00 || in[1] != 0xAA)
        return QStringLiteral("the reply starts with %1 %2 instead of 00 AA").arg(hex(in[0]), hex(in[1]));
    const auto sent = exchange.lastRequest();
    for (int i = 2; i < frame::kBytes; ++i)
        if (in[i] != sent[i])
            return QStringLiteral("the reply does not echo the frame (byte %1 is %2, sent %3)")
                .arg(i)
                .arg(in[i])
                .arg(sent[i]);
    return QStringLiteral("the reply was refused");
}

}  // namespace tarvo::ctl
