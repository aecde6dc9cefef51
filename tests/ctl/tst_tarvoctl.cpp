// tarvoctl as a user runs it: the program as a child process against the
// simulated sensor in this process, over TCP and over its pseudo-terminal.
// Parameter files against the scope's own Send and Get to FILE, measured
// values, triggered recording and its end, the factor tables, and what each
// failure gives as exit code and message.
#include "frame.h"
#include "parameterpanel.h"
#include "recordfile.h"
#include "scopefixture.h"
#include "ui_P.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <QRegularExpression>

using namespace tarvo;

Q_DECLARE_METATYPE(tarvo::sim::Faults)
using tarvo::test::ScopeFixture;

namespace {

struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs tarvoctl and keeps this process's events (the simulated sensor)
// going until it ends. `started` may act on the running program.
Result runCtl(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
              const std::function<void(QProcess&)>& started = {}, const QString& program = QStringLiteral(TARVOCTL_EXE))
{
    QProcess p;
    p.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    // Only a guard against a hanging program, far above any run's length.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(90000);
    p.start(program, args);
    if (started)
        started(p);
    if (p.state() != QProcess::NotRunning)
        loop.exec();
    Result r;
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        r.err = "tarvoctl did not end";
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

sim::SimOptions simOptions(const QTemporaryDir& dir, const QString& name, bool colour = false)
{
    sim::SimOptions o;
    o.noise = 0;
    o.pty = true;
    o.colour = colour;
    o.eepromPath = dir.filePath(name + QStringLiteral(".eeprom"));
    return o;
}

// The link options that reach `sensor`; over the pseudo-terminal through
// serial port 7, which the environment points at it.
QStringList linkTo(const sim::SensorSim& sensor, bool serial, QProcessEnvironment& env)
{
    if (!serial)
        return {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sensor.tcpPort())};
    env.insert(QStringLiteral("TARVO_SERIAL_PORT_7"), sensor.ptyPath());
    return {QStringLiteral("--serial"), QStringLiteral("7")};
}

quint16 word(const QByteArray& frame, int i)
{
    return frame::getWord(reinterpret_cast<const std::uint8_t*>(frame.constData()), i);
}

QList<QByteArray> framesOf(const sim::SensorSim& sensor, quint16 command)
{
    QList<QByteArray> found;
    for (const QByteArray& f : sensor.receivedFrames())
        if (word(f, 1) == command)
            found << f;
    return found;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// A record-file line: date and time in zero-padded 12-byte fields, eight
// values, of which CH_REF is 5 x power 500 from the noiseless simulator.
const QRegularExpression kRecordLine(QStringLiteral("^\\d\\d-\\d\\d-\\d{4}\\x00\\x00\\t\\d\\d:\\d\\d:\\d\\d\\x00{4}\\t"
                                                    "2500\\t(\\d+\\t){6}\\d+\\r$"));

void checkRecord(const QByteArray& bytes)
{
    QVERIFY(bytes.startsWith(recordHeader()));
    const QList<QByteArray> lines = bytes.mid(recordHeader().size()).split('\n');
    QVERIFY(lines.size() >= 2);  // at least one line, then what follows the last line end
    QVERIFY(lines.last().isEmpty());
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        QVERIFY2(kRecordLine.match(QString::fromLatin1(lines[i])).hasMatch(), lines[i].toPercentEncoding().constData());
}

} // namespace

class TarvoctlTest : public QObject {
    Q_OBJECT
private slots:
    void getThenSendPutsTheSameWordsOnTheWire_data();
    void getThenSendPutsTheSameWordsOnTheWire();
    void filesAreInterchangeableWithTheScope();
    void measurePrintsCountSetsWithEveryColumn_data();
    void measurePrintsCountSetsWithEveryColumn();
    void triggeredRecordEndsWithAutomaticSendingOff_data();
    void triggeredRecordEndsWithAutomaticSendingOff();
    void withoutLinkOptionTheScopesConnectionIsUsed();
    void installedBesideTheScopeItReadsTheUsersSettings();
    void factorsSendPutsTheToolsTablesInTheSensor();
    void failuresGiveExitCodeAndMessage_data();
    void failuresGiveExitCodeAndMessage();
};

void TarvoctlTest::getThenSendPutsTheSameWordsOnTheWire_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("eeprom");
    QTest::newRow("TCP, to RAM") << false << false;
    QTest::newRow("pseudo-terminal, to EEPROM") << true << true;
}

