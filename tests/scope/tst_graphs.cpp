// The graphs on the real panels: the strip chart of the selected signal with
// its scaling, the profile view and PROFILE over the simulated sensor, the
// graph panel's growing charts, and the axis-scaling panel.
#include "calibration.h"
#include "graphs.h"
#include "languagecheck.h"
#include "liveloop.h"
#include "scopefixture.h"
#include "ui_CALIBP2.h"
#include "ui_GFPANEL.h"
#include "ui_GRAPHP.h"
#include "ui_P.h"
#include "ui_ScaleAxisPanel.h"
#include "ui_VECPANEL.h"

#include <QDoubleSpinBox>
#include <QGraphicsTextItem>
#include <QLCDNumber>
#include <QProgressBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

// Fills one strip chart's history with triples: trace 1 runs from lo to hi,
// traces 2 and 3 are the given band.
void fillBuffer(ValueHistory& history, Strip strip, double lo, double hi, double upper, double lower)
{
    for (int j = 0; j < ValueHistory::kPoints; ++j) {
        HistoryEntry e;
        std::array<double, 3>* const traces[4] = {&e.norm, &e.intensity, &e.gf, &e.raw};  // by Strip
        *traces[int(strip)] = {lo + (hi - lo) * j / 99.0, upper, lower};
        history.append(e);
    }
}

QValueAxis* axisOf(QChartView* view, Qt::Orientation o)
{
    const auto axes = view->chart()->axes(o);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

struct Range {
    double min, max;
};

Range yRange(QChartView* view)
{
    QValueAxis* a = axisOf(view, Qt::Vertical);
    return a ? Range{a->min(), a->max()} : Range{-1, -1};
}

}  // namespace

class GraphsTest : public QObject {
    Q_OBJECT
private slots:
    void stripChartScaling_data();
    void stripChartScaling();
    void chartClicksChooseTheScaling_data();
    void chartClicksChooseTheScaling();
    void profileView_data();
    void profileView();
    void profileButtonFetchesTheProfileThenAMeasurement();
    void graphPanelChainsValueSetsUntilInit();
    void longRecordingIsDrawnAsMinMaxPerPixelColumn();
    void hiddenGraphsAreNotRedrawn();
    void editSignalShowsOnlyItsGraph_data();
    void editSignalShowsOnlyItsGraph();
    void scaleAxisAppliesEachValidAxis_data();
    void scaleAxisAppliesEachValidAxis();
    void chartsNameTheirAxesAndColours_data();
    void chartsNameTheirAxesAndColours();
    void hoverShowsTheNearestPoint_data();
    void hoverShowsTheNearestPoint();
    void graphPanelZoomsPansAndShowsAllAgain();
    void chartsFollowADarkPaletteAndTheTargetIsMarked();
    void axisLabelsStayWholeAtTheSmallestSize_data();
    void axisLabelsStayWholeAtTheSmallestSize();
};

void GraphsTest::stripChartScaling_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("scale");
    QTest::addColumn<double>("lo");     // trace 1 from lo ...
    QTest::addColumn<double>("hi");     // ... to hi
    QTest::addColumn<double>("upper");  // traces 2 and 3
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");

    QTest::newRow("NORM fixed") << 0 << 0 << 480.0 << 520.0 << 545.0 << 455.0 << 0.0 << 1000.0;
    QTest::newRow("INT fixed") << 1 << 0 << 480.0 << 520.0 << 545.0 << 455.0 << 0.0 << 4096.0;
    QTest::newRow("GF fixed") << 2 << 0 << 80.0 << 120.0 << 0.0 << 0.0 << 0.0 << 200.0;
    QTest::newRow("RAW fixed") << 3 << 0 << 300.0 << 2500.0 << 2200.0 << 300.0 << 0.0 << 4096.0;
    QTest::newRow("NORM zoom over values and band") << 0 << 1 << 480.0 << 520.0 << 545.0 << 455.0 << 440.0 << 560.0;
    QTest::newRow("NORM zoom near zero") << 0 << 1 << 5.0 << 14.0 << 0.0 << 0.0 << 0.0 << 29.0;
    QTest::newRow("NORM zoom, no data yet") << 0 << 1 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 15.0;
    QTest::newRow("INT zoom") << 1 << 1 << 1000.0 << 1100.0 << 1200.0 << 900.0 << 875.0 << 1225.0;
    QTest::newRow("GF zoom") << 2 << 1 << 95.0 << 101.0 << 105.5 << 90.0 << 87.0 << 108.5;
    QTest::newRow("RAW zoom over all channels") << 3 << 1 << 2400.0 << 2500.0 << 2200.0 << 300.0 << 275.0 << 2525.0;
}

