// The trend monitor on the real panels against the simulated sensor: opening
// it, automatic sending on and off on the wire, every frame shown, reset,
// closing the monitor or the program while it runs, a silent sensor, and the
// serial line with frames queued back to back and junk between them.
#include "chartexport.h"
#include "liveloop.h"
#include "monitorpanel.h"
#include "scopefixture.h"
#include "ui_INTERFACEP.h"
#include "ui_MONITORP.h"
#include "ui_P.h"

#include <QBuffer>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

std::uint16_t word(const QByteArray& bytes, int i)
{
    return frame::getWord(reinterpret_cast<const std::uint8_t*>(bytes.constData()), i);
}

// Command-50 arguments the program put on the wire, in order.
QList<int> autoSendCommands(const sim::SensorSim& sensor)
{
    QList<int> args;
    for (const QByteArray& f : sensor.receivedFrames())
        if (word(f, 1) == frame::AutoSend)
            args << word(f, 2);
    return args;
}

void setTeachRow0(ScopeApp& app, double gf, double gfTol, double ppTol)
{
    QTableWidget* t = app.panel().ui->TeachTable;
    t->item(0, 0)->setText(QString::number(gf));
    t->item(0, 1)->setText(QString::number(gfTol));
    t->item(0, 2)->setText(QString::number(ppTol));
}

QColor background(QDoubleSpinBox* d)
{
    return d->palette().color(QPalette::Base);
}

// Presses STOP once a frame after the first `framesBefore` has been shown.
void stopAfterTheNextFrame(ScopeApp& app, long framesBefore)
{
    auto* watch = new QTimer(&app);
    QObject::connect(watch, &QTimer::timeout, watch, [&app, watch, framesBefore] {
        if (app.monitor().framesShown() > framesBefore) {
            app.monitorpanel().ui->ButtonStopMonitor->click();
            watch->deleteLater();
        }
    });
    watch->start(5);
}

// Runs the monitor from its START button; `during` is called once the given
// number of frames has been shown, and must end the loop (STOP or close).
void monitorUntil(ScopeApp& app, long frames, const std::function<void()>& during, double limit = 10.0)
{
    QTimer probe;
    probe.setInterval(20);
    bool done = false;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!done && app.monitor().framesShown() >= frames) {
            done = true;
            during();
        }
    });
    const double start = app.pump().now();
    QTimer guard;  // never let a broken loop hang the test run
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        app.flags().pollmonitor = 0;
        app.pump().poke();
    });
    guard.start(int(limit * 1000));
    probe.start();
    app.monitorpanel().ui->ButtonStartMonitor->click();  // returns when the loop has ended
    QVERIFY2(app.pump().now() - start < limit, "the monitor loop did not end");
}

}  // namespace

class MonitorTest : public QObject {
    Q_OBJECT
private slots:
    void openingReplacesTheMainPanelAndEndsTheLiveLoop();
    void monitoringShowsEveryFrameUntilStop();
    void resetClearsHistoryDisplaysAndChart();
    void exportTellsWhereEachValueOfTheWindowCameFrom_data();
    void exportTellsWhereEachValueOfTheWindowCameFrom();
    void trendValuesTypedWhileRunningTakeEffectWithTheNextFrame();
    void closingTheMonitorWhileRunningStopsSendingAndReturns();
    void closingTheProgramWhileMonitoringSwitchesSendingOff();
    void silentSensorKeepsTheInterfaceResponsive_data();
    void silentSensorKeepsTheInterfaceResponsive();
    void serialLineTakesQueuedFramesAndSkipsJunk();
    void onlyMeasurementFramesAreCounted();
    void floodKeepsStopWorkingAndEveryFrameCounted();
    void monitoringGoesOnAcrossAnOutageWithTheGapCounted_data();
    void monitoringGoesOnAcrossAnOutageWithTheGapCounted();
};