void TarvoctlTest::getThenSendPutsTheSameWordsOnTheWire()
{
    QFETCH(bool, serial);
    QFETCH(bool, eeprom);
    QTemporaryDir dir;
    sim::SensorSim from(simOptions(dir, QStringLiteral("from"))), to(simOptions(dir, QStringLiteral("to")));
    QVERIFY(from.start() && to.start());
    sim::ParamSet s = from.parameters();
    s[sim::Power] = 640, s[sim::Evalmode] = 1, s[sim::Maxno] = 5, s[sim::Trigger] = 2, s[sim::ProfilEnd] = 77;
    from.setParameters(s);
    from.setTeachRow(3, {123, 4, 5555, 65535});
    from.setTeachRow(30, {1, 2, 3, 7});

    const QString file = dir.filePath(QStringLiteral("line3.ini"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Result r = runCtl(linkTo(from, serial, env) + QStringList{"get", "-o", file}, env);
    QCOMPARE(r.code, 0);
    QVERIFY(readAll(file).startsWith("  640\n    0\n"));

    env = QProcessEnvironment::systemEnvironment();
    QStringList send = linkTo(to, serial, env) + QStringList{"send", file};
    if (eeprom)
        send << QStringLiteral("--eeprom");
    r = runCtl(send, env);
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(eeprom ? "sent to EEPROM and read back unchanged" : "sent to RAM and read back unchanged"));

    // The words the first sensor gave are the words the second one got.
    const QList<QByteArray> params = framesOf(to, frame::WriteParams);
    QCOMPARE(params.size(), 1);
    for (int i = 0; i < kParamCount; ++i)
        QCOMPARE(word(params[0], 2 + i), from.parameters()[i]);
    const QList<QByteArray> rows = framesOf(to, frame::WriteTeachRow);
    QCOMPARE(rows.size(), kTeachRows);
    for (int row = 0; row < kTeachRows; ++row) {
        QCOMPARE(word(rows[row], 2), quint16(row));
        for (int c = 0; c < kTeachCols; ++c)
            QCOMPARE(word(rows[row], 3 + c), from.teachTable()[row][c]);
    }
    QCOMPARE(framesOf(to, frame::StoreEeprom).size(), eeprom ? 1 : 0);
    QCOMPARE(to.parameters(), from.parameters());
    QCOMPARE(to.teachTable(), from.teachTable());
}

void TarvoctlTest::filesAreInterchangeableWithTheScope()
{
    sim::SimOptions o;
    o.pty = true;
    ScopeFixture f(o);
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Power] = 321, s[sim::Evalmode] = 1, s[sim::Maxno] = 4;
    f.sensor->setParameters(s);
    f.sensor->setTeachRow(4, {123, 17, 999, 5});
    f.settingsToSensor();
    ScopeApp& app = f.start();  // the scope on TCP, tarvoctl on the pseudo-terminal
    Ui::P& p = *app.panel.ui;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QStringList link = linkTo(*f.sensor, true, env);

    // What the scope saves from the sensor, tarvoctl saves byte for byte.
    QTest::mouseClick(p.SelectFILE, Qt::LeftButton);
    f.dialogs->fileAnswers << f.path(QStringLiteral("scope.ini"));
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    QCOMPARE(runCtl(link + QStringList{"get", "-o", f.path(QStringLiteral("ctl.ini"))}, env).code, 0);
    QVERIFY(!f.readFile(QStringLiteral("scope.ini")).isEmpty());
    QCOMPARE(f.readFile(QStringLiteral("ctl.ini")), f.readFile(QStringLiteral("scope.ini")));

    // A file from tarvoctl, loaded by the scope and sent, sets the sensor to it.
    s[sim::Power] = 777;
    f.sensor->setParameters(s);
    QCOMPARE(runCtl(link + QStringList{"get", "-o", f.path(QStringLiteral("ctl2.ini"))}, env).code, 0);
    s[sim::Power] = 5;
    f.sensor->setParameters(s);
    f.sensor->setTeachRow(4, {0, 0, 0, 0});
    f.dialogs->fileAnswers << f.path(QStringLiteral("ctl2.ini"));
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);
    QTest::mouseClick(p.SelectRAM, Qt::LeftButton);
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    QCOMPARE(f.sensor->parameters()[sim::Power], quint16(777));
    QCOMPARE(f.sensor->teachTable()[4], (sim::TeachRow{123, 17, 999, 5}));
    QCOMPARE(f.dialogs->shown.size(), 2);  // the two file dialogs, no message
}

