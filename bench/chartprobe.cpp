#include "chartprobe.h"

#include "benchutil.h"
#include "charts.h"
#include "dialogs.h"
#include "eventpump.h"
#include "graphs.h"
#include "liveloop.h"
#include "recorder.h"
#include "scopeapp.h"
#include "ui_GRAPHP.h"
#include "ui_P.h"
#include "ui_RECP.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace tarvo::bench {

namespace {

constexpr double kLivePause = 0.025;
constexpr double kValueSetInterval = 0.020;  // 50 value sets per second

void vary(MeasuredValues& m, int i)
{
    m.dataChRef = std::uint16_t(2000 + (i * 37) % 400);
    m.dataChDir = std::uint16_t(3500 + (i * 13) % 200);
    m.dataChDif = std::uint16_t(800 + (i * 7) % 100);
    m.dataNorm = std::uint16_t(480 + i % 40);
    m.dataInt = std::uint16_t(2100 + i % 50);
    m.dataGf = std::uint16_t(990 + i % 25);
    m.dataGfDouble = m.dataGf / 10.0;
    m.dataTemp = std::uint16_t(300 + i % 3);
    m.dataVec = std::uint16_t(i % 4 == 0 ? 255 : 1);
}

// Answers yes and names the record file; shows nothing.
class RecordDialogs final : public Dialogs {
public:
    explicit RecordDialogs(QString file)
        : m_file(std::move(file))
    {
    }
    void message(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return true; }

protected:
    QString chooseFile(const FileDialogRequest&) override { return m_file; }

private:
    QString m_file;
};

long long nonEmptyLines(const QString& path)
{
    long long lines = 0;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        while (!f.atEnd())
            lines += f.readLine().trimmed().isEmpty() ? 0 : 1;
    return lines;
}

void startChild(QProcess& child, EventPump& pump, const QStringList& args)
{
    prepareBenchChild(child, pump);
    child.setArguments(args);
    child.start();
}

}  // namespace

int runChartsChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    silenceDialogs();
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 200;
    const int valueSets = argc > 3 ? std::atoi(argv[3]) : 150;
    QTemporaryDir dir;
    ScopeApp scope(dir.path());  // no settings file: no sensor is asked for anything here
    EventPump& pump = scope.pump();

    // 1. Display work of live cycles, main panel shown with the NORM chart.
    scope.panel().widget->show();
    scope.panel().ui->SelectSource->setCurrentIndex(0);
    emit scope.panel().ui->SelectSource->activated(0);
    pump.sleep(0.3);  // first layout and paint
    std::vector<double> cycleMs;
    for (int i = 0; i < cycles; ++i) {
        vary(scope.measured(), i);
        const double c0 = processCpuSeconds();
        scope.live().SetPanelData();
        scope.live().ShowGraph();
        pump.processEvents();
        const double c1 = processCpuSeconds();
        pump.sleep(kLivePause);  // redraws and painting fall in here
        const double c2 = processCpuSeconds();
        cycleMs.push_back((c2 - c0) * 1000.0);
        (void)c1;
    }
    scope.panel().widget->hide();

    // 2. Graph panel with points already stored, shown and hidden.
    Graphs& g = scope.graphs();
    QWidget* panel = scope.graphpanel().widget.get();
    QString loads;
    for (long long points : {1000LL, 100000LL, 1000000LL}) {
        g.InitPanelGraph();
        for (int s = 0; s < 7; ++s)
            for (long long k = 0; k < points; ++k)
                g.panelGraph(s).append(double((k * 37 + s) % 1000));
        double perSet[2] = {0, 0};
        for (int shown = 1; shown >= 0; --shown) {
            panel->setVisible(shown == 1);
            pump.sleep(0.2);  // shown: laid out, drawn once
            const double c0 = processCpuSeconds();
            for (int i = 0; i < valueSets; ++i) {
                vary(scope.measured(), i);
                g.SetPanelGraphData();
                pump.sleep(kValueSetInterval);
            }
            pump.sleep(0.05);  // the last redraw
            perSet[shown] = (processCpuSeconds() - c0) * 1000.0 / valueSets;
        }
        loads += QStringLiteral(" load=%1:%2:%3").arg(points).arg(perSet[1], 0, 'f', 4).arg(perSet[0], 0, 'f', 4);
    }

    QString ms;
    for (double v : cycleMs)
        ms += QString::number(v, 'f', 4) + u',';
    std::printf("charts platform=%s%s cycles=%s\n", qPrintable(QGuiApplication::platformName()), qPrintable(loads),
                qPrintable(ms));
    std::fflush(stdout);
    return 0;
}

