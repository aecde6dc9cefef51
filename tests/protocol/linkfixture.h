// A link and an exchange wired to a recording host, with an in-process
// simulated sensor to talk to.
#pragma once

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "parameterset.h"
#include "sensorsim.h"
#include "serialports.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace tarvo::test {

struct RecordingHost : LinkHost, ExchangeHost {
    QStringList statuses;
    QStringList messages;  // "title|text"
    int timeouts = 0;
    int lineChecks = 0;

    void showLinkStatus(const QString& text) override { statuses << text; }
    void message(const QString& title, const QString& text) override { messages << title + u'|' + text; }
    void showStatus(const QString& text) override { statuses << text; }
    void timeoutReaction() override { ++timeouts; }
    void lineCheckPassed() override { ++lineChecks; }
};

// For rows about what a lost or unusable reply does, not about the limit:
// replies are given up after 0.5 s (the 3.0 s limit keeps its own rows).
inline ExchangeOptions shortReplyLimit()
{
    ExchangeOptions o;
    o.replyLimit = 0.5;
    return o;
}

struct LinkFixture {
    EventPump pump;
    LoopFlags flags;
    ParameterSet params;
    RecordingHost host;
    Link link{pump, flags, host};
    Exchange exchange{link, pump, flags, params, host};
    QTemporaryDir dir;
    std::unique_ptr<sim::SensorSim> sensor;

    explicit LinkFixture(sim::SimOptions options = {}, ExchangeOptions exchangeOptions = {})
        : exchange(link, pump, flags, params, host, exchangeOptions)
    {
        options.eepromPath = dir.filePath(QStringLiteral("eeprom.bin"));
        options.noise = 0;
        // The line keeps one path when the simulator opens it anew.
        if (options.pty)
            options.ptyLink = dir.filePath(QStringLiteral("line"));
        sensor = std::make_unique<sim::SensorSim>(options);
        sensor->start();
        // No test opens a serial port of the machine it runs on.
        setSerialPortResolver([](int) { return SerialDevice{}; });
    }
    ~LinkFixture() { setSerialPortResolver(nullptr); }

    bool connectTcp()
    {
        ConnectionSettings where;
        where.comprotocol = TCPIP;
        where.ipBuf = QStringLiteral("127.0.0.1");
        where.portNumStr = QString::number(sensor->tcpPort());
        link.Connect(where);
        return link.openResult() == 0 && link.tcpConnected();
    }

    // byLink: by the path that stays when the simulator opens the line anew.
    bool connectSerial(bool byLink = false)
    {
        const QString path = byLink ? dir.filePath(QStringLiteral("line")) : sensor->ptyPath();
        setSerialPortResolver([path](int n) { return SerialDevice{n == 3 ? path : QString(), QString()}; });
        ConnectionSettings where;
        where.comprotocol = RS232;
        where.comport = 3;
        link.Connect(where);
        return link.openResult() == 0;
    }

    // One command-5 exchange; true when the reply came complete.
    bool measurement() { return bool(exchange.request(frame::ReadMeasurement)); }

    void settle(int ms = 50) { pump.sleep(ms / 1000.0); }

    // Ends the wait for the reply to the sensor's n-th received frame as its
    // time limit would, at once: a row about a reply that never comes right
    // need not sit out the real limit.
    void expireAtFrame(qsizetype n)
    {
        QObject::connect(sensor.get(), &sim::SensorSim::frameReceived, sensor.get(), [this, n] {
            if (sensor->receivedFrames().size() == n)
                pump.expireInnermostWait();
        });
    }
};

}  // namespace tarvo::test