void TarvoctlTest::measurePrintsCountSetsWithEveryColumn_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("format");
    QTest::newRow("CSV over TCP") << false << QStringLiteral("--csv");
    QTest::newRow("JSON over the pseudo-terminal") << true << QStringLiteral("--json");
}

void TarvoctlTest::measurePrintsCountSetsWithEveryColumn()
{
    QFETCH(bool, serial);
    QFETCH(QString, format);
    QTemporaryDir dir;
    sim::SensorSim sensor(simOptions(dir, QStringLiteral("s")));
    QVERIFY(sensor.start());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString trace = dir.filePath(QStringLiteral("measure.trace"));
    const Result r = runCtl(linkTo(sensor, serial, env)
                                + QStringList{"--trace", trace, "measure", "-n", "5", "--interval", "0", format},
                            env);
    QCOMPARE(r.code, 0);
    QCOMPARE(framesOf(sensor, frame::ReadMeasurement).size(), 5);
    // The trace holds each exchange, as the programs write it.
    const QList<QByteArray> traced = readAll(trace).split('\n');
    const auto tracedReplies = std::count_if(traced.begin(), traced.end(), [](const QByteArray& l) {
        return l.contains("\t5 read measurement\t") && l.contains("\treply complete\tGF ") && l.contains("\t00 aa 00 05 ");
    });
    QCOMPARE(tracedReplies, 5);

    QList<QByteArray> lines = r.out.split('\n');
    QVERIFY(lines.takeLast().isEmpty());
    const QStringList names = {"CH_REF", "CH_DIR", "CH_DIF", "NORM", "INT", "GF", "V-No", "TEMP", "GF_RAW", "PP"};
    const QRegularExpression tenths(QStringLiteral("^\\d+\\.\\d$"));
    if (format == u"--csv") {
        QCOMPARE(lines.size(), 1 + 5);
        QCOMPARE(lines.takeFirst(), QByteArray("TIME,") + names.join(u',').toLatin1());
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.split(',');
            QCOMPARE(fields.size(), 11);
            QVERIFY(QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs).isValid());
            QCOMPARE(fields[1], QByteArray("2500"));  // CH_REF = 5 x power 500, noiseless
            for (int decimal : {6, 9, 10})
                QVERIFY(tenths.match(QString::fromLatin1(fields[decimal])).hasMatch());
        }
    } else {
        QCOMPARE(lines.size(), 5);
        for (const QByteArray& line : lines) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            QCOMPARE(o.size(), 11);
            QVERIFY(o.value(QStringLiteral("time")).isString());
            for (const QString& n : names)
                QVERIFY2(o.value(n).isDouble(), qPrintable(n));
            QCOMPARE(o.value(QStringLiteral("CH_REF")).toInt(), 2500);
        }
    }
}

void TarvoctlTest::triggeredRecordEndsWithAutomaticSendingOff_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("end");
    QTest::newRow("--seconds, to a file, over TCP") << false << QStringLiteral("seconds");
    QTest::newRow("--seconds, a sensor that echoes the switch-on") << false << QStringLiteral("seconds, echo");
#if defined(Q_OS_UNIX)
    QTest::newRow("SIGTERM, to standard output, over TCP") << false << QStringLiteral("SIGTERM");
    QTest::newRow("SIGTERM, to standard output, over the pseudo-terminal") << true << QStringLiteral("SIGTERM");
#endif
#if defined(Q_OS_LINUX)
    QTest::newRow("reader of standard output gone, over the pseudo-terminal") << true << QStringLiteral("reader gone");
#endif
}