void MonitorTest::openingReplacesTheMainPanelAndEndsTheLiveLoop()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    bool monitorShownWhileLive = false;
    f.when(
        this, [&] { return app.flags().poll == 1 && f.commands().contains(frame::ReadMeasurement); },
        [&] {
            app.live().CBF_ButtonOpenMonitor();  // the button itself is dimmed while GO runs
            monitorShownWhileLive = app.monitorpanel().widget->isVisible();
        });
    app.panel().ui->ButtonGo->click();  // returns when opening the monitor ended the loop
    QVERIFY(monitorShownWhileLive);
    QCOMPARE(app.flags().poll, std::uint16_t(0));
    QVERIFY(!app.panel().widget->isVisible());
    QVERIFY(app.monitorpanel().widget->isVisible());

    // Closing the idle monitor still tells the sensor to stop sending and brings the main panel back.
    f.sensor->clearReceived();
    app.monitorpanel().widget->close();
    QTRY_COMPARE(autoSendCommands(*f.sensor), QList<int>{0});
    QVERIFY(app.panel().widget->isVisible());
    QVERIFY(!app.monitorpanel().widget->isVisible());
}

void MonitorTest::monitoringShowsEveryFrameUntilStop()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::MONITORP& m = *app.monitorpanel().ui;
    app.panel().ui->ButtonOpenMonitor->click();
    setTeachRow0(app, 50.0, 2.0, 100.0);
    m.EditTrendValues->setValue(5);
    f.sensor->setGloss(50.0);
    f.sensor->setPartRate(25.0);
    f.sensor->clearReceived();

    QList<QByteArray> sent;
    connect(f.sensor.get(), &sim::SensorSim::bytesSent, this, [&](const QByteArray& b) { sent << b; });

    bool dimmedWhileRunning = false, sendingWhileRunning = false;
    monitorUntil(app, 8, [&] {
        dimmedWhileRunning = !m.ButtonStartMonitor->isEnabled() && m.EditTrendValues->isEnabled()
            && m.ButtonStopMonitor->isEnabled() && m.ButtonMonitorReset->isEnabled()
            && !app.panel().ui->ButtonGo->isEnabled() && app.flags().pollmonitor == 1;
        sendingWhileRunning = f.sensor->autoSending();
        m.ButtonStopMonitor->click();
    });

    QVERIFY(dimmedWhileRunning);
    QVERIFY(sendingWhileRunning);
    QVERIFY(!app.monitor().running());
    QCOMPARE(app.flags().pollmonitor, std::uint16_t(0));
    QVERIFY(m.ButtonStartMonitor->isEnabled());
    QVERIFY(m.EditTrendValues->isEnabled());
    // On, then off again; the program never asked for a frame.
    QTRY_COMPARE(autoSendCommands(*f.sensor), (QList<int>{1, 0}));
    QCOMPARE(f.sensor->receivedFrames().size(), 2);
    QTRY_VERIFY(!f.sensor->autoSending());

    // Every frame sent while monitoring was shown (one may have been on its way at STOP).
    QVERIFY(app.monitor().framesShown() >= 8);
    QVERIFY(sent.size() - app.monitor().framesShown() <= 1);
    const QByteArray& last = sent[int(app.monitor().framesShown()) - 1];
    const double gf = word(last, 7) / 10.0;
    QCOMPARE(m.DispMonitorGf->value(), gf);
    QCOMPARE(m.DispMonitorPP->value(), word(last, 11) / 10.0);
    QCOMPARE(app.panel().ui->DispGF->value(), gf);  // the main panel follows too
    QCOMPARE(app.live().history().trend(1)[0], gf);

    // Noiseless target: five equal values in the window.
    QCOMPARE(m.DispGfTrend->value(), gf);
    QCOMPARE(m.DispStdDev->value(), 0.0);
    QCOMPARE(m.DispBad->value(), 0.0);
    QCOMPARE(background(m.DispMonitorGf), QColor(0x00ff00));
    QCOMPARE(background(m.DispGfTrend), QColor(0x00ff00));
    ChartPlot::redrawAll();
    QCOMPARE(app.monitor().chart().pointsPerScreen(), 5);
    QCOMPARE(app.monitor().chart().series(0)->count(), 5);
    QCOMPARE(app.monitor().chart().yAxis()->min(), gf - 1.0);
    QCOMPARE(app.monitor().chart().yAxis()->max(), gf + 1.0);

    // A band that no longer holds the value turns the displays red; PP above its tolerance too.
    setTeachRow0(app, 80.0, 2.0, word(last, 11) / 10.0 - 0.1);
    app.monitor().ShowMonitorData();
    QCOMPARE(background(m.DispMonitorGf), QColor(0xff0000));
    QCOMPARE(background(m.DispMonitorPP), QColor(0xff0000));
    QCOMPARE(background(m.DispGfTrend), QColor(0xff0000));
    QCOMPARE(m.DispBad->value(), 100.0);
    // Five parts are too few for Cp and Cpk; the tooltip says why.
    QCOMPARE(m.DispCp->text(), QStringLiteral("–"));
    QCOMPARE(m.DispCapParts->text(), QStringLiteral("5"));
    QVERIFY2(m.DispCpk->toolTip().contains(QLatin1String("at least 25")), qPrintable(m.DispCpk->toolTip()));

    // 30 known parts against 87.4 ± 0.6: Cp and Cpk as Python's statistics
    // module and the textbook formulas give them.
    const std::array<double, 30> known{87.3, 86.9, 87.5, 87.1, 88.0, 86.6, 87.2, 87.4, 87.0, 87.7,
                                       86.8, 87.3, 87.1, 87.6, 86.9, 87.2, 87.4, 87.9, 86.5, 87.3,
                                       87.0, 87.2, 87.5, 87.1, 86.8, 87.4, 87.3, 87.0, 87.6, 87.2};
    setTeachRow0(app, 87.4, 0.6, 100.0);
    m.EditTrendValues->setValue(30);
    for (const double gf : known)
        app.live().mutableHistory().append({.gf = {gf, 0, 0}, .receivedMs = 1772870701123});
    app.monitor().ShowMonitorData();
    QCOMPARE(m.DispCp->text(), QStringLiteral("0.574"));
    QCOMPARE(m.DispCpk->text(), QStringLiteral("0.408"));
    QCOMPARE(m.DispCapParts->text(), QStringLiteral("30"));
    QCOMPARE(m.DispStdDev->value(), 0.348);
}

