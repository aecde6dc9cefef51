#include "publishcommand.h"

#include "commandline.h"
#include "fileio.h"
#include "frame.h"
#include "interrupt.h"
#include "payload.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QHostAddress>
#include <QProcessEnvironment>

#include <cmath>
#include <cstdio>

namespace tarvo::ctl {

namespace {

using publish::MqttClient;
using publish::Publisher;

constexpr int kBrokerPort = 1883;
constexpr int kBrokerTlsPort = 8883;
constexpr double kBrokerStartLimit = 5.0;  // seconds to wait for the broker's first answer
constexpr double kDrainLimit = 10.0;       // seconds at the end for the broker to take what waits
// When automatic sending goes off, the frames on their way are taken until
// the line has been quiet this long, for at most the limit.
constexpr int kSettleQuietMs = 250;
constexpr int kSettleLimitMs = 2000;
constexpr qint64 kPasswordFileMax = 4096;
const char* const kPasswordVariable = "TARVO_MQTT_PASSWORD";
const char* const kLost = "LOST";

QString optionValue(const QCommandLineParser& p, const char* name)
{
    return p.value(QString::fromLatin1(name));
}

bool isSet(const QCommandLineParser& p, const char* name)
{
    return p.isSet(QString::fromLatin1(name));
}

// The password: the first line of --password-file, or the environment.
QString readPassword(const QCommandLineParser& p, PublishOptions& o)
{
    const QString env = QProcessEnvironment::systemEnvironment().value(QString::fromLatin1(kPasswordVariable));
    if (isSet(p, "password-file")) {
        const QString path = optionValue(p, "password-file");
        const FileRead read = readWholeFile(path, kPasswordFileMax);
        if (read.status != FileRead::Ok)
            return QStringLiteral("--password-file %1: %2")
                .arg(QDir::toNativeSeparators(path),
                     read.status == FileRead::Missing ? QStringLiteral("No such file") : read.error);
        QByteArray first = read.content.split('\n').first();
        if (first.endsWith('\r'))
            first.chop(1);
        if (first.isEmpty())
            return QStringLiteral("--password-file %1: the first line is empty").arg(QDir::toNativeSeparators(path));
        o.password = QString::fromUtf8(first);
    } else {
        o.password = env;
    }
    if (!o.password.isEmpty() && o.username.isEmpty())
        return QStringLiteral("a password needs --username");
    return QString();
}

void say(const QString& text)
{
    report(Done, text);
}

// The loopback interface, where a password without TLS does not travel.
bool isLocal(const QString& host)
{
    const QHostAddress a(host);
    return host == u"localhost" || (!a.isNull() && a.isLoopback());
}

// Every frame the sensor sends on its own, until `flag` is cleared. False
// when the frame that switches automatic sending off could not be written.
bool publishTriggered(Session& s, Publisher& publisher, std::uint16_t& flag)
{
    AutoFrameReader& reader = s.exchange.autoFrames();
    const auto take = [&](const FrameWords& words) {
        s.values.CopyDatatoVars(words);
        publisher.addValues(s.values, QDateTime::currentDateTime());
    };
    s.measurement.StartAutoSend();
    while (flag == 1)
        if (reader.wait(flag))
            reader.takeAll(take);
    reader.takeAll(take);
    // Automatic sending off, without the flush of the usual switch-off: the
    // frames already on their way are parts measured, and are published too.
    s.setStep(QStringLiteral("switching automatic sending off"));
    s.exchange.order = frame::AutoSend;
    s.exchange.FillTxBuf(frame::AutoSend, 0);
    s.exchange.WriteFrame();
    const bool written = s.exchange.nBytesW == frame::kBytes;
    std::uint16_t settling = written && !s.failed() ? 1 : 0;
    QTimer quiet, limit;
    for (QTimer* t : {&quiet, &limit}) {
        t->setSingleShot(true);
        QObject::connect(t, &QTimer::timeout, &s.pump, [&] {
            settling = 0;
            s.pump.poke();
        });
    }
    quiet.start(kSettleQuietMs);
    limit.start(kSettleLimitMs);
    while (settling == 1) {
        if (reader.wait(settling)) {
            reader.takeAll(take);
            quiet.start(kSettleQuietMs);
        }
    }
    reader.takeAll(take);
    reader.end();
    return written;
}

// Command 5 every intervalMs on a fixed schedule, until `flag` is cleared; a
// late reply moves the next request to the next slot, never into a burst.
// The number of replies that were not measurements, which are skipped.
long publishPolled(Session& s, Publisher& publisher, std::uint16_t& flag, int intervalMs)
{
    long skipped = 0;
    const double period = intervalMs / 1000.0;
    double next = s.pump.now();
    while (flag == 1) {
        if (!s.measurement.ReadMeasurement()) {
            s.exchange.SetPopupTimeout();  // records why, ends the loop
            break;
        }
        const auto& words = s.exchange.databuf;
        if (words[0] == frame::kSyncSensor && words[1] == frame::ReadMeasurement) {
            publisher.addValues(s.values, QDateTime::currentDateTime());
        } else if (++skipped == 1) {
            say(QStringLiteral("reading measured values (command 5): a reply starting %1 %2 is not a "
                               "measurement; such replies are skipped")
                    .arg(words[0], 4, 16, QChar(u'0'))
                    .arg(words[1], 4, 16, QChar(u'0')));
        }
        const double now = s.pump.now();
        next += period;
        if (next < now)
            next += std::ceil((now - next) / period) * period;
        s.pump.waitFor(next - now, [&] { return flag != 1; });
    }
    return skipped;
}

// What became of the run's value sets, for standard output.
QString summary(const Publisher::Outcome& out, const Publisher& publisher, const QString& spoolDir, long skipped)
{
    QString text = QStringLiteral("%1 value sets published to %2: %3 delivered")
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
    if (skipped > 0)
        text += QStringLiteral("; %1 replies that were not measurements skipped").arg(skipped);
    return text;
}

} // namespace

QList<QCommandLineOption> publishOptions()
{
    return {
        {"broker", "MQTT broker.", "HOST[:PORT]"},
        {"name", "The sensor's name in the topics.", "NAME"},
        {"prefix", "Topic prefix.", "P"},
        {"spool", "Spool directory.", "DIR"},
        {"queue", "Value sets kept in memory.", "N"},
        {"tls", "TLS to the broker."},
        {"cafile", "Certificate authority for TLS.", "FILE"},
        {"cert", "Client certificate for TLS.", "FILE"},
        {"key", "Client key for TLS.", "FILE"},
        {"username", "User name at the broker.", "USER"},
        {"password-file", "File whose first line is the password.", "FILE"},
        // Refused with the reason: a password on the command line is visible to every user.
        QCommandLineOption(QStringLiteral("password"), QString(), QStringLiteral("PASSWORD")),
    };
}

QSet<QString> publishOptionNames()
{
    QSet<QString> names = {QStringLiteral("triggered"), QStringLiteral("interval"), QStringLiteral("seconds")};
    for (const QCommandLineOption& o : publishOptions())
        names.insert(o.names().first());
    return names;
}

QString readPublishOptions(const QCommandLineParser& p, PublishOptions& o)
{
    if (isSet(p, "password"))
        return QStringLiteral("--password is not taken: a password on the command line is seen by every user of the "
                              "machine; use --password-file FILE or the environment variable %1")
            .arg(QString::fromLatin1(kPasswordVariable));
    o.triggered = isSet(p, "triggered");
    if (o.triggered && isSet(p, "interval"))
        return QStringLiteral("--triggered and --interval exclude each other");
    if (!o.triggered && !isSet(p, "interval"))
        return QStringLiteral("publish needs either --triggered (the frames the sensor sends on its own) or "
                              "--interval MS (polling)");
    if (!isSet(p, "broker"))
        return QStringLiteral("publish needs --broker HOST[:PORT]");
    if (!isSet(p, "name"))
        return QStringLiteral("publish needs --name NAME, the sensor's name in the topics");
    o.name = optionValue(p, "name");
    if (const QString wrong = publish::badName(o.name); !wrong.isEmpty())
        return wrong;
    if (isSet(p, "prefix"))
        o.prefix = optionValue(p, "prefix");
    if (const QString wrong = publish::badPrefix(o.prefix); !wrong.isEmpty())
        return wrong;

    o.tls = isSet(p, "tls");
    o.cafile = optionValue(p, "cafile");
    o.certfile = optionValue(p, "cert");
    o.keyfile = optionValue(p, "key");
    if (!o.tls && (isSet(p, "cafile") || isSet(p, "cert") || isSet(p, "key")))
        return QStringLiteral("--cafile, --cert and --key are for TLS: add --tls");
    if (o.certfile.isEmpty() != o.keyfile.isEmpty())
        return QStringLiteral("--cert and --key go together");
    if (!o.certfile.isEmpty() && o.cafile.isEmpty())
        return QStringLiteral("--cert needs --cafile");

    // HOST, HOST:PORT or [IPv6]:PORT, as --tcp takes the sensor.
    const QString broker = optionValue(p, "broker");
    const bool portGiven = broker.startsWith(u'[') ? broker.contains(QStringLiteral("]:")) : broker.contains(u':');
    const int defaultPort = o.tls ? kBrokerTlsPort : kBrokerPort;
    const auto where = parseServer(portGiven ? broker : broker + u':' + QString::number(defaultPort));
    if (!where)
        return QStringLiteral("--broker wants HOST or HOST:PORT with a port from 1 to 65535, not \"%1\"").arg(broker);
    o.host = where->ipBuf;
    o.port = where->portNumStr.toInt();

    o.username = optionValue(p, "username");
    o.spoolDir = optionValue(p, "spool");
    if (isSet(p, "spool") && o.spoolDir.isEmpty())
        return QStringLiteral("--spool wants a directory");
    return readPassword(p, o);
}

int publishValues(const Target& target, const PublishOptions& o)
{
    Session s;
    StopOnInterrupt stop(s);

    MqttClient client;
    Publisher publisher(client, {o.prefix, o.name, o.queueLimit, o.spoolDir});
    publisher.notice = say;
    publish::BrokerOptions b;
    b.host = o.host;
    b.port = o.port;
    b.clientId = QStringLiteral("tarvoctl/%1/%2").arg(o.prefix, o.name);
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
        say(QStringLiteral("the password goes to %1 unencrypted; --tls protects it").arg(client.where()));

    // The broker first: one that refuses us ends the run before the sensor
    // is asked anything. Until it has taken us once, a refusal is a
    // mistake in the set-up, which trying again does not mend.
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
        if (kind == MqttClient::Failure::Refused)
            s.flags.clearAll();  // a loop already running ends
        s.pump.poke();
    });
    bool spoolOk = true;
    QObject::connect(&publisher, &Publisher::spoolFailed, &s.pump, [&] {
        spoolOk = false;
        s.flags.clearAll();
        s.pump.poke();
    });
    const auto refused = [&] { return !everConnected && firstFailure == MqttClient::Failure::Refused; };
    client.start();
    s.pump.waitFor(kBrokerStartLimit, [&] { return everConnected || firstFailure || s.interrupted(); });
    if (refused())
        return report(SensorFailed, QStringLiteral("broker %1: %2").arg(client.where(), firstReason));
    if (!everConnected && !s.interrupted())
        say(QStringLiteral("broker %1: %2; value sets are kept until it answers")
                .arg(client.where(), firstFailure ? firstReason : QStringLiteral("no answer yet")));

    // The sensor: its identification and working parameter set go to the
    // info topic, once.
    std::uint16_t& flag = o.triggered ? s.flags.pollrecord : s.flags.poll;
    QTimer deadline;
    bool offWritten = true;
    long skipped = 0;
    std::optional<int> startFailure;  // reported already
    if (!s.interrupted())
        startFailure = begin(s, target);
    if (!s.interrupted() && !startFailure) {
        s.params.target = RAM;
        s.setStep(QStringLiteral("reading the working parameter set"));
        if (s.transfer.GetPara() && !s.failed()) {
            s.params.CopyVarsToPP();
            publisher.setInfo(publish::infoPayload(QDateTime::currentDateTime(), s.exchange.versionText(),
                                                   QStringLiteral("tarvoctl %1").arg(programVersion()), s.params.pp));
        }
        s.setStep(QString());
        if (!s.failed() && !s.interrupted() && spoolOk && !refused())
            armLoop(s, flag, o.seconds, deadline);
    }

    if (flag == 1 && o.triggered)
        offWritten = publishTriggered(s, publisher, flag);
    else if (flag == 1)
        skipped = publishPolled(s, publisher, flag, o.intervalMs);
    flag = 0;

    // The sensor link is lost: the run ends, and the plant is told why. Here
    // a run that reconnects would try the link again and go on, publishing
    // RESUMED when the sensor is back.
    if (s.failed())
        publisher.addEvent(QString::fromLatin1(kLost), s.failure());

    // Ctrl+C or SIGTERM once more ends the wait for the broker.
    bool giveUp = false;
    onInterrupt([&] {
        giveUp = true;
        s.pump.poke();
    });
    const Publisher::Outcome out = publisher.finish(kDrainLimit, s.pump, [&] { return giveUp; });
    std::fputs(qPrintable(summary(out, publisher, o.spoolDir, skipped) + u'\n'), stdout);
    std::fflush(stdout);

    int code = Done;
    const auto fail = [&code](int c, const QString& text) {
        report(c, text);
        if (code == Done)
            code = c;
    };
    if (!publisher.spoolFailure().isEmpty())
        fail(BadUsage, publisher.spoolFailure());
    if (refused())
        fail(SensorFailed, QStringLiteral("broker %1: %2").arg(client.where(), firstReason));
    if (startFailure)
        code = code == Done ? *startFailure : code;
    else if (s.failed())
        fail(SensorFailed, s.failure());
    else if (!offWritten)
        fail(SensorFailed, QStringLiteral("switching automatic sending off (command 50): the frame could not be written"));
    if (out.lost > 0)
        fail(SensorFailed, QStringLiteral("%1 value sets were lost: %2").arg(out.lost).arg(out.error));
    return code;
}

} // namespace tarvo::ctl
