// tarvoctl as a user runs it: the program as a child process against the
// simulated sensor in this process, over TCP and over its pseudo-terminal.
// Parameter files against the scope's own Send and Get to FILE, measured
// values, triggered recording and its end, the factor tables, and what each
// failure gives as exit code and message.
#include "ctlprocess.h"
#include "frame.h"
#include "parameterpanel.h"
#include "paramfile.h"
#include "pdftext.h"
#include "recordfile.h"
#include "scopefixture.h"
#include "ui_P.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <csignal>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace tarvo;

Q_DECLARE_METATYPE(tarvo::sim::Faults)
using tarvo::test::linkTo;
using tarvo::test::Result;
using tarvo::test::Run;
using tarvo::test::runCtl;
using tarvo::test::runUntil;
using tarvo::test::ScopeFixture;
using tarvo::test::simOptions;

namespace {

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

}  // namespace

class TarvoctlTest : public QObject {
    Q_OBJECT
private slots:
    // The line check's pause after command 50 only lets frames on their way
    // arrive: every run here is given a short one.
    void initTestCase() { qputenv("TARVO_LINE_CHECK_PAUSE", "0.005"); }
    void getThenSendPutsTheSameWordsOnTheWire_data();
    void getThenSendPutsTheSameWordsOnTheWire();
    void eepromBackupLeavesTheWorkingSetAsItWas_data();
    void eepromBackupLeavesTheWorkingSetAsItWas();
    void filesAreInterchangeableWithTheScope();
    void measurePrintsCountSetsWithEveryColumn_data();
    void measurePrintsCountSetsWithEveryColumn();
    void triggeredRecordEndsWithAutomaticSendingOff_data();
    void triggeredRecordEndsWithAutomaticSendingOff();
    void signalsEndEveryCommandWithAutomaticSendingOff_data();
    void signalsEndEveryCommandWithAutomaticSendingOff();
    void reconnectGoesOnAcrossAnOutageWithTheGapWrittenBeside_data();
    void reconnectGoesOnAcrossAnOutageWithTheGapWrittenBeside();
    void outputThatCannotBeWrittenIsAnError_data();
    void outputThatCannotBeWrittenIsAnError();
    void withoutLinkOptionTheScopesConnectionIsUsed();
    void installedBesideTheScopeItReadsTheUsersSettings();
    void factorsSendPutsTheToolsTablesInTheSensor();
    void failuresGiveExitCodeAndMessage_data();
    void failuresGiveExitCodeAndMessage();
    void optionsDoWhatTheySay_data();
    void optionsDoWhatTheySay();
    void reportOfARecordingGivesItsFigures_data();
    void reportOfARecordingGivesItsFigures();
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

    // The second sensor, from where the file goes (RAM or EEPROM).
    const auto onSecond = [&](const QString& command) {
        QProcessEnvironment secondEnv = QProcessEnvironment::systemEnvironment();
        QStringList args = linkTo(to, serial, secondEnv) + QStringList{command, file};
        if (eeprom)
            args << QStringLiteral("--eeprom");
        return runCtl(args, secondEnv);
    };
    // Before: it differs, word by word.
    r = onSecond(QStringLiteral("verify"));
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.contains(" words in " + QByteArray(eeprom ? "EEPROM" : "RAM") + " differ from " + file.toLocal8Bit()
                            + ":\n")
                 && r.out.contains("  word 0 (power): file 640, sensor "),
             r.out.constData());

    r = onSecond(QStringLiteral("send"));
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

    // Now it holds what the file holds.
    r = onSecond(QStringLiteral("verify"));
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains("140 words in " + QByteArray(eeprom ? "EEPROM" : "RAM") + " are the same"),
             r.out.constData());
}

void TarvoctlTest::eepromBackupLeavesTheWorkingSetAsItWas_data()
{
    QTest::addColumn<int>("via");
    QTest::newRow("TCP") << 0;
    QTest::newRow("pseudo-terminal") << 1;
}

