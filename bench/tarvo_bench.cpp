// tarvo_bench: speed and load figures of the link and of the scope's start-up,
// printed as a table next to their targets.
//
//  1. One command-5 exchange over TCP loopback and over a pseudo-terminal paced
//     like the 19200-baud line: median and 95th percentile.
//  2. Process CPU time while waiting 3.0 s for a reply that never comes: our
//     event-driven wait against a busy loop that pumps events.
//  3. Time from launching the scope to the first paint of its main panel.
//  4. The live loop (GO) against the simulator over TCP and over the paced
//     pseudo-terminal: value sets shown per second and the CPU it takes.
//  5. Display work per live cycle, and the graph panel's CPU per value set
//     with 1 000, 100 000 and 1 000 000 points stored.
//  6. A triggered recording at 50 parts per second with the graph panel open:
//     frames written against frames sent, the backlog, the CPU.
//  7. The live loop over TCP with the TRACE window open against closed.
//  8. Plant data over MQTT: 16 sensors at 50 frames/s, 16 tarvoctl publish
//     processes, one local broker: received by a QoS 1 subscriber / sent,
//     CPU per 1000 frames, latency; the same with 32; and 16 with the broker
//     stopped for 10 s.
//  9. A triggered recording with reconnect and resume on, across a 5 s outage
//     of the sensor: time from its return to the first frame recorded after
//     it, and frames lost besides those it sent while away.
// Every row names its target and says OK or FAIL.

#include "benchutil.h"
#include "chartprobe.h"
#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "liveprobe.h"
#include "parameterset.h"
#include "publishprobe.h"
#include "reconnect.h"
#include "sensorsim.h"
#include "serialports.h"
#include "settingsfiles.h"
#include "simprocess.h"
#include "startupprobe.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

using namespace tarvo;
using namespace tarvo::bench;

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

void line(const QString& text = QString())
{
    out() << text << Qt::endl;
}

// Wire-time of one exchange on the real line: 72 bytes of ten bits at 19200 baud.
constexpr double kLineExchangeMs = 72.0 * 10.0 / 19200.0 * 1000.0;  // 37.5 ms
constexpr double kTcpTargetMs = 1.0;
constexpr double kWaitLimit = 3.0;  // the exchange's reply time limit
constexpr double kCpuTargetPercent = 2.0;
constexpr double kStartupTargetS = 0.5;
constexpr int kWarmUp = 5;            // exchanges run before counting
constexpr int kMaxFailuresInRow = 3;  // a dead simulator ends a series early

struct Config {
    int tcpCount = 200;
    int ptyCount = 100;
    int waitRuns = 1;
    int startupRuns = 5;
    double liveSeconds = 5.0;
    int chartCycles = 300;
    int graphValueSets = 150;
    double recordSeconds = 60.0;
    int traceRounds = 2;           // pairs of live runs with the TRACE window closed and open
    double publishSeconds = 20.0;  // each MQTT case's publishing time
    int outageRuns = 1;            // recordings across an outage
    QString simProgram;            // empty: in-process
    QString simNote;
};

struct BenchHost : LinkHost, ExchangeHost {
    QString lastStatus;
    void showLinkStatus(const QString& text) override { lastStatus = text; }
    void message(const QString& title, const QString& text) override
    {
        lastStatus = title + QStringLiteral(": ") + text;
    }
    void showStatus(const QString& text) override { lastStatus = text; }
    void timeoutReaction() override {}
    void lineCheckPassed() override {}
};

// The program's link and exchange, as the scope wires them.
struct Wire {
    EventPump pump;
    LoopFlags flags;
    ParameterSet params;
    BenchHost host;
    Link link{pump, flags, host};
    Exchange exchange{link, pump, flags, params, host};

    ~Wire() { setSerialPortResolver(nullptr); }

    bool connectTcp(quint16 port)
    {
        ConnectionSettings where;
        where.comprotocol = TCPIP;
        where.ipBuf = QStringLiteral("127.0.0.1");
        where.portNumStr = QString::number(port);
        link.Connect(where);
        return link.openResult() == 0 && link.tcpConnected();
    }

    bool connectPty(const QString& path)
    {
        setSerialPortResolver(
            [path](int n) { return SerialDevice{.path = n == 1 ? path : QString(), .description = QString()}; });
        ConnectionSettings where;
        where.comprotocol = RS232;
        where.comport = 1;
        link.Connect(where);
        return link.openResult() == 0;
    }

    // One command-5 exchange; true when a complete reply to it came back.
    bool measurement()
    {
        const Reply reply = exchange.request(frame::ReadMeasurement);
        return reply && reply.words[0] == frame::kSyncSensor && reply.words[1] == frame::ReadMeasurement;
    }
};

// ---------------------------------------------------------------- exchanges

struct Series {
    Summary ms;
    int failures = 0;
    QString problem;  // why the series could not run
};

Series runExchanges(Wire& wire, int count)
{
    Series s;
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count));
    int inRow = 0;
    for (int i = 0; i < kWarmUp + count; ++i) {
        const std::int64_t t0 = steadyNs();
        const bool ok = wire.measurement();
        const double ms = static_cast<double>(steadyNs() - t0) * 1e-6;
        if (!ok) {
            ++s.failures;
            if (++inRow >= kMaxFailuresInRow) {
                s.problem = QStringLiteral("%1 exchanges in a row got no complete reply").arg(inRow);
                break;
            }
            continue;
        }
        inRow = 0;
        if (i >= kWarmUp)
            times.push_back(ms);
    }
    s.ms = summarize(times);
    return s;
}

