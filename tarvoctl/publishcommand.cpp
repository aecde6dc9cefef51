#include "publishcommand.h"

#include "commandline.h"
#include "interrupt.h"
#include "publisher.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcessEnvironment>
#include <QTimer>

#include <cmath>

namespace tarvo::ctl {

// The options only publish takes.
namespace opt {
constexpr Option broker{.name = "broker", .description = "MQTT broker.", .valueName = "HOST[:PORT]"};
constexpr Option name{.name = "name", .description = "The sensor's name in the topics.", .valueName = "NAME"};
constexpr Option prefix{.name = "prefix", .description = "Topic prefix.", .valueName = "P"};
constexpr Option spool{.name = "spool", .description = "Spool directory.", .valueName = "DIR"};
constexpr Option queue{.name = "queue", .description = "Value sets kept in memory.", .valueName = "N"};
constexpr Option tls{.name = "tls", .description = "TLS to the broker."};
constexpr Option cafile{.name = "cafile", .description = "Certificate authority for TLS.", .valueName = "FILE"};
constexpr Option cert{.name = "cert", .description = "Client certificate for TLS.", .valueName = "FILE"};
constexpr Option key{.name = "key", .description = "Client key for TLS.", .valueName = "FILE"};
constexpr Option username{.name = "username", .description = "User name at the broker.", .valueName = "USER"};
constexpr Option passwordFile{
    .name = "password-file", .description = "File whose first line is the password.", .valueName = "FILE"};
// Refused with the reason: a password on the command line is seen by every user.
constexpr Option password{.name = "password", .description = "Refused.", .valueName = "PASSWORD"};
}  // namespace opt

namespace {

using publish::MqttClient;
using publish::Publisher;

constexpr int kBrokerPort = 1883;
constexpr int kBrokerTlsPort = 8883;
constexpr double kBrokerStartLimit = 5.0;         // seconds to wait for the broker's first answer
constexpr double kDrainLimit = 10.0;              // seconds at the end for the broker to take what waits
constexpr double kMaxSeconds = 20.0 * 24 * 3600;  // --seconds: a timer counting milliseconds in an int
constexpr qint64 kPasswordFileMax = 4096;
const char* const kPasswordVariable = "TARVO_MQTT_PASSWORD";
const char* const kLost = "LOST";
const char* const kForm
    = "publish --broker HOST[:PORT] --name NAME (--triggered | --interval MS) [--prefix P] [--seconds S] "
      "[--spool DIR] [--queue N] [--tls [--cafile FILE] [--cert FILE --key FILE]] [--username USER "
      "[--password-file FILE]] [--reconnect]";

struct PublishOptions {
    QString host;
    int port = 0;
    QString name;
    QString prefix = QString::fromLatin1(publish::kDefaultPrefix);
    bool triggered = false;  // else polled every intervalMs
    int intervalMs = 0;
    double seconds = 0.0;  // 0: until a signal ends it
    QString spoolDir;
    int queueLimit = Publisher::kDefaultQueue;
    bool tls = false;
    QString cafile, certfile, keyfile;
    QString username;
    QString password;  // from --password-file or TARVO_MQTT_PASSWORD, never the command line
};

// The command's options; a mistake ends in usage(), a password file that
// cannot be read in its exit code.
std::optional<int> readOptions(const Invocation& in, PublishOptions& o)
{
    wantArguments(in, kForm, 0);
    if (in.isSet(opt::password))
        usage(QStringLiteral("--password is not taken: a password on the command line is seen by every user of the "
                             "machine; use --password-file FILE or the environment variable %1")
                  .arg(QString::fromLatin1(kPasswordVariable)));
    exclusive(in, opt::triggered, opt::interval);
    o.triggered = in.isSet(opt::triggered);
    if (!o.triggered && !in.isSet(opt::interval))
        usage(QStringLiteral("publish needs either --triggered (the frames the sensor sends on its own) or "
                             "--interval MS (polling)"));
    if (in.isSet(opt::interval))
        o.intervalMs = wholeOption(in, opt::interval, 1, 3600000);
    if (in.isSet(opt::seconds))
        o.seconds = secondsOption(in, opt::seconds, kMaxSeconds);
    if (in.isSet(opt::queue))
        o.queueLimit = wholeOption(in, opt::queue, 1, 10000000);
    if (!in.isSet(opt::broker))
        usage(QStringLiteral("publish needs --broker HOST[:PORT]"));
    if (!in.isSet(opt::name))
        usage(QStringLiteral("publish needs --name NAME, the sensor's name in the topics"));
    o.name = in.value(opt::name);
    if (in.isSet(opt::prefix))
        o.prefix = in.value(opt::prefix);
    for (const QString& wrong : {publish::badName(o.name), publish::badPrefix(o.prefix)})
        if (!wrong.isEmpty())
            usage(wrong);

    o.tls = in.isSet(opt::tls);
    o.cafile = in.value(opt::cafile);
    o.certfile = in.value(opt::cert);
    o.keyfile = in.value(opt::key);
    if (!o.tls && (in.isSet(opt::cafile) || in.isSet(opt::cert) || in.isSet(opt::key)))
        usage(QStringLiteral("--cafile, --cert and --key are for TLS: add --tls"));
    if (o.certfile.isEmpty() != o.keyfile.isEmpty())
        usage(QStringLiteral("--cert and --key go together"));
    if (!o.certfile.isEmpty() && o.cafile.isEmpty())
        usage(QStringLiteral("--cert needs --cafile"));

    // HOST, HOST:PORT or [IPv6]:PORT, as --tcp takes the sensor.
    const QString broker = in.value(opt::broker);
    const bool portGiven = broker.startsWith(u'[') ? broker.contains(QStringLiteral("]:")) : broker.contains(u':');
    const auto where = parseServer(portGiven ? broker
                                             : broker + u':' + QString::number(o.tls ? kBrokerTlsPort : kBrokerPort));
    if (!where)
        usage(QStringLiteral("--broker wants HOST or HOST:PORT with a port from 1 to 65535, not \"%1\"").arg(broker));
    o.host = where->ipBuf;
    o.port = where->portNumStr.toInt();

    o.spoolDir = in.value(opt::spool);
    if (in.isSet(opt::spool) && o.spoolDir.isEmpty())
        usage(QStringLiteral("--spool wants a directory"));
    o.username = in.value(opt::username);
    if (in.isSet(opt::passwordFile)) {
        InputFile file;
        if (const auto failed = readInput(in.value(opt::passwordFile), kPasswordFileMax, &file))
            return failed;
        QByteArray first = file.content.split('\n').first();
        if (first.endsWith('\r'))
            first.chop(1);
        if (first.isEmpty())
            return report(BadUsage,
                          fileMessage(in.value(opt::passwordFile), QStringLiteral("the first line is empty")));
        o.password = QString::fromUtf8(first);
        const QFileInfo info(in.value(opt::passwordFile));
        if (info.permissions() & QFileDevice::ReadOther)
            warn(QStringLiteral("the password file %1 can be read by every user of the machine: chmod o-r it")
                     .arg(QDir::toNativeSeparators(in.value(opt::passwordFile))));
    } else {
        o.password = QProcessEnvironment::systemEnvironment().value(QString::fromLatin1(kPasswordVariable));
    }
    if (!o.password.isEmpty() && o.username.isEmpty())
        usage(QStringLiteral("a password needs --username"));
    return std::nullopt;
}

// The loopback interface, where a password without TLS does not travel.
bool isLocal(const QString& host)
{
    const QHostAddress a(host);
    return host == u"localhost" || (!a.isNull() && a.isLoopback());
}

// Every frame the sensor sends on its own, until `flag` is cleared, and the
// frames on their way when automatic sending goes off: they are parts
// measured too. False when the switch-off could not be written.
bool publishTriggered(const Invocation& in, Session& s, Publisher& publisher, std::uint16_t& flag)
{
    AutoFrameReader& reader = s.exchange.autoFrames();
    const auto take = [&](const FrameWords& words) {
        s.values.CopyDatatoVars(words);
        publisher.addValues(s.values, QDateTime::currentDateTime());
        ++s.linesWritten;
    };
    s.startAutoSend();
    s.reconnect.begin();
    while (flag == 1)
        if (s.reconnect.awaitFrames(flag))
            reader.takeAll(take);
    reader.takeAll(take);
    s.setStep(QStringLiteral("switching automatic sending off"));
    const bool off = s.stopAutoSend(take);
    reportReception(in, s, reader.counts());
    return off;
}

// Command 5 every intervalMs on a fixed schedule, until `flag` is cleared; a
// late reply moves the next request to the next slot, never into a burst.
// The exchange takes only the sensor's reply to command 5.
void publishPolled(Session& s, Publisher& publisher, std::uint16_t& flag, int intervalMs)
{
    const double period = intervalMs / 1000.0;
    double next = s.pump.now();
    s.reconnect.begin();
    while (flag == 1) {
        // With --reconnect a lost line is taken up again; a missed set is no message.
        const auto polled = s.reconnect.afterRequest(s.measurement.ReadMeasurement(), flag, true);
        if (polled == Reconnector::Polled::Failed) {
            s.exchange.SetPopupTimeout();  // records why, ends the loop
            break;
        }
        if (polled == Reconnector::Polled::Ended)
            break;
        if (polled == Reconnector::Polled::Value) {
            publisher.addValues(s.values, QDateTime::currentDateTime());
            ++s.linesWritten;
        }
        const double now = s.pump.now();
        next += period;
        if (next < now)
            next += std::ceil((now - next) / period) * period;
        s.pump.waitFor(next - now, [&] { return flag != 1; });
    }
}

// What became of the run's value sets.
QString summary(const Publisher::Outcome& out, const Publisher& publisher, const QString& spoolDir)
{
    QString text = QStringLiteral("%1 value sets published to %2: %3 acknowledged by the broker")
                       .arg(QString::number(out.published), QString::fromUtf8(publisher.topics().values),
                            QString::number(out.delivered));
    if (out.kept > 0)
        text += QStringLiteral(", %1 kept in the spool %2 for the next run")
                    .arg(out.kept)
                    .arg(QDir::toNativeSeparators(spoolDir));
    if (out.lost > 0)
        text += QStringLiteral(", %1 lost").arg(out.lost);
    if (out.earlier > 0)
        text += QStringLiteral("; %1 messages of an earlier run delivered").arg(out.earlier);
    return text;
}

}  // namespace

std::vector<const Option*> publishOptions()
{
    return {&opt::broker,   &opt::name,         &opt::prefix,   &opt::triggered, &opt::interval, &opt::seconds,
            &opt::spool,    &opt::queue,        &opt::tls,      &opt::cafile,    &opt::cert,     &opt::key,
            &opt::username, &opt::passwordFile, &opt::password, &opt::reconnect};
}

int publishValues(const Invocation& in, Session& s)
{
    PublishOptions o;
    if (const auto failed = readOptions(in, o))
        return *failed;

    MqttClient client;
    Publisher publisher(client,
                        {.prefix = o.prefix, .name = o.name, .queueLimit = o.queueLimit, .spoolDir = o.spoolDir});
    publisher.notice = [&in](const QString& text, bool warning) { warning ? warn(text) : note(in, text); };
    publish::BrokerOptions b;
    b.host = o.host;
    b.port = o.port;
    // A client id per run: a second publisher under the name is told by the
    // status topic (see MqttClient), never by taking the first one's session.
    b.clientId = QStringLiteral("tarvoctl/%1/%2/%3").arg(o.prefix, o.name, publisher.run());
    b.run = publisher.run();
    b.since = QDateTime::currentMSecsSinceEpoch();
    b.username = o.username;
    b.password = o.password;
    b.tls = o.tls;
    b.cafile = o.cafile;
    b.certfile = o.certfile;
    b.keyfile = o.keyfile;
    b.willTopic = publisher.topics().status;
    b.willPayload = publish::kOffline;
    QString error;
    if (!client.configure(b, &error) || !publisher.open(&error))
        return report(BadUsage, error);
    if (!o.password.isEmpty() && !o.tls && !isLocal(o.host))
        warn(QStringLiteral("the password goes to %1 unencrypted; --tls protects it").arg(client.where()));

    // The broker first: one that refuses us ends the run before the sensor
    // is asked anything. A refusal, a denial or our name in use ends the
    // run whenever it comes; a broker that cannot be reached is an outage.
    bool everConnected = false;
    std::optional<MqttClient::Failure> firstFailure;
    QString firstReason;
    QObject::connect(&client, &MqttClient::connected, &s.pump, [&] {
        everConnected = true;
        s.pump.poke();
    });
    QObject::connect(&client, &MqttClient::failed, &s.pump, [&](MqttClient::Failure kind, const QString& reason) {
        if (everConnected || firstFailure)
            return;
        firstFailure = kind;
        firstReason = reason;
        s.pump.poke();
    });
    QObject::connect(&publisher, &Publisher::ended, &s.pump, [&s] {
        s.flags.clearAll();  // a loop already running ends
        s.pump.poke();
    });
    const auto refused = [&] { return !publisher.fatal().isEmpty(); };
    client.start();
    s.pump.waitFor(kBrokerStartLimit, [&] { return everConnected || firstFailure || refused() || s.interrupted(); });
    if (refused()) {
        client.disconnectAndStop(0);
        return report(SensorFailed, publisher.fatal());
    }
    if (!everConnected && !s.interrupted())
        warn(QStringLiteral("broker %1: %2; value sets are kept until it answers")
                 .arg(client.where(), firstFailure ? firstReason : QStringLiteral("no answer yet")));

    // The sensor: its identification and working parameter set go to the
    // info topic, once.
    std::uint16_t& flag = o.triggered ? s.flags.pollrecord : s.flags.poll;
    QTimer deadline;
    bool offWritten = true;
    const std::optional<int> startFailure = s.interrupted() ? std::nullopt : s.begin();  // reported already
    if (!s.interrupted() && !startFailure) {
        s.params.target = RAM;
        s.setStep(QStringLiteral("reading the working parameter set"));
        if (s.transfer.GetPara() && !s.failed()) {
            s.params.CopyVarsToPP();
            publisher.setInfo(publish::infoPayload(QDateTime::currentDateTime(), s.exchange.versionText(),
                                                   QStringLiteral("tarvoctl %1").arg(programVersion()), s.params.pp));
        }
        s.setStep(QString());
        if (in.isSet(opt::reconnect) && !s.failed()) {
            // The events of the sensor link go to the plant as well.
            s.enableReconnect(QString(), false);
            s.reconnect.eventLog = [&publisher](LinkEvent event, const QString& reason) {
                publisher.addEvent(linkEventWord(event), reason);
            };
        }
        if (!s.failed() && !s.interrupted() && !refused()) {
            runFor(s, flag, o.seconds, deadline);
        }
    }
    if (flag == 1 && o.triggered)
        offWritten = publishTriggered(in, s, publisher, flag);
    else if (flag == 1)
        publishPolled(s, publisher, flag, o.intervalMs);
    flag = 0;

    // The sensor link is lost: the run ends, and the plant is told why. With
    // --reconnect the link was tried again (its events are published) and
    // the run ends only when another sensor answered.
    s.reconnect.eventLog = nullptr;
    const bool otherSensor = s.reconnect.enabled() && s.reconnect.lastOutcome() == Reconnector::Outcome::OtherSensor;
    if (s.failed() && !s.reconnect.enabled())
        publisher.addEvent(QString::fromLatin1(kLost), s.failure());
    if (s.reconnect.enabled())
        s.stopped(s.interrupted()   ? QStringLiteral("interrupted")
                      : otherSensor ? QStringLiteral("another sensor answered")
                      : s.failed()  ? s.failure()
                                    : QStringLiteral("the time asked for was reached"));

    // The broker gets its time to take what waits, also after a signal; a
    // signal now ends that wait, never the process, so the spool keeps the rest.
    s.resumeWaits();
    onInterrupt([&s](int signal) {
        if (!s.interrupted())
            s.interrupt(signal);
        s.pump.setWaitsCutShort(true);
    });
    const Publisher::Outcome out = publisher.finish(kDrainLimit, s.pump);
    onInterrupt([&s](int signal) { s.interrupt(signal); });
    note(in, summary(out, publisher, o.spoolDir));

    int code = Done;
    const auto fail = [&code](int c, const QString& text) {
        report(c, text);
        if (code == Done)
            code = c;
    };
    if (refused())
        fail(SensorFailed, publisher.fatal());
    if (startFailure)
        code = code == Done ? *startFailure : code;
    else if (s.failed() && s.failureExit() != Done && code == Done)
        code = SensorFailed;
    else if (!offWritten && !s.interrupted())
        fail(SensorFailed,
             QStringLiteral("%1: automatic sending (command 50) could not be switched off: the frame "
                            "could not be written")
                 .arg(s.where()));
    if (otherSensor && !s.interrupted())
        fail(SensorFailed,
             QStringLiteral("%1: another sensor (\"%2\") answered after the connection was lost; "
                            "nothing of it was published")
                 .arg(s.where(), s.exchange.versionText()));
    if (out.lost > 0)
        fail(SensorFailed, QStringLiteral("%1 value sets were lost: %2").arg(out.lost).arg(out.error));
    return code;
}

}  // namespace tarvo::ctl