void GraphsTest::stripChartScaling()
{
    QFETCH(int, source);
    QFETCH(int, scale);
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(double, upper);
    QFETCH(double, lower);
    QFETCH(double, min);
    QFETCH(double, max);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    fillBuffer(app.live().mutableHistory(), Strip(source), lo, hi, upper, lower);
    const auto buf = app.live().history().strip(Strip(source));
    app.panel().ui->SelectSource->setCurrentIndex(source);
    app.graphs().setStripScaling(std::uint16_t(scale));
    app.graphs().ShowGraph();
    ChartPlot::redrawAll();

    StripChart& chart = app.graphs().stripChart(source);
    QCOMPARE(chart.yAxis()->min(), min);
    QCOMPARE(chart.yAxis()->max(), max);
    // Each point stands at its value-set number, as its export counts it.
    QCOMPARE(chart.pointsPerScreen(), 100);
    QCOMPARE(chart.xAxis()->max(), 99.0);
    for (int t = 0; t < 3; ++t) {
        QCOMPARE(chart.series(t)->count(), 100);
        QCOMPARE(chart.series(t)->at(0), QPointF(0, buf[t]));
        QCOMPARE(chart.series(t)->at(99), QPointF(99, buf[297 + t]));
    }
    // Only the selected signal's chart is drawn.
    for (int other = 0; other < 4; ++other)
        if (other != source)
            QCOMPARE(app.graphs().stripChart(other).series(0)->count(), 0);
}

void GraphsTest::chartClicksChooseTheScaling_data()
{
    QTest::addColumn<QString>("chart");
    QTest::newRow("GraphGF") << QStringLiteral("GraphGF");
    QTest::newRow("GraphNorm") << QStringLiteral("GraphNorm");
    QTest::newRow("GraphInt") << QStringLiteral("GraphInt");
    QTest::newRow("GraphRaw1") << QStringLiteral("GraphRaw1");
}

void GraphsTest::chartClicksChooseTheScaling()
{
    QFETCH(QString, chart);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.panel().widget->show();
    auto* view = app.panel().widget->findChild<QChartView*>(chart);
    view->show();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton);
    QCOMPARE(app.graphs().stripScaling(), std::uint16_t(1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton);
    QCOMPARE(app.graphs().stripScaling(), std::uint16_t(0));
    // The profile has its own scaling and redraws at once.
    QChartView* profile = app.panel().ui->GraphProfile;
    profile->show();
    app.measured().minprof = 400;
    app.measured().maxprof = 600;
    app.measured().anzprof = 20;
    QTest::mouseDClick(profile->viewport(), Qt::LeftButton);
    QCOMPARE(app.graphs().profileScaling(), std::uint16_t(1));
    QCOMPARE(app.graphs().stripScaling(), std::uint16_t(0));
    // A shown chart redraws by itself at the display rate.
    QTRY_COMPARE(yRange(profile).min, 37.0);
    QCOMPARE(yRange(profile).max, 63.0);
    QTest::mouseClick(profile->viewport(), Qt::LeftButton);
    QCOMPARE(app.graphs().profileScaling(), std::uint16_t(0));
    QTRY_COMPARE(yRange(profile).max, 200.0);
}

void GraphsTest::profileView_data()
{
    QTest::addColumn<int>("scaleprof");
    QTest::addColumn<int>("minprof");
    QTest::addColumn<int>("maxprof");
    QTest::addColumn<int>("anzprof");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("pointsPerScreen");
    QTest::addColumn<int>("plotted");

    QTest::newRow("auto zoom") << 1 << 20 << 800 << 130 << 0.0 << 83.0 << 132 << 130;
    QTest::newRow("auto zoom, extremes swapped") << 1 << 900 << 100 << 10 << 13.0 << 87.0 << 12 << 10;
    QTest::newRow("auto zoom, no points") << 1 << 0 << 0 << 0 << 0.0 << 3.0 << 2 << 0;
    QTest::newRow("auto zoom, full buffer") << 1 << 500 << 1500 << 150 << 47.0 << 153.0 << 152 << 150;
    QTest::newRow("fixed, whatever the count") << 0 << 20 << 800 << 10 << 0.0 << 200.0 << 151 << 150;
}

void GraphsTest::profileView()
{
    QFETCH(int, scaleprof);
    QFETCH(int, minprof);
    QFETCH(int, maxprof);
    QFETCH(int, anzprof);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, pointsPerScreen);
    QFETCH(int, plotted);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    MeasuredValues& m = app.measured();
    for (int i = 0; i < kProfilePoints; ++i)
        m.profileBuf[i] = i / 2.0;
    m.minprof = std::uint16_t(minprof);
    m.maxprof = std::uint16_t(maxprof);
    m.anzprof = std::uint16_t(anzprof);
    m.dataPPDouble = 12.3;
    app.graphs().setProfileScaling(std::uint16_t(scaleprof));
    app.graphs().ShowProfile();
    ChartPlot::redrawAll();

    StripChart& chart = app.graphs().profileChart();
    QCOMPARE(app.panel().ui->DispPP->value(), 12.3);
    QCOMPARE(chart.yAxis()->min(), min);
    QCOMPARE(chart.yAxis()->max(), max);
    QCOMPARE(chart.pointsPerScreen(), pointsPerScreen);
    QCOMPARE(chart.series(0)->count(), plotted);
    if (plotted > 0) {
        QCOMPARE(chart.series(0)->at(0).y(), 0.0);
        QCOMPARE(chart.series(0)->at(plotted - 1).y(), (plotted - 1) / 2.0);
        QCOMPARE(chart.series(0)->at(plotted - 1).x(), double(pointsPerScreen - 1));
    }
}