Series tcpSeries(const Config& cfg)
{
    Simulator sim;
    QString error;
    if (!sim.start(cfg.simProgram, {}, &error))
        return {{}, 0, QStringLiteral("simulator: ") + error};
    Wire wire;
    if (!wire.connectTcp(sim.tcpPort()))
        return {{}, 0, QStringLiteral("connect: ") + wire.host.lastStatus};
    return runExchanges(wire, cfg.tcpCount);
}

Series ptySeries(const Config& cfg)
{
#if !defined(Q_OS_UNIX)
    (void)cfg;
    return {{}, 0, QStringLiteral("not measured: pseudo-terminals exist on POSIX systems only")};
#else
    Simulator sim;
    QString error;
    SimSetup setup;
    setup.pty = true;
    if (!sim.start(cfg.simProgram, setup, &error))
        return {{}, 0, QStringLiteral("not measured: simulator with a pseudo-terminal: ") + error};
    Wire wire;
    if (!wire.connectPty(sim.ptyPath()))
        return {{}, 0, QStringLiteral("cannot open %1: %2").arg(sim.ptyPath(), wire.link.serialSystemError())};
    return runExchanges(wire, cfg.ptyCount);
#endif
}

void printExchanges(const Config& cfg)
{
    line(QStringLiteral("1. One command-5 exchange (36 bytes out, 36 back), %1 warm-up exchanges not counted")
             .arg(kWarmUp));
    const QString head = cell(QStringLiteral("link"), 24) + rcell(QStringLiteral("n"), 5)
        + rcell(QStringLiteral("median"), 11) + rcell(QStringLiteral("p95"), 11) + rcell(QStringLiteral("min"), 11)
        + rcell(QStringLiteral("max"), 11) + QStringLiteral("   ") + cell(QStringLiteral("target"), 26)
        + cell(QStringLiteral("ratio"), 22) + QStringLiteral("verdict");
    line(head);

    auto row = [&](const QString& name, const Series& s, const QString& target, double reference, bool tcp) {
        if (!s.problem.isEmpty() && s.ms.n == 0) {
            line(cell(name, 24) + QStringLiteral("  ") + s.problem);
            return;
        }
        const double ratio = s.ms.median / reference;
        const bool pass = tcp ? ratio <= 1.0 : (ratio >= 0.9 && ratio <= 1.1);
        const QString ratioText = tcp ? QStringLiteral("%1 of target").arg(num(ratio, 3))
                                      : QStringLiteral("%1 of 37.5 ms").arg(num(ratio, 3));
        line(cell(name, 24) + rcell(QString::number(s.ms.n), 5) + rcell(num(s.ms.median, 3) + QStringLiteral(" ms"), 11)
             + rcell(num(s.ms.p95, 3) + QStringLiteral(" ms"), 11) + rcell(num(s.ms.min, 3) + QStringLiteral(" ms"), 11)
             + rcell(num(s.ms.max, 3) + QStringLiteral(" ms"), 11) + QStringLiteral("   ") + cell(target, 26)
             + cell(ratioText, 22) + (pass && s.failures == 0 ? QStringLiteral("OK") : QStringLiteral("MISSED")));
        if (s.failures > 0)
            line(QStringLiteral("    %1 exchange(s) without a complete reply%2")
                     .arg(s.failures)
                     .arg(s.problem.isEmpty() ? QString() : QStringLiteral("; ") + s.problem));
    };
    row(QStringLiteral("TCP loopback"), tcpSeries(cfg), QStringLiteral("median <= 1 ms"), kTcpTargetMs, true);
    row(QStringLiteral("pty, 19200-baud pacing"), ptySeries(cfg), QStringLiteral("median 37.5 ms +/- 10 %"),
        kLineExchangeMs, false);
    line();
}

// ------------------------------------------------------------ waiting load

struct WaitFigures {
    double wall = 0;
    double cpu = 0;
    double percent() const { return wall > 0 ? 100.0 * cpu / wall : 0; }
};

// Our wait: the exchange's own, event-driven.
WaitFigures eventDrivenWait(Wire& wire)
{
    const double cpu0 = processCpuSeconds();
    const std::int64_t t0 = steadyNs();
    wire.exchange.request(frame::ReadMeasurement);
    WaitFigures f;
    f.wall = static_cast<double>(steadyNs() - t0) * 1e-9;
    f.cpu = processCpuSeconds() - cpu0;
    return f;
}

// The old design: spin on the clock and pump events until the bytes are there.
WaitFigures busyLoopWait(Wire& wire)
{
    const double cpu0 = processCpuSeconds();
    const std::int64_t t0 = steadyNs();
    wire.exchange.post(frame::ReadMeasurement, 0);
    QElapsedTimer clock;
    clock.start();
    double elapsed = 0;
    while (elapsed <= kWaitLimit && wire.link.bytesAvailable() < frame::kBytes) {
        QCoreApplication::processEvents();
        elapsed = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    }
    WaitFigures f;
    f.wall = static_cast<double>(steadyNs() - t0) * 1e-9;
    f.cpu = processCpuSeconds() - cpu0;
    return f;
}