void TarvoctlTest::triggeredRecordEndsWithAutomaticSendingOff()
{
    QFETCH(bool, serial);
    QFETCH(QString, end);
    QTemporaryDir dir;
    sim::SimOptions o = simOptions(dir, QStringLiteral("s"));
    o.partRateHz = 20;
    o.answerAutoSend = end.endsWith(u"echo");
    sim::SensorSim sensor(o);
    QVERIFY(sensor.start());
    bool sentOnItsOwn = false;
    connect(&sensor, &sim::SensorSim::autoSendChanged, this, [&](bool on) { sentOnItsOwn |= on; });

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QStringList args = linkTo(sensor, serial, env) + QStringList{"record", "--triggered"};
    const QString file = dir.filePath(QStringLiteral("record.dat"));
    Result r;
    if (end.startsWith(u"seconds")) {
        r = runCtl(args + QStringList{"--seconds", "0.5", "-o", file}, env);
        r.out = readAll(file);
    } else if (end == u"SIGTERM") {
        // Terminated once a line is out.
        QByteArray seen;
        r = runCtl(args, env, [&seen](QProcess& p) {
            QObject::connect(&p, &QProcess::readyReadStandardOutput, &p, [&p, &seen] {
                seen += p.readAllStandardOutput();
                if (seen.size() > recordHeader().size() && seen.endsWith("\r\n"))
                    p.terminate();
            });
        });
        r.out.prepend(seen);
    } else {
        // Piped into a reader that stops after two lines; tarvoctl's own exit
        // code comes on standard error. SIGPIPE as a shell would leave it, not
        // as this test program's runtime may have set it.
        const QString pipeline =
            QStringLiteral("{ env --default-signal=PIPE \"$0\" \"$@\"; echo \"exit $?\" >&2; } | head -c %1 >/dev/null")
                                     .arg(recordHeader().size() + 2 * 61);
        r = runCtl(QStringList{"-c", pipeline, QStringLiteral(TARVOCTL_EXE)} + args, env, {}, QStringLiteral("/bin/sh"));
        QCOMPARE(r.err, QByteArray("exit 0\n"));
    }
    QCOMPARE(r.code, 0);
    QVERIFY(sentOnItsOwn);
    QVERIFY(!sensor.autoSending());
    const QByteArray last = sensor.receivedFrames().last();
    QCOMPARE(word(last, 1), quint16(frame::AutoSend));
    QCOMPARE(word(last, 2), quint16(0));
    if (end != u"reader gone")
        checkRecord(r.out);
}

void TarvoctlTest::withoutLinkOptionTheScopesConnectionIsUsed()
{
    // tarvoctl beside the programs, with the scope's saved connection there.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("tarvoctl"));
    QVERIFY(QFile::copy(QStringLiteral(TARVOCTL_EXE), program));
    sim::SensorSim sensor(simOptions(dir, QStringLiteral("s")));
    QVERIFY(sensor.start());
    writeAll(dir.filePath(QStringLiteral("ComSettings.cfg")),
             tarvo::test::settingsFor(1, 4, QStringLiteral("127.0.0.1"), QString::number(sensor.tcpPort())));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Result r = runCtl({QStringLiteral("identify")}, env, {}, program);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QByteArray("TARVO GLOSS SENSOR V4.3 SIM\n"));
    QVERIFY(!framesOf(sensor, frame::Identify).isEmpty());

    // Without the file: serial port 1, as the scope starts.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("ComSettings.cfg"))));
    sensor.clearReceived();
    env.insert(QStringLiteral("TARVO_SERIAL_PORT_1"), sensor.ptyPath());
    r = runCtl({QStringLiteral("identify")}, env, {}, program);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QByteArray("TARVO GLOSS SENSOR V4.3 SIM\n"));

    // A protocol the panel does not know leaves it at RS-232, on the saved port.
    writeAll(dir.filePath(QStringLiteral("ComSettings.cfg")), tarvo::test::settingsFor(7, 4, QString(), QString()));
    env.remove(QStringLiteral("TARVO_SERIAL_PORT_1"));
    env.insert(QStringLiteral("TARVO_SERIAL_PORT_4"), sensor.ptyPath());
    r = runCtl({QStringLiteral("identify")}, env, {}, program);
    QCOMPARE(r.code, 0);
}

void TarvoctlTest::installedBesideTheScopeItReadsTheUsersSettings()
{
    // An installed tree: the scope's settings live in the user's folder, and
    // the file beside the programs counts until the scope has taken it over.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("usr/bin")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("usr/share/applications")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("config/Tarvo/TarvoV43")));
    writeAll(dir.filePath(QStringLiteral("usr/share/applications/com.tarvo.TarvoV43.desktop")), "[Desktop Entry]\n");
    const QString program = dir.filePath(QStringLiteral("usr/bin/tarvoctl"));
    QVERIFY(QFile::copy(QStringLiteral(TARVOCTL_EXE), program));
    sim::SensorSim sensor(simOptions(dir, QStringLiteral("s")));
    QVERIFY(sensor.start());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    const QByteArray toSensor =
        tarvo::test::settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(sensor.tcpPort()));
    const QByteArray toNowhere =
        tarvo::test::settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(tarvo::test::closedTcpPort()));

    writeAll(dir.filePath(QStringLiteral("usr/bin/ComSettings.cfg")), toSensor);
    QCOMPARE(runCtl({QStringLiteral("identify")}, env, {}, program).code, 0);

    writeAll(dir.filePath(QStringLiteral("config/Tarvo/TarvoV43/ComSettings.cfg")), toNowhere);
    const Result r = runCtl({QStringLiteral("identify")}, env, {}, program);
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains("connecting to 127.0.0.1:"));
}