void GraphsTest::profileButtonFetchesTheProfileThenAMeasurement()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    f.sensor->clearReceived();
    app.flags().poll = 1;
    QVERIFY(!p.GraphProfile->isVisible());
    p.ButtonProfile->click();

    QVERIFY(p.GraphProfile->isVisible());
    QCOMPARE(app.flags().poll, std::uint16_t(0));
    const QList<QByteArray> sent = f.sensor->receivedFrames();
    QCOMPARE(sent.size(), 11);
    auto word = [](const QByteArray& b, int i) {
        return frame::getWord(reinterpret_cast<const std::uint8_t*>(b.constData()), i);
    };
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(word(sent[k], 1), std::uint16_t(frame::ReadProfileBlock));
        QCOMPARE(word(sent[k], 2), std::uint16_t(k));
    }
    QCOMPARE(word(sent[10], 1), std::uint16_t(frame::ReadMeasurement));
    // The fixed view plots the whole buffer; the piece is somewhere near GF 100.
    ChartPlot::redrawAll();
    StripChart& chart = app.graphs().profileChart();
    QCOMPARE(chart.series(0)->count(), kProfilePoints);
    QVERIFY(app.measured().anzprof > 100 && app.measured().anzprof <= kProfilePoints);
    QCOMPARE(chart.series(0)->at(70).y(), app.measured().profileBuf[70]);
    QVERIFY(app.measured().profileBuf[70] > 50.0);
    QVERIFY(p.ButtonGo->isEnabled());
    QVERIFY(p.ButtonProfile->isEnabled());
    QCOMPARE(f.dialogs->shown.size(), 0);
}

namespace {

// A value set whose every value follows from i.
void setValues(MeasuredValues& m, int i)
{
    m.dataChRef = std::uint16_t(100 + i);
    m.dataChDir = std::uint16_t(200 + i);
    m.dataChDif = std::uint16_t(300 + i);
    m.dataNorm = std::uint16_t(400 + i);
    m.dataInt = std::uint16_t(500 + i);
    m.dataGfDouble = 60.5 + i;
    m.dataTemp = std::uint16_t(700 + i);
    m.dataVec = std::uint16_t(i);
}

}  // namespace

void GraphsTest::graphPanelChainsValueSetsUntilInit()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Graphs& g = app.graphs();
    MeasuredValues& m = app.measured();
    setValues(m, 0);
    g.InitPanelGraph();
    for (int i = 0; i < 3; ++i) {
        setValues(m, i * 10);
        g.SetPanelGraphData();
    }
    QCOMPARE(g.nextPanelPoint(), std::uint16_t(3));
    // One point per value set, X counting from 0; few points are drawn as they are.
    ChartPlot::redrawAll();
    const QList<QPointF>& s = g.panelGraph(0).drawn();
    QCOMPARE(s.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(s.at(i), QPointF(i, 100 + 10 * i));
    const double latest[7] = {120, 220, 320, 420, 520, 80.5, 720};
    const unsigned colour[7] = {0xff0000, 0x00ff00, 0x0000ff, 0xff8000, 0x008080, 0x00ff00, 0x008080};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(g.panelGraph(i).drawn().at(2).y(), latest[i]);
        QCOMPARE(g.panelGraph(i).colour(), QColor(colour[i]));
    }
    // The axes follow the points.
    QVERIFY(g.panelGraph(0).xAxis()->min() <= 0.0 && g.panelGraph(0).xAxis()->max() >= 2.0);
    QVERIFY(g.panelGraph(5).yAxis()->min() <= 60.5 && g.panelGraph(5).yAxis()->max() >= 80.5);
    Ui::GRAPHP& gp = *app.graphpanel().ui;
    QCOMPARE(gp.PanelDispChRef->value(), 120);
    QCOMPARE(gp.PanelDispNorm->value(), 420);
    QCOMPARE(gp.PanelDispGF->value(), 80.5);
    QCOMPARE(gp.PanelDispTemp->value(), 720);
    QCOMPARE(app.gfpanel().ui->DispGFBig->value(), 80.5);
    QCOMPARE(app.vecpanel().ui->DispVecBig->intValue(), 20);

    setValues(m, 50);
    g.InitPanelGraph();
    QCOMPARE(g.nextPanelPoint(), std::uint16_t(0));
    ChartPlot::redrawAll();
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(g.panelGraph(i).points().size(), 0);
        QCOMPARE(g.panelGraph(i).drawn().size(), 0);
    }
    g.SetPanelGraphData();
    ChartPlot::redrawAll();
    QCOMPARE(g.panelGraph(0).drawn().at(0), QPointF(0, 150));
    QCOMPARE(g.panelGraph(5).drawn().at(0), QPointF(0, 110.5));
}