void TarvoctlTest::eepromBackupLeavesTheWorkingSetAsItWas()
{
    QFETCH(int, via);
    QTemporaryDir dir;
    sim::SensorSim sensor(simOptions(dir, QStringLiteral("s")));
    QVERIFY(sensor.start());
    // A working set that was never stored, over the stored one.
    const sim::EepromImage stored = sensor.eeprom();
    sim::ParamSet working = sensor.parameters();
    working[sim::Power] = 640, working[sim::Evalmode] = 1, working[sim::Maxno] = 5;
    sensor.setParameters(working);
    sensor.setTeachRow(3, {123, 4, 5555, 65535});
    const sim::TeachTable workingTeach = sensor.teachTable();

    const QString file = dir.filePath(QStringLiteral("backup.ini"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const Result r = runCtl(linkTo(sensor, via, env) + QStringList{"get", "--eeprom", "-o", file}, env);
    QCOMPARE(r.code, 0);
    // The file holds the stored set, the sensor runs with its working set.
    ParameterBlock storedWords{};
    std::copy(stored.params.begin(), stored.params.end(), storedWords.begin());
    for (int row = 0; row < kTeachRows; ++row)
        std::copy(stored.teach[row].begin(), stored.teach[row].end(),
                  storedWords.begin() + kParamCount + kTeachCols * row);
    QCOMPARE(readAll(file), formatParameterFile(storedWords));
    QCOMPARE(sensor.parameters(), working);
    QCOMPARE(sensor.teachTable(), workingTeach);
    QCOMPARE(framesOf(sensor, frame::LoadEeprom).size(), 1);
    QCOMPARE(framesOf(sensor, frame::WriteParams).size(), 1);  // put back
    QCOMPARE(framesOf(sensor, frame::StoreEeprom).size(), 0);
    QVERIFY2(r.err.contains("it was put back and checked"), r.err.constData());
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
    Ui::P& p = *app.panel().ui;
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
    QTest::addColumn<int>("via");
    QTest::addColumn<QString>("format");
    QTest::newRow("CSV over TCP") << 0 << QStringLiteral("--csv");
    QTest::newRow("JSON over the pseudo-terminal by its device path") << 2 << QStringLiteral("--json");
}

void TarvoctlTest::measurePrintsCountSetsWithEveryColumn()
{
    QFETCH(int, via);
    QFETCH(QString, format);
    QTemporaryDir dir;
    sim::SensorSim sensor(simOptions(dir, QStringLiteral("s")));
    QVERIFY(sensor.start());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString trace = dir.filePath(QStringLiteral("measure.trace"));
    // In a time zone three hours east of UTC, so the offset shows.
    env.insert(QStringLiteral("TZ"), QStringLiteral("XYZ-3"));
    const Result r = runCtl(
        linkTo(sensor, via, env) + QStringList{"--trace", trace, "measure", "-n", "5", "--interval", "0", format}, env);
    QCOMPARE(r.code, 0);
    QCOMPARE(framesOf(sensor, frame::ReadMeasurement).size(), 5);
    // The trace holds each exchange, as the programs write it.
    const QList<QByteArray> traced = readAll(trace).split('\n');
    const auto tracedReplies = std::count_if(traced.begin(), traced.end(), [](const QByteArray& l) {
        return l.contains("\t5 read measurement\t") && l.contains("\treply complete\tGF ")
            && l.contains("\t00 aa 00 05 ");
    });
    QCOMPARE(tracedReplies, 5);

    QList<QByteArray> lines = r.out.split('\n');
    QVERIFY(lines.takeLast().isEmpty());
    const QStringList names = {"CH_REF", "CH_DIR", "CH_DIF", "NORM", "INT", "GF", "V-No", "TEMP", "GF_RAW", "PP"};
    const QRegularExpression tenths(QStringLiteral("^\\d+\\.\\d$"));
    if (format == u"--csv") {
        QCOMPARE(lines.size(), 1 + 5);
        QCOMPARE(lines.takeFirst(),
                 QByteArray("time,CH_REF [counts],CH_DIR [counts],CH_DIF [counts],NORM [per mille],"
                            "INT [counts],GF [GU],V-No,TEMP [raw],GF_RAW [GU],PP [GU]"));
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.split(',');
            QCOMPARE(fields.size(), 11);
            QVERIFY(QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs).isValid());
            QVERIFY2(fields[0].endsWith("+03:00"), fields[0].constData());
            QCOMPARE(fields[1], QByteArray("2500"));  // CH_REF = 5 x power 500, noiseless
            for (int decimal : {6, 9, 10})
                QVERIFY(tenths.match(QString::fromLatin1(fields[decimal])).hasMatch());
        }
    } else {
        QCOMPARE(lines.size(), 5);
        for (const QByteArray& line : lines) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            QCOMPARE(o.size(), 11);
            QVERIFY(o.value(QStringLiteral("time")).toString().endsWith(QStringLiteral("+03:00")));
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
    QTest::newRow("--seconds, stray bytes between the frames are counted") << true << QStringLiteral("seconds, stray");
    // Parts faster than the paced line carries them: frames are on their way when sending is switched off.
    QTest::newRow("--seconds, frames still on the line at the end are written")
        << true << QStringLiteral("seconds, backlog");
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
    o.partRateHz = end.endsWith(u"backlog") ? 60 : 40;
    o.baudPacing = end.endsWith(u"backlog");
    o.answerAutoSend = end.endsWith(u"echo");
    if (end.endsWith(u"stray"))
        o.autoStrayBytes = 5, o.autoStrayEvery = 2;
    sim::SensorSim sensor(o);
    QVERIFY(sensor.start());
    bool sentOnItsOwn = false;
    connect(&sensor, &sim::SensorSim::autoSendChanged, this, [&](bool on) { sentOnItsOwn |= on; });

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QStringList args = linkTo(sensor, serial, env) + QStringList{"record", "--triggered"};
    const QString file = dir.filePath(QStringLiteral("record.dat"));
    Result r;
    if (end.startsWith(u"seconds")) {
        r = runCtl(args + QStringList{"--seconds", "0.25", "-o", file}, env);
        r.out = readAll(file);
        // What was skipped is said; nothing else is.
        QCOMPARE(r.err.contains("byte(s) that belonged to no whole frame were skipped"), end.endsWith(u"stray"));
        // Every frame the sensor sent is written, those after the switch-off too.
        QCOMPARE(qint64(r.out.count('\n') - recordHeader().count('\n')), sensor.autoFramesTotal());
    } else {
        // Piped into a reader that stops after two lines; tarvoctl's own exit
        // code comes on standard error. SIGPIPE as a shell would leave it, not
        // as this test program's runtime may have set it.
        const QString pipeline
            = QStringLiteral(
                  "{ env --default-signal=PIPE \"$0\" \"$@\"; echo \"exit $?\" >&2; } | head -c %1 >/dev/null")
                  .arg(recordHeader().size() + 2 * 61);
        r = runCtl(QStringList{"-c", pipeline, QStringLiteral(TARVOCTL_EXE)} + args, env, {},
                   QStringLiteral("/bin/sh"));
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

void TarvoctlTest::signalsEndEveryCommandWithAutomaticSendingOff_data()
{
    QTest::addColumn<int>("via");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("silentOn");        // the sensor never answers this command (-1: it answers all)
    QTest::addColumn<int>("after");           // the signal goes once the sensor has got this command
    QTest::addColumn<bool>("stalledReader");  // standard output: a pipe nobody reads
    QTest::addColumn<int>("signal");
#if defined(Q_OS_UNIX)
    const QStringList waitLong = {"--timeout", "600"};
    QTest::newRow("Ctrl+C while the identification is awaited, pseudo-terminal")
        << 1 << waitLong + QStringList{"identify"} << int(frame::Identify) << int(frame::Identify) << false << SIGINT;
    QTest::newRow("SIGTERM while a value set is awaited, TCP")
        << 0 << waitLong + QStringList{"measure"} << int(frame::ReadMeasurement) << int(frame::ReadMeasurement) << false
        << SIGTERM;
    QTest::newRow("SIGHUP while recording, TCP")
        << 0 << QStringList{"record", "--triggered"} << -1 << int(frame::AutoSend) << false << SIGHUP;
    QTest::newRow("SIGTERM while recording into a stalled pipe, TCP")
        << 0 << QStringList{"record", "--triggered"} << -1 << int(frame::AutoSend) << true << SIGTERM;
    QTest::newRow("Ctrl+C while measuring into a stalled pipe, TCP")
        << 0 << QStringList{"measure", "--interval", "0"} << -1 << int(frame::ReadMeasurement) << true << SIGINT;
#endif
}

void TarvoctlTest::signalsEndEveryCommandWithAutomaticSendingOff()
{
#if defined(Q_OS_UNIX)
    QFETCH(int, via);
    QFETCH(QStringList, args);
    QFETCH(int, silentOn);
    QFETCH(int, after);
    QFETCH(bool, stalledReader);
    QFETCH(int, signal);
    QTemporaryDir dir;
    sim::SimOptions o = simOptions(dir, QStringLiteral("s"));
    o.faults.onlyCommand = silentOn;
    o.faults.dropReplies = silentOn >= 0 ? sim::Faults::kAll : 0;
    o.autoFlood = stalledReader;
    sim::SensorSim sensor(o);
    QVERIFY(sensor.start());

    Run run;
    run.args = linkTo(sensor, via, run.env) + args;
    int pipeEnds[2] = {-1, -1};
    if (stalledReader) {
        QVERIFY(::pipe2(pipeEnds, O_CLOEXEC) == 0);
#if defined(Q_OS_LINUX)
        ::fcntl(pipeEnds[1], F_SETPIPE_SZ, 4096);
#endif
        run.prepare = [&pipeEnds](QProcess& p) { p.setChildProcessModifier([fd = pipeEnds[1]] { ::dup2(fd, 1); }); };
    }
    bool seen = false;
    connect(&sensor, &sim::SensorSim::frameReceived, this, [&](const QByteArray& f) { seen |= word(f, 1) == after; });
    QTimer poll;
    run.started = [&](QProcess& p) {
        if (pipeEnds[1] >= 0)
            ::close(pipeEnds[1]);
        // With a stalled reader, far more data than the pipe holds are on their way first.
        QObject::connect(&poll, &QTimer::timeout, &p, [&] {
            const qint64 sent = after == frame::AutoSend ? sensor.autoFramesSent() : sensor.frameCount();
            if (seen && (!stalledReader || sent > 2000)) {
                poll.stop();
                ::kill(static_cast<pid_t>(p.processId()), signal);
            }
        });
        poll.start(20);
    };
    const Result r = runCtl(run);
    if (pipeEnds[0] >= 0)
        ::close(pipeEnds[0]);

    QCOMPARE(r.code, 128 + signal);
    QVERIFY2(r.err.endsWith("tarvoctl: interrupted\n"), r.err.constData());
    QVERIFY2(!r.err.contains("no reply"), r.err.constData());
    QVERIFY(!sensor.autoSending());
    const QByteArray last = sensor.receivedFrames().last();
    QCOMPARE(word(last, 1), quint16(frame::AutoSend));
    QCOMPARE(word(last, 2), quint16(0));
#else
    QSKIP("signals are POSIX");
#endif
}

void TarvoctlTest::reconnectGoesOnAcrossAnOutageWithTheGapWrittenBeside_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("record");  // record --triggered, else measure
    // away: off for a moment; other: back with another identification;
    // silent: hangs with the line open past the line check, so only that
    // check notices.
    QTest::addColumn<QString>("outage");
    QTest::addColumn<QStringList>("events");
    const QStringList resumed{"LOST", "BACK", "RESUMED", "STOPPED"};
    const QStringList other{"LOST", "BACK", "IDENTITY-CHANGED", "STOPPED"};
    QTest::newRow("measure, TCP") << false << false << "away" << resumed;
    QTest::newRow("measure, TCP, another sensor comes back") << false << false << "other" << other;
#if defined(Q_OS_UNIX)
    QTest::newRow("measure, pseudo-terminal") << true << false << "away" << resumed;
    QTest::newRow("record, TCP") << false << true << "away" << resumed;
    QTest::newRow("record, pseudo-terminal") << true << true << "away" << resumed;
    QTest::newRow("record, pseudo-terminal, another sensor comes back") << true << true << "other" << other;
    QTest::newRow("record, TCP, silent past the line check: lost and resumed") << false << true << "silent" << resumed;
    // Behind a line that stays up: only the line check sees the reboot.
    QTest::newRow("record, TCP, rebooted: the gap is written with its length")
        << false << true << "rebooted" << QStringList{"GAP", "STOPPED"};
    QTest::newRow("record, TCP, rebooted into another teach row only")
        << false << true << "rebooted, another teach row" << QStringList{"PARAMETERS-CHANGED", "GAP", "STOPPED"};
    QTest::newRow("record, TCP, rebooted, identification bytes after its zero changing: the same sensor")
        << false << true << "rebooted, changing identification tail" << QStringList{"GAP", "STOPPED"};
    // A slow line (a part every 2.5 s) is checked between parts, but its next
    // part is no gap.
    QTest::newRow("record, TCP, slow line: checked, no gap") << false << true << "slow" << QStringList{"STOPPED"};
    // Without --reconnect a line that sends nothing (a peer without power
    // sends no end of the connection) is told once; the recording goes on.
    QTest::newRow("record, TCP, switch off, quiet line: told once") << false << true << "quiet, off" << QStringList{};
#endif
}

void TarvoctlTest::reconnectGoesOnAcrossAnOutageWithTheGapWrittenBeside()
{
    QFETCH(bool, serial);
    QFETCH(bool, record);
    QFETCH(QString, outage);
    QFETCH(QStringList, events);
    QTemporaryDir dir;
    sim::SimOptions o = simOptions(dir, QStringLiteral("s"));
    o.partRateHz = 20;
    sim::SensorSim sensor(o);
    const QString device = dir.filePath(QStringLiteral("ttyTarvo"));  // a stable name across reopenings
    sensor.setPtyLink(device);
    QVERIFY(sensor.start());
    if (outage.endsWith(u"another teach row"))
        sensor.setTeachRow(0, {510, 20, 30, 0});  // in the working set only: the reboot puts the EEPROM's back
    sensor.setIdentificationTailChanging(outage.endsWith(u"changing identification tail"));
    // One row retries on the full schedule and its limits, the sensor away
    // for a second; the others on a tenth of it, away for as long as their
    // first attempts take, give replies and the line check up after 0.5 s
    // and hold off a short while after a missed reply.
    const bool fullSchedule = QLatin1String(QTest::currentDataTag()) == QLatin1String("measure, TCP");
    const bool silent = outage == u"silent";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!fullSchedule) {
        env.insert(QStringLiteral("TARVO_RETRY_SCALE"), QStringLiteral("0.1"));
        env.insert(QStringLiteral("TARVO_LATE_WINDOW"), QStringLiteral("0.1"));
    }
    const QString file = dir.filePath(QStringLiteral("values.dat"));
    const QStringList line = serial ? QStringList{"--device", device}
                                    : QStringList{"--tcp", QStringLiteral("127.0.0.1:%1").arg(sensor.tcpPort())};
    const int count = 20;
    const QStringList limit = fullSchedule ? QStringList{} : QStringList{"--timeout", "0.5"};
    // The line is checked 0.5 s after its last part, and again while it stays
    // quiet; a slow line's next part (2.5 s after the last) comes long after
    // the first check switched sending on, however slow the machine.
    const QStringList command = record
        ? limit + QStringList{"record", "--triggered", "--check-after", "0.5"}
        : limit + QStringList{"measure", "-n", QString::number(count), "--interval", "50"};
    const auto linesSoFar = [&] {
        const QByteArray bytes = readAll(file);
        return int(bytes.count('\n') - (record ? recordHeader().count('\n') : 1));
    };
    int linesAtLoss = -1;
    // The silent sensor answers again when the first attempt after the loss
    // asks who is there (the line check asked before it): that request is
    // lost, the frames come in the middle of its wait.
    bool silenced = false;
    int identifications = 0;
    connect(&sensor, &sim::SensorSim::frameReceived, this, [&](const QByteArray& f) {
        if (silenced && word(f, 1) == frame::Identify && ++identifications == 2)
            sensor.mute(0);
    });
    const bool off = outage.endsWith(u"off");
    const Result r = runCtl(line + command + (off ? QStringList{} : QStringList{"--reconnect"})
                                + QStringList{"-o", file},
                            env, [&](QProcess& p) {
                                QVERIFY(runUntil([&] { return linesSoFar() >= 3; }, 20000));
                                linesAtLoss = linesSoFar();
                                if (silent) {
                                    silenced = true;
                                    sensor.mute(60000);
                                } else if (off) {
                                    sensor.mute(1500);
                                } else if (outage.startsWith(u"rebooted")) {
                                    sensor.reboot();
                                } else if (outage == u"slow") {
                                    sensor.setPartRate(0.4);
                                } else {
                                    if (outage == u"other")
                                        sensor.setIdentification("ANOTHER SENSOR");
                                    sensor.goAway(fullSchedule ? 1000 : 300);
                                }
#if defined(Q_OS_UNIX)
                                if (record && outage != u"other") {
                                    // Ctrl+C once the recording has gone on after the return.
                                    // A slow line: its next part, after the checks.
                                    const int more = outage == u"slow" ? 1 : 3;
                                    if (!runUntil([&] { return linesSoFar() >= linesAtLoss + more; }, 30000))
                                        qWarning("the recording did not go on after the outage");
                                    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
                                }
#endif
                            });

    QCOMPARE(r.code, outage == u"other" ? 1 : record ? 128 + SIGINT : 0);
    // One line per event beside the file: time, word, reason, lines so far;
    // and each on standard error.
    QStringList words;
    int atLoss = -1;
    for (const QByteArray& event : readAll(file + QStringLiteral(".events")).split('\n')) {
        if (event.isEmpty())
            continue;
        const QList<QByteArray> fields = event.split('\t');
        QCOMPARE(fields.size(), 4);
        words << QString::fromLatin1(fields[1]);
        if (atLoss < 0)
            atLoss = fields[3].toInt();
        QCOMPARE(fields[3].toInt(), fields[1] == "STOPPED" ? linesSoFar() : atLoss);  // nothing during the gap
        QVERIFY2(r.err.contains(" " + fields[1] + " "), r.err.constData());
    }
    QVERIFY2(words == events, r.err.constData());
    QVERIFY(off || atLoss >= linesAtLoss);
    if (outage == u"other")
        QCOMPARE(linesSoFar(), atLoss);  // nothing of the other sensor
    else if (record)
        QCOMPARE(linesSoFar(), int(sensor.autoFramesTotal()));  // every frame sent, before and after the gap
    else
        QCOMPARE(linesSoFar(), count);
    QCOMPARE(words, events);
    if (outage == u"slow")
        QVERIFY(framesOf(sensor, frame::Identify).size() >= 2);  // the start's line check, then one between parts
    if (outage == u"other")
        QVERIFY2(r.err.contains("another sensor (\"ANOTHER SENSOR\") answered"), r.err.constData());
    if (off)
        QCOMPARE(r.err.count("nothing received for 0.5 s; the line may be dead"), 1);
    if (outage.startsWith(u"rebooted")) {
        const QRegularExpression length(QStringLiteral("GAP no frame for (\\d+\\.\\d) s"));
        const QRegularExpressionMatch m = length.match(QString::fromUtf8(r.err));
        QVERIFY2(m.hasMatch() && m.captured(1).toDouble() >= 0.5, r.err.constData());  // at least the quiet time
    }
    QVERIFY(!sensor.autoSending());
}

void TarvoctlTest::outputThatCannotBeWrittenIsAnError_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("into");  // "full": standard output on /dev/full; "stdout", "-o": a file of at most 1 KiB
    QTest::addColumn<QString>("message");
#if defined(Q_OS_LINUX)
    const QString full = QStringLiteral("standard output: cannot be written: No space left on device");
    QTest::newRow("get") << QStringList{"get"} << "full" << full;
    QTest::newRow("identify") << QStringList{"identify"} << "full" << full;
    QTest::newRow("profile") << QStringList{"profile"} << "full" << full;
    QTest::newRow("measure") << QStringList{"measure", "-n", "3", "--csv"} << "full" << full;
    QTest::newRow("record") << QStringList{"record", "--triggered", "--seconds", "2"} << "full" << full;
    const QString tooLarge = QStringLiteral(": cannot be written: File too large");
    QTest::newRow("measure into a file that fills")
        << QStringList{"measure", "-n", "200", "--csv", "--interval", "0"} << "stdout"
        << "standard output" + tooLarge;
    QTest::newRow("measure -o a file that fills")
        << QStringList{"measure", "-n", "200", "--csv", "--interval", "0", "-o", "{file}"} << "-o"
        << "{file}" + tooLarge;
    QTest::newRow("record -o a file that fills")
        << QStringList{"record", "--triggered", "--seconds", "20", "-o", "{file}"} << "-o"
        << "{file}" + tooLarge;
#endif
}