void printWaitLoad(const Config& cfg)
{
    line(QStringLiteral("2. Waiting %1 s for a reply that never comes (process CPU time, %2 run(s) each)")
             .arg(num(kWaitLimit, 1))
             .arg(cfg.waitRuns));
    Simulator sim;
    QString error;
    SimSetup setup;
    setup.dropMeasurements = true;
    if (!sim.start(cfg.simProgram, setup, &error)) {
        line(QStringLiteral("   not measured: simulator: ") + error);
        line();
        return;
    }
    Wire wire;
    if (!wire.connectTcp(sim.tcpPort())) {
        line(QStringLiteral("   not measured: connect: ") + wire.host.lastStatus);
        line();
        return;
    }

    WaitFigures ours, busy;
    int answered = 0;
    for (int i = 0; i < cfg.waitRuns; ++i) {
        const WaitFigures a = eventDrivenWait(wire);
        answered += wire.exchange.bytesToRead() == 0;
        const WaitFigures b = busyLoopWait(wire);
        answered += wire.link.bytesAvailable() >= frame::kBytes;
        ours.wall += a.wall, ours.cpu += a.cpu;
        busy.wall += b.wall, busy.cpu += b.cpu;
    }

    line(cell(QStringLiteral("wait"), 34) + rcell(QStringLiteral("wall"), 10) + rcell(QStringLiteral("CPU"), 12)
         + rcell(QStringLiteral("% of a core"), 13) + QStringLiteral("   ") + cell(QStringLiteral("target"), 12)
         + QStringLiteral("verdict"));
    auto row = [&](const QString& name, const WaitFigures& f, const QString& target, const QString& verdict) {
        line(cell(name, 34) + rcell(num(f.wall, 3) + QStringLiteral(" s"), 10)
             + rcell(num(f.cpu * 1000.0, 2) + QStringLiteral(" ms"), 12)
             + rcell(num(f.percent(), 3) + QStringLiteral(" %"), 13) + QStringLiteral("   ") + cell(target, 12)
             + verdict);
    };
    row(QStringLiteral("event-driven wait (ours)"), ours, QStringLiteral("<= 2 %"),
        ours.percent() <= kCpuTargetPercent ? QStringLiteral("OK") : QStringLiteral("MISSED"));
    row(QStringLiteral("busy loop pumping events (old)"), busy, QString(), QString());
    const QString ratio = ours.cpu > 0 ? num(busy.percent() / ours.percent(), 0) + QStringLiteral("x")
                                       : QStringLiteral("n/a (ours below the CPU clock's resolution)");
    line(QStringLiteral("   ratio busy loop / ours: %1").arg(ratio));
    if (answered > 0)
        line(QStringLiteral("   warning: %1 wait(s) got a reply; the figures are not of a full wait").arg(answered));
    line();
}

// ---------------------------------------------------------------- start-up

bool writeSettings(const QString& dir, quint16 port, QString* error)
{
    ConnectionSettings s;
    s.comprotocol = TCPIP;
    s.comport = 1;
    s.ipBuf = QStringLiteral("127.0.0.1");
    s.portNumStr = QString::number(port);
    return writeConnectionSettings(QDir(dir).filePath(QStringLiteral("ComSettings.cfg")), s, error);
}

// A local port on which nothing listens.
quint16 closedPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 1;
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

void printStartup(const Config& cfg)
{
    line(QStringLiteral("3. Start-up: launch to the first paint of the main panel (child process, %1 run(s), "
                        "medians; panel closed at first paint)")
             .arg(cfg.startupRuns));
    if (cfg.startupRuns <= 0) {
        line(QStringLiteral("   skipped"));
        return;
    }
    Simulator sim;
    QString simError;
    const bool haveSim = sim.start(cfg.simProgram, {}, &simError);

    line(cell(QStringLiteral("sensor"), 24) + rcell(QStringLiteral("main()"), 9) + rcell(QStringLiteral("QApp"), 9)
         + rcell(QStringLiteral("ScopeApp"), 10) + rcell(QStringLiteral("1st paint"), 11)
         + rcell(QStringLiteral("max"), 9) + rcell(QStringLiteral("run() end"), 11) + QStringLiteral("   ")
         + cell(QStringLiteral("target"), 10) + cell(QStringLiteral("ratio"), 8) + cell(QStringLiteral("verdict"), 9)
         + QStringLiteral("status shown"));

    QString platformSeen;
    auto scenario = [&](const QString& name, std::optional<quint16> port) {
        if (!port) {
            line(cell(name, 24) + QStringLiteral("  not measured: simulator: ") + simError);
            return;
        }
        QTemporaryDir dir;
        QString error;
        if (!dir.isValid() || !writeSettings(dir.path(), *port, &error)) {
            line(cell(name, 24) + QStringLiteral("  not measured: settings file: ") + error);
            return;
        }
        std::vector<double> mainAt, appAt, scopeAt, paintAt, endAt;
        QString platform, status, failure, warning;
        for (int i = 0; i < cfg.startupRuns; ++i) {
            const auto r = launchStartupChild(dir.path(), 30.0, &error);
            if (!r) {
                failure = error;
                continue;
            }
            mainAt.push_back(r->mainEntered);
            appAt.push_back(r->appBuilt);
            scopeAt.push_back(r->scopeBuilt);
            paintAt.push_back(r->firstPaint);
            endAt.push_back(r->runReturned);
            platform = r->platform;
            status = r->status;
            if (!r->warning.isEmpty())
                warning = r->warning;
        }
        if (paintAt.empty()) {
            line(cell(name, 24) + QStringLiteral("  failed: ") + failure);
            return;
        }
        const Summary paint = summarize(paintAt);
        const double ratio = paint.median / kStartupTargetS;
        auto s = [](double v) { return num(v, 3) + QStringLiteral(" s"); };
        line(cell(name, 24) + rcell(s(summarize(mainAt).median), 9) + rcell(s(summarize(appAt).median), 9)
             + rcell(s(summarize(scopeAt).median), 10) + rcell(s(paint.median), 11) + rcell(s(paint.max), 9)
             + rcell(s(summarize(endAt).median), 11) + QStringLiteral("   ") + cell(QStringLiteral("< 0.5 s"), 10)
             + cell(num(ratio, 2), 8) + cell(ratio < 1.0 ? QStringLiteral("OK") : QStringLiteral("MISSED"), 9) + u'"'
             + status + u'"');
        if (!failure.isEmpty())
            line(QStringLiteral("    %1 of %2 run(s) failed: %3")
                     .arg(cfg.startupRuns - static_cast<int>(paintAt.size()))
                     .arg(cfg.startupRuns)
                     .arg(failure));
        if (!warning.isEmpty())
            line(QStringLiteral("    warning: %1 after reporting its figures").arg(warning));
        if (!platform.isEmpty())
            platformSeen = platform;
    };
    scenario(QStringLiteral("simulator over TCP"), haveSim ? std::optional<quint16>(sim.tcpPort()) : std::nullopt);
    scenario(QStringLiteral("closed TCP port"), closedPort());
    line(QStringLiteral("   columns are seconds after launch; Qt platform: %1")
             .arg(platformSeen.isEmpty() ? QStringLiteral("?") : platformSeen));
    line();
}