void GraphsTest::longRecordingIsDrawnAsMinMaxPerPixelColumn()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Graphs& g = app.graphs();
    MeasuredValues& m = app.measured();
    QWidget* panel = app.graphpanel().widget.get();
    panel->resize(800, 500);
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel));
    // A slow ramp of CH_REF with one spike of one value set: 20 000 sets.
    constexpr int kSets = 20000;
    constexpr int kSpikeAt = 12345;
    setValues(m, 0);
    g.InitPanelGraph();
    for (int i = 0; i < kSets; ++i) {
        setValues(m, 0);
        m.dataChRef = std::uint16_t(1000 + i / 100);
        if (i == kSpikeAt)
            m.dataChRef = 4000;
        g.SetPanelGraphData();
    }
    GrowingChart& chart = g.panelGraph(0);
    QCOMPARE(chart.points().size(), std::int64_t(kSets));
    QCOMPARE(chart.points().at(kSpikeAt), 4000.0);
    QTRY_VERIFY(!chart.redrawPending());

    const QList<QPointF>* s = &chart.drawn();
    // About two points per pixel column of the plot, which is narrower than the view.
    const int columns = chart.view()->width();
    QVERIFY(columns > 100);
    QVERIFY2(s->size() <= 2 * columns + 2, qPrintable(QStringLiteral("%1 points drawn").arg(s->size())));
    QVERIFY(s->size() >= columns);
    // Every column keeps its extremes: the ramp's ends and the spike are drawn.
    double lo = 1e9, hi = -1e9;
    qsizetype spike = -1;
    for (qsizetype k = 0; k < s->size(); ++k) {
        lo = std::min(lo, s->at(k).y());
        hi = std::max(hi, s->at(k).y());
        if (s->at(k).y() == 4000.0)
            spike = k;
    }
    QCOMPARE(lo, 1000.0);
    QCOMPARE(hi, 4000.0);
    QVERIFY(spike >= 0);
    QVERIFY(std::abs(s->at(spike).x() - kSpikeAt) <= double(kSets) / columns + 64);
    QCOMPARE(s->at(0).x(), 0.0);
    QVERIFY(s->at(s->size() - 1).x() > kSets - 2.0 * kSets / columns - 64);
    // The axes span all points and values.
    QVERIFY(chart.xAxis()->min() <= 0.0 && chart.xAxis()->max() >= kSets - 1);
    QVERIFY(chart.yAxis()->min() <= 1000.0 && chart.yAxis()->max() >= 4000.0);
}

void GraphsTest::hiddenGraphsAreNotRedrawn()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Graphs& g = app.graphs();
    MeasuredValues& m = app.measured();
    QWidget* panel = app.graphpanel().widget.get();
    QComboBox* edit = app.graphpanel().ui->EditSignal;
    edit->setCurrentIndex(3);  // NORM
    emit edit->activated(3);
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel));
    setValues(m, 0);
    g.InitPanelGraph();
    ChartPlot::redrawAll();  // start counting from here
    int before[7];
    for (int i = 0; i < 7; ++i)
        before[i] = g.panelGraph(i).redraws();

    // Fifty value sets arrive between two turns of the event loop: the
    // visible graph is redrawn once with all of them, the others not at all.
    for (int i = 1; i <= 50; ++i) {
        setValues(m, i);
        g.SetPanelGraphData();
    }
    // The shown panel's numbers are not rewritten with every set (checked
    // before the event loop turns), but they settle on the latest one.
    QVERIFY(app.graphpanel().ui->PanelDispNorm->value() != 450);
    GrowingChart& norm = g.panelGraph(3);
    QTRY_VERIFY(!norm.redrawPending());
    QCOMPARE(norm.redraws(), before[3] + 1);
    QCOMPARE(norm.drawn().size(), 50);
    QCOMPARE(norm.drawn().at(49).y(), 450.0);
    QTRY_COMPARE(app.graphpanel().ui->PanelDispNorm->value(), 450);
    QCOMPARE(app.graphpanel().ui->PanelDispGF->value(), 110.5);
    for (int i = 0; i < 7; ++i) {
        if (i == 3)
            continue;
        QCOMPARE(g.panelGraph(i).redraws(), before[i]);
        QVERIFY(g.panelGraph(i).redrawPending());
        QCOMPARE(g.panelGraph(i).points().size(), 50);  // stored all the same
    }

    // Choosing GF shows its graph, which then draws what it holds.
    edit->setCurrentIndex(5);
    emit edit->activated(5);
    GrowingChart& gf = g.panelGraph(5);
    QTRY_VERIFY(!gf.redrawPending());
    QCOMPARE(gf.redraws(), before[5] + 1);
    QCOMPARE(gf.drawn().size(), 50);
    QCOMPARE(gf.drawn().at(49).y(), 110.5);
    // The main panel's strip charts, on a hidden panel, are not drawn either.
    app.panel().ui->SelectSource->setCurrentIndex(0);
    const int stripRedraws = app.graphs().stripChart(0).redraws();
    for (int i = 1; i <= 5; ++i) {
        app.live().mutableHistory().append({.norm = {0, 0, double(i)}});
        app.graphs().ShowGraph();
    }
    QCoreApplication::processEvents();
    QCOMPARE(app.graphs().stripChart(0).redraws(), stripRedraws);
    QVERIFY(app.graphs().stripChart(0).redrawPending());
}