void TarvoctlTest::outputThatCannotBeWrittenIsAnError()
{
    QFETCH(QStringList, args);
    QFETCH(QString, into);
    QFETCH(QString, message);
    QTemporaryDir dir;
    sim::SimOptions o = simOptions(dir, QStringLiteral("s"));
    o.partRateHz = 50;
    sim::SensorSim sensor(o);
    QVERIFY(sensor.start());
    const QString file = dir.filePath(QStringLiteral("out.txt"));
    for (QString& a : args)
        a.replace(QStringLiteral("{file}"), file);
    message.replace(QStringLiteral("{file}"), file);

    Run run;
    const QStringList link = linkTo(sensor, 0, run.env);
    // A file may grow to 1 KiB; a write past that fails as on a full disk.
    const QString redirect = into == u"full" ? QStringLiteral(" > /dev/full")
        : into == u"stdout"                  ? QStringLiteral(" > \"$TARVO_OUT\"")
                                             : QString();
    run.env.insert(QStringLiteral("TARVO_OUT"), file);
    run.program = QStringLiteral("/bin/sh");
    run.args = QStringList{"-c", R"(ulimit -f 2; trap '' XFSZ; exec "$0" "$@")" + redirect,
                           QStringLiteral(TARVOCTL_EXE)}
        + link + args;
    const Result r = runCtl(run);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(message.toLocal8Bit()), r.err.constData());
    QVERIFY(!sensor.autoSending());
    if (into == u"full")
        return;
    // Only whole lines reached the file.
    const QByteArray written = readAll(file);
    QVERIFY(written.size() > 100 && written.size() <= 1024);
    if (args.first() == u"record")
        return checkRecord(written);
    QVERIFY(written.endsWith('\n'));
    for (const QByteArray& line : written.chopped(1).split('\n'))
        QCOMPARE(line.count(','), 10);
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
    const QByteArray toSensor = tarvo::test::settingsFor(1, 1, QStringLiteral("127.0.0.1"),
                                                         QString::number(sensor.tcpPort()));
    const QByteArray toNowhere = tarvo::test::settingsFor(1, 1, QStringLiteral("127.0.0.1"),
                                                          QString::number(tarvo::test::closedTcpPort()));

    writeAll(dir.filePath(QStringLiteral("usr/bin/ComSettings.cfg")), toSensor);
    QCOMPARE(runCtl({QStringLiteral("identify")}, env, {}, program).code, 0);

    writeAll(dir.filePath(QStringLiteral("config/Tarvo/TarvoV43/ComSettings.cfg")), toNowhere);
    const Result r = runCtl({QStringLiteral("identify")}, env, {}, program);
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains("cannot connect to 127.0.0.1:"));
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
    const Result r = runCtl(linkTo(sensor, false, env) + QStringList{"factors", "send", equation, "--ref-step", "20"},
                            env);
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains("references red 1010, green 1000, blue 1000"));
    QCOMPARE(framesOf(sensor, frame::CompStart).size(), 1);
    // As the tool ends: the line opened anew and the version asked for after the tables.
    QCOMPARE(framesOf(sensor, frame::Identify).size(), 2);
    QCOMPARE(frame::getWord(reinterpret_cast<const std::uint8_t*>(sensor.receivedFrames().last().constData()), 1),
             std::uint16_t(frame::Identify));
    QVERIFY(r.out.trimmed().endsWith("TARVO RGB SENSOR V4.3 SIM"));
    const sim::FactorTable red = sensor.colourFactors(0);
    QCOMPARE(red[0], quint16(1034));
    QCOMPARE(red[20], quint16(1024));
    QCOMPARE(red[99], quint16(985));
    for (quint16 factor : sensor.colourFactors(2))
        QCOMPARE(factor, quint16(1024));
}