// ---------------------------------------------------------------- live loop

constexpr double kLiveTcpTarget = 38.5;    // value sets per second; the bound is 40 (25 ms pause)
constexpr double kLivePtyTarget = 15.5;    // the bound is 16 (37.5 ms on the line + 25 ms pause)
constexpr double kCycleTargetMs = 2.0;     // display work per live cycle, median
constexpr double kGraphTargetMs = 1.0;     // graph panel CPU per value set
constexpr double kGraphGrowthLimit = 2.0;  // 1 000 000 points against 1 000
constexpr double kRecordRate = 50.0;       // parts per second
constexpr double kRecordCpuTarget = 25.0;  // % of a core

QString verdict(bool ok)
{
    return ok ? QStringLiteral("OK") : QStringLiteral("FAIL");
}

bool writeSerialSettings(const QString& dir, QString* error)
{
    ConnectionSettings s;
    s.comprotocol = RS232;
    s.comport = 1;
    s.ipBuf = QStringLiteral("127.0.0.1");
    s.portNumStr = QStringLiteral("10001");
    return writeConnectionSettings(QDir(dir).filePath(QStringLiteral("ComSettings.cfg")), s, error);
}

void printLive(const Config& cfg)
{
    line(QStringLiteral("4. Live loop (GO) polling the simulator for %1 s, displays and strip chart drawn "
                        "(child process)")
             .arg(num(cfg.liveSeconds, 1)));
    if (cfg.liveSeconds <= 0) {
        line(QStringLiteral("   skipped"));
        line();
        return;
    }
    line(cell(QStringLiteral("line"), 22) + rcell(QStringLiteral("value sets"), 11) + rcell(QStringLiteral("wall"), 9)
         + rcell(QStringLiteral("per s"), 8) + rcell(QStringLiteral("per cycle"), 11) + rcell(QStringLiteral("CPU"), 9)
         + rcell(QStringLiteral("% of a core"), 13) + QStringLiteral("   ") + cell(QStringLiteral("target"), 12)
         + QStringLiteral("verdict"));
    auto scenario = [&](const QString& name, bool pty, double target) {
        Simulator sim;
        QString error;
        SimSetup setup;
        setup.pty = pty;
        if (!sim.start(cfg.simProgram, setup, &error)) {
            line(cell(name, 22) + QStringLiteral("not measured: simulator: ") + error + QStringLiteral("   FAIL"));
            return;
        }
        QTemporaryDir dir;
        const bool written = dir.isValid()
            && (pty ? writeSerialSettings(dir.path(), &error) : writeSettings(dir.path(), sim.tcpPort(), &error));
        if (!written) {
            line(cell(name, 22) + QStringLiteral("not measured: settings file: ") + error + QStringLiteral("   FAIL"));
            return;
        }
        const auto run = launchLiveChild(dir.path(), cfg.liveSeconds, &error, pty ? sim.ptyPath() : QString());
        if (!run) {
            line(cell(name, 22) + QStringLiteral("failed: ") + error + QStringLiteral("   FAIL"));
            return;
        }
        const double rate = run->wall > 0 ? run->cycles / run->wall : 0;
        const double percent = run->wall > 0 ? 100.0 * run->cpu / run->wall : 0;
        line(cell(name, 22) + rcell(QString::number(run->cycles), 11)
             + rcell(num(run->wall, 2) + QStringLiteral(" s"), 9) + rcell(num(rate, 1), 8)
             + rcell(run->cycles > 0 ? num(1000.0 * run->wall / run->cycles, 1) + QStringLiteral(" ms")
                                     : QStringLiteral("-"),
                     11)
             + rcell(num(run->cpu, 2) + QStringLiteral(" s"), 9) + rcell(num(percent, 1) + QStringLiteral(" %"), 13)
             + QStringLiteral("   ") + cell(QStringLiteral(">= ") + num(target, 1) + QStringLiteral("/s"), 12)
             + verdict(rate >= target));
        line(QStringLiteral("   %1: Qt platform %2; status at the end: \"%3\"").arg(name, run->platform, run->status));
        if (run->cycles >= 1000)
            line(QStringLiteral("   note: counted from the 1000-value trend buffer; shorten --live-seconds"));
    };
    scenario(QStringLiteral("TCP loopback"), false, kLiveTcpTarget);
    scenario(QStringLiteral("pty paced 19200 baud"), true, kLivePtyTarget);
    line();
}

// ---------------------------------------------------------------- TRACE window

