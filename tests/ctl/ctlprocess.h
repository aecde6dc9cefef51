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

// Runs tarvoctl and keeps this process's events (the simulated sensor)
// going until it ends. `started` may act on the running program.
inline Result runCtl(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
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

inline tarvo::sim::SimOptions simOptions(const QTemporaryDir& dir, const QString& name, bool colour = false)
{
    tarvo::sim::SimOptions o;
    o.noise = 0;
    o.pty = true;
    o.colour = colour;
    o.eepromPath = dir.filePath(name + QStringLiteral(".eeprom"));
    return o;
}

// The link options that reach `sensor`; over the pseudo-terminal through
// serial port 7, which the environment points at it.
inline QStringList linkTo(const tarvo::sim::SensorSim& sensor, bool serial, QProcessEnvironment& env)
{
    if (!serial)
        return {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sensor.tcpPort())};
    env.insert(QStringLiteral("TARVO_SERIAL_PORT_7"), sensor.ptyPath());
    return {QStringLiteral("--serial"), QStringLiteral("7")};
}

} // namespace tarvo::test
