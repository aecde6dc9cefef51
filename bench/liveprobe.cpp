#include "liveprobe.h"

#include "benchutil.h"
#include "dialogs.h"
#include "eventpump.h"
#include "liveloop.h"
#include "scopeapp.h"
#include "tracewindow.h"
#include "ui_P.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace tarvo::bench {

int runLiveChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvoV43"));
    QApplication::setQuitOnLastWindowClosed(false);
    silenceDialogs();
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const double seconds = argc > 3 ? QString::fromLocal8Bit(argv[3]).toDouble() : 3.0;
    const bool traceOpen = argc > 4 && QString::fromLocal8Bit(argv[4]) == u"trace";

    ScopeApp scope(dir);
    scope.panel().widget->show();
    scope.InitAll();
    if (traceOpen)
        scope.tracewindow().Show();

    std::int64_t t0 = 0, t1 = 0;
    double cpu0 = 0, cpu1 = 0;
    QTimer::singleShot(0, &scope, [&] {
        QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &scope,
                           [&] { scope.panel().ui->ButtonStop->click(); });
        t0 = steadyNs();
        cpu0 = processCpuSeconds();
        scope.panel().ui->ButtonGo->click();  // returns when the loop has ended
        t1 = steadyNs();
        cpu1 = processCpuSeconds();
        QCoreApplication::quit();
    });
    QApplication::exec();

    const auto trend = scope.live().history().trend();
    const auto cycles = std::count_if(trend.begin(), trend.end(), [](double v) { return v != 0.0; });
    std::printf("live cycles=%d wall=%.6f cpu=%.6f platform=%s status=%s\n", static_cast<int>(cycles),
                static_cast<double>(t1 - t0) * 1e-9, cpu1 - cpu0, qPrintable(QGuiApplication::platformName()),
                qPrintable(scope.panel().ui->DispStatus->text().simplified()));
    std::fflush(stdout);
    return 0;
}

std::optional<LiveRun> launchLiveChild(const QString& dir, double seconds, QString* error, const QString& serialDevice,
                                       bool traceOpen)
{
    EventPump pump;
    QProcess child;
    prepareBenchChild(child, pump);
    if (!serialDevice.isEmpty()) {
        QProcessEnvironment env = child.processEnvironment();
        env.insert(QStringLiteral("TARVO_SERIAL_PORT_1"), serialDevice);
        child.setProcessEnvironment(env);
    }
    QStringList args = {QString::fromLatin1(kLiveChildFlag), dir, QString::number(seconds)};
    if (traceOpen)
        args << QStringLiteral("trace");
    child.setArguments(args);
    child.start();
    const auto line = childReport(child, pump, seconds + 30.0, QStringLiteral("live "), error);
    if (!line)
        return std::nullopt;
    auto field = [&](const QString& key) { return reportField(*line, key); };
    LiveRun run;
    run.cycles = field(QStringLiteral("cycles")).toInt();
    run.wall = field(QStringLiteral("wall")).toDouble();
    run.cpu = field(QStringLiteral("cpu")).toDouble();
    run.platform = field(QStringLiteral("platform"));
    const qsizetype s = line->indexOf(QStringLiteral("status="));
    run.status = s < 0 ? QString() : line->mid(s + 7);
    return run;
}

}  // namespace tarvo::bench
