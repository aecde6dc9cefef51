// The real scope program on its real panels, in a temporary program
// directory, with a simulated sensor and scripted dialogs.
#pragma once

#include "scopeapp.h"
#include "scripteddialogs.h"
#include "sensorsim.h"
#include "serialports.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
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

struct ScopeFixture {
    QTemporaryDir dir;
    std::unique_ptr<sim::SensorSim> sensor;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<ScopeApp> app;

    explicit ScopeFixture(sim::SimOptions options = {})
    {
        dialogs = &installScriptedDialogs();
        options.eepromPath = dir.filePath(QStringLiteral("sensor-eeprom.bin"));
        options.noise = 0;
        options.pty = options.pty;
        sensor = std::make_unique<sim::SensorSim>(options);
        sensor->start();
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
    void settingsToSensor() { writeFile(QStringLiteral("ComSettings.cfg"), settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(sensor->tcpPort()))); }
    void settingsToNowhere() { writeFile(QStringLiteral("ComSettings.cfg"), settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(closedTcpPort()))); }

    // Builds the program and runs its start-up, as the program entry does,
    // without entering the event loop. The program's folder is the fixture's
    // unless given.
    ScopeApp& start(const QString& programDir = QString())
    {
        app = std::make_unique<ScopeApp>(programDir.isEmpty() ? dir.path() : programDir);
        app->panel.widget->show();
        app->InitAll();
        return *app;
    }

    QWidget* interfaceWidget() const { return app->interfacepanel.widget(); }
    template <typename T = QWidget>
    T* control(QWidget* panel, const char* name) const
    {
        return panel->findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace tarvo::test