void GraphsTest::editSignalShowsOnlyItsGraph_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("graph");
    const char* graphs[] = {"PanelGraphChRef", "PanelGraphChDir", "PanelGraphChDif", "PanelGraphNorm",
                            "PanelGraphInt",   "PanelGraphGF",    "PanelGraphTemp"};
    for (int i = 0; i < 7; ++i)
        QTest::newRow(graphs[i]) << i << QString::fromLatin1(graphs[i]);
    QTest::newRow("no choice shows CH_REF") << -1 << QStringLiteral("PanelGraphChRef");
}

void GraphsTest::editSignalShowsOnlyItsGraph()
{
    QFETCH(int, signal);
    QFETCH(QString, graph);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    QWidget* panel = app.graphpanel().widget.get();
    panel->show();
    QComboBox* edit = app.graphpanel().ui->EditSignal;
    edit->setCurrentIndex(signal);
    emit edit->activated(signal);
    for (auto* view : panel->findChildren<QChartView*>())
        QCOMPARE(view->isVisible(), view->objectName() == graph);
    panel->close();
    QVERIFY(!panel->isVisible());
}

void GraphsTest::scaleAxisAppliesEachValidAxis_data()
{
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::addColumn<double>("ymin");
    QTest::addColumn<double>("ymax");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QPointF>("xRange");  // (min, max) afterwards
    QTest::addColumn<QPointF>("yRange");

    const QString x = QStringLiteral("X AXIS MIN must be lower than X AXIS MAX");
    const QString y = QStringLiteral("Y AXIS MIN must be lower than Y AXIS MAX");
    QTest::newRow("both valid") << 100.0 << 1000.0 << 10.0 << 900.0 << QStringList() << QPointF(100, 1000)
                                << QPointF(10, 900);
    QTest::newRow("equal X limits") << 500.0 << 500.0 << 10.0 << 900.0 << QStringList{x} << QPointF(0, 2100)
                                    << QPointF(10, 900);
    QTest::newRow("inverted Y limits") << 100.0 << 1000.0 << 900.0 << 100.0 << QStringList{y} << QPointF(100, 1000)
                                       << QPointF(0, 2200);
    QTest::newRow("both wrong") << 5.0 << 1.0 << 5.0 << 5.0 << QStringList{x, y} << QPointF(0, 2100)
                                << QPointF(0, 2200);
}

void GraphsTest::scaleAxisAppliesEachValidAxis()
{
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QFETCH(double, ymin);
    QFETCH(double, ymax);
    QFETCH(QStringList, messages);
    QFETCH(QPointF, xRange);
    QFETCH(QPointF, yRange);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Ui::ScaleAxisPanel& s = *app.scaleaxispanel().ui;
    QChartView* calib = app.calibpanel2().ui->GraphCalibBuf;
    // Round ticks from the start, not the range cut in four.
    QCOMPARE(axisOf(calib, Qt::Horizontal)->tickType(), QValueAxis::TicksDynamic);
    QCOMPARE(axisOf(calib, Qt::Vertical)->tickInterval(), 500.0);
    app.scaleaxispanel().widget->show();

    // Reset gives the calibration graph X 0..2100 and Y 0..2200.
    {
        // Fields left with both ranges inverted.
        const QSignalBlocker b1(s.EditXAxisMin), b2(s.EditXAxisMax), b3(s.EditYAxisMin), b4(s.EditYAxisMax);
        s.EditXAxisMin->setValue(3000);
        s.EditXAxisMax->setValue(1);
        s.EditYAxisMin->setValue(5000);
        s.EditYAxisMax->setValue(1);
    }
    s.ButtonScaleReset->click();
    QCOMPARE(f.dialogs->shown.size(), 0);
    QCOMPARE(s.EditXAxisMax->value(), 2100.0);
    QCOMPARE(axisOf(calib, Qt::Horizontal)->min(), 0.0);
    QCOMPARE(axisOf(calib, Qt::Horizontal)->max(), 2100.0);
    QCOMPARE(axisOf(calib, Qt::Vertical)->min(), 0.0);
    QCOMPARE(axisOf(calib, Qt::Vertical)->max(), 2200.0);

    // The user commits the last of the four fields.
    {
        const QSignalBlocker b1(s.EditXAxisMin), b2(s.EditXAxisMax), b3(s.EditYAxisMin);
        s.EditXAxisMin->setValue(xmin);
        s.EditXAxisMax->setValue(xmax);
        s.EditYAxisMin->setValue(ymin);
    }
    if (s.EditYAxisMax->value() == ymax)
        app.graphs().ScaleAxis();
    else
        s.EditYAxisMax->setValue(ymax);

    QStringList shown;
    for (const auto& box : f.dialogs->shown) {
        QCOMPARE(box.title, QStringLiteral("ATTENTION!"));
        shown << box.text;
    }
    QCOMPARE(shown, messages);
    QCOMPARE(axisOf(calib, Qt::Horizontal)->min(), xRange.x());
    QCOMPARE(axisOf(calib, Qt::Horizontal)->max(), xRange.y());
    QCOMPARE(axisOf(calib, Qt::Vertical)->min(), yRange.x());
    QCOMPARE(axisOf(calib, Qt::Vertical)->max(), yRange.y());

    s.ButtonCloseScaleAxis->click();
    QVERIFY(!app.scaleaxispanel().widget->isVisible());
}