namespace {

sim::Faults faultsOn(int command, const std::function<void(sim::Faults&)>& set)
{
    sim::Faults f;
    f.onlyCommand = command;
    set(f);
    return f;
}

// A run against a sensor with `faults`, among files of every kind, good and
// bad. In args, message texts and the input, {link} stands for the sensor,
// {closed} for a port nobody serves, {dir} for the files' folder and {pty}
// for the sensor's pseudo-terminal.
struct Scenario {
    QTemporaryDir dir;
    std::unique_ptr<sim::SensorSim> sensor;
    const quint16 closedPort = tarvo::test::closedTcpPort();

    Scenario(const sim::Faults& faults, bool colour)
    {
        sim::SimOptions o = simOptions(dir, QStringLiteral("s"), colour);
        o.faults = faults;
        sensor = std::make_unique<sim::SensorSim>(o);
        writeAll(dir.filePath(QStringLiteral("bad.ini")), "1\n2\nabc\n");
        writeAll(dir.filePath(QStringLiteral("short.ini")), "1\n2\n");
        writeAll(dir.filePath(QStringLiteral("bad.equ")), "1\nx\n");
        writeAll(dir.filePath(QStringLiteral("zero.equ")), QByteArray("0\n").repeated(15));
        writeAll(dir.filePath(QStringLiteral("big.equ")), "2e9\n" + QByteArray("0\n").repeated(14));
        writeAll(dir.filePath(QStringLiteral("good.equ")), QByteArray("0\n0\n0\n0\n1000\n").repeated(3));
        writeAll(dir.filePath(QStringLiteral("good.ini")), parameterFile({{0, 500}}));
        writeAll(dir.filePath(QStringLiteral("empty.dat")), {});
        QDir().mkpath(dir.filePath(QStringLiteral("data/tarvo")));
        writeAll(dir.filePath(QStringLiteral("data/tarvo/calibration-intervals.txt")), "line3\t30\n");
        writeAll(
            dir.filePath(QStringLiteral("data/tarvo/calibration-log.jsonl")),
            R"({"time":"2026-01-01T10:00:00.000+01:00","kind":"reference-100","outcome":"done","sensor_id":"line3"})"
            "\n"
            R"({"time":"2026-01-01T10:00:00.000+01:00","kind":"reference-100","outcome":"done","sensor_id":"line4"})"
            "\n");
        writeAll(dir.filePath(QStringLiteral("cut.dat")),
                 recordHeader() + recordLine(QDateTime::currentDateTime(), {1, 2, 3, 4, 5, 873, 7, 8}) + "03-07-20");
        writeAll(dir.filePath(QStringLiteral("maxno.ini")), parameterFile({{0, 500}, {6, 40}}));
        writeAll(dir.filePath(QStringLiteral("mode2.ini")), parameterFile({{0, 500}, {3, 2}, {16, 1234}, {20, 99}}));
    }