void MonitorTest::resetClearsHistoryDisplaysAndChart()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::MONITORP& m = *app.monitorpanel().ui;
    app.panel().ui->ButtonOpenMonitor->click();
    setTeachRow0(app, 50.0, 2.0, 100.0);
    f.sensor->setGloss(50.0);
    f.sensor->setPartRate(25.0);
    m.EditTrendValues->setValue(10);

    // Reset inside the running loop, then exactly one more frame.
    bool resetDone = false;
    long framesAtReset = 0;
    double badAtReset = -1;
    monitorUntil(app, 12, [&] {
        badAtReset = m.DispBad->value();
        m.ButtonMonitorReset->click();
        resetDone = true;
        framesAtReset = app.monitor().framesShown();
        QCOMPARE(m.DispGfTrend->value(), 0.0);
        QCOMPARE(m.DispMonitorGf->value(), 0.0);
        QCOMPARE(m.DispBad->value(), badAtReset);  // kept until the next frame
        ChartPlot::redrawAll();
        QCOMPARE(app.monitor().chart().yAxis()->max(), 200.0);
        for (double v : app.live().history().trend())
            QCOMPARE(v, 0.0);
        stopAfterTheNextFrame(app, framesAtReset);
    });
    QVERIFY(resetDone);

    // The statistics after the reset are those of the parts since: the
    // emptied slots are no parts of gloss 0, and not drawn.
    const long after = app.monitor().framesShown() - framesAtReset;
    QVERIFY(after >= 1 && after <= 2);
    const double gf = m.DispMonitorGf->value();
    QVERIFY(std::abs(m.DispGfTrend->value() - gf) < 0.006);
    QCOMPARE(m.DispBad->value(), 0.0);
    ChartPlot::redrawAll();
    QCOMPARE(app.monitor().chart().yAxis()->min(), std::max(gf - 1.0, 0.0));
    QCOMPARE(app.monitor().chart().series(0)->count(), 0);  // the emptied slots lead the window: no line there

    // With nothing received, a reset alone sets the chart to the new width.
    m.EditTrendValues->setValue(37);
    m.ButtonMonitorReset->click();
    ChartPlot::redrawAll();
    QCOMPARE(app.monitor().chart().pointsPerScreen(), 37);
    QCOMPARE(app.monitor().chart().series(0)->count(), 37);
    QCOMPARE(app.monitor().chart().yAxis()->min(), 0.0);
    QCOMPARE(m.DispStdDev->value(), 0.0);
    QCOMPARE(background(m.DispMonitorPP), QColor(0x00ff00));
}