// The live loop over TCP with the TRACE window open against closed, in
// alternating runs so that a change of the machine's load falls on both alike.
void printLiveWithTrace(const Config& cfg)
{
    line(QStringLiteral("7. Live loop over TCP with the TRACE window open and closed, %1 runs of %2 s, alternating")
             .arg(2 * cfg.traceRounds)
             .arg(num(cfg.liveSeconds, 1)));
    if (cfg.traceRounds <= 0 || cfg.liveSeconds <= 0) {
        line(QStringLiteral("   skipped"));
        line();
        return;
    }
    Simulator sim;
    QString error;
    QTemporaryDir dir;
    if (!sim.start(cfg.simProgram, SimSetup{}, &error) || !dir.isValid()
        || !writeSettings(dir.path(), sim.tcpPort(), &error)) {
        line(QStringLiteral("   not measured: ") + error + QStringLiteral("   FAIL"));
        line();
        return;
    }
    line(cell(QStringLiteral("run"), 6) + cell(QStringLiteral("TRACE"), 8) + rcell(QStringLiteral("value sets"), 12)
         + rcell(QStringLiteral("per s"), 9) + rcell(QStringLiteral("% of a core"), 13));
    double rate[2] = {0, 0};
    int runs[2] = {0, 0};
    for (int i = 0; i < 2 * cfg.traceRounds; ++i) {
        const bool open = i % 2 == 1;
        const auto run = launchLiveChild(dir.path(), cfg.liveSeconds, &error, QString(), open);
        if (!run || run->wall <= 0) {
            line(QStringLiteral("   failed: ") + error);
            continue;
        }
        const double r = run->cycles / run->wall;
        rate[open] += r;
        ++runs[open];
        line(cell(QString::number(i + 1), 6) + cell(open ? QStringLiteral("open") : QStringLiteral("closed"), 8)
             + rcell(QString::number(run->cycles), 12) + rcell(num(r, 1), 9)
             + rcell(num(100.0 * run->cpu / run->wall, 1) + QStringLiteral(" %"), 13));
    }
    if (runs[0] == 0 || runs[1] == 0) {
        line(QStringLiteral("   not compared: a run failed   FAIL"));
        line();
        return;
    }
    const double closed = rate[0] / runs[0], open = rate[1] / runs[1];
    const double loss = 100.0 * (closed - open) / closed;
    line(QStringLiteral("   value sets per s: closed %1, open %2; open is %3 % slower, target <= 5 %   %4")
             .arg(num(closed, 1), num(open, 1), num(loss, 1), verdict(loss <= 5.0)));
    line();
}

// ---------------------------------------------------------------- displays

void printDisplays(const Config& cfg)
{
    line(QStringLiteral("5. Display work (child process, process CPU time)"));
    if (cfg.chartCycles <= 0) {
        line(QStringLiteral("   skipped"));
        line();
        return;
    }
    QString error;
    const auto f = launchChartsChild(cfg.chartCycles, cfg.graphValueSets, &error);
    if (!f) {
        line(QStringLiteral("   failed: ") + error + QStringLiteral("   FAIL"));
        line();
        return;
    }
    const Summary c = summarize(f->cycleMs);
    line(QStringLiteral("   a) per live cycle: SetPanelData, ShowGraph, pending events, and the redraws and painting "
                        "during the 25 ms pause; %1 cycles, main panel shown")
             .arg(c.n));
    line(QStringLiteral("      median %1 ms   p95 %2 ms   max %3 ms      target: median <= %4 ms   %5")
             .arg(num(c.median, 3), num(c.p95, 3), num(c.max, 3), num(kCycleTargetMs, 1),
                  verdict(c.median <= kCycleTargetMs)));
    line(QStringLiteral("   b) graph panel CPU per value set, %1 value sets at 50/s, points already stored in each "
                        "of the seven graphs")
             .arg(cfg.graphValueSets));
    line(QStringLiteral("      ") + rcell(QStringLiteral("points"), 10) + rcell(QStringLiteral("shown"), 11)
         + rcell(QStringLiteral("hidden"), 11) + rcell(QStringLiteral("shown / 1000"), 14) + QStringLiteral("   ")
         + cell(QStringLiteral("target"), 24) + QStringLiteral("verdict"));
    double base = 0;
    bool allOk = !f->loads.empty();
    for (const auto& l : f->loads) {
        if (l.points == 1000)
            base = l.shownMs;
        const double ratio = base > 0 ? l.shownMs / base : 0;
        bool ok = l.shownMs <= kGraphTargetMs && l.hiddenMs <= kGraphTargetMs;
        QString target = QStringLiteral("<= 1 ms");
        if (l.points >= 1000000) {
            ok = ok && base > 0 && ratio <= kGraphGrowthLimit;
            target += QStringLiteral(", <= 2x 1000's");
        }
        allOk = allOk && ok;
        line(QStringLiteral("      ") + rcell(QString::number(l.points), 10)
             + rcell(num(l.shownMs, 3) + QStringLiteral(" ms"), 11)
             + rcell(num(l.hiddenMs, 3) + QStringLiteral(" ms"), 11) + rcell(num(ratio, 2), 14) + QStringLiteral("   ")
             + cell(target, 24) + verdict(ok));
    }
    if (!allOk && f->loads.empty())
        line(QStringLiteral("      no figures   FAIL"));
    line(QStringLiteral("   Qt platform: %1").arg(f->platform));
    line();
}

// ---------------------------------------------------------------- recording