    static QByteArray parameterFile(const QMap<int, int>& words)
    {
        QByteArray text;
        for (int i = 0; i < kBlockWords; ++i)
            text += QByteArray::number(words.value(i, 0)) + '\n';
        return text;
    }

    QString fill(QString text) const
    {
        return text.replace(QStringLiteral("{link}"), QStringLiteral("127.0.0.1:%1").arg(sensor->tcpPort()))
            .replace(QStringLiteral("{closed}"), QStringLiteral("127.0.0.1:%1").arg(closedPort))
            .replace(QStringLiteral("{dir}"), dir.path())
            .replace(QStringLiteral("{pty}"), sensor->ptyPath());
    }

    Result run(QStringList args, const QByteArray& input = {}, const QStringList& env = {})
    {
        Run r;
        for (QString& a : args)
            a = fill(a);
        r.args = args;
        r.env.remove(QStringLiteral("TARVO_SERIAL_PORT_250"));
        for (const QString& e : env)
            r.env.insert(e.section(u'=', 0, 0), fill(e.section(u'=', 1)));
        if (!input.isEmpty())
            r.input = readAll(fill(QString::fromLatin1(input)));
        return runCtl(r);
    }
};

}  // namespace

void TarvoctlTest::failuresGiveExitCodeAndMessage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<sim::Faults>("faults");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    const sim::Faults none;
    const QStringList link = {"--tcp", "{link}"};
    QTest::newRow("no command") << QStringList{} << none << false << 2 << "no command given";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << none << false << 2
                                     << "unknown command \"frobnicate\"";
    QTest::newRow("-v is no version") << QStringList{"-v", "identify"} << none << false << 2 << "Unknown option '-v'";
    QTest::newRow("--version with a command")
        << QStringList{"--version", "identify"} << none << false << 2 << "--version takes no command";
    QTest::newRow("option the command does not take")
        << (link + QStringList{"measure", "--eeprom"}) << none << false << 2 << "measure does not take --eeprom";
    QTest::newRow("two links") << QStringList{"--serial", "1", "--tcp", "x", "identify"} << none << false << 2
                               << "--tcp, --serial and --device exclude each other";
    QTest::newRow("count of none") << (link + QStringList{"measure", "-n", "0"}) << none << false << 2
                                   << "-n wants a whole number from 1";
    QTest::newRow("record without --triggered")
        << (link + QStringList{"record"}) << none << false << 2 << "record needs --triggered";
    QTest::newRow("parameter file with a word") << (link + QStringList{"send", "{dir}/bad.ini"}) << none << false << 2
                                                << "tarvoctl: {dir}/bad.ini, line 3: \"abc\" is not a whole number";
    QTest::newRow("parameter file too short") << (link + QStringList{"send", "{dir}/short.ini"}) << none << false << 2
                                              << "short.ini holds 2 numbers instead of 140";
    QTest::newRow("equation file with a word") << (link + QStringList{"factors", "send", "{dir}/bad.equ"}) << none
                                               << true << 2 << "bad.equ: Line 2: \"x\" is not a number";
    QTest::newRow("report of an empty record file") << QStringList{"report", "{dir}/empty.dat", "-o", "{dir}/r.pdf"}
                                                    << none << false << 2 << "{dir}/empty.dat: the file is empty";
    QTest::newRow("report of a record file cut short")
        << QStringList{"report", "{dir}/cut.dat", "--csv"} << none << false << 2 << "cut.dat: line 3: cut short";
    QTest::newRow("report with limits the wrong way round")
        << QStringList{"report", "{dir}/good.ini", "--limits", "90:85", "--csv"} << none << false << 2
        << "--limits wants LOW:HIGH";
    QTest::newRow("report of a parameter file") << QStringList{"report", "{dir}/good.ini", "-o", "{dir}/r.pdf"} << none
                                                << false << 2 << "good.ini: line 1: not the header of a record file";
    QTest::newRow("coefficient the tool does not take")
        << (link + QStringList{"factors", "send", "{dir}/big.equ"}) << none << true << 2
        << "RX4 = 2e+09 lies outside -1e+09 … 1e+09";
    QTest::newRow("factors outside the sensor's range")
        << (link + QStringList{"factors", "send", "{dir}/zero.equ"}) << none << true << 2
        << "zero.equ: some factors do not fit 0 to 65535 (red: 100 of 100, the first at step 0";
    QTest::newRow("a table of zeros") << (link
                                          + QStringList{"factors", "send", "{dir}/good.equ", "--refs", "0,1000,1000"})
                                      << none << true << 2 << "all 100 factors of red are 0";
    QTest::newRow("output that cannot be written") << (link + QStringList{"get", "-o", "{dir}/no/such.ini"}) << none
                                                   << false << 2 << "such.ini: cannot be written";
    QTest::newRow("output kept by --no-clobber")
        << (link + QStringList{"record", "--triggered", "-o", "{dir}/good.ini", "--no-clobber"}) << none << false << 2
        << "good.ini: cannot be written: the file exists (--no-clobber keeps it)";
    QTest::newRow("trace file that cannot be written")
        << (link + QStringList{"--trace", "{dir}/no/such.trace", "identify"}) << none << false << 2
        << "cannot write the trace file";
    QTest::newRow("nobody at the port") << QStringList{"--tcp", "{closed}", "identify"} << none << false << 1
                                        << "cannot connect to {closed}: connection refused";
    QTest::newRow("bare IPv6 address") << QStringList{"--tcp", "::1", "identify"} << none << false << 1
                                       << "cannot connect to [::1]:10001: ";
    QTest::newRow("no serial device") << QStringList{"--serial", "250", "identify"} << none << false << 1
                                      << "cannot open serial port 250: no device has this number";
    QTest::newRow("no identification") << (link + QStringList{"identify"})
                                       << faultsOn(frame::Identify, [](auto& f) { f.dropReplies = sim::Faults::kAll; })
                                       << false << 1 << "{link}: identification (command 7): no reply within 5.0 s";
    QTest::newRow("identification looped back")
        << (link + QStringList{"identify"}) << faultsOn(frame::Identify, [](auto& f) { f.echo = true; }) << false << 1
        << "{link}: identification (command 7): the line sends back what it is sent: no sensor, a loop-back plug or "
           "a modem echo";
    QTest::newRow("verify: no sensor answered")
        << (link + QStringList{"verify", "{dir}/good.ini"})
        << faultsOn(frame::ReadParams, [](auto& f) { f.dropReplies = sim::Faults::kAll; }) << false << 3
        << "reading the parameters (command 3): no reply within 3.0 s";
    QTest::newRow("teach row echoed wrong")
        << (link + QStringList{"send", "{dir}/good.ini"})
        << faultsOn(frame::WriteTeachRow, [](auto& f) { f.corruptByte = 7; }) << false << 1
        << "writing teach row 0 (command 2): the reply does not echo the frame";
    QTest::newRow("send cut at teach row 12: the mixed set is named, send again finishes it")
        << (link + QStringList{"--timeout", "0.5", "send", "{dir}/good.ini"})
        << faultsOn(frame::WriteTeachRow,
                    [](auto& f) {
                        f.onlyArgument = 12;
                        f.dropReplies = sim::Faults::kAll;
                    })
        << false << 1
        << "the write was cut short, the sensor now holds a mixed set: the new parameters and teach rows 0-11; "
           "teach row 12 perhaps; teach rows 13-30 as before; send the file again";
    QTest::newRow("parameter reply with the PC's header")
        << (link + QStringList{"--timeout", "0.5", "get"})
        << faultsOn(frame::ReadParams, [](auto& f) { f.corruptByte = 1; }) << false << 1
        << "reading the parameters (command 3): no reply within 0.5 s";
    QTest::newRow("read-back differs")
        << (link + QStringList{"send", "{dir}/good.ini"})
        << faultsOn(frame::ReadParams, [](auto& f) { f.corruptByte = 5; }) << false << 1
        << "read-back: 1 of 140 words differ:\n  word 0 (power): sent 500, read back 267";
    QTest::newRow("teach words of evaluation mode 2 compared")
        << (link + QStringList{"send", "{dir}/mode2.ini"})
        << faultsOn(frame::ReadTeachRow, [](auto& f) { f.corruptByte = 7; }) << false << 1
        << "read-back: 31 of 140 words differ:\n  word 16 (teach row 0, column 0): sent 1234, read back 1069";
    QTest::newRow("maxno the sensor does not take is named")
        << (link + QStringList{"send", "{dir}/maxno.ini"}) << none << false << 0
        << "maxno.ini: word 6 (maxno): the file holds 40, the sensor takes 31";
    QTest::newRow("measured values missing")
        << (link + QStringList{"--timeout", "0.5", "measure", "-n", "2"})
        << faultsOn(frame::ReadMeasurement, [](auto& f) { f.dropReplies = sim::Faults::kAll; }) << false << 1
        << "{link}: reading measured values (command 5): no reply within 0.5 s";
    QTest::newRow("measured values with the PC's header")
        << (link + QStringList{"--timeout", "0.5", "measure", "-n", "2"})
        << faultsOn(frame::ReadMeasurement, [](auto& f) { f.corruptByte = 1; }) << false << 1
        << "reading measured values (command 5): no reply within 0.5 s";
    QTest::newRow("measured values cut short")
        << (link + QStringList{"--timeout", "0.5", "measure", "-n", "2"})
        << faultsOn(frame::ReadMeasurement, [](auto& f) { f.replyLength = 20; }) << false << 1
        << "reading measured values (command 5): only 20 of 36 bytes came back within 0.5 s";
    QTest::newRow("connection closed while recording")
        << (link + QStringList{"record", "--triggered"}) << faultsOn(-1, [](auto& f) { f.closeAfterFrames = 3; })
        << false << 1 << "automatic sending (command 50): connection closed by {link}";
    QTest::newRow("factor block echoed wrong")
        << (link + QStringList{"factors", "send", "{dir}/good.equ"})
        << faultsOn(frame::CompGreen, [](auto& f) { f.corruptByte = 20; }) << true << 1
        << "green factor block 0 (command 41): the reply does not echo the frame";
    QTest::newRow("factor send cut at green block 4: the mixed tables are named")
        << (link + QStringList{"factors", "send", "{dir}/good.equ"})
        << faultsOn(frame::CompGreen,
                    [](auto& f) {
                        f.onlyArgument = 4;
                        f.corruptByte = 20;
                    })
        << true << 1
        << "the sensor now holds mixed factor tables: red block 0 to green block 3 new; green block 4 perhaps; "
           "green block 5 to blue block 9 as before";
}