void TarvoctlTest::factorsSendPutsTheToolsTablesInTheSensor()
{
    QTemporaryDir dir;
    sim::SensorSim sensor(simOptions(dir, QStringLiteral("rgb"), true));
    QVERIFY(sensor.start());
    // Red 1000 + 0.5·t, green and blue flat at 1000.
    const QString equation = dir.filePath(QStringLiteral("line.equ"));
    writeAll(equation, "0\n0\n0\n0.5\n1000\n0\n0\n0\n0\n1000\n0\n0\n0\n0\n1000\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const Result r = runCtl(linkTo(sensor, false, env) + QStringList{"factors", "send", equation, "--ref-step", "20"}, env);
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains("references red 1010, green 1000, blue 1000"));
    QCOMPARE(framesOf(sensor, frame::CompStart).size(), 1);
    const sim::FactorTable red = sensor.colourFactors(0);
    QCOMPARE(red[0], quint16(1034));
    QCOMPARE(red[20], quint16(1024));
    QCOMPARE(red[99], quint16(985));
    for (quint16 factor : sensor.colourFactors(2))
        QCOMPARE(factor, quint16(1024));
}

void TarvoctlTest::failuresGiveExitCodeAndMessage_data()
{
    QTest::addColumn<QStringList>("args");  // {link}: the sensor, {closed}: a port nobody serves, {dir}: files
    QTest::addColumn<sim::Faults>("faults");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    auto faults = [](int command, auto set) {
        sim::Faults f;
        f.onlyCommand = command;
        set(f);
        return f;
    };
    const sim::Faults none;
    const QStringList link = {"--tcp", "{link}"};
    QTest::newRow("no command") << QStringList{} << none << false << 2 << "no command given";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << none << false << 2 << "unknown command \"frobnicate\"";
    QTest::newRow("option the command does not take")
        << (link + QStringList{"measure", "--eeprom"}) << none << false << 2 << "measure does not take --eeprom";
    QTest::newRow("two links") << QStringList{"--serial", "1", "--tcp", "x", "identify"} << none << false << 2
                               << "--serial and --tcp exclude each other";
    QTest::newRow("count of none") << (link + QStringList{"measure", "-n", "0"}) << none << false << 2
                                   << "-n wants a whole number from 1";
    QTest::newRow("record without --triggered") << (link + QStringList{"record"}) << none << false << 2
                                                << "record needs --triggered";
    QTest::newRow("parameter file with a word") << (link + QStringList{"send", "{dir}/bad.ini"}) << none << false << 2
                                                << "bad.ini, line 3: \"abc\" is not a whole number";
    QTest::newRow("parameter file too short") << (link + QStringList{"send", "{dir}/short.ini"}) << none << false << 2
                                              << "short.ini holds 2 numbers instead of 140";
    QTest::newRow("equation file with a word") << (link + QStringList{"factors", "send", "{dir}/bad.equ"}) << none
                                               << true << 2 << "bad.equ: Line 2: \"x\" is not a number";
    QTest::newRow("factors outside the sensor's range")
        << (link + QStringList{"factors", "send", "{dir}/zero.equ"}) << none << true << 2
        << "zero.equ: some factors do not fit 0 to 65535 (red: 100 of 100, the first at step 0";
    QTest::newRow("output that cannot be written") << (link + QStringList{"get", "-o", "{dir}/no/such.ini"}) << none
                                                   << false << 2 << "such.ini: cannot be written";
    QTest::newRow("trace file that cannot be written")
        << (link + QStringList{"--trace", "{dir}/no/such.trace", "identify"}) << none << false << 2
        << "cannot write the trace file";
    QTest::newRow("nobody at the port") << QStringList{"--tcp", "{closed}", "identify"} << none << false << 1
                                        << "connecting to 127.0.0.1:";
    QTest::newRow("no serial device") << QStringList{"--serial", "250", "identify"} << none << false << 1
                                      << "opening serial port 250: ";
    QTest::newRow("no identification")
        << (link + QStringList{"identify"}) << faults(frame::Identify, [](auto& f) { f.dropReplies = sim::Faults::kAll; })
        << false << 1 << "identification (command 7): no reply within 5.0 s";
    QTest::newRow("teach row echoed wrong")
        << (link + QStringList{"send", "{dir}/good.ini"}) << faults(frame::WriteTeachRow, [](auto& f) { f.corruptByte = 7; })
        << false << 1 << "writing teach row 0 (command 2): the reply does not echo the frame";
    QTest::newRow("parameter reply with the PC's header")
        << (link + QStringList{"get"}) << faults(frame::ReadParams, [](auto& f) { f.corruptByte = 1; }) << false << 1
        << "reading the parameters (command 3): the reply starts with 0055 instead of 00AA";
    QTest::newRow("read-back differs")
        << (link + QStringList{"send", "{dir}/good.ini"}) << faults(frame::ReadParams, [](auto& f) { f.corruptByte = 5; })
        << false << 1 << "read-back: 1 of 140 words differ:\n  word 0 (power): sent 500, read back 267";
    QTest::newRow("measured values missing")
        << (link + QStringList{"measure", "-n", "2"}) << faults(frame::ReadMeasurement, [](auto& f) { f.dropReplies = sim::Faults::kAll; })
        << false << 1 << "reading measured values (command 5): no reply within 3.0 s";
    QTest::newRow("measured values with the PC's header")
        << (link + QStringList{"measure", "-n", "2"}) << faults(frame::ReadMeasurement, [](auto& f) { f.corruptByte = 1; })
        << false << 1 << "reading measured values (command 5): the reply starts with 0055 instead of 00AA";
    QTest::newRow("measured values cut short")
        << (link + QStringList{"measure", "-n", "2"}) << faults(frame::ReadMeasurement, [](auto& f) { f.replyLength = 20; })
        << false << 1 << "reading measured values (command 5): only 20 of 36 bytes came back within 3.0 s";
    QTest::newRow("connection closed while recording")
        << (link + QStringList{"record", "--triggered"}) << faults(-1, [](auto& f) { f.closeAfterFrames = 3; }) << false
        << 1 << "automatic sending (command 50): TCP Client: Server has closed connection!";
    QTest::newRow("factor block echoed wrong")
        << (link + QStringList{"factors", "send", "{dir}/good.equ"}) << faults(frame::CompGreen, [](auto& f) { f.corruptByte = 20; })
        << true << 1 << "green factor block 0 (command 41): the reply does not echo the frame";
}

