// The real scope program on its real panels, in a temporary program
// directory, with a simulated sensor and scripted dialogs.
#pragma once

#include "parameterpanel.h"
#include "scopeapp.h"
#include "scripteddialogs.h"
#include "sensorsim.h"
#include "serialports.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace tarvo::test {

inline QByteArray settingsFor(int protocol, int comport, const QString& server, const QString& port)
{
    return QStringLiteral("%1\n%2\n%3\n%4\n").arg(protocol).arg(comport).arg(server, port).toUtf8();
}

inline quint16 closedTcpPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// Data rows for a test that runs over TCP and, where there are
// pseudo-terminals, over the serial line: one bool column "serial".
inline void addLinkRows(const char* serialRow = "line")
{
    QTest::addColumn<bool>("serial");
    QTest::newRow("TCP") << false;
#ifdef Q_OS_UNIX
    QTest::newRow(serialRow) << true;
#else
    (void)serialRow;
#endif
}

struct ScopeFixture {
    QTemporaryDir dir;
    std::unique_ptr<sim::SensorSim> sensor;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<ScopeApp> app;
    double lineCheckStopPause = 0.005;  // seconds; start() sets it

    explicit ScopeFixture(sim::SimOptions options = {})
    {
        dialogs = &installScriptedDialogs();
        options.eepromPath = dir.filePath(QStringLiteral("sensor-eeprom.bin"));
        options.noise = 0;
        // The line keeps one path when the simulator opens it anew.
        if (options.pty)
            options.ptyLink = dir.filePath(QStringLiteral("line"));
        sensor = std::make_unique<sim::SensorSim>(options);
        sensor->start();
        // No test opens a serial port of the machine it runs on: the
        // first-start default, port 1, is no device unless a test makes it one.
        setSerialPortResolver([](int) { return SerialDevice{}; });
        // The user's data (the calibration log) goes to the test's folder, not the home folder's.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    ~ScopeFixture()
    {
        app.reset();
        setSerialPortResolver(nullptr);
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& content) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }
    QByteArray readFile(const QString& name) const
    {
        QFile f(path(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    void settingsToSensor()
    {
        writeFile(QStringLiteral("ComSettings.cfg"),
                  settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(sensor->tcpPort())));
    }
    void settingsToNowhere()
    {
        writeFile(QStringLiteral("ComSettings.cfg"),
                  settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(closedTcpPort())));
    }

    // Builds the program and runs its start-up, as the program entry does,
    // without entering the event loop. The program's folder is the fixture's
    // unless given. SEND's pause after the transfer and the line check's
    // pause after command 50 are shortened.
    ScopeApp& start(const QString& programDir = QString())
    {
        app = std::make_unique<ScopeApp>(programDir.isEmpty() ? dir.path() : programDir);
        shortenPauses(*app);
        app->panel().widget->show();
        app->InitAll();
        return *app;
    }

    // SEND's pause after the transfer, and the line check's pause after
    // command 50, which only lets frames on their way arrive (a row about
    // frames during the check sets lineCheckStopPause back to 0.1 s).
    void shortenPauses(ScopeApp& program) const
    {
        program.parapanel().setAfterSendPause(0.01);
        ExchangeOptions options = program.exchange().options();
        options.lineCheckStopPause = lineCheckStopPause;
        program.exchange().setOptions(options);
    }

    QWidget* interfaceWidget() const { return app->interfacepanel().widget(); }

    // Makes serial port 1 the simulator's pseudo-terminal and the settings point at it.
    // byLink: by the path that stays when the simulator opens the line anew.
    void settingsToSensorLine(bool byLink = false)
    {
        const QString pty = byLink ? path(QStringLiteral("line")) : sensor->ptyPath();
        setSerialPortResolver([pty](int n) {
            return SerialDevice{n == 1 ? pty : QString(), QStringLiteral("simulated")};
        });
        writeFile(QStringLiteral("ComSettings.cfg"), settingsFor(0, 1, QString(), QString()));
    }
    // The settings point at the simulator over the paced line or over TCP.
    void settingsToSensorOn(bool serial) { serial ? settingsToSensorLine() : settingsToSensor(); }
    // A simulator on the pseudo-terminal (serial), paced like the 19200-baud
    // line unless the row is not about its speed, or on TCP only.
    static sim::SimOptions linkOptions(bool serial, bool paced = true)
    {
        sim::SimOptions o;
        o.pty = serial;
        o.baudPacing = serial && paced;
        return o;
    }

    // Runs `action` once, from the event loop, as soon as `ready` holds:
    // tests wait for the state they need, never for a time.
    static void when(QObject* context, std::function<bool()> ready, std::function<void()> action)
    {
        auto* probe = new QTimer(context);
        probe->setInterval(5);
        QObject::connect(probe, &QTimer::timeout, context,
                         [probe, ready = std::move(ready), action = std::move(action)] {
                             if (!ready())
                                 return;
                             probe->stop();
                             probe->deleteLater();
                             action();
                         });
        probe->start();
    }

    // Calls `action` when the sensor receives command `code` (and, if given,
    // argument `arg`) for the nth time from now, once.
    void onCommand(QObject* context, int code, std::function<void()> action, int arg = -1, int nth = 1)
    {
        auto seen = std::make_shared<int>(0);
        QObject::connect(sensor.get(), &sim::SensorSim::frameReceived, context,
                         [seen, code, arg, nth, action = std::move(action)](const QByteArray& fr) {
                             const auto* b = reinterpret_cast<const std::uint8_t*>(fr.constData());
                             if (*seen >= nth || frame::getWord(b, 1) != code
                                 || (arg >= 0 && frame::getWord(b, 2) != arg))
                                 return;
                             if (++*seen == nth)
                                 action();
                         });
    }
    // The command codes the sensor received, in order.
    QList<int> commands() const
    {
        QList<int> codes;
        for (const QByteArray& fr : sensor->receivedFrames())
            codes << frame::getWord(reinterpret_cast<const std::uint8_t*>(fr.constData()), 1);
        return codes;
    }
    template <typename T = QWidget>
    T* control(QWidget* panel, const char* name) const
    {
        return panel->findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace tarvo::test