void TarvoctlTest::failuresGiveExitCodeAndMessage()
{
    QFETCH(QStringList, args);
    QFETCH(sim::Faults, faults);
    QFETCH(bool, colour);
    QFETCH(int, code);
    QFETCH(QString, message);

    Scenario scenario(faults, colour);
    QVERIFY(scenario.sensor->start());
    const bool cut = message.contains(QLatin1String("mixed set"));
    for (int row = 0; cut && row < kTeachRows; ++row)
        scenario.sensor->setTeachRow(row, {7, 50, 7, 7});
    const sim::EepromImage before = scenario.sensor->eeprom();
    const Result r = scenario.run(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.startsWith("tarvoctl: "), r.err.constData());
    QVERIFY2(QString::fromLocal8Bit(r.err).contains(scenario.fill(message)), r.err.constData());
    if (cut) {
        // Rows 0-11 new (0), rows 13-30 old (50), no store after the cut; the same send again finishes it.
        QCOMPARE(scenario.sensor->teachTable()[11][1], quint16(0));
        QCOMPARE(scenario.sensor->teachTable()[20][1], quint16(50));
        QVERIFY(scenario.sensor->eeprom() == before);
        scenario.sensor->setFaults({});
        const Result again = scenario.run(args);
        QVERIFY2(again.code == 0, again.err.constData());
        QCOMPARE(scenario.sensor->teachTable()[20][1], quint16(0));
    }
}

