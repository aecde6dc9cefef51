// tarvoctl as a child process against a simulated sensor in the test's own
// process: running it, and the link options that reach the sensor.
#pragma once

#include "sensorsim.h"

#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace tarvo::test {

struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// How tarvoctl is run: its arguments and environment, what it reads on
// standard input, and hooks before and after it starts.
struct Run {
    QStringList args;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString program = QStringLiteral(TARVOCTL_EXE);
    QByteArray input;
    std::function<void(QProcess&)> prepare;  // before it starts
    std::function<void(QProcess&)> started;  // may act on the running program
};

// Runs tarvoctl and keeps this process's events (the simulated sensor)
// going until it ends.
inline Result runCtl(const Run& run)
{
    QProcess p;
    p.setProcessEnvironment(run.env);
    if (run.prepare)
        run.prepare(p);
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    // Only a guard against a hanging program, far above any run's length.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(90000);
    p.start(run.program, run.args);
    if (!run.input.isNull()) {
        p.write(run.input);
        p.closeWriteChannel();
    }
    if (run.started)
        run.started(p);
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

// Keeps this process's events (the simulated sensor) going until ready()
// holds, looking every few milliseconds; false when it did not within ms.
// The sensor answers at once all the while, unlike under QTest::qWaitFor,
// which sleeps between its looks and so makes every reply wait up to 10 ms.
inline bool runUntil(const std::function<bool()>& ready, int ms)
{
    if (ready())
        return true;
    QEventLoop loop;
    QTimer look, guard;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (ready())
            loop.quit();
    });
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    look.start(5);
    guard.start(ms);
    loop.exec();
    return ready();
}

inline Result runCtl(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                     const std::function<void(QProcess&)>& started = {},
                     const QString& program = QStringLiteral(TARVOCTL_EXE))
{
    Run run;
    run.args = args;
    run.env = env;
    run.started = started;
    run.program = program;
    return runCtl(run);
}

inline tarvo::sim::SimOptions simOptions(const QTemporaryDir& dir, const QString& name, bool colour = false)
{
    tarvo::sim::SimOptions o;
    o.noise = 0;
    o.pty = true;
    o.colour = colour;
    o.eepromPath = dir.filePath(name + QStringLiteral(".eeprom"));
    return o;
}

// The link options that reach `sensor`: over TCP (0), or over the
// pseudo-terminal as serial port 7, which the environment points at it (1),
// or by its device path (2).
inline QStringList linkTo(const tarvo::sim::SensorSim& sensor, int via, QProcessEnvironment& env)
{
    if (via == 0)
        return {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sensor.tcpPort())};
    if (via == 2)
        return {QStringLiteral("--device"), sensor.ptyPath()};
    env.insert(QStringLiteral("TARVO_SERIAL_PORT_7"), sensor.ptyPath());
    return {QStringLiteral("--serial"), QStringLiteral("7")};
}

}  // namespace tarvo::test