void MonitorTest::exportTellsWhereEachValueOfTheWindowCameFrom_data()
{
    QTest::addColumn<bool>("liveBefore");     // value sets of GO in the history
    QTest::addColumn<bool>("monitorBefore");  // an earlier monitoring run
    QTest::addColumn<bool>("resetBefore");    // RESET before START
    QTest::newRow("GO before START: earlier") << true << false << false;
    QTest::newRow("an earlier monitoring: earlier") << false << true << false;
    QTest::newRow("GO, then RESET: monitored only") << true << false << true;
}

void MonitorTest::exportTellsWhereEachValueOfTheWindowCameFrom()
{
    QFETCH(bool, liveBefore);
    QFETCH(bool, monitorBefore);
    QFETCH(bool, resetBefore);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::MONITORP& m = *app.monitorpanel().ui;
    f.sensor->setPartRate(25.0);
    const auto valuesHeld = [&app] {
        const auto times = app.live().history().trendTimes();
        return int(std::count_if(times.begin(), times.end(), [](std::int64_t t) { return t != 0; }));
    };
    if (liveBefore) {
        f.when(
            this, [&] { return valuesHeld() >= 3; }, [&] { app.panel().ui->ButtonStop->click(); });
        app.panel().ui->ButtonGo->click();  // returns at STOP
    }
    app.panel().ui->ButtonOpenMonitor->click();
    m.EditTrendValues->setValue(20);
    if (monitorBefore)
        monitorUntil(app, 3, [&] { m.ButtonStopMonitor->click(); });
    if (resetBefore)
        m.ButtonMonitorReset->click();
    const int earlier = valuesHeld();
    QCOMPARE(earlier > 0, !resetBefore);
    monitorUntil(app, 3, [&] { m.ButtonStopMonitor->click(); });

    // The chart's columns as before, then each row's origin.
    const int monitored = int(app.monitor().framesShown());
    QVERIFY(earlier + monitored <= 20);
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    writeCsv(chartTable(m.GraphMonitor), csv);
    QList<QByteArray> rows = csv.data().split('\n');
    QCOMPARE(rows.takeFirst(), QByteArray("time,value set,GF [GU],origin"));
    QCOMPARE(rows.takeLast(), QByteArray());
    QStringList origins;
    for (const QByteArray& row : rows)
        origins << QString::fromLatin1(row.split(',').last());
    const QStringList expected = QStringList(20 - earlier - monitored, QStringLiteral("empty"))
        + QStringList(earlier, QStringLiteral("earlier")) + QStringList(monitored, QStringLiteral("monitored"));
    QCOMPARE(origins, expected);
}

void MonitorTest::trendValuesTypedWhileRunningTakeEffectWithTheNextFrame()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::MONITORP& m = *app.monitorpanel().ui;
    app.panel().ui->ButtonOpenMonitor->click();
    f.sensor->setGloss(50.0);
    f.sensor->setPartRate(25.0);
    m.EditTrendValues->setValue(10);

    bool editable = false;
    long framesAtChange = 0;
    monitorUntil(app, 4, [&] {
        editable = m.EditTrendValues->isEnabled();
        m.EditTrendValues->selectAll();
        QTest::keyClicks(m.EditTrendValues, QStringLiteral("25"));
        QTest::keyClick(m.EditTrendValues, Qt::Key_Return);
        framesAtChange = app.monitor().framesShown();
        stopAfterTheNextFrame(app, framesAtChange);
    });
    QVERIFY(editable);
    QCOMPARE(m.EditTrendValues->value(), 25);
    QVERIFY(app.monitor().framesShown() > framesAtChange);
    QCOMPARE(app.monitor().chart().pointsPerScreen(), 25);
    QCOMPARE(int(chartTable(m.GraphMonitor).rows), 25);
}

