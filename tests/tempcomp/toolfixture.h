// The real tool on its real panel, in a temporary program directory, with a
// simulated colour sensor and scripted dialogs.
#pragma once

#include "compcurves.h"
#include "scripteddialogs.h"
#include "sensorsim.h"
#include "serialports.h"
#include "tempcompapp.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <functional>
#include <memory>

namespace tarvo::test {

using tempcomp::TempCompApp;

// A sensor that answers each 36-byte frame with whatever the test says
// (an empty answer: no reply). For replies the simulator cannot give.
class ScriptedSensor : public QObject {
public:
    std::function<QByteArray(const QByteArray& frame)> answer;
    QList<QByteArray> frames;

    ScriptedSensor()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { onBytes(s); });
        });
    }
    quint16 port() const { return m_server.serverPort(); }

    // The identification, padded with zeros to 36 bytes.
    static QByteArray frame36(QByteArray bytes)
    {
        bytes.resize(36, '\0');
        return bytes;
    }
    static QByteArray echo(QByteArray frame)
    {
        frame[1] = char(0xAA);
        return frame;
    }

private:
    void onBytes(QTcpSocket* s)
    {
        QByteArray& buf = m_pending[s];
        buf += s->readAll();
        while (buf.size() >= 36) {
            const QByteArray frame = buf.left(36);
            buf.remove(0, 36);
            frames << frame;
            const QByteArray reply = answer ? answer(frame) : QByteArray();
            if (!reply.isEmpty())
                s->write(reply);
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

// The simulated sensor on a thread of its own. The tool's RS-232 version
// query blocks the tool's thread on purpose; a sensor sharing that thread
// could not answer it. Every access goes through on(), which runs on the
// sensor's thread and returns when done.
class SensorThread {
public:
    explicit SensorThread(const sim::SimOptions& options)
    {
        m_thread.start();
        m_context.moveToThread(&m_thread);
        exec([&] {
            m_sensor = new sim::SensorSim(options);
            m_sensor->start();
            QObject::connect(
                m_sensor, &sim::SensorSim::clientConnected, m_sensor, [this] { ++m_connects; }, Qt::DirectConnection);
        });
    }
    ~SensorThread()
    {
        exec([&] {
            delete m_sensor;
            m_context.moveToThread(QCoreApplication::instance()->thread());
        });
        m_thread.quit();
        m_thread.wait();
    }

    template <typename F>
    void on(F&& f)
    {
        exec([&] { f(*m_sensor); });
    }

    quint16 tcpPort()
    {
        quint16 p = 0;
        on([&](sim::SensorSim& s) { p = s.tcpPort(); });
        return p;
    }
    QString ptyPath()
    {
        QString p;
        on([&](sim::SensorSim& s) { p = s.ptyPath(); });
        return p;
    }
    QList<QByteArray> frames()
    {
        QList<QByteArray> f;
        on([&](sim::SensorSim& s) { f = s.receivedFrames(); });
        return f;
    }
    void clearFrames()
    {
        on([](sim::SensorSim& s) { s.clearReceived(); });
    }
    void setFaults(const sim::Faults& faults)
    {
        on([&](sim::SensorSim& s) { s.setFaults(faults); });
    }
    sim::FactorTable factors(int colour)
    {
        sim::FactorTable t{};
        on([&](sim::SensorSim& s) { t = s.colourFactors(colour); });
        return t;
    }
    // New connections on the TCP server so far.
    int connects() const { return m_connects; }
    // Calls `action` in `context`'s thread when the sensor first receives command `code`.
    void onCommand(int code, QObject* context, std::function<void()> action)
    {
        on([&](sim::SensorSim& s) {
            auto fired = std::make_shared<bool>(false);
            QObject::connect(&s, &sim::SensorSim::frameReceived, context,
                             [fired, code, action = std::move(action)](const QByteArray& fr) {
                                 if (*fired || (quint8(fr[2]) << 8 | quint8(fr[3])) != code)
                                     return;
                                 *fired = true;
                                 action();
                             });
        });
    }

private:
    void exec(const std::function<void()>& fn)
    {
        QMetaObject::invokeMethod(&m_context, fn, Qt::BlockingQueuedConnection);
    }

    QThread m_thread;
    QObject m_context;
    sim::SensorSim* m_sensor = nullptr;
    std::atomic<int> m_connects{0};
};

struct ToolFixture {
    QTemporaryDir dir;
    std::unique_ptr<SensorThread> sensor;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TempCompApp> app;

    explicit ToolFixture(sim::SimOptions options = {})
    {
        dialogs = &installScriptedDialogs();
        options.colour = true;
        options.eepromPath = dir.filePath(QStringLiteral("sensor-eeprom.txt"));
        options.noise = 0;
        sensor = std::make_unique<SensorThread>(options);
        // No test opens a serial port of the machine it runs on.
        setSerialPortResolver([](int) { return SerialDevice{}; });
    }
    ~ToolFixture()
    {
        app.reset();
        setSerialPortResolver(nullptr);
    }

    // Serial port 1, the one the tool tries at start, is the sensor's line.
    void serialPortOneIsTheSensor()
    {
        const QString pty = sensor->ptyPath();
        setSerialPortResolver([pty](int n) {
            return SerialDevice{n == 1 ? pty : QString(), QStringLiteral("simulated")};
        });
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& content) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readFile(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Builds the program and runs its start-up, as the program entry does,
    // without entering the event loop.
    TempCompApp& start()
    {
        app = std::make_unique<TempCompApp>(dir.path());
        app->setFactorPause(5);  // the sensor's 200 ms before the tables; tarvoctl keeps it
        app->panel()->show();
        app->InitVars();
        return *app;
    }

    Ui::P& ui() const { return app->ui(); }
    Ui::INTERFACEP& ip() const { return app->interfacepanel().ui(); }

    // As a user does: CONNECT, TCP/IP, server and port, TRY TO CONNECT.
    void connectTcp(quint16 port)
    {
        ui().ButtonConnect->click();
        ip().EditCommunicationProtocol->setCurrentIndex(1);
        app->interfacepanel().CBF_EditCommunicationProtocol();
        ip().StringIpAdress->setText(QStringLiteral("127.0.0.1"));
        ip().StringPortNumber->setText(QString::number(port));
        ip().ButtonTryToConnect->click();
    }
    void connectToSensor() { connectTcp(sensor->tcpPort()); }

    // Coefficients that give three different factor tables: red is the
    // 1000 + 0.5·t line, green falls, blue bends.
    void enterDistinctCurves()
    {
        setCoefficients({0, 0, 0, 0.5, 1000, 0, 0, 0, -2, 3000, 0, 0, 0.05, 0, 500});
        ui().EditRefRed->setValue(1010);
        ui().EditRefGreen->setValue(2900);
        ui().EditRefBlue->setValue(600);
    }
    void setCoefficients(const tempcomp::Coefficients& c) { app->coefficientsToPanel(c); }

    // What the tool should have sent for this table and block.
    static QList<quint16> block(const tempcomp::FactorTable& table, int b)
    {
        QList<quint16> out;
        for (int k = 0; k < 10; ++k)
            out << table[size_t(10 * b + k)];
        return out;
    }
    static QList<quint16> payload(const QByteArray& frame)
    {
        QList<quint16> out;
        for (int k = 0; k < 10; ++k)
            out << quint16(quint8(frame[6 + 2 * k]) << 8 | quint8(frame[7 + 2 * k]));
        return out;
    }
    static int word(const QByteArray& frame, int w) { return quint8(frame[2 * w]) << 8 | quint8(frame[2 * w + 1]); }
};

}  // namespace tarvo::test