namespace {

// The chart of that name on any of the program's windows.
QChartView* findChart(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* view = top->findChild<QChartView*>(name))
            return view;
    return nullptr;
}

void showWindowOf(QWidget* control)
{
    control->window()->show();
    control->show();
    QVERIFY(QTest::qWaitForWindowExposed(control->window()));
    ChartPlot::redrawAll();
    QCoreApplication::processEvents();
}

// Viewport position of a value, as the chart's axes place it.
QPoint viewportPosition(QChartView* view, QPointF value)
{
    QValueAxis* x = axisOf(view, Qt::Horizontal);
    QValueAxis* y = axisOf(view, Qt::Vertical);
    const QRectF a = view->chart()->plotArea();
    const QPointF at(a.left() + (value.x() - x->min()) * a.width() / (x->max() - x->min()),
                     a.bottom() - (value.y() - y->min()) * a.height() / (y->max() - y->min()));
    return view->mapFromScene(view->chart()->mapToScene(at));
}

QStringList legendLabels(QChartView* view)
{
    QStringList out;
    if (view->chart()->legend()->isVisible())
        for (QLegendMarker* marker : view->chart()->legend()->markers())
            if (marker->isVisible())
                out << marker->label();
    return out;
}

}  // namespace

void GraphsTest::chartsNameTheirAxesAndColours_data()
{
    QTest::addColumn<QString>("chart");
    QTest::addColumn<int>("source");  // SelectSource for a main-panel chart
    QTest::addColumn<QString>("xTitle");
    QTest::addColumn<QString>("yTitle");
    QTest::addColumn<QStringList>("legend");
    QTest::newRow("NORM with its band") << "GraphNorm" << 0 << "last 100 value sets"
                                        << "NORM [per mille]" << QStringList{"NORM", "tolerance, teach row 3"};
    QTest::newRow("GF with its band") << "GraphGF" << 2 << "last 100 value sets"
                                      << "GF [GU]" << QStringList{"GF", "tolerance, teach row 3"};
    QTest::newRow("RAW") << "GraphRaw1" << 3 << "last 100 value sets"
                         << "raw channels [counts]" << QStringList{"CH_REF", "CH_DIR", "CH_DIF"};
    QTest::newRow("profile") << "GraphProfile" << -1 << "profile point"
                             << "light profile [raw/10]" << QStringList();
    QTest::newRow("graph panel") << "PanelGraphTemp" << -1 << "value set"
                                 << "TEMP [raw]" << QStringList();
    QTest::newRow("monitor") << "GraphMonitor" << -1 << "last scans"
                             << "GF [GU]" << QStringList();
    QTest::newRow("calibration") << "GraphCalibBuf" << -1 << "TARVO-VALUE (GF RAW) [GU]"
                                 << "other system [GU]" << QStringList{"calibration curve", "identity"};
}

void GraphsTest::chartsNameTheirAxesAndColours()
{
    QFETCH(QString, chart);
    QFETCH(int, source);
    QFETCH(QString, xTitle);
    QFETCH(QString, yTitle);
    QFETCH(QStringList, legend);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Ui::P& p = *app.panel().ui;
    p.EditNo->setValue(3);
    if (source >= 0) {
        p.SelectSource->setCurrentIndex(source);
        app.graphs().ShowGraph();
    }
    app.calib().ResetCalibTable();
    app.calib().CalculateCalibrationData();
    QChartView* view = findChart(chart);
    QVERIFY(view);
    showWindowOf(view);
    QCOMPARE(axisOf(view, Qt::Horizontal)->titleText(), xTitle);
    QVERIFY(axisOf(view, Qt::Horizontal)->isTitleVisible());
    QCOMPARE(axisOf(view, Qt::Vertical)->titleText(), yTitle);
    QCOMPARE(legendLabels(view), legend);
    if (source == 3) {
        // The bars of the raw channels wear the colours of their lines.
        QProgressBar* bars[3] = {p.BarChRef, p.BarChDir, p.BarChDif};
        for (int t = 0; t < 3; ++t)
            QCOMPARE(bars[t]->palette().color(QPalette::Highlight), app.graphs().stripChart(3).series(t)->color());
    }
}

