#include "benchutil.h"

#include "dialogs.h"
#include "eventpump.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <memory>
#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#endif

#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace tarvo::bench {

std::int64_t steadyNs()
{
    // steady_clock is CLOCK_MONOTONIC on Linux and QueryPerformanceCounter on
    // Windows: both are system-wide, not per process.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double processCpuSeconds()
{
#if defined(Q_OS_WIN)
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        auto ticks = [](const FILETIME& t) {
            return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;  // 100 ns units
    }
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#elif defined(Q_OS_UNIX)
    rusage ru{};
    if (getrusage(RUSAGE_SELF, &ru) == 0)
        return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
            + static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

Summary summarize(std::vector<double> values)
{
    Summary s;
    s.n = static_cast<int>(values.size());
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n)));
    s.p95 = values[std::clamp<std::size_t>(rank, 1, n) - 1];
    s.min = values.front();
    s.max = values.back();
    return s;
}

QString cell(const QString& text, int width)
{
    return text.leftJustified(width);
}

QString rcell(const QString& text, int width)
{
    return text.rightJustified(width);
}

QString num(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

void prepareBenchChild(QProcess& child, tarvo::EventPump& pump)
{
    child.setProgram(QCoreApplication::applicationFilePath());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && env.value(QStringLiteral("DISPLAY")).isEmpty()
        && env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
#endif
    if (!env.contains(QStringLiteral("QT_LOGGING_RULES")))
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.qpa.*=false"));
    child.setProcessEnvironment(env);
#if defined(Q_OS_LINUX)
    child.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    QObject::connect(&child, &QProcess::finished, &pump, &tarvo::EventPump::poke);
    QObject::connect(&child, &QProcess::errorOccurred, &pump, &tarvo::EventPump::poke);
}

bool waitForChild(QProcess& child, tarvo::EventPump& pump, double limit, QString* error)
{
    pump.waitFor(limit, [&] { return child.state() == QProcess::NotRunning; });
    if (child.state() == QProcess::NotRunning)
        return true;
    child.kill();
    child.waitForFinished(3000);
    if (error)
        *error = QStringLiteral("the child did not finish within %1 s").arg(limit);
    return false;
}

std::optional<QString> childReport(QProcess& child, tarvo::EventPump& pump, double limit, const QString& tag,
                                   QString* error)
{
    if (!waitForChild(child, pump, limit, error))
        return std::nullopt;
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const qsizetype at = out.indexOf(tag);
    if (at < 0 || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        if (error)
            *error = child.exitStatus() == QProcess::NormalExit
                ? QStringLiteral("the child ended with exit code %1 and reported %2")
                      .arg(child.exitCode())
                      .arg(at < 0 ? QStringLiteral("nothing") : QStringLiteral("its figures"))
                : QStringLiteral("the child crashed");
        return std::nullopt;
    }
    return out.mid(at).section(u'\n', 0, 0);
}

QString reportField(const QString& line, const QString& key)
{
    const QString tag = key + u'=';
    const qsizetype i = line.indexOf(tag);
    return i < 0 ? QString() : line.mid(i + tag.size()).section(u' ', 0, 0);
}

namespace {
class QuietDialogs final : public Dialogs {
public:
    void message(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }

protected:
    QString chooseFile(const FileDialogRequest&) override { return {}; }
};
}  // namespace

void silenceDialogs()
{
    setDialogs(std::make_unique<QuietDialogs>());
}

}  // namespace tarvo::bench
