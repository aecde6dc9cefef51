// tarvoctl publish against a real broker: Debian's mosquitto, started on a
// free loopback port for each test, a subscriber that keeps every message,
// and the simulated sensor in this process.
#include "ctlprocess.h"
#include "frame.h"
#include "mqttbroker.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <map>

#include <memory>

using namespace tarvo;
using namespace tarvo::test;

Q_DECLARE_METATYPE(tarvo::sim::SimOptions)

namespace {

const QByteArray kValues = "tarvo/line3/values";
const QByteArray kStatus = "tarvo/line3/status";
const QByteArray kInfo = "tarvo/line3/info";
const QByteArray kEvents = "tarvo/line3/events";
constexpr int kDeliveryMs = 20000;  // a guard only: deliveries on loopback take milliseconds

// Runs this process's events until done() holds (runUntil), false after
// kDeliveryMs.
bool eventually(const std::function<bool()>& done)
{
    return tarvo::test::runUntil(done, kDeliveryMs);
}

#define NEED_BROKER()                                                                                                  \
    if (MosquittoBroker::program().isEmpty())                                                                          \
    QSKIP("mosquitto is not installed (tools/setup.sh installs it)")

// A broker and a subscriber to tarvo/# on it.
struct Plant {
    QTemporaryDir dir;
    std::unique_ptr<MosquittoBroker> broker;
    std::unique_ptr<MqttSubscriber> sub;

    bool up(const MosquittoBroker::Setup& setup = {}, bool persistentSubscriber = false)
    {
        QString error;
        broker = std::make_unique<MosquittoBroker>(dir.path(), setup);
        sub = std::make_unique<MqttSubscriber>(QStringLiteral("watcher"), persistentSubscriber);
        const bool ok = broker->start(&error) && sub->subscribe(broker->port(), "tarvo/#", &error, setup.cafile);
        if (!ok)
            qWarning() << error;
        return ok;
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(broker->port()); }

    // A noiseless simulated sensor sending `rate` frames a second on its own
    // when asked to; null when it does not start.
    std::unique_ptr<sim::SensorSim> sensor(double rate = 5.0)
    {
        sim::SimOptions o = simOptions(dir, QStringLiteral("s"));
        o.partRateHz = rate;
        auto s = std::make_unique<sim::SensorSim>(o);
        return s->start() ? std::move(s) : nullptr;
    }