void MonitorTest::closingTheMonitorWhileRunningStopsSendingAndReturns()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    app.panel().ui->ButtonOpenMonitor->click();
    f.sensor->setPartRate(25.0);
    f.sensor->clearReceived();
    monitorUntil(app, 3, [&] { app.monitorpanel().widget->close(); });

    QVERIFY(!app.monitor().running());
    QCOMPARE(app.flags().pollmonitor, std::uint16_t(0));
    QVERIFY(!app.monitorpanel().widget->isVisible());
    QVERIFY(app.panel().widget->isVisible());
    QVERIFY(app.panel().ui->ButtonGo->isEnabled());
    const QList<int> args = autoSendCommands(*f.sensor);
    QCOMPARE(args.first(), 1);
    QCOMPARE(args.last(), 0);
    QTRY_VERIFY(!f.sensor->autoSending());
}

void MonitorTest::closingTheProgramWhileMonitoringSwitchesSendingOff()
{
    ScopeFixture f;
    f.settingsToSensor();
    f.sensor->setPartRate(25.0);
    ScopeApp app(f.dir.path());
    bool runningAtClose = false;
    // Once start-up is over: open, start, and close once frames have come.
    ScopeFixture::when(
        &app, [&] { return app.startupFinished(); },
        [&] {
            ScopeFixture::when(
                &app, [&] { return app.monitor().framesShown() >= 3; },
                [&] {
                    runningAtClose = app.monitor().running();
                    app.CBF_P_close();  // what closing the main panel does
                });
            app.panel().ui->ButtonOpenMonitor->click();
            app.monitorpanel().ui->ButtonStartMonitor->click();
        });
    QCOMPARE(app.run(), 0);

    QVERIFY(runningAtClose);
    QVERIFY(!app.monitor().running());
    QCOMPARE(app.flags().pollmonitor, std::uint16_t(0));
    QCOMPARE(autoSendCommands(*f.sensor).last(), 0);
    QTRY_VERIFY(!f.sensor->autoSending());
}

void MonitorTest::silentSensorKeepsTheInterfaceResponsive_data()
{
    QTest::addColumn<bool>("byClosing");
    QTest::newRow("stop") << false;
    QTest::newRow("close") << true;
}

void MonitorTest::silentSensorKeepsTheInterfaceResponsive()
{
    QFETCH(bool, byClosing);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::MONITORP& m = *app.monitorpanel().ui;
    app.panel().ui->ButtonOpenMonitor->click();
    f.sensor->setPartRate(0.01);  // no part for 100 s
    f.sensor->clearReceived();

    // Timers keep firing and other buttons work while the loop waits for a frame.
    int ticks = 0;
    QTimer ticker;
    bool gfPanelOpened = false;
    connect(&ticker, &QTimer::timeout, this, [&] {
        if (++ticks != 10)
            return;
        m.ButtonMonitorGfBig->click();
        gfPanelOpened = app.gfpanel().widget->isVisible();
        if (byClosing)
            app.monitorpanel().widget->close();
        else
            m.ButtonStopMonitor->click();
    });
    ticker.start(20);
    monitorUntil(
        app, 1000000, [] {}, 5.0);  // fails if only the guard ended the loop

    QVERIFY(gfPanelOpened);
    QVERIFY(ticks >= 10);
    QCOMPARE(app.monitor().framesShown(), 0L);
    QCOMPARE(autoSendCommands(*f.sensor).first(), 1);
    QCOMPARE(autoSendCommands(*f.sensor).last(), 0);
    QCOMPARE(app.monitorpanel().widget->isVisible(), !byClosing);
    QVERIFY(app.monitorpanel().ui->ButtonStartMonitor->isEnabled());
    QCOMPARE(f.dialogs->shown.size(), 0);  // the monitor shows no messages of its own
}

