// The simulated sensor for the benchmark: preferably the sensorsim program in
// its own process (so its work does not share our thread or our CPU time),
// otherwise the simulator library inside this process.
#pragma once

#include "eventpump.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace tarvo::sim {
class SensorSim;
}

namespace tarvo::bench {

struct SimSetup {
    bool pty = false;               // open a pseudo-terminal paced like 19200 baud
    bool dropMeasurements = false;  // never answer command 5
};

class Simulator {
public:
    Simulator();
    ~Simulator();  // always stops the simulator process
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // program empty: in-process. False with a reason in *error; a simulator
    // process that did start is stopped again.
    bool start(const QString& program, const SimSetup& setup, QString* error);
    void stop();

    bool separateProcess() const { return m_external; }
    quint16 tcpPort() const { return m_tcpPort; }
    QString ptyPath() const { return m_ptyPath; }

private:
    bool startProcess(const QString& program, const SimSetup& setup, QString* error);
    bool startInProcess(const SimSetup& setup, QString* error);

    EventPump m_pump;
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<sim::SensorSim> m_inProcess;
    QByteArray m_stdout;
    bool m_external = false;
    quint16 m_tcpPort = 0;
    QString m_ptyPath;
};

// The sensorsim program in our own directory, or empty.
QString findSimulatorProgram();

}  // namespace tarvo::bench