void TarvoctlTest::optionsDoWhatTheySay_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<sim::Faults>("faults");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QByteArray>("input");  // the file standard input reads
    QTest::addColumn<QString>("out");       // what standard output holds ("" : nothing)
    QTest::addColumn<QString>("err");       // what standard error holds ("" : nothing)

    const sim::Faults none;
    const QStringList link = {"--tcp", "{link}"};
    const auto once = [](int command) { return faultsOn(command, [](auto& f) { f.dropReplies = 1; }); };
    QTest::newRow("ports lists the numbers --serial takes")
        << QStringList{"ports"} << none << QStringList{"TARVO_SERIAL_PORT_9={pty}"} << QByteArray()
        << "9\t{pty}\tset by TARVO_SERIAL_PORT_9\n"
        << "";
    QTest::newRow("a parameter file from standard input")
        << (link + QStringList{"send", "-"}) << none << QStringList{} << QByteArray("{dir}/good.ini")
        << "140 words sent to RAM and read back unchanged.\n"
        << "";
    QTest::newRow("-q keeps success quiet")
        << (link + QStringList{"-q", "send", "{dir}/maxno.ini"}) << none << QStringList{} << QByteArray() << ""
        << "tarvoctl: {dir}/maxno.ini: word 6 (maxno): the file holds 40, the sensor takes 31\n";
    // The first request's reply is owed: the next one to come is taken for
    // it, so the first retry times out too and the second gets its own. The
    // hold-off after each missed reply is short: these rows are not about it.
    const QStringList shortHoldOff{"TARVO_LATE_WINDOW=0.1"};
    QTest::newRow("--retries asks for a lost value set again")
        << (link + QStringList{"--timeout", "0.5", "--retries", "2", "measure", "-n", "1", "--csv", "--utc"})
        << once(frame::ReadMeasurement) << shortHoldOff << QByteArray() << "+00:00,2500,"
        << "tarvoctl: {link}: reading measured values (command 5): no reply within 0.5 s; asking again (1 of 2)\n"
           "tarvoctl: {link}: reading measured values (command 5): no reply within 0.5 s; asking again (2 of 2)\n";
    QTest::newRow("--retries runs a command again on a new connection")
        << (link + QStringList{"--timeout", "0.5", "--retries", "2", "identify"}) << once(frame::Identify)
        << shortHoldOff << QByteArray() << "TARVO GLOSS SENSOR V4.3 SIM\n"
        << "tarvoctl: {link}: identification (command 7): no reply within 0.5 s\ntarvoctl: trying again (1 of 2)\n";
    // line3 was calibrated on 1 January 2026 and is due every 30 days; line4 has no interval.
    QTest::newRow("identify says when a calibration is due")
        << (link + QStringList{"identify", "--sensor-id", "line3"}) << none << QStringList{"XDG_DATA_HOME={dir}/data"}
        << QByteArray() << "TARVO GLOSS SENSOR V4.3 SIM\n"
        << "tarvoctl: calibration due since 2026-01-31\n";
    QTest::newRow("identify of a sensor without an interval says nothing more")
        << (link + QStringList{"identify", "--sensor-id", "line4"}) << none << QStringList{"XDG_DATA_HOME={dir}/data"}
        << QByteArray() << "TARVO GLOSS SENSOR V4.3 SIM\n"
        << "";
    QTest::newRow("a command's own help")
        << QStringList{"get", "--help"} << none << QStringList{} << QByteArray()
        << "Usage: tarvoctl [LINK] [OPTIONS] get [--eeprom] [-o FILE] [--no-clobber]\n"
        << "";
}