    std::vector<QJsonObject> json(const QByteArray& topic) const
    {
        std::vector<QJsonObject> out;
        for (const QByteArray& p : sub->payloads(topic))
            out.push_back(QJsonDocument::fromJson(p).object());
        return out;
    }
    // The value sets' seq in the order they came, duplicates included.
    std::vector<qint64> seqs() const
    {
        std::vector<qint64> out;
        for (const QJsonObject& o : json(kValues))
            out.push_back(o.value(QStringLiteral("seq")).toInteger());
        return out;
    }
    bool statusIs(const QByteArray& text) const
    {
        const auto s = sub->payloads(kStatus);
        return !s.empty() && s.back() == text;
    }
};

// Every seq from 1 to n came, each new one right after the highest before
// (repeats of earlier ones allowed, as QoS 1 allows them).
bool inOrderWithoutGaps(const std::vector<qint64>& seqs, qint64 n)
{
    qint64 highest = 0;
    for (qint64 s : seqs) {
        if (s > highest + 1)
            return false;
        highest = std::max(highest, s);
    }
    return highest == n;
}

QStringList publishArgs(const Plant& plant, const QStringList& more)
{
    return QStringList{"publish", "--broker", plant.address(), "--name", "line3"} + more;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A broker of MQTT 3.1.1 only, as older brokers are: in front of mosquitto
// (which speaks every version), it answers an MQTT 5 CONNECT as such a
// broker does (CONNACK 1, unacceptable protocol version, and the end of the
// connection) and passes every other connection through.
class Mqtt311Gate : public QObject {
public:
    explicit Mqtt311Gate(quint16 brokerPort)
        : m_brokerPort(brokerPort)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* client = m_server.nextPendingConnection())
                connect(client, &QTcpSocket::readyRead, this, [this, client] { firstBytes(client); });
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    int refusedV5 = 0;

private:
    void firstBytes(QTcpSocket* client)
    {
        if (client->property("upstream").isValid())
            return;
        // CONNECT: fixed header, a length of up to 4 bytes, "\0\4MQTT", the version.
        const QByteArray head = client->peek(16);
        qsizetype at = 1;
        while (at < head.size() && (head[at] & 0x80))
            ++at;
        const qsizetype version = at + 7;
        if (version >= head.size())
            return;  // more to come
        if (head[version] == 5) {
            ++refusedV5;
            client->write(QByteArray("\x20\x02\x00\x01", 4));
            client->disconnectFromHost();
            return;
        }
        auto* upstream = new QTcpSocket(client);
        client->setProperty("upstream", true);
        connect(upstream, &QTcpSocket::connected, client, [client, upstream] { upstream->write(client->readAll()); });
        connect(client, &QTcpSocket::readyRead, upstream, [client, upstream] {
            if (upstream->state() == QAbstractSocket::ConnectedState)
                upstream->write(client->readAll());
        });
        connect(upstream, &QTcpSocket::readyRead, client, [client, upstream] { client->write(upstream->readAll()); });
        connect(upstream, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
        connect(client, &QTcpSocket::disconnected, upstream, &QTcpSocket::disconnectFromHost);
        upstream->connectToHost(QHostAddress::LocalHost, m_brokerPort);
    }

    quint16 m_brokerPort;
    QTcpServer m_server;
};

// The value sets of one run (by the run identity in the payload), their seq in order.
std::map<QString, std::vector<qint64>> runs(const std::vector<QJsonObject>& values)
{
    std::map<QString, std::vector<qint64>> out;
    for (const QJsonObject& o : values)
        out[o.value(QStringLiteral("run")).toString()].push_back(o.value(QStringLiteral("seq")).toInteger());
    return out;
}

}  // namespace

class PublishTest : public QObject {
    Q_OBJECT
private slots:
    // The line check's pause after command 50 only lets frames on their way
    // arrive: every run here is given a short one.
    void initTestCase() { qputenv("TARVO_LINE_CHECK_PAUSE", "0.005"); }
    void everyValueSetReachesTheBrokerWithStatusAndInfo_data();
    void everyValueSetReachesTheBrokerWithStatusAndInfo();
    void theBrokerSaysOfflineWhenTheProcessDies();
    void anOutageLosesNothing_data();
    void anOutageLosesNothing();
    void theSpoolOfAnEarlierRunIsDeliveredFirst();
    void brokerAccessIsCheckedAtStart_data();
    void brokerAccessIsCheckedAtStart();
    void badInputIsReportedAndNotPublished_data();
    void badInputIsReportedAndNotPublished();
    void onlyWhatTheBrokerAcknowledgedCounts_data();
    void onlyWhatTheBrokerAcknowledgedCounts();
};

void PublishTest::everyValueSetReachesTheBrokerWithStatusAndInfo_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("triggered");
    QTest::newRow("triggered, over TCP") << false << true;
    QTest::newRow("polled, over the pseudo-terminal") << true << false;
}