void TarvoctlTest::failuresGiveExitCodeAndMessage()
{
    QFETCH(QStringList, args);
    QFETCH(sim::Faults, faults);
    QFETCH(bool, colour);
    QFETCH(int, code);
    QFETCH(QString, message);

    QTemporaryDir dir;
    sim::SimOptions o = simOptions(dir, QStringLiteral("s"), colour);
    o.faults = faults;
    sim::SensorSim sensor(o);
    QVERIFY(sensor.start());
    writeAll(dir.filePath(QStringLiteral("bad.ini")), "1\n2\nabc\n");
    writeAll(dir.filePath(QStringLiteral("short.ini")), "1\n2\n");
    writeAll(dir.filePath(QStringLiteral("bad.equ")), "1\nx\n");
    writeAll(dir.filePath(QStringLiteral("zero.equ")), QByteArray("0\n").repeated(15));
    writeAll(dir.filePath(QStringLiteral("good.equ")), QByteArray("0\n0\n0\n0\n1000\n").repeated(3));
    QByteArray good;
    for (int i = 0; i < kBlockWords; ++i)
        good += i == 0 ? "500\n" : "0\n";
    writeAll(dir.filePath(QStringLiteral("good.ini")), good);

    for (QString& a : args)
        a.replace(QStringLiteral("{link}"), QStringLiteral("127.0.0.1:%1").arg(sensor.tcpPort()))
            .replace(QStringLiteral("{closed}"), QStringLiteral("127.0.0.1:%1").arg(tarvo::test::closedTcpPort()))
            .replace(QStringLiteral("{dir}"), dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARVO_SERIAL_PORT_250"));
    const Result r = runCtl(args, env);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.startsWith("tarvoctl: "), r.err.constData());
    QVERIFY2(QString::fromLocal8Bit(r.err).contains(message), r.err.constData());
}

QTEST_MAIN(TarvoctlTest)
#include "tst_tarvoctl.moc"
