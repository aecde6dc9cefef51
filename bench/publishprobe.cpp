#include "publishprobe.h"

#include "benchutil.h"
#include "eventpump.h"
#include "mqttbroker.h"
#include "sensorsim.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif
#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#endif

namespace tarvo::bench {

namespace {

constexpr double kEndGuard = 60.0;    // seconds beyond its run a publisher may take to end
constexpr double kQuietLimit = 10.0;  // seconds without a new message before counting stops

// CPU seconds of the child processes that have ended and been waited for.
double childrenCpuSeconds()
{
#if defined(Q_OS_UNIX)
    rusage ru{};
    if (getrusage(RUSAGE_CHILDREN, &ru) == 0)
        return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
            + static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
#endif
    return 0.0;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const auto rank = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

// The seq of a values payload, or 0.
long long seqOf(const QByteArray& payload)
{
    const qsizetype at = payload.indexOf("\"seq\":");
    if (at < 0)
        return 0;
    const qsizetype from = at + 6;
    qsizetype to = from;
    while (to < payload.size() && payload[to] >= '0' && payload[to] <= '9')
        ++to;
    return payload.mid(from, to - from).toLongLong();
}

}  // namespace

QString findTarvoctl()
{
    return QStandardPaths::findExecutable(QStringLiteral("tarvoctl"), {QCoreApplication::applicationDirPath()});
}

std::optional<PublishRun> runPublishing(const QString& tarvoctl, const PublishSetup& setup, QString* error)
{
    QTemporaryDir dir;
    test::BrokerSetup brokerSetup;
    brokerSetup.persistence = setup.outageSeconds > 0;  // the subscriber's session lives through the outage
    test::MosquittoBroker broker(dir.path(), brokerSetup);
    if (!dir.isValid() || !broker.start(error))
        return std::nullopt;
    test::MqttSubscriber subscriber(QStringLiteral("tarvo-bench-counter"), setup.outageSeconds > 0);
    if (!subscriber.subscribe(broker.port(), "tarvo/bench/+/values", error))
        return std::nullopt;

    std::vector<std::unique_ptr<sim::SensorSim>> sensors;
    std::vector<std::vector<std::int64_t>> sentAt(static_cast<size_t>(setup.sensors));
    for (int k = 0; k < setup.sensors; ++k) {
        sim::SimOptions o;
        o.noise = 0;
        o.partRateHz = setup.rateHz;
        auto s = std::make_unique<sim::SensorSim>(o);
        if (!s->start(error))
            return std::nullopt;
        auto& times = sentAt[static_cast<size_t>(k)];
        times.reserve(static_cast<size_t>((setup.seconds + setup.outageSeconds) * setup.rateHz * 1.2 + 100));
        sim::SensorSim* raw = s.get();
        QObject::connect(raw, &sim::SensorSim::bytesSent, raw, [raw, &times](const QByteArray& bytes) {
            if (raw->autoSending() && bytes.size() == 36)
                times.push_back(steadyNs());
        });
        sensors.push_back(std::move(s));
    }

    EventPump pump;
    const double cpu0 = childrenCpuSeconds();
    std::vector<std::unique_ptr<QProcess>> publishers;
    for (int k = 0; k < setup.sensors; ++k) {
        auto p = std::make_unique<QProcess>();
        p->setProgram(tarvoctl);
        p->setArguments({QStringLiteral("--tcp"),
                         QStringLiteral("127.0.0.1:%1").arg(sensors[static_cast<size_t>(k)]->tcpPort()),
                         QStringLiteral("publish"), QStringLiteral("--broker"),
                         QStringLiteral("127.0.0.1:%1").arg(broker.port()), QStringLiteral("--prefix"),
                         QStringLiteral("tarvo/bench"), QStringLiteral("--name"), QStringLiteral("s%1").arg(k),
                         QStringLiteral("--triggered"), QStringLiteral("--seconds"), QString::number(setup.seconds)});
#if defined(Q_OS_LINUX)
        p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
        QObject::connect(p.get(), &QProcess::finished, &pump, &EventPump::poke);
        p->start();
        publishers.push_back(std::move(p));
    }
    if (setup.outageSeconds > 0) {
        QTimer::singleShot(static_cast<int>(setup.outageAt * 1000), &pump, [&] { broker.stop(); });
        QTimer::singleShot(static_cast<int>((setup.outageAt + setup.outageSeconds) * 1000), &pump, [&] {
            QString why;
            if (!broker.start(&why) && error)
                *error = why;
        });
    }
    const auto allEnded = [&] {
        return std::all_of(publishers.begin(), publishers.end(),
                           [](const auto& p) { return p->state() == QProcess::NotRunning; });
    };
    pump.waitFor(setup.seconds + kEndGuard, allEnded);
    PublishRun run;
    for (auto& p : publishers) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(3000);
        }
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
            ++run.failedPublishers;
            if (run.note.isEmpty())
                run.note = QString::fromLocal8Bit(p->readAllStandardError()).trimmed().section(u'\n', -1);
        }
    }
    run.cpu = childrenCpuSeconds() - cpu0;
    for (const auto& times : sentAt)
        run.sent += static_cast<long long>(times.size());

    // Counting ends when everything came or nothing more comes.
    size_t seen = 0;
    double quietSince = pump.now();
    while (static_cast<long long>(subscriber.count()) < run.sent && pump.now() - quietSince < kQuietLimit) {
        pump.sleep(0.1);
        if (subscriber.count() != seen) {
            seen = subscriber.count();
            quietSince = pump.now();
        }
    }

    std::vector<std::map<long long, bool>> got(static_cast<size_t>(setup.sensors));
    std::vector<long long> highest(static_cast<size_t>(setup.sensors), 0);
    std::vector<double> latencies;
    latencies.reserve(static_cast<size_t>(run.sent));
    for (const test::MqttMessage& m : subscriber.messages()) {
        const long long k = m.topic.split('/').value(2).mid(1).toLongLong();
        const long long seq = seqOf(m.payload);
        if (k < 0 || k >= setup.sensors || seq <= 0)
            continue;
        const auto ki = static_cast<size_t>(k);
        if (got[ki].count(seq)) {
            ++run.duplicates;
            continue;
        }
        got[ki][seq] = true;
        ++run.delivered;
        if (seq > highest[ki] + 1)
            run.inOrder = false;
        highest[ki] = std::max(highest[ki], seq);
        const auto& times = sentAt[ki];
        if (seq <= static_cast<long long>(times.size()))
            latencies.push_back(static_cast<double>(m.receivedNs - times[static_cast<size_t>(seq - 1)]) * 1e-6);
    }
    run.p50Ms = percentile(latencies, 0.50);
    run.p99Ms = percentile(latencies, 0.99);
    return run;
}

}  // namespace tarvo::bench