void PublishTest::everyValueSetReachesTheBrokerWithStatusAndInfo()
{
    NEED_BROKER();
    QFETCH(bool, serial);
    QFETCH(bool, triggered);
    Plant plant;
    QVERIFY(plant.up());
    const auto sensor = plant.sensor(20);
    QVERIFY(sensor);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QStringList mode = triggered ? QStringList{"--triggered"} : QStringList{"--interval", "100"};
    const Result r = runCtl(linkTo(*sensor, serial, env) + publishArgs(plant, mode + QStringList{"--seconds", "0.5"}),
                            env);
    QCOMPARE(r.code, 0);
    QVERIFY(eventually([&] { return plant.statusIs("offline"); }));

    // Every frame the sensor sent (or every reply it gave), once, in order.
    qint64 sent = sensor->autoFramesSent();
    if (!triggered) {
        sent = 0;
        for (const QByteArray& f : sensor->receivedFrames())
            sent += frame::getWord(reinterpret_cast<const std::uint8_t*>(f.constData()), 1) == frame::ReadMeasurement;
    }
    QVERIFY(sent > 1);
    const std::vector<qint64> seqs = plant.seqs();
    QCOMPARE(qint64(seqs.size()), sent);
    QVERIFY(inOrderWithoutGaps(seqs, sent));
    QVERIFY2(
        r.err.contains(QStringLiteral("%1 value sets published to tarvo/line3/values: %1 acknowledged by the broker")
                           .arg(sent)
                           .toUtf8()),
        r.err.constData());

    // Each value by name, the tenths as numbers in their unit, the local time with its offset.
    const QRegularExpression shape(QStringLiteral(
        "^\\{\"seq\":\\d+,\"run\":\"[0-9a-f-]{36}\",\"time\":\"\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d\",\"ch_ref\":2500,"
        "\"ch_dir\":\\d+,\"ch_dif\":\\d+,\"norm\":\\d+,\"int\":\\d+,\"gf\":\\d+\\.\\d,\"vec\":\\d+,\"temp\":\\d+,"
        "\"gf_raw\":\\d+\\.\\d,\"pp\":\\d+\\.\\d\\}$"));
    for (const QByteArray& p : plant.sub->payloads(kValues))
        QVERIFY2(shape.match(QString::fromUtf8(p)).hasMatch(), p.constData());

    QCOMPARE(plant.sub->payloads(kStatus).front(), QByteArray("online"));
    const std::vector<QJsonObject> info = plant.json(kInfo);
    QCOMPARE(info.size(), size_t(1));
    QCOMPARE(info[0].value(QStringLiteral("identification")).toString(), QStringLiteral("TARVO GLOSS SENSOR V4.3 SIM"));
    QVERIFY(info[0].value(QStringLiteral("program")).toString().startsWith(QStringLiteral("tarvoctl 4.3.")));
    QCOMPARE(info[0].value(QStringLiteral("parameters")).toObject().value(QStringLiteral("power")).toInt(), 500);
    QCOMPARE(info[0].value(QStringLiteral("teach_table")).toArray().size(), 31);

    // Status and info stay with the broker for whoever subscribes later.
    MqttSubscriber later(QStringLiteral("later"));
    QVERIFY(later.subscribe(plant.broker->port(), "tarvo/line3/+"));
    QVERIFY(eventually([&] { return later.count() == 2; }));
    for (const MqttMessage& m : later.messages())
        QVERIFY2(m.retained && (m.topic == kInfo || (m.topic == kStatus && m.payload == "offline")),
                 m.topic.constData());
}

void PublishTest::theBrokerSaysOfflineWhenTheProcessDies()
{
    NEED_BROKER();
    Plant plant;
    QVERIFY(plant.up());
    const auto sensor = plant.sensor();
    QVERIFY(sensor);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const Result r = runCtl(linkTo(*sensor, false, env) + publishArgs(plant, {"--interval", "50"}), env,
                            [&](QProcess& p) {
                                QVERIFY(eventually([&] { return !plant.sub->payloads(kValues).empty(); }));
                                p.kill();
                            });
    QCOMPARE(r.code, -2);
    QVERIFY(eventually([&] { return plant.statusIs("offline"); }));
}

void PublishTest::anOutageLosesNothing_data()
{
    QTest::addColumn<bool>("sensorAway");  // else the broker is away
    QTest::addColumn<QStringList>("keep");
    QTest::newRow("in memory") << false << QStringList{};
    QTest::newRow("beyond the memory bound, in the spool")
        << false << QStringList{"--queue", "5", "--spool", "{dir}/spool"};
    QTest::newRow("the sensor away, --reconnect") << true << QStringList{"--reconnect"};
}