void printRecording(const Config& cfg)
{
    line(QStringLiteral("6. Triggered recording at %1 parts/s for %2 s with the graph panel open (child process; "
                        "the simulator in this process counts the frames it sends)")
             .arg(num(kRecordRate, 0), num(cfg.recordSeconds, 0)));
    if (cfg.recordSeconds <= 0) {
        line(QStringLiteral("   skipped"));
        line();
        return;
    }
    sim::SimOptions o;
    o.tcpPort = 0;
    o.noise = 0;
    o.partRateHz = kRecordRate;
    sim::SensorSim sensor(o);
    QString error;
    if (!sensor.start(&error)) {
        line(QStringLiteral("   not measured: simulator: ") + error + QStringLiteral("   FAIL"));
        line();
        return;
    }
    std::vector<std::int64_t> sentAt;
    sentAt.reserve(static_cast<size_t>(cfg.recordSeconds * kRecordRate * 2 + 100));
    QObject::connect(&sensor, &sim::SensorSim::bytesSent, &sensor, [&](const QByteArray& bytes) {
        if (sensor.autoSending() && bytes.size() == 36)
            sentAt.push_back(steadyNs());
    });
    QTemporaryDir dir;
    if (!dir.isValid() || !writeSettings(dir.path(), sensor.tcpPort(), &error)) {
        line(QStringLiteral("   not measured: settings file: ") + error + QStringLiteral("   FAIL"));
        line();
        return;
    }
    const QString file = dir.filePath(QStringLiteral("record.dat"));
    const auto run = launchRecordChild(dir.path(), file, cfg.recordSeconds, &error);
    if (!run) {
        line(QStringLiteral("   failed: ") + error + QStringLiteral("   FAIL"));
        line();
        return;
    }
    const auto beforeStop = std::count_if(sentAt.begin(), sentAt.end(),
                                          [&](std::int64_t t) { return t < run->stopNs; });
    const long long sent = static_cast<long long>(beforeStop);
    const double share = sent > 0 ? 100.0 * double(run->written) / double(sent) : 0;
    const long long backlog = std::max(0LL, sent - run->written);
    const double cpu = run->wall > 0 ? 100.0 * run->cpu / run->wall : 0;
    line(QStringLiteral("   frames sent before STOP %1 (%2 in all), lines written %3, value lines in the file %4, "
                        "graph panel points %5")
             .arg(sent)
             .arg(sentAt.size())
             .arg(run->written)
             .arg(run->fileLines)
             .arg(run->graphPoints));
    line(QStringLiteral("   written / sent  %1 %   target 100 %   %2")
             .arg(num(share, 2), verdict(sent > 0 && run->written >= sent)));
    line(QStringLiteral("   backlog at end  %1 frames   target 0   %2")
             .arg(backlog)
             .arg(verdict(sent > 0 && backlog == 0)));
    line(QStringLiteral("   CPU             %1 % of a core (%2 s in %3 s)   target <= 25 %   %4")
             .arg(num(cpu, 1), num(run->cpu, 2), num(run->wall, 1), verdict(run->wall > 0 && cpu <= kRecordCpuTarget)));
    line();
}

// ---------------------------------------------------------------- MQTT

constexpr int kPublishSensors = 16;
constexpr int kPublishSensorsMany = 32;
constexpr double kPublishRate = 50.0;  // frames per second and sensor
constexpr double kOutageSeconds = 10.0;
constexpr double kLatencyTargetMs = 50.0;  // p99, loopback
constexpr double kPublishCpuTarget = 0.5;  // CPU seconds per 1000 frames, the publishers together

void printPublishing(const Config& cfg)
{
    line(QStringLiteral("8. Plant data over MQTT: %1 (and %2) simulated sensors at %3 frames/s over TCP, one tarvoctl "
                        "publish each, one local mosquitto, a QoS 1 subscriber counting")
             .arg(kPublishSensors)
             .arg(kPublishSensorsMany)
             .arg(num(kPublishRate, 0)));
    if (cfg.publishSeconds <= 0) {
        line(QStringLiteral("   skipped"));
        line();
        return;
    }
    const QString tarvoctl = findTarvoctl();
    if (tarvoctl.isEmpty()) {
        line(QStringLiteral("   not measured: no tarvoctl beside tarvo_bench   FAIL"));
        line();
        return;
    }
    auto share = [](const PublishRun& r) { return r.sent > 0 ? 100.0 * double(r.delivered) / double(r.sent) : 0.0; };
    auto complete = [](const PublishRun& r) { return r.sent > 0 && r.delivered == r.sent && r.failedPublishers == 0; };
    auto problems = [](const PublishRun& r) {
        if (r.failedPublishers > 0)
            line(QStringLiteral("   %1 publisher(s) ended with an error: %2").arg(r.failedPublishers).arg(r.note));
    };

    // The broker up: 16 publishers, then twice as many; CPU per 1000 frames side by side.
    PublishSetup up;
    up.sensors = kPublishSensors;
    up.rateHz = kPublishRate;
    up.seconds = cfg.publishSeconds;
    QString error;
    for (const int sensors : {kPublishSensors, kPublishSensorsMany}) {
        PublishSetup many = up;
        many.sensors = sensors;
        const auto a = runPublishing(tarvoctl, many, &error);
        line(QStringLiteral("   %1) broker up, %2 s, %3 publishers")
                 .arg(sensors == kPublishSensors ? QStringLiteral("a") : QStringLiteral("b"), num(up.seconds, 0))
                 .arg(sensors));
        if (!a) {
            line(QStringLiteral("      not measured: %1   FAIL").arg(error));
            continue;
        }
        const double cpuPer1000 = a->sent > 0 ? 1000.0 * a->cpu / double(a->sent) : 0.0;
        line(QStringLiteral("      frames sent %1, received %2, duplicates %3")
                 .arg(a->sent)
                 .arg(a->delivered)
                 .arg(a->duplicates));
        line(QStringLiteral("      received / sent       %1 %     target 100 %            %2")
                 .arg(num(share(*a), 2), verdict(complete(*a))));
        line(QStringLiteral(
                 "      CPU per 1000 frames   %1 s      target <= %2 s          %3   (%4 s in all publishers)")
                 .arg(num(cpuPer1000, 3), num(kPublishCpuTarget, 1),
                      verdict(a->sent > 0 && cpuPer1000 <= kPublishCpuTarget), num(a->cpu, 2)));
        line(QStringLiteral("      latency p50 %1 ms, p99 %2 ms   target p99 <= %3 ms    %4")
                 .arg(num(a->p50Ms, 2), num(a->p99Ms, 2), num(kLatencyTargetMs, 0),
                      verdict(complete(*a) && a->p99Ms <= kLatencyTargetMs)));
        problems(*a);
    }

    PublishSetup away = up;
    away.seconds = cfg.publishSeconds + kOutageSeconds;
    away.outageAt = cfg.publishSeconds / 2;
    away.outageSeconds = kOutageSeconds;
    const auto b = runPublishing(tarvoctl, away, &error);
    line(QStringLiteral("   c) broker stopped for %1 s after %2 s, %3 s in all")
             .arg(num(kOutageSeconds, 0), num(away.outageAt, 0), num(away.seconds, 0)));
    if (!b) {
        line(QStringLiteral("      not measured: %1   FAIL").arg(error));
    } else {
        line(QStringLiteral("      frames sent %1, received %2, duplicates %3")
                 .arg(b->sent)
                 .arg(b->delivered)
                 .arg(b->duplicates));
        line(QStringLiteral("      received / sent       %1 %     target 100 %            %2")
                 .arg(num(share(*b), 2), verdict(complete(*b))));
        line(QStringLiteral("      seq in order          %1          target yes              %2")
                 .arg(b->inOrder ? QStringLiteral("yes") : QStringLiteral("no "), verdict(complete(*b) && b->inOrder)));
        problems(*b);
    }
    line();
}

}  // namespace