void MonitorTest::serialLineTakesQueuedFramesAndSkipsJunk()
{
#ifdef Q_OS_UNIX
    sim::SimOptions o;
    o.pty = true;
    ScopeFixture f(o);
    const QString pty = f.sensor->ptyPath();
    setSerialPortResolver([pty](int n) { return SerialDevice{n == 2 ? pty : QString(), QStringLiteral("simulated")}; });
    f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 2, QString(), QString()));
    ScopeApp& app = f.start();
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    app.panel().ui->ButtonOpenMonitor->click();
    f.sensor->setPartRate(0.01);
    f.sensor->clearReceived();

    // Three frames back to back, then junk that breaks the framing, then one
    // more frame; then a frame cut short by a pause before a whole one.
    auto frameWithGf = [](std::uint16_t gf) {
        QByteArray b(frame::kBytes, '\0');
        auto* p = reinterpret_cast<std::uint8_t*>(b.data());
        frame::putWord(p, 0, frame::kSyncSensor);
        frame::putWord(p, 1, frame::ReadMeasurement);
        frame::putWord(p, 7, gf);
        return b;
    };
    // Each step follows what the monitor took of the one before; the cut is
    // the line's pause, so the last frame follows the cut frame's count.
    const auto shown = [&](long n) { return [&app, n] { return app.monitor().framesShown() >= n; }; };
    f.onCommand(
        this, frame::AutoSend, [&] { f.sensor->injectBytes(frameWithGf(401) + frameWithGf(402) + frameWithGf(403)); },
        1);
    f.when(this, shown(3), [&] { f.sensor->injectBytes(QByteArray(5, '\x11') + frameWithGf(404)); });
    f.when(this, shown(4), [&] { f.sensor->injectBytes(frameWithGf(405) + frameWithGf(999).left(15)); });
    f.when(
        this, [&] { return app.exchange().autoFrames().counts().cutFrames >= 1; },
        [&] { f.sensor->injectBytes(frameWithGf(406)); });
    monitorUntil(app, 6, [&] { app.monitorpanel().ui->ButtonStopMonitor->click(); });

    // All three queued frames count; the junk is skipped and costs no frame;
    // the cut frame is dropped and the whole one after it kept.
    const auto t = app.live().history().trend();
    QCOMPARE(app.monitor().framesShown(), 6L);
    QList<double> tail;
    for (int i = 1000 - int(app.monitor().framesShown()); i < 1000; ++i)
        tail << t[i];
    QCOMPARE(tail, (QList<double>{40.1, 40.2, 40.3, 40.4, 40.5, 40.6}));
    QCOMPARE(app.monitor().receptionCounts().skippedBytes, 20L);
    QCOMPARE(app.monitor().receptionCounts().cutFrames, 1L);
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("20 byte(s)")));
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("1 frame(s) came cut short")));
    // Frames that came together were all drawn: the window holds them.
    QCOMPARE(app.monitor().framesNotDrawn(), 0L);
    QVERIFY(!f.dialogs->shown.last().text.contains(QStringLiteral("not drawn")));
    QTRY_COMPARE(autoSendCommands(*f.sensor), (QList<int>{1, 0}));
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void MonitorTest::onlyMeasurementFramesAreCounted()
{
    sim::SimOptions o;
    o.answerAutoSend = true;  // the sensor answers command 50/1 with a frame
    ScopeFixture f(o);
    f.settingsToSensor();
    ScopeApp& app = f.start();
    app.panel().ui->ButtonOpenMonitor->click();
    setTeachRow0(app, 98.0, 5.0, 100.0);
    f.sensor->setPartRate(20.0);
    monitorUntil(app, 4, [&] { app.monitorpanel().ui->ButtonStopMonitor->click(); });

    const long n = app.monitor().framesShown();
    QCOMPARE(app.monitor().receptionCounts().otherFrames, 1L);  // the answer, passed over
    QCOMPARE(n, app.monitor().receptionCounts().frames);
    for (long i = 1000 - n; i < 1000; ++i)
        QVERIFY(app.live().history().trend()[size_t(i)] > 90.0);  // no 0.0 from the answer
}