void PublishTest::anOutageLosesNothing()
{
    NEED_BROKER();
    QFETCH(bool, sensorAway);
    QFETCH(QStringList, keep);
    Plant plant;
    MosquittoBroker::Setup setup;
    setup.persistence = true;  // the subscriber's session survives the broker's restart
    QVERIFY(plant.up(setup, true));
    const auto sensor = plant.sensor(100);  // the outage, not the pace, is the matter
    QVERIFY(sensor);
    keep.replaceInStrings(QStringLiteral("{dir}"), plant.dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVO_RETRY_SCALE"), QStringLiteral("0.1"));  // the full schedule is tarvoctl's row
    // The run in memory ends at its --seconds; the others end by SIGTERM once
    // value sets taken after the outage have arrived.
    const bool bySignal = !keep.isEmpty();
    const Result r = runCtl(
        linkTo(*sensor, false, env)
            + publishArgs(plant, QStringList{"--triggered", "--seconds", bySignal ? "600" : "1.5"} + keep),
        env, [&](QProcess& p) {
            QVERIFY(eventually([&] { return plant.seqs().size() >= 20; }));
            const qint64 atStop = sensor->autoFramesSent();
            if (sensorAway) {
                sensor->goAway(300);
                const auto resumed = [&] {
                    const std::vector<QJsonObject> events = plant.json(kEvents);
                    return !events.empty() && events.back().value(QStringLiteral("event")).toString() == u"RESUMED";
                };
                // Ten value sets since the sensor started sending anew: its count
                // since the start is below its total only once it has.
                QVERIFY(eventually([&] {
                    return resumed() && sensor->autoFramesSent() >= 10
                        && sensor->autoFramesSent() < sensor->autoFramesTotal();
                }));
                p.terminate();
                return;
            }
            plant.broker->stop();
            // Away while 25 frames come, five times the memory bound of the spool row.
            QVERIFY(eventually([&] { return sensor->autoFramesSent() >= atStop + 25; }));
            QVERIFY(plant.broker->start());
            if (bySignal) {
                QVERIFY(eventually([&] { return qint64(plant.seqs().size()) >= atStop + 35; }));
                p.terminate();
            }
        });
    QCOMPARE(r.code, bySignal ? 128 + 15 : 0);  // SIGTERM's exit
    const qint64 sent = sensor->autoFramesTotal();
    QVERIFY(eventually([&] { return inOrderWithoutGaps(plant.seqs(), sent); }));
    QVERIFY2(r.err.contains(QStringLiteral("%1 acknowledged by the broker").arg(sent).toUtf8()), r.err.constData());
    if (sensorAway) {
        // The plant learns of the gap, and the values went on after it.
        QStringList events;
        for (const QJsonObject& o : plant.json(kEvents))
            events << o.value(QStringLiteral("event")).toString();
        QCOMPARE(events, (QStringList{"LOST", "BACK", "RESUMED"}));
        QVERIFY(sensor->autoFramesSent() > 0 && sensor->autoFramesSent() < sent);
        return;
    }
    QVERIFY2(r.err.contains("connection was lost"), r.err.constData());
    if (!keep.isEmpty())
        QVERIFY2(r.err.contains("wait in the spool"), r.err.constData());
}

void PublishTest::theSpoolOfAnEarlierRunIsDeliveredFirst()
{
    NEED_BROKER();
    Plant plant;
    QVERIFY(plant.up());
    const auto sensor = plant.sensor(20);
    QVERIFY(sensor);
    const QString spool = plant.dir.filePath(QStringLiteral("spool"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QStringList args = linkTo(*sensor, false, env) + QStringList{"publish",   "--name", "line3",   "--triggered",
                                                                       "--seconds", "0.5",    "--queue", "3",
                                                                       "--spool",   spool,    "--broker"};

    // The first run never reaches its broker.
    Result r = runCtl(args + QStringList{QStringLiteral("127.0.0.1:%1").arg(freeTcpPort())}, env);
    QCOMPARE(r.code, 0);
    const qint64 first = sensor->autoFramesSent();
    QVERIFY2(r.err.contains(QStringLiteral("0 acknowledged by the broker, %1 kept in the spool").arg(first).toUtf8()),
             r.err.constData());
    QVERIFY(!QDir(spool).entryList({QStringLiteral("*.spool")}).isEmpty());

    r = runCtl(args + QStringList{plant.address()}, env);
    QCOMPARE(r.code, 0);
    const qint64 second = sensor->autoFramesSent();
    QVERIFY2(r.err.contains(QStringLiteral("%1 messages of an earlier run delivered").arg(first).toUtf8()),
             r.err.constData());
    QVERIFY(eventually([&] { return qint64(plant.seqs().size()) == first + second; }));
    const std::vector<qint64> seqs = plant.seqs();
    QVERIFY(inOrderWithoutGaps({seqs.begin(), seqs.begin() + first}, first));
    QVERIFY(inOrderWithoutGaps({seqs.begin() + first, seqs.end()}, second));
    QVERIFY(QDir(spool).entryList({QStringLiteral("*.spool")}).isEmpty());
}

void PublishTest::brokerAccessIsCheckedAtStart_data()
{
    QTest::addColumn<bool>("tlsBroker");
    QTest::addColumn<QStringList>("args");  // {dir}: the test's directory
    QTest::addColumn<QString>("password");  // in TARVO_MQTT_PASSWORD
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QStringList user = {"--username", "line"};
    QTest::newRow("wrong password") << false << user << "wrong" << 1 << "the broker refused user line: not authorised";
    QTest::newRow("TLS to a listener without it")
        << false << (user + QStringList{"--tls"}) << "right" << 1 << "TLS failed";
    QTest::newRow("plain to a TLS listener")
        << true << user << "right" << 1 << "closed the connection without answering";
    QTest::newRow("TLS, password from a file")
        << true << (user + QStringList{"--tls", "--cafile", "{dir}/ca.crt", "--password-file", "{dir}/password"}) << ""
        << 0 << "can be read by every user of the machine";
    QTest::newRow("password from the environment") << false << user << "right" << 0 << "acknowledged by the broker";
}

void PublishTest::brokerAccessIsCheckedAtStart()
{
    NEED_BROKER();
    QFETCH(bool, tlsBroker);
    QFETCH(QStringList, args);
    QFETCH(QString, password);
    QFETCH(int, code);
    QFETCH(QString, message);
    Plant plant;
    const QString dir = plant.dir.path();
    MosquittoBroker::Setup setup;
    setup.passwordFile = plant.dir.filePath(QStringLiteral("passwd"));
    QCOMPARE(QProcess::execute(QStringLiteral("mosquitto_passwd"), {"-c", "-b", setup.passwordFile, "line", "right"}),
             0);
    QVERIFY(writeFile(plant.dir.filePath(QStringLiteral("password")), "right\n"));
    if (tlsBroker) {
        // A certificate authority and the broker's certificate for 127.0.0.1.
        const QString script
            = QStringLiteral(
                  "cd '%1' && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ca.key "
                  "-out ca.crt -days 2 -subj /CN=TestCA && openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                  "-nodes -keyout server.key -out server.csr -subj /CN=127.0.0.1 && printf 'subjectAltName=IP:127.0.0.1' "
                  "> san && openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt "
                  "-days 2 -extfile san")
                  .arg(dir);
        if (QProcess::execute(QStringLiteral("/bin/sh"), {"-c", script + QStringLiteral(" 2>/dev/null")}) != 0)
            QSKIP("openssl cannot make the test certificates");
        setup.cafile = plant.dir.filePath(QStringLiteral("ca.crt"));
        setup.certfile = plant.dir.filePath(QStringLiteral("server.crt"));
        setup.keyfile = plant.dir.filePath(QStringLiteral("server.key"));
    }
    QVERIFY(plant.up(setup));
    const auto sensor = plant.sensor();
    QVERIFY(sensor);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARVO_MQTT_PASSWORD"));
    if (!password.isEmpty())
        env.insert(QStringLiteral("TARVO_MQTT_PASSWORD"), password);
    args.replaceInStrings(QStringLiteral("{dir}"), dir);
    const Result r = runCtl(linkTo(*sensor, false, env)
                                + publishArgs(plant, args + QStringList{"--interval", "100", "--seconds", "0.5"}),
                            env);
    QVERIFY2(r.code == code, r.err.constData());
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    if (code != 0)
        QCOMPARE(sensor->frameCount(), 0);  // refused before the sensor was asked anything
}

void PublishTest::badInputIsReportedAndNotPublished_data()
{
    QTest::addColumn<QStringList>(
        "args");  // after --name line3; {dir}: the test's directory, {closed}: no broker there
    QTest::addColumn<sim::SimOptions>("sim");
    QTest::addColumn<QString>("shell");  // runs tarvoctl as "$0" "$@", empty: directly
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("published");  // "all", "none", or the event word published

    sim::SimOptions plain;
    plain.noise = 0;
    plain.partRateHz = 20;
    sim::SimOptions stray = plain;
    stray.autoStrayBytes = 7;
    stray.autoStrayEvery = 2;
    stray.answerAutoSend = true;
    sim::SimOptions notMeasurement = plain;
    notMeasurement.faults.onlyCommand = frame::ReadMeasurement;
    notMeasurement.faults.corruptByte = 1;
    sim::SimOptions cut = plain;
    cut.faults.onlyCommand = frame::ReadMeasurement;
    cut.faults.replyLength = 20;
    const QStringList triggered = {"--triggered", "--seconds", "0.5"};
    const QStringList polled = {"--interval", "50", "--seconds", "1"};

    QTest::newRow("stray bytes and other replies between the frames")
        << triggered << stray << "" << 0 << "the sensor's data were out of step" << QByteArray("all");
    QTest::newRow("a reply that is not the sensor's") << QStringList{"--timeout", "0.5"} + polled << notMeasurement
                                                      << "" << 1 << "no reply within 0.5 s" << QByteArray("LOST");
    QTest::newRow("a cut reply") << QStringList{"--timeout", "0.5"} + polled << cut << "" << 1 << "only 20 of 36 bytes"
                                 << QByteArray("LOST");
    for (const char* name : {"line/3", "line+", "line#"})
        QTest::newRow(qPrintable(QStringLiteral("--name %1").arg(QString::fromLatin1(name))))
            << QStringList{"--name", name, "--triggered"} << plain << "" << 2
            << "--name \"" + QString::fromLatin1(name) + "\" holds" << QByteArray("none");
    QTest::newRow("--name with a control character")
        << QStringList{"--name", "line\x1b[2J3", "--triggered"} << plain << "" << 2
        << "--name holds a control character" << QByteArray("none");
    QTest::newRow("--prefix $SYS") << QStringList{"--prefix", "$SYS/tarvo", "--triggered"} << plain << "" << 2
                                   << "begins with '$'" << QByteArray("none");
    QTest::newRow("--prefix with an empty level") << QStringList{"--prefix", "plant//tarvo", "--triggered"} << plain
                                                  << "" << 2 << "has an empty topic level" << QByteArray("none");
    QTest::newRow("spool directory that cannot be made")
        << QStringList{"--triggered", "--spool", "{dir}/password/spool"} << plain << "" << 2 << "the spool directory"
        << QByteArray("none");
#if defined(Q_OS_UNIX)
    // Files may not grow beyond 2 KiB: the spool is full after about ten
    // value sets (half a second at 20 parts a second); the run goes on,
    // dropping the oldest, and ends with the loss named.
    QTest::newRow("spool directory full") << QStringList{"--triggered", "--seconds",   "1",        "--queue", "1",
                                                         "--spool",     "{dir}/spool", "--broker", "{closed}"}
                                          << plain << R"(trap '' XFSZ; ulimit -f 4; exec "$0" "$@")" << 1
                                          << "full and the spool could not be written (the spool" << QByteArray("none");
#endif
}

void PublishTest::badInputIsReportedAndNotPublished()
{
    NEED_BROKER();
    QFETCH(QStringList, args);
    QFETCH(sim::SimOptions, sim);
    QFETCH(QString, shell);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QByteArray, published);
    Plant plant;
    QVERIFY(plant.up());
    QVERIFY(writeFile(plant.dir.filePath(QStringLiteral("password")), "x\n"));
    sim.pty = false;
    sim::SensorSim sensor(sim);
    QVERIFY(sensor.start());
    args.replaceInStrings(QStringLiteral("{dir}"), plant.dir.path());
    args.replaceInStrings(QStringLiteral("{closed}"), QStringLiteral("127.0.0.1:%1").arg(freeTcpPort()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QStringList all = linkTo(sensor, false, env)
        + QStringList{"publish", "--broker", plant.address(), "--name", "line3"} + args;
    const Result r = shell.isEmpty()
        ? runCtl(all, env)
        : runCtl(QStringList{"-c", shell, QStringLiteral(TARVOCTL_EXE)} + all, env, {}, QStringLiteral("/bin/sh"));
    QVERIFY2(r.code == code, r.err.constData());
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());

    if (published == "all") {
        const qint64 sent = sensor.autoFramesSent();
        QVERIFY(eventually([&] { return inOrderWithoutGaps(plant.seqs(), sent); }));
        QCOMPARE(qint64(plant.seqs().size()), sent);
        return;
    }
    if (published == "LOST") {
        QVERIFY(eventually([&] { return plant.statusIs("offline"); }));
        const std::vector<QJsonObject> events = plant.json(kEvents);
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(events[0].value(QStringLiteral("event")).toString(), QStringLiteral("LOST"));
        QVERIFY(events[0].value(QStringLiteral("reason")).toString().contains(message));
    }
    QVERIFY(plant.sub->payloads(kValues).empty());
    // Nothing is counted as delivered that the broker did not take.
    QVERIFY2(!r.err.contains("value sets published") || r.err.contains(": 0 acknowledged by the broker"),
             r.err.constData());
}

void PublishTest::onlyWhatTheBrokerAcknowledgedCounts_data()
{
    QTest::addColumn<QString>("plantCase");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused after the start") << "refused later" << 1 << "the broker refused user line: not authorised";
    QTest::newRow("ACL denies the values topic")
        << "denied" << 1 << "the broker denied tarvo/line3/values: not authorised";
    QTest::newRow("SIGKILL during an outage, with a spool") << "killed" << 0 << "messages of an earlier run delivered";
    QTest::newRow("two publishers under one name") << "two" << 1 << "the name line3 is in use";
    QTest::newRow("a broker of MQTT 3.1.1 only") << "3.1.1" << 0 << "speaks only MQTT 3.1.1";
}

// What counts as delivered is what the broker acknowledged; a refusal or a
// denial ends the run whenever it comes, and nothing taken from the sensor
// is lost to a crash.
void PublishTest::onlyWhatTheBrokerAcknowledgedCounts()
{
    NEED_BROKER();
    QFETCH(QString, plantCase);
    QFETCH(int, code);
    QFETCH(QString, message);
    Plant plant;
    const QString dir = plant.dir.path();
    MosquittoBroker::Setup setup;
    setup.persistence = true;
    setup.passwordFile = plant.dir.filePath(QStringLiteral("passwd"));
    QCOMPARE(QProcess::execute(QStringLiteral("mosquitto_passwd"), {"-c", "-b", setup.passwordFile, "line", "right"}),
             0);
    if (plantCase == u"refused later")
        QCOMPARE(QProcess::execute(QStringLiteral("mosquitto_passwd"), {"-b", setup.passwordFile, "line", "other"}), 0);
    if (plantCase == u"denied") {
        // The subscriber (anonymous) reads everything; line may write its status and info only.
        setup.aclFile = plant.dir.filePath(QStringLiteral("acl"));
        QVERIFY(writeFile(setup.aclFile,
                          "topic read tarvo/#\nuser line\ntopic write tarvo/line3/status\n"
                          "topic write tarvo/line3/info\n"));
    }
    QVERIFY(plant.up(setup, true));
    const auto sensor = plant.sensor(50);
    QVERIFY(sensor);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVO_MQTT_PASSWORD"), QStringLiteral("right"));
    const QString spool = plant.dir.filePath(QStringLiteral("spool"));
    QStringList args = linkTo(*sensor, false, env)
        + publishArgs(plant, {"--username", "line", "--triggered", "--spool", spool, "--seconds", "3"});
    const auto valuesArrived = [&](size_t n) {
        return eventually([&] { return plant.sub->payloads(kValues).size() >= n; });
    };

    std::unique_ptr<Mqtt311Gate> gate;
    std::function<void(QProcess&)> during;
    Result other;  // the second publisher
    qint64 sentBeforeKill = 0;
    if (plantCase == u"refused later") {
        // Away at the start, back with another password for line.
        plant.broker->stop();
        during = [&](QProcess&) {
            QVERIFY(eventually([&] { return sensor->autoFramesSent() >= 10; }));
            QVERIFY(plant.broker->start());
        };
    } else if (plantCase == u"killed") {
        args.replace(args.indexOf(QStringLiteral("3")), QStringLiteral("600"));
        during = [&](QProcess& p) {
            QVERIFY(valuesArrived(10));
            plant.broker->stop();
            const qint64 atStop = sensor->autoFramesSent();
            QVERIFY(eventually([&] { return sensor->autoFramesSent() >= atStop + 40; }));
            sentBeforeKill = sensor->autoFramesSent();
            p.kill();
            QVERIFY(plant.broker->start());
        };
    } else if (plantCase == u"two") {
        // The first runs until the second has been turned away, however slow the machine.
        args.replace(args.indexOf(QStringLiteral("3")), QStringLiteral("600"));
        during = [&](QProcess& p) {
            QVERIFY(valuesArrived(10));
            sim::SimOptions o = simOptions(plant.dir, QStringLiteral("s2"));
            o.partRateHz = 50;
            o.pty = false;
            sim::SensorSim second(o);
            QVERIFY(second.start());
            QProcessEnvironment env2 = env;
            other = runCtl(linkTo(second, false, env2)
                               + publishArgs(plant, {"--username", "line", "--triggered", "--seconds", "1"}),
                           env2);
            p.terminate();
        };
    } else if (plantCase == u"3.1.1") {
        gate = std::make_unique<Mqtt311Gate>(plant.broker->port());
        args.replace(args.indexOf(plant.address()), QStringLiteral("127.0.0.1:%1").arg(gate->port()));
        args.replace(args.indexOf(QStringLiteral("3")), QStringLiteral("0.5"));  // nothing happens meanwhile
    }
    const Result r = runCtl(args, env, during);
    const QByteArray& err = plantCase == u"two" ? other.err : r.err;
    QVERIFY2((plantCase == u"killed" ? r.code == -2 : true), r.err.constData());
    QVERIFY2(plantCase == u"killed" || r.code == code || (plantCase == u"two" && other.code == code), err.constData());
    if (plantCase != u"killed")
        QVERIFY2(QString::fromUtf8(err).contains(message), err.constData());

    if (plantCase == u"refused later") {
        QVERIFY(plant.sub->payloads(kValues).empty());
        QVERIFY2(r.err.contains(": 0 acknowledged by the broker"), r.err.constData());
    } else if (plantCase == u"denied") {
        QVERIFY2(r.err.contains(": 0 acknowledged by the broker"), r.err.constData());
        QVERIFY(plant.sub->payloads(kValues).empty());
        QVERIFY(QDir(spool).entryList({QStringLiteral("*.spool")}).size() > 0);  // kept for a broker that takes them
    } else if (plantCase == u"killed") {
        // The next run delivers what the killed one took during the outage, first and in order.
        const Result next = runCtl(
            linkTo(*sensor, false, env)
                + publishArgs(plant, {"--username", "line", "--triggered", "--spool", spool, "--seconds", "0.5"}),
            env);
        QCOMPARE(next.code, 0);
        QVERIFY2(next.err.contains(message.toUtf8()), next.err.constData());
        QVERIFY(eventually([&] { return plant.statusIs("offline"); }));
        const auto byRun = runs(plant.json(kValues));
        QCOMPARE(byRun.size(), size_t(2));
        const std::vector<qint64>* killed = nullptr;
        for (const auto& [run, seqs] : byRun)
            if (seqs.front() == 1 && (!killed || seqs.size() > killed->size()))
                killed = &seqs;
        QVERIFY(killed);
        const qint64 last = *std::max_element(killed->begin(), killed->end());
        QVERIFY(inOrderWithoutGaps(*killed, last));
        // Frames still on their way in the link when the process died are the only ones missing.
        QVERIFY2(last >= sentBeforeKill - 5, qPrintable(QStringLiteral("%1 of %2").arg(last).arg(sentBeforeKill)));
        qInfo("killed run: sensor sent %lld, %lld received after the restart", sentBeforeKill, last);
    } else if (plantCase == u"two") {
        // The first publisher goes on and delivers all it took until it is
        // stopped; the topic holds its run only.
        QCOMPARE(r.code, 128 + 15);  // SIGTERM's exit
        const qint64 sent = sensor->autoFramesSent();
        QVERIFY2(r.err.contains(QStringLiteral("%1 acknowledged by the broker").arg(sent).toUtf8()), r.err.constData());
        QVERIFY(eventually([&] { return plant.statusIs("offline"); }));
        const auto byRun = runs(plant.json(kValues));
        QCOMPARE(byRun.size(), size_t(1));
        QVERIFY(inOrderWithoutGaps(byRun.begin()->second, sent));
        QVERIFY2(!other.err.contains("value sets published"), other.err.constData());
    } else if (plantCase == u"3.1.1") {
        QVERIFY(gate->refusedV5 > 0);
        const qint64 sent = sensor->autoFramesSent();
        QVERIFY2(r.err.contains(QStringLiteral("%1 acknowledged by the broker").arg(sent).toUtf8()), r.err.constData());
        QVERIFY(eventually([&] { return inOrderWithoutGaps(plant.seqs(), sent); }));
    }
}

QTEST_MAIN(PublishTest)
#include "tst_publish.moc"