// ---------------------------------------------------------------- outage

constexpr double kOutageRate = 20.0;  // parts per second
constexpr int kSensorAwayMs = 5000;
constexpr double kReturnTargetS = 2.5;  // return to the first frame recorded, at the 2 s interval

// The machine's load over the last minute, for reading the figures (Linux).
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readLine()).section(u' ', 0, 0);
}

void printOutage(const Config& cfg)
{
    line(QStringLiteral("9. Triggered recording over TCP at %1 parts/s with reconnect and resume on, the sensor "
                        "switched off for %2 s (simulator in this process)")
             .arg(num(kOutageRate, 0), num(kSensorAwayMs / 1000.0, 0)));
    for (int run = 0; run < cfg.outageRuns; ++run) {
        sim::SimOptions o;
        o.tcpPort = 0;
        o.noise = 0;
        o.partRateHz = kOutageRate;
        sim::SensorSim sensor(o);
        QString error;
        Wire w;
        if (!sensor.start(&error) || !w.connectTcp(sensor.tcpPort()) || !w.exchange.QueryIdentification()) {
            line(QStringLiteral("   not measured: ") + (error.isEmpty() ? w.host.lastStatus : error)
                 + QStringLiteral("   FAIL"));
            break;
        }
        std::vector<std::int64_t> sentAt;
        std::int64_t returnNs = 0, firstAfterNs = 0;
        QObject::connect(&sensor, &sim::SensorSim::bytesSent, &sensor, [&](const QByteArray& bytes) {
            if (sensor.autoSending() && bytes.size() == frame::kBytes)
                sentAt.push_back(steadyNs());
        });
        QObject::connect(&sensor, &sim::SensorSim::logLine, &sensor, [&](const QString& text) {
            if (text.startsWith(QStringLiteral("switched on again")))
                returnNs = steadyNs();
        });
        Reconnector reconnect(w.link, w.exchange, w.pump);
        reconnect.setEnabled(true);
        QStringList events;
        reconnect.eventLog = [&](LinkEvent e, const QString&) { events << linkEventWord(e); };

        long long recorded = 0;
        const auto take = [&](const FrameWords&) {
            ++recorded;
            if (returnNs > 0 && firstAfterNs == 0)
                firstAfterNs = steadyNs();
        };
        std::uint16_t& flag = w.flags.pollrecord;
        flag = 1;
        QTimer::singleShot(2000, &sensor, [&] { sensor.goAway(kSensorAwayMs); });
        QTimer::singleShot(2000 + kSensorAwayMs + 6000, &sensor, [&] {
            flag = 0;
            w.pump.poke();
        });
        AutoFrameReader& reader = w.exchange.autoFrames();
        w.exchange.StartAutoSend();
        reconnect.begin();
        while (flag == 1) {
            if (reconnect.awaitFrames(flag))
                reader.takeAll(take);
            if (firstAfterNs > 0 && steadyNs() - firstAfterNs > 2'000'000'000LL)
                flag = 0;  // enough after the return
        }
        // Automatic sending off, and the frames still on their way taken in:
        // every frame sent is then either recorded or lost.
        w.exchange.post(frame::AutoSend, 0);
        std::uint16_t drain = 1;
        const double drainUntil = w.pump.now() + 0.5;
        while (reader.waitUntil(drain, drainUntil) == AutoFrameReader::WaitEnd::Frames)
            reader.takeAll(take);
        reader.takeAll(take);
        w.exchange.StopAutoSend();
        const long long sent = static_cast<long long>(sentAt.size());
        const long long lost = std::max(0LL, sent - recorded);
        const double back = firstAfterNs > 0 && returnNs > 0 ? double(firstAfterNs - returnNs) / 1e9 : -1.0;
        line(QStringLiteral("   events %1; frames sent %2 (none while away), recorded %3")
                 .arg(events.join(u' '))
                 .arg(sent)
                 .arg(recorded));
        line(QStringLiteral("   return to first frame recorded  %1 s   target <= %2 s   %3")
                 .arg(back < 0 ? QStringLiteral("none") : num(back, 2), num(kReturnTargetS, 1),
                      verdict(back >= 0 && back <= kReturnTargetS)));
        line(QStringLiteral("   frames lost besides those sent while away  %1   target 0   %2")
                 .arg(lost)
                 .arg(verdict(back >= 0 && lost == 0)));
    }
    if (cfg.outageRuns == 0)
        line(QStringLiteral("   skipped"));
    line(QStringLiteral("   load average: %1").arg(loadAverage()));
    line();
}

int main(int argc, char* argv[])
{
    // Hidden: the start-up child, a GUI process of its own.
    if (argc > 1 && std::strcmp(argv[1], kStartupChildFlag) == 0)
        return runStartupChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kLiveChildFlag) == 0)
        return runLiveChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kChartsChildFlag) == 0)
        return runChartsChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kRecordChildFlag) == 0)
        return runRecordChild(argc, argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo_bench"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Speed and load figures of the sensor link and of the scope's start-up, next to their targets."));
    p.addHelpOption();
    const QCommandLineOption tcpOpt(QStringLiteral("tcp"), QStringLiteral("TCP exchanges to time (default 200)."),
                                    QStringLiteral("n"), QStringLiteral("200"));
    const QCommandLineOption ptyOpt(QStringLiteral("pty"),
                                    QStringLiteral("Pseudo-terminal exchanges to time (default 100)."),
                                    QStringLiteral("n"), QStringLiteral("100"));
    const QCommandLineOption waitOpt(QStringLiteral("waits"),
                                     QStringLiteral("3-second waits of each kind (default 1)."), QStringLiteral("n"),
                                     QStringLiteral("1"));
    const QCommandLineOption startupOpt(QStringLiteral("startup-runs"),
                                        QStringLiteral("Start-ups per case (default 5, 0 = skip)."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption simOpt(QStringLiteral("sim"),
                                    QStringLiteral("The simulator program (default: sensorsim beside this one)."),
                                    QStringLiteral("path"));
    const QCommandLineOption inProcessOpt(QStringLiteral("in-process"),
                                          QStringLiteral("Run the simulator inside this process."));
    const QCommandLineOption liveOpt(QStringLiteral("live-seconds"),
                                     QStringLiteral("Seconds of live loop (default 5, 0 = skip, at most 20)."),
                                     QStringLiteral("s"), QStringLiteral("5"));
    const QCommandLineOption cyclesOpt(
        QStringLiteral("display-cycles"),
        QStringLiteral("Live cycles timed for the display work (default 300, 0 = skip)."), QStringLiteral("n"),
        QStringLiteral("300"));
    const QCommandLineOption graphOpt(QStringLiteral("graph-sets"),
                                      QStringLiteral("Value sets per graph panel figure (default 150)."),
                                      QStringLiteral("n"), QStringLiteral("150"));
    const QCommandLineOption recordOpt(QStringLiteral("record-seconds"),
                                       QStringLiteral("Seconds of triggered recording (default 60, 0 = skip)."),
                                       QStringLiteral("s"), QStringLiteral("60"));
    const QCommandLineOption traceOpt(QStringLiteral("trace-rounds"),
                                      QStringLiteral("Pairs of live runs with the TRACE window closed and open "
                                                     "(default 2, 0 = skip)."),
                                      QStringLiteral("n"), QStringLiteral("2"));
    const QCommandLineOption publishOpt(QStringLiteral("publish-seconds"),
                                        QStringLiteral("Seconds of each MQTT publishing case (default 20, 0 = skip)."),
                                        QStringLiteral("s"), QStringLiteral("20"));
    const QCommandLineOption outageOpt(QStringLiteral("outage-runs"),
                                       QStringLiteral("Recordings across a 5 s outage (default 1, 0 = skip)."),
                                       QStringLiteral("n"), QStringLiteral("1"));
    p.addOptions({tcpOpt, ptyOpt, waitOpt, startupOpt, liveOpt, cyclesOpt, graphOpt, recordOpt, traceOpt, publishOpt,
                  outageOpt, simOpt, inProcessOpt});
    p.process(app);

    auto count = [&](const QCommandLineOption& o, int min, int max) {
        bool ok = false;
        const int v = p.value(o).toInt(&ok);
        if (!ok || v < min || v > max) {
            QTextStream(stderr) << "tarvo_bench: --" << o.names().first() << " wants a whole number from " << min
                                << " to " << max << "\n";
            std::exit(2);
        }
        return v;
    };
    Config cfg;
    cfg.tcpCount = count(tcpOpt, 1, 1000000);
    cfg.ptyCount = count(ptyOpt, 1, 100000);
    cfg.waitRuns = count(waitOpt, 1, 100);
    cfg.startupRuns = count(startupOpt, 0, 1000);
    cfg.liveSeconds = count(liveOpt, 0, 20);
    cfg.chartCycles = count(cyclesOpt, 0, 100000);
    cfg.graphValueSets = count(graphOpt, 1, 100000);
    cfg.recordSeconds = count(recordOpt, 0, 3600);
    cfg.traceRounds = count(traceOpt, 0, 20);
    cfg.publishSeconds = count(publishOpt, 0, 3600);
    cfg.outageRuns = count(outageOpt, 0, 100);
    if (!p.isSet(inProcessOpt)) {
        cfg.simProgram = p.isSet(simOpt) ? p.value(simOpt) : findSimulatorProgram();
        if (cfg.simProgram.isEmpty())
            cfg.simNote = QStringLiteral("in-process (no sensorsim beside tarvo_bench): it shares our thread, "
                                         "so exchange times include its work");
    } else {
        cfg.simNote = QStringLiteral("in-process (--in-process): it shares our thread, so exchange times "
                                     "include its work");
    }

    line(QStringLiteral("tarvo_bench"));
    line(QStringLiteral("simulator: ")
         + (cfg.simProgram.isEmpty()
                ? cfg.simNote
                : QStringLiteral("separate process, ") + QDir::toNativeSeparators(cfg.simProgram)));
    line();
    printExchanges(cfg);
    printWaitLoad(cfg);
    printStartup(cfg);
    printLive(cfg);
    printDisplays(cfg);
    printRecording(cfg);
    printLiveWithTrace(cfg);
    printPublishing(cfg);
    printOutage(cfg);
    return 0;
}