void TarvoctlTest::optionsDoWhatTheySay()
{
    QFETCH(QStringList, args);
    QFETCH(sim::Faults, faults);
    QFETCH(QStringList, env);
    QFETCH(QByteArray, input);
    QFETCH(QString, out);
    QFETCH(QString, err);

    Scenario scenario(faults, false);
    QVERIFY(scenario.sensor->start());
    const Result r = scenario.run(args, input, env);
    QCOMPARE(r.code, 0);
    QCOMPARE(QString::fromLocal8Bit(r.err), scenario.fill(err));
    QVERIFY2(out.isEmpty() ? r.out.isEmpty() : QString::fromLocal8Bit(r.out).contains(scenario.fill(out)),
             r.out.constData());
}

void TarvoctlTest::reportOfARecordingGivesItsFigures_data()
{
    QTest::addColumn<bool>("serial");
    QTest::newRow("recorded over TCP") << false;
#if defined(Q_OS_LINUX)
    QTest::newRow("recorded over the paced pseudo-terminal") << true;
#endif
}

void TarvoctlTest::reportOfARecordingGivesItsFigures()
{
    // A triggered recording of the simulator with its noise, then its report:
    // the figures against the same recording's lines computed here, the PDF's
    // text as a PDF reader extracts it.
    QFETCH(bool, serial);
    QTemporaryDir dir;
    sim::SimOptions o = simOptions(dir, QStringLiteral("s"));
    o.partRateHz = 40;
    o.noise = 1.0;
    o.baudPacing = serial;
    sim::SensorSim sensor(o);
    QVERIFY(sensor.start());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString file = dir.filePath(QStringLiteral("record.dat"));
    const Result recorded = runCtl(
        linkTo(sensor, serial, env) + QStringList{"record", "--triggered", "--seconds", "1", "-o", file}, env);
    QCOMPARE(recorded.code, 0);

    std::vector<double> gf;
    for (const QByteArray& line : readAll(file).mid(recordHeader().size()).split('\n'))
        if (!line.isEmpty())
            gf.push_back(line.trimmed().split('\t')[7].toDouble() / 10.0);
    QVERIFY(gf.size() >= 25);
    double sum = 0.0;
    for (double v : gf)
        sum += v;
    const double mean = sum / double(gf.size());
    double squares = 0.0;
    for (double v : gf)
        squares += (v - mean) * (v - mean);
    const double s = std::sqrt(squares / double(gf.size() - 1));
    QVERIFY(s > 0.0);
    const double low = std::round(mean * 10.0) / 10.0 - 1.0;
    const double high = low + 1.5;
    const QString limits = QStringLiteral("%1:%2").arg(low, 0, 'f', 1).arg(high, 0, 'f', 1);

    const Result csv = runCtl({"report", file, "--limits", limits, "--csv"}, env);
    QCOMPARE(csv.code, 0);
    const QList<QByteArray> rows = csv.out.split('\n');
    QCOMPARE(rows.size(), 3);  // header, row, nothing after the last line end
    const QList<QByteArray> row = rows[1].split(',');
    QCOMPARE(row[4].toInt(), int(gf.size()));
    QVERIFY(std::abs(row[5].toDouble() - mean) < 1e-6);
    QVERIFY(std::abs(row[6].toDouble() - s) < 1e-6);
    QVERIFY(std::abs(row[13].toDouble() - 1.5 / (6 * s)) < 1e-5);
    QVERIFY(std::abs(row[14].toDouble() - std::min(high - mean, mean - low) / (3 * s)) < 1e-5);

    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const Result made = runCtl({"report", file, "--limits", limits, "-o", pdf}, env);
    QVERIFY2(made.code == 0, made.err.constData());
    const QString words = tarvo::test::pdfText(pdf);
    for (const QString& expected :
         {QStringLiteral("Recording report"), QStringLiteral("Record file record.dat"),
          QStringLiteral("Parts (n) %1").arg(gf.size()), QStringLiteral("Mean %1").arg(mean, 0, 'f', 3),
          QStringLiteral("Standard deviation (n − 1) %1").arg(s, 0, 'f', 3),
          QStringLiteral("Cp %1").arg(1.5 / (6 * s), 0, 'f', 3), QStringLiteral("Histogram of GF"),
          QStringLiteral("GF [GU] over time"), QStringLiteral("tarvoctl ")})
        QVERIFY2(words.contains(expected), qPrintable(expected + QStringLiteral(" not in: ") + words));
}

QTEST_MAIN(TarvoctlTest)
#include "tst_tarvoctl.moc"