void MonitorTest::floodKeepsStopWorkingAndEveryFrameCounted()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    app.panel().ui->ButtonOpenMonitor->click();
    // A window of one value: what comes between two redraws is never drawn.
    app.monitorpanel().ui->EditTrendValues->setValue(1);
    f.sensor->setAutoFlood(true);
    // STOP comes from the event loop: the loop must keep letting events run.
    monitorUntil(
        app, 3000, [&] { app.monitorpanel().ui->ButtonStopMonitor->click(); }, 60.0);

    QCOMPARE(app.monitor().framesShown(), app.monitor().receptionCounts().frames);
    const long notDrawn = app.monitor().framesNotDrawn();
    // Each redraw showed one frame at most, the last one among them.
    QVERIFY(notDrawn >= app.monitor().framesShown() - app.monitor().chart().redraws());
    QVERIFY(notDrawn > 0 && notDrawn < app.monitor().framesShown());
    QCOMPARE(app.monitor().receptionCounts().skippedBytes, 0L);
    QVERIFY(!f.dialogs->shown.isEmpty());
    QVERIFY(f.dialogs->shown.last().text.contains(
        QStringLiteral("%1 of %2 frame(s)").arg(notDrawn).arg(app.monitor().framesShown())));
    QTRY_VERIFY(!f.sensor->autoSending());
}

void MonitorTest::monitoringGoesOnAcrossAnOutageWithTheGapCounted_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("rebooted");  // behind a line that stays up: only the line check notices
    QTest::newRow("TCP") << false << false;
#ifdef Q_OS_UNIX
    QTest::newRow("line") << true << false;
#endif
    QTest::newRow("TCP, rebooted: the line check answers, no gap") << false << true;
}

void MonitorTest::monitoringGoesOnAcrossAnOutageWithTheGapCounted()
{
    QFETCH(bool, serial);
    QFETCH(bool, rebooted);
    // The line is not paced like 19200 baud: the row is about the device
    // going and coming back, and over a paced line each reading of the
    // working set (at the start and after the return) takes 1.2 s.
    sim::SimOptions line = ScopeFixture::linkOptions(serial);
    line.baudPacing = false;
    ScopeFixture f(line);
    serial ? f.settingsToSensorLine(true) : f.settingsToSensor();
    ScopeApp& app = f.start();
    app.interfacepanel().ui().EditQuietLimit->setValue(2);
    app.interfacepanel().ui().CheckReconnect->setChecked(true);
    // Retries on a tenth of the schedule (the whole one is tarvoctl's); a
    // quiet line is checked after 0.5 s, not after the panel's shortest 2 s.
    app.reconnect().retryScale = 0.1;
    app.reconnect().quietLimit = 0.5;
    app.panel().ui->ButtonOpenMonitor->click();
    app.monitorpanel().ui->EditTrendValues->setValue(20);  // values from before and after the gap
    f.sensor->setPartRate(50.0);                           // the outage, not the pace, is the matter
    long shownAtLoss = 0;
    const int awayMs = 300;
    monitorUntil(
        app, 20,
        [&] {
            shownAtLoss = app.monitor().framesShown();
            if (rebooted)
                f.sensor->reboot();
            else
                f.sensor->goAway(awayMs);  // comes back with automatic sending off
            stopAfterTheNextFrame(app, shownAtLoss + 3);
        },
        20.0);

    Ui::MONITORP& m = *app.monitorpanel().ui;
    QVERIFY(app.monitor().framesShown() > shownAtLoss + 3);  // switched on again after the return
    QCOMPARE(m.DispGaps->value(), rebooted ? 0 : 1);
    QVERIFY2(m.DispGapSeconds->value() >= (rebooted ? 0.0 : 0.9 * awayMs / 1000.0),
             qPrintable(QString::number(m.DispGapSeconds->value())));
    QCOMPARE(m.DispStdDev->value(), 0.0);  // noiseless: the outage put no value of its own into the trend
    // The trend is drawn as two lines, none across the outage; one where there was none.
    ChartPlot::redrawAll();
    int lines = 0;
    for (QAbstractSeries* series : m.GraphMonitor->chart()->series())
        lines += static_cast<QXYSeries*>(series)->count() > 1;
    QCOMPARE(lines, rebooted ? 1 : 2);
    QCOMPARE(f.dialogs->count(QStringLiteral("TCP Client")), 0);
    QVERIFY(!f.interfaceWidget()->isVisible());
}

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
