#include "simprocess.h"

#include "sensorsim.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#endif

namespace tarvo::bench {

namespace {
constexpr double kStartLimit = 10.0;  // seconds for the simulator to report its endpoints
constexpr double kStopLimit = 3.0;    // seconds for it to end after being asked
}

QString findSimulatorProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("sensorsim"), {QCoreApplication::applicationDirPath()});
}

Simulator::Simulator() = default;

Simulator::~Simulator()
{
    stop();
}

bool Simulator::start(const QString& program, const SimSetup& setup, QString* error)
{
    stop();
    return program.isEmpty() ? startInProcess(setup, error) : startProcess(program, setup, error);
}

bool Simulator::startProcess(const QString& program, const SimSetup& setup, QString* error)
{
    QStringList args = {QStringLiteral("--tcp-port"),       QStringLiteral("0"),       QStringLiteral("--quiet"),
                        QStringLiteral("--no-eeprom-file"), QStringLiteral("--noise"), QStringLiteral("0")};
    if (setup.pty)
        args << QStringLiteral("--pty") << QStringLiteral("--baud-pacing");
    if (setup.dropMeasurements)
        args << QStringLiteral("--drop") << QStringLiteral("all") << QStringLiteral("--fault-command")
             << QStringLiteral("5");

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(program);
    m_process->setArguments(args);
#if defined(Q_OS_LINUX)
    // Should this program die without cleaning up, the simulator goes too.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    m_stdout.clear();
    QObject::connect(m_process.get(), &QProcess::readyReadStandardOutput, &m_pump, [this] {
        m_stdout += m_process->readAllStandardOutput();
        m_pump.poke();
    });
    QObject::connect(m_process.get(), &QProcess::finished, &m_pump, &EventPump::poke);
    QObject::connect(m_process.get(), &QProcess::errorOccurred, &m_pump, &EventPump::poke);

    static const QRegularExpression tcpLine(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    static const QRegularExpression ptyLine(QStringLiteral("pseudo-terminal: (\\S+)"));
    auto parsed = [&] {
        const QString text = QString::fromLocal8Bit(m_stdout);
        if (const auto m = tcpLine.match(text); m.hasMatch())
            m_tcpPort = static_cast<quint16>(m.captured(1).toUInt());
        if (const auto m = ptyLine.match(text); m.hasMatch())
            m_ptyPath = m.captured(1);
        return m_tcpPort != 0 && (!setup.pty || !m_ptyPath.isEmpty());
    };

    m_process->start();
    m_pump.waitFor(kStartLimit, [&] { return parsed() || m_process->state() == QProcess::NotRunning; });
    if (parsed()) {
        m_external = true;
        return true;
    }
    if (error) {
        const QString why = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
        *error = QStringLiteral("%1 %2: %3")
                     .arg(QFileInfo(program).fileName(), args.join(u' '),
                          !why.isEmpty() ? why
                              : m_process->error() == QProcess::FailedToStart
                              ? m_process->errorString()
                              : QStringLiteral("did not report its endpoints within %1 s").arg(kStartLimit));
    }
    stop();
    return false;
}

bool Simulator::startInProcess(const SimSetup& setup, QString* error)
{
    sim::SimOptions o;
    o.tcpPort = 0;
    o.pty = setup.pty;
    o.baudPacing = setup.pty;
    o.noise = 0;
    if (setup.dropMeasurements) {
        o.faults.dropReplies = sim::Faults::kAll;
        o.faults.onlyCommand = 5;
    }
    m_inProcess = std::make_unique<sim::SensorSim>(o);
    if (!m_inProcess->start(error)) {
        m_inProcess.reset();
        return false;
    }
    m_external = false;
    m_tcpPort = m_inProcess->tcpPort();
    m_ptyPath = setup.pty ? m_inProcess->ptyPath() : QString();
    return true;
}

void Simulator::stop()
{
    if (m_process) {
        if (m_process->state() != QProcess::NotRunning) {
            m_process->terminate();  // the simulator ends cleanly on SIGTERM
            m_pump.waitFor(kStopLimit, [&] { return m_process->state() == QProcess::NotRunning; });
        }
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(static_cast<int>(kStopLimit * 1000));
        }
        m_process->disconnect(&m_pump);
        m_process.reset();
    }
    m_inProcess.reset();
    m_tcpPort = 0;
    m_ptyPath.clear();
    m_external = false;
}

}  // namespace tarvo::bench