void GraphsTest::hoverShowsTheNearestPoint_data()
{
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QPointF>("point");  // hovered
    QTest::addColumn<QString>("text");   // the label's first two lines
    QTest::addColumn<bool>("timed");
    QTest::addColumn<bool>("german");  // the label in German, the export's names staying English
    QTest::newRow("strip chart") << "GraphGF" << QPointF(60, 90.6) << "value set 60\nGF [GU]: 90.6" << true << false;
    QTest::newRow("graph panel") << "PanelGraphChRef" << QPointF(4, 104) << "value set 4\nCH_REF [counts]: 104" << true
                                 << false;
    QTest::newRow("graph panel, German") << "PanelGraphChRef" << QPointF(4, 104) << "Wertesatz 4\nCH_REF [Digits]: 104"
                                         << true << true;
    QTest::newRow("calibration") << "GraphCalibBuf" << QPointF(1000, 1000)
                                 << "TARVO-VALUE [GU] 1000\ncalibration curve [GU]: 1000" << false << false;
}

void GraphsTest::hoverShowsTheNearestPoint()
{
    QFETCH(QString, chart);
    QFETCH(QPointF, point);
    QFETCH(QString, text);
    QFETCH(bool, timed);
    QFETCH(bool, german);
    std::optional<test::InGerman> inGerman;
    if (german)
        inGerman.emplace();
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    const std::int64_t t0 = 1772870701123;
    // GF: point j of the buffer is drawn at X j, its value-set number; graph panel: set i has CH_REF 100 + i.
    for (int j = 0; j < 100; ++j)
        app.live().mutableHistory().append({.gf = {90.0 + j / 100.0, 0, 0}, .receivedMs = t0 + j});
    app.panel().ui->SelectSource->setCurrentIndex(2);
    app.graphs().ShowGraph();
    app.graphs().InitPanelGraph();
    for (int i = 0; i < 10; ++i) {
        setValues(app.measured(), i);
        app.measured().receivedMs = t0 + 1000 * i;
        app.graphs().SetPanelGraphData();
    }
    app.calib().ResetCalibTable();
    app.calib().CalculateCalibrationData();
    // Close enough to tell the curve's points apart (0.1 apart).
    Ui::ScaleAxisPanel& scale = *app.scaleaxispanel().ui;
    for (QDoubleSpinBox* field : {scale.EditXAxisMin, scale.EditYAxisMin})
        field->setValue(990.0);
    for (QDoubleSpinBox* field : {scale.EditXAxisMax, scale.EditYAxisMax})
        field->setValue(1010.0);

    QChartView* view = findChart(chart);
    showWindowOf(view);
    ChartPlot* plot = ChartPlot::of(view);
    QCOMPARE(plot->shownHoverText(), QString());
    const QPoint at = viewportPosition(view, point);
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    const QStringList shown = plot->shownHoverText().split(u'\n');
    QCOMPARE(shown.mid(0, 2).join(u'\n'), text);
    const std::int64_t ms = chart == QStringLiteral("GraphGF") ? t0 + 60 : t0 + 4000;
    QCOMPARE(shown.value(2),
             timed ? QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
                   : QString());
    if (german)  // the export's column keeps its English name
        QCOMPARE(plot->table().header.value(1), QStringLiteral("CH_REF [counts]"));
}

void GraphsTest::graphPanelZoomsPansAndShowsAllAgain()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Graphs& g = app.graphs();
    g.InitPanelGraph();
    for (int i = 0; i < 1000; ++i) {
        setValues(app.measured(), 0);
        app.measured().dataChRef = std::uint16_t(i);  // CH_REF is its value set's number
        g.SetPanelGraphData();
    }
    GrowingChart& chart = g.panelGraph(0);
    QWidget* viewport = chart.view()->viewport();
    showWindowOf(chart.view());
    const auto shownSpan = [&] {
        ChartPlot::redrawAll();
        return QPointF(chart.drawn().first().x(), chart.drawn().last().x());
    };
    QCOMPARE(shownSpan(), QPointF(0, 999));

    // Three notches of the wheel at value set 500 zoom in around it.
    const QPoint middle = viewportPosition(chart.view(), QPointF(500, 500));
    QWheelEvent wheel(middle, viewport->mapToGlobal(middle), QPoint(), QPoint(0, 360), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    QVERIFY(chart.zoomed());
    const QPointF zoomed = shownSpan();
    QVERIFY(zoomed.x() > 200 && zoomed.x() < 500 && zoomed.y() > 500 && zoomed.y() < 800);
    QVERIFY(chart.xAxis()->min() > 200 && chart.xAxis()->max() < 800);
    QVERIFY(chart.yAxis()->min() > 150);  // Y follows the points shown

    // A drag to the right moves back along the record.
    const auto move = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    };
    move(QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
    move(QEvent::MouseMove, middle + QPoint(100, 0), Qt::NoButton, Qt::LeftButton);
    move(QEvent::MouseButtonRelease, middle + QPoint(100, 0), Qt::LeftButton, Qt::NoButton);
    const QPointF panned = shownSpan();
    QVERIFY(panned.x() < zoomed.x() && panned.y() < zoomed.y());
    QCOMPARE(panned.y() - panned.x(), zoomed.y() - zoomed.x());

    // New value sets do not move the zoomed view; a double click shows them all.
    for (int i = 1000; i < 1100; ++i) {
        app.measured().dataChRef = std::uint16_t(i);
        g.SetPanelGraphData();
    }
    QCOMPARE(shownSpan(), panned);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, middle);
    QVERIFY(!chart.zoomed());
    // All of them: from the first to the last column, whose x is where the
    // column starts when the plot is narrower than the points.
    const QPointF all = shownSpan();
    QCOMPARE(all.x(), 0.0);
    QVERIFY(all.y() > 1090 && chart.xAxis()->min() <= 0 && chart.xAxis()->max() >= 1099);
}