std::optional<ChartFigures> launchChartsChild(int cycles, int valueSets, QString* error)
{
    EventPump pump;
    QProcess child;
    startChild(child, pump,
               {QString::fromLatin1(kChartsChildFlag), QString::number(cycles), QString::number(valueSets)});
    const auto line = childReport(child, pump, 300.0, QStringLiteral("charts "), error);
    if (!line)
        return std::nullopt;
    ChartFigures f;
    f.platform = reportField(*line, QStringLiteral("platform"));
    for (const QString& v : reportField(*line, QStringLiteral("cycles")).split(u',', Qt::SkipEmptyParts))
        f.cycleMs.push_back(v.toDouble());
    for (const QString& part : line->split(u' ')) {
        if (!part.startsWith(QStringLiteral("load=")))
            continue;
        const QStringList v = part.mid(5).split(u':');
        if (v.size() == 3)
            f.loads.push_back({v[0].toLongLong(), v[1].toDouble(), v[2].toDouble()});
    }
    return f;
}

int runRecordChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvoV43"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString file = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    setDialogs(std::make_unique<RecordDialogs>(file));
    const double seconds = argc > 4 ? QString::fromLocal8Bit(argv[4]).toDouble() : 60.0;

    ScopeApp scope(dir);
    scope.panel().widget->show();
    scope.InitAll();
    Ui::RECP& r = *scope.recpanel().ui;

    std::int64_t t0 = 0, t1 = 0;
    double cpu0 = 0, cpu1 = 0;
    long long header = 0;
    QTimer::singleShot(200, &scope, [&] {
        scope.panel().ui->ButtonOpenRecorder->click();
        r.ButtonSelRecFile->click();  // a new file with its header
        header = nonEmptyLines(file);
        r.EditSelectDataRec->setCurrentIndex(Triggered);
        emit r.EditSelectDataRec->activated(Triggered);
        r.ButtonShowGraph->click();  // the graph panel open while recording
        QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &scope, [&] {
            t1 = steadyNs();
            cpu1 = processCpuSeconds();
            r.ButtonStopTrigRec->click();
        });
        t0 = steadyNs();
        cpu0 = processCpuSeconds();
        r.ButtonStartTrigRec->click();  // returns when the recording has ended
        QCoreApplication::quit();
    });
    QApplication::exec();

    const long long lines = nonEmptyLines(file) - header;
    std::printf("record written=%lld filelines=%lld wall=%.6f cpu=%.6f start=%lld stop=%lld graph=%lld\n",
                static_cast<long long>(scope.recorder().lineCount()), lines, static_cast<double>(t1 - t0) * 1e-9,
                cpu1 - cpu0, static_cast<long long>(t0), static_cast<long long>(t1),
                static_cast<long long>(scope.graphs().panelGraph(0).points().size()));
    std::fflush(stdout);
    return 0;
}

std::optional<RecordRun> launchRecordChild(const QString& dir, const QString& file, double seconds, QString* error)
{
    EventPump pump;
    QProcess child;
    startChild(child, pump, {QString::fromLatin1(kRecordChildFlag), dir, file, QString::number(seconds)});
    const auto line = childReport(child, pump, seconds + 60.0, QStringLiteral("record "), error);
    if (!line)
        return std::nullopt;
    RecordRun run;
    run.written = reportField(*line, QStringLiteral("written")).toLongLong();
    run.fileLines = reportField(*line, QStringLiteral("filelines")).toLongLong();
    run.wall = reportField(*line, QStringLiteral("wall")).toDouble();
    run.cpu = reportField(*line, QStringLiteral("cpu")).toDouble();
    run.startNs = reportField(*line, QStringLiteral("start")).toLongLong();
    run.stopNs = reportField(*line, QStringLiteral("stop")).toLongLong();
    run.graphPoints = reportField(*line, QStringLiteral("graph")).toLongLong();
    return run;
}

}  // namespace tarvo::bench