void GraphsTest::chartsFollowADarkPaletteAndTheTargetIsMarked()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Ui::P& p = *app.panel().ui;
    p.SelectSource->setCurrentIndex(2);
    for (int j = 0; j < 100; ++j)
        app.live().mutableHistory().append({.gf = {100.0, 0, 0}});
    app.graphs().ShowGraph();
    showWindowOf(p.GraphGF);
    StripChart& gf = app.graphs().stripChart(2);
    QCOMPARE(gf.series(0)->color(), QColor(0x0000ff));  // on light, as given

    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    // The chart as drawn: dark plot, light labels, a blue line light enough to see.
    const QImage picture = p.GraphGF->grab().toImage();
    QCOMPARE(picture.pixelColor(2, picture.height() - 3), QColor(0x20, 0x20, 0x20));
    QCOMPARE(gf.yAxis()->labelsColor(), QColor(0xe8, 0xe8, 0xe8));
    const QColor line = gf.series(0)->color();
    QVERIFY(line.blue() > line.red() && line.lightness() > 110);
    int lineBlue = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            lineBlue += picture.pixel(x, y) == line.rgb();
    QVERIFY(lineBlue > 50);

    // The transfer target is marked beyond its shade, in both palettes.
    for (QPushButton* b : {p.SelectRAM, p.SelectEEPROM})
        QCOMPARE(b->font().bold(), b == p.SelectRAM);
    QCOMPARE(p.SelectRAM->text(), QStringLiteral("\u2713 RAM"));
    QTest::mouseClick(p.SelectEEPROM, Qt::LeftButton);
    QCOMPARE(p.SelectRAM->text(), QStringLiteral("RAM"));
    QCOMPARE(p.SelectEEPROM->text(), QStringLiteral("\u2713 EEPROM"));
    QVERIFY(p.SelectEEPROM->font().bold() && !p.SelectRAM->font().bold());

    QApplication::setPalette(light);
    QCoreApplication::processEvents();
    QCOMPARE(gf.series(0)->color(), QColor(0x0000ff));
}

void GraphsTest::axisLabelsStayWholeAtTheSmallestSize_data()
{
    QTest::addColumn<QString>("chart");
    QTest::addColumn<bool>("profile");  // the main panel's profile shown below its chart, checked too
    QTest::newRow("main panel") << "GraphNorm" << false;
    QTest::newRow("main panel with the profile") << "GraphNorm" << true;
    QTest::newRow("graph panel") << "PanelGraphNorm" << false;
    QTest::newRow("monitor") << "GraphMonitor" << false;
    QTest::newRow("calibration") << "GraphCalibBuf" << false;
}

void GraphsTest::axisLabelsStayWholeAtTheSmallestSize()
{
    QFETCH(QString, chart);
    QFETCH(bool, profile);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.panel().ui->EditNo->setValue(3);
    app.panel().ui->SelectSource->setCurrentIndex(0);
    app.graphs().ShowGraph();
    app.graphs().InitPanelGraph();
    QChartView* view = findChart(chart);
    QWidget* window = view->window();
    // With the profile: at the size the panel opens with, where its chart is low
    // enough to crowd and high enough to keep its legend.
    const QSize opened = window->size();
    if (profile)
        app.panel().ui->GraphProfile->show();
    window->resize(profile ? opened : window->minimumSizeHint());
    showWindowOf(view);
    QTRY_COMPARE(window->size(), profile ? opened : window->minimumSizeHint());
    // Every label drawn is whole, and each axis keeps at least two.
    for (QChartView* each : {view, profile ? app.panel().ui->GraphProfile : view}) {
        int labels = 0;
        for (QGraphicsItem* item : each->scene()->items()) {
            const auto* text = dynamic_cast<QGraphicsTextItem*>(item);
            if (!text || !text->isVisible())
                continue;
            const QString shown = text->toPlainText();
            QVERIFY2(!shown.contains(QStringLiteral("...")) && !shown.contains(QChar(0x2026)),
                     qPrintable(each->objectName() + QStringLiteral(": ") + shown));
            bool number = false;
            shown.toDouble(&number);
            labels += number;
        }
        QVERIFY2(labels >= 4, qPrintable(QString::number(labels)));
    }
}

QTEST_MAIN(GraphsTest)
#include "tst_graphs.moc"
