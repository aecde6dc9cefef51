#include "graphs.h"

#include "dialogs.h"
#include "exchange.h"
#include "liveloop.h"
#include "mouseactions.h"
#include "panelutil.h"
#include "ui_CALIBP2.h"
#include "ui_GFPANEL.h"
#include "ui_GRAPHP.h"
#include "ui_P.h"
#include "ui_RECP.h"
#include "ui_ScaleAxisPanel.h"
#include "ui_VECPANEL.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <utility>

namespace tarvo {

namespace {

// Points per screen of the strip charts: the points plotted, so that a point
// stands at its value-set number, the one its export and hover label give.
constexpr int kStripPoints = ValueHistory::kPoints;
constexpr int kProfileFixedPoints = 151;
constexpr double kProfileFixedMax = 200.0;
constexpr double kProfileZoomMargin = 3.0;

// Per signal (SelectSource 0 NORM, 1 INT, 2 GF, 3 RAW).
constexpr double kZoomMargin[4] = {15.0, 25.0, 3.0, 25.0};
constexpr double kFixedMax[4] = {1000.0, 4096.0, 200.0, 4096.0};

const QColor kValueColour(0x0000ff);
const QColor kBandColour(0xff0000);
// CH_REF, CH_DIR, CH_DIF: the RAW chart's lines and the bars of both panels.
const QColor kChannelColour[3] = {QColor(0xff0000), QColor(0x00a000), QColor(0x0000ff)};

// Graph panel, per EditSignal: CH_REF, CH_DIR, CH_DIF, NORM, INT, GF, TEMP.
constexpr unsigned kPanelGraphColour[7] = {0xff0000, 0x00ff00, 0x0000ff, 0xff8000, 0x008080, 0x00ff00, 0x008080};
constexpr const char* kPanelGraphName[7] = {"CH_REF", "CH_DIR", "CH_DIF", "NORM", "INT", "GF", "TEMP"};
constexpr const char* kPanelGraphUnit[7] = {kUnitCounts, kUnitCounts, kUnitCounts, kUnitNorm,
                                            kUnitCounts, kUnitGloss,  kUnitRaw};

QString named(const char* name, const char* unit)
{
    return withUnit(QString::fromLatin1(name), QString::fromLatin1(unit));
}

// The same on an axis: the unit in the user's language.
QString namedOnAxis(const char* name, const char* unit)
{
    return withUnit(QString::fromLatin1(name), shownUnit(QString::fromLatin1(unit)));
}

// A bar drawn in the colour of its channel's line.
void colourBar(QProgressBar* bar, const QColor& colour)
{
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Highlight, colour);
    bar->setPalette(palette);
}

template <typename T>
void advance(std::array<T, 2>& buf, T latest, bool first)
{
    buf[0] = buf[1];
    buf[1] = latest;
    if (first)
        buf[0] = latest;  // the first segment is flat
}

}  // namespace

Graphs::Graphs(const GraphPanels& panels, Exchange& exchange, LoopFlags& flags, const MeasuredValues& measured,
               const ValueHistory& history, MeasurementTransfer& profile)
    : m_panels(panels)
    , m_exchange(exchange)
    , m_flags(flags)
    , m_measured(measured)
    , m_history(history)
    , m_profileTransfer(profile)
{
    Ui::P& p = *m_panels.main;
    const QList<QColor> band = {kValueColour, kBandColour, kBandColour};
    m_strip[0] = std::make_unique<StripChart>(p.GraphNorm, band);
    m_strip[1] = std::make_unique<StripChart>(p.GraphInt, band);
    m_strip[2] = std::make_unique<StripChart>(p.GraphGF, band);
    m_strip[3] = std::make_unique<StripChart>(p.GraphRaw1,
                                              QList<QColor>(std::begin(kChannelColour), std::end(kChannelColour)));
    const QString valueSet = QString::fromLatin1(kValueSetColumn);
    const QString shownValueSet = QCoreApplication::translate("Graphs", "value set");
    const QString shown = QCoreApplication::translate("Graphs", "last %n value sets", nullptr, kStripPoints);
    const char* bandSignal[3] = {"NORM", "INT", "GF"};
    const char* bandUnit[3] = {kUnitNorm, kUnitCounts, kUnitGloss};
    for (int s = 0; s < 3; ++s) {
        const QString name = QString::fromLatin1(bandSignal[s]), unit = QString::fromLatin1(bandUnit[s]);
        const auto limit = [&](const char* which) {
            return withUnit(QString::fromLatin1(which) + name + QStringLiteral(" tolerance"), unit);
        };
        m_strip[s]->setNames(valueSet, {withUnit(name, unit), limit("upper "), limit("lower ")});
        const QString shownUnitText = shownUnit(unit);
        m_strip[s]->setShownNames(
            {shownValueSet, withUnit(name, shownUnitText),
             withUnit(QCoreApplication::translate("Graphs", "upper %1 tolerance").arg(name), shownUnitText),
             withUnit(QCoreApplication::translate("Graphs", "lower %1 tolerance").arg(name), shownUnitText)});
        m_strip[s]->setAxisTitles(shown, withUnit(name, shownUnit(unit)));
        m_strip[s]->setTitle(name);
        m_strip[s]->setFileStem(QStringLiteral("gloss-%1-chart").arg(name.toLower()));
        m_strip[s]->setLegendLabel(0, name);
    }
    const QStringList channels{named("CH_REF", kUnitCounts), named("CH_DIR", kUnitCounts),
                               named("CH_DIF", kUnitCounts)};
    m_strip[3]->setNames(valueSet, channels);
    m_strip[3]->setShownNames({shownValueSet, namedOnAxis("CH_REF", kUnitCounts), namedOnAxis("CH_DIR", kUnitCounts),
                               namedOnAxis("CH_DIF", kUnitCounts)});
    m_strip[3]->setAxisTitles(
        shown,
        withUnit(QCoreApplication::translate("Graphs", "raw channels"), shownUnit(QString::fromLatin1(kUnitCounts))));
    m_strip[3]->setTitle(QCoreApplication::translate("Graphs", "RAW: CH_REF, CH_DIR, CH_DIF"));
    m_strip[3]->setFileStem(QStringLiteral("gloss-raw-chart"));
    for (int t = 0; t < 3; ++t)
        m_strip[3]->setLegendLabel(t, QString::fromLatin1(kPanelGraphName[t]));
    for (int s = 0; s < 4; ++s) {
        m_strip[s]->setPointsPerScreen(kStripPoints);
        m_strip[s]->setYRange(0.0, kFixedMax[s]);
    }
    const Ui::RECP& r = *m_panels.recorder;
    QProgressBar* const bars[3][2] = {
        {p.BarChRef, r.RecBarChRef}, {p.BarChDir, r.RecBarChDir}, {p.BarChDif, r.RecBarChDif}};
    for (int c = 0; c < 3; ++c)
        for (QProgressBar* bar : bars[c])
            colourBar(bar, kChannelColour[c]);
    m_profile = std::make_unique<StripChart>(p.GraphProfile, QList<QColor>{QColor(0x008000)});
    // Its rows are the points of one piece's profile, not value sets.
    m_profile->setNames(QStringLiteral("profile point"), {named("profile", kUnitProfile)});
    m_profile->setShownNames(
        {QCoreApplication::translate("Graphs", "profile point"),
         withUnit(QCoreApplication::translate("Graphs", "profile"), shownUnit(QString::fromLatin1(kUnitProfile)))});
    m_profile->setAxisTitles(
        QCoreApplication::translate("Graphs", "profile point"),
        withUnit(QCoreApplication::translate("Graphs", "light profile"), shownUnit(QString::fromLatin1(kUnitProfile))));
    m_profile->setTitle(QCoreApplication::translate("Graphs", "Profile of the last piece"));
    m_profile->setFileStem(QStringLiteral("gloss-profile"));
    m_profile->setPointsPerScreen(kProfileFixedPoints);
    m_profile->setYRange(0.0, kProfileFixedMax);

    Ui::GRAPHP& g = *m_panels.graph;
    m_panelViews = {g.PanelGraphChRef, g.PanelGraphChDir, g.PanelGraphChDif, g.PanelGraphNorm,
                    g.PanelGraphInt,   g.PanelGraphGF,    g.PanelGraphTemp};
    for (int i = 0; i < 7; ++i) {
        const QString name = named(kPanelGraphName[i], kPanelGraphUnit[i]);
        auto graph = std::make_unique<GrowingChart>(m_panelViews[i], QColor(kPanelGraphColour[i]), name);
        graph->setAxisTitles(QCoreApplication::translate("Graphs", "value set"),
                             namedOnAxis(kPanelGraphName[i], kPanelGraphUnit[i]));
        graph->setShownNames(
            {QCoreApplication::translate("Graphs", "value set"), namedOnAxis(kPanelGraphName[i], kPanelGraphUnit[i])});
        graph->setFileStem(QStringLiteral("gloss-%1-graph")
                               .arg(QString::fromLatin1(kPanelGraphName[i]).toLower().replace(u'_', u'-')));
        graph->setTimes(&m_panelTimes);
        graph->setZoomable(true);
        // Each graph's export holds all seven signals.
        graph->setTableSource([this] { return panelTable(); });
        m_panelGraph[i] = std::move(graph);
    }

    m_panelValuesTimer.setSingleShot(true);
    connect(&m_panelValuesTimer, &QTimer::timeout, this, &Graphs::showPanelValues);
    wire();
}

ChartTable Graphs::panelTable() const
{
    const PointStore& first = m_panelGraph[0]->points();
    ChartTable t;
    t.header << QString::fromLatin1(kValueSetColumn);
    for (int i = 0; i < 7; ++i)
        t.header << named(kPanelGraphName[i], kPanelGraphUnit[i]);
    t.rows = first.size();
    const std::int64_t begin = first.begin();
    t.value = [this, begin](std::int64_t row, int column) {
        return column == 0 ? double(begin + row) : m_panelGraph[size_t(column - 1)]->points().at(begin + row);
    };
    t.time = [this, begin](std::int64_t row) {
        const std::int64_t i = begin + row;
        return m_panelTimes.holds(i) ? std::int64_t(m_panelTimes.at(i)) : std::int64_t(0);
    };
    return t;
}

Graphs::~Graphs() = default;

void Graphs::wire()
{
    Ui::P& p = *m_panels.main;
    for (QChartView* chart : {p.GraphRaw1, p.GraphNorm, p.GraphInt, p.GraphGF}) {
        onMouse(chart, QEvent::MouseButtonPress, Qt::LeftButton, [this] { scale = 0; });
        onMouse(chart, QEvent::MouseButtonDblClick, Qt::LeftButton, [this] { scale = 1; });
    }
    onMouse(p.GraphProfile, QEvent::MouseButtonPress, Qt::LeftButton, [this] {
        scaleprof = 0;
        ShowProfile();
    });
    onMouse(p.GraphProfile, QEvent::MouseButtonDblClick, Qt::LeftButton, [this] {
        scaleprof = 1;
        ShowProfile();
    });
    connect(p.ButtonProfile, &QPushButton::clicked, this, [this] { CBF_ButtonProfile(); });

    connect(m_panels.recorder->ButtonShowGraph, &QPushButton::clicked, this, [this] { CBF_ButtonShowGraph(); });
    connect(m_panels.graph->EditSignal, &QComboBox::activated, this, [this] { SetGraphVisible(); });

    Ui::ScaleAxisPanel& s = *m_panels.scaleAxis;
    // Fields commit on arrows, Enter and focus loss; the reset writes them
    // with their signals blocked.
    for (QDoubleSpinBox* field : {s.EditYAxisMax, s.EditYAxisMin, s.EditXAxisMax, s.EditXAxisMin})
        connect(field, &QDoubleSpinBox::valueChanged, this, [this] { ScaleAxis(); });
    connect(s.ButtonScaleReset, &QPushButton::clicked, this, [this] { CBF_ButtonScaleReset(); });
    connect(s.ButtonCloseScaleAxis, &QPushButton::clicked, this, [this] { m_panels.scaleAxisPanel->hide(); });
}

void Graphs::ShowGraph()
{
    const int s = m_panels.main->SelectSource->currentIndex();
    if (s < 0 || s > 3)
        return;
    const ValueHistory& history = m_history;
    const auto buf = history.strip(Strip(s));

    double min = 0.0;
    double max = kFixedMax[s];
    if (scale == 1) {
        // All three traces together.
        min = 10000.0;
        max = 0.0;
        for (double v : buf) {
            min = std::min(min, v);
            max = std::max(max, v);
        }
        min = std::max(min - kZoomMargin[s], 0.0);
        max += kZoomMargin[s];
    }
    StripChart& chart = *m_strip[s];
    if (s < 3)
        chart.setLegendLabel(
            1, QCoreApplication::translate("Graphs", "tolerance, teach row %1").arg(m_panels.main->EditNo->value()));
    chart.setYRange(min, max);
    chart.setPointsPerScreen(kStripPoints);
    chart.plot(buf.data(), int(buf.size()), history.times().data());
}

void Graphs::ShowProfile()
{
    const MeasuredValues& m = m_measured;
    m_panels.main->DispPP->setValue(m.dataPPDouble);
    StripChart& chart = *m_profile;
    chart.setTakenAt(m.profileReceivedMs);
    if (scaleprof == 1) {
        double lo = m.minprof / 10.0 - kProfileZoomMargin;
        double hi = m.maxprof / 10.0 + kProfileZoomMargin;
        if (lo < 0.0)
            lo = 0.0;
        if (lo > hi)
            std::swap(lo, hi);
        const int count = std::min<int>(m.anzprof, kProfilePoints);
        chart.setYRange(lo, hi);
        chart.setPointsPerScreen(count + 2);
        chart.plot(m.profileBuf.data(), count);
    } else {
        chart.setYRange(0.0, kProfileFixedMax);
        chart.setPointsPerScreen(kProfileFixedPoints);
        chart.plot(m.profileBuf.data(), kProfilePoints);
    }
}

void Graphs::CBF_ButtonProfile()
{
    m_exchange.Transfer(TransferKind::Profile, [this] {
        emit buttonsDimmed(1);
        setVisibleWithCaption(m_panels.main->GraphProfile, true);
        m_profileTransfer.GetProfile();
        emit buttonsDimmed(0);
    });
}

void Graphs::CBF_ButtonShowGraph()
{
    m_flags.poll = 0;
    QWidget* graph = m_panels.graphPanel;
    graph->show();
    graph->raise();
    graph->activateWindow();
}

void Graphs::InitPanelGraph()
{
    const MeasuredValues& m = m_measured;
    graphcnt = 0;
    m_panelTimes.clear();
    for (auto& graph : m_panelGraph)
        graph->clear();
    bufcnt = {0, 0};
    bufchref = {m.dataChRef, m.dataChRef};
    bufchdir = {m.dataChDir, m.dataChDir};
    bufchdif = {m.dataChDif, m.dataChDif};
    bufnorm = {m.dataNorm, m.dataNorm};
    bufint = {m.dataInt, m.dataInt};
    buftemp = {m.dataTemp, m.dataTemp};
    bufgf = {m.dataGfDouble, m.dataGfDouble};
}

void Graphs::SetGraphVisible()
{
    int s = m_panels.graph->EditSignal->currentIndex();
    if (s < 0 || s > 6)
        s = 0;
    for (int i = 0; i < 7; ++i)
        m_panelViews[i]->setVisible(i == s);
}

void Graphs::SetPanelGraphData()
{
    const MeasuredValues& m = m_measured;
    // While the panel is shown its numbers change at a rate one can read
    // (and repainting seven fields 50 times a second would cost more than the
    // graph); the latest values are always the ones shown. Hidden, at once.
    m_panelValues = m;
    m_panelValuesPending = true;
    if (!m_panels.graphPanel->isVisible())
        showPanelValues();
    else if (!m_panelValuesTimer.isActive())
        m_panelValuesTimer.start(1000 / kPanelValuesPerSecond);
    displayGloss(m_panels.glossBig->DispGFBig, m.dataGfDouble);
    m_panels.vectorBig->DispVecBig->display(int(m.dataVec));

    const bool first = graphcnt == 0;
    advance(bufcnt, graphcnt, false);
    advance(bufchref, m.dataChRef, first);
    advance(bufchdir, m.dataChDir, first);
    advance(bufchdif, m.dataChDif, first);
    advance(bufnorm, m.dataNorm, first);
    advance(bufint, m.dataInt, first);
    advance(buftemp, m.dataTemp, first);
    advance(bufgf, m.dataGfDouble, first);

    // Each value set continues the line of its graph: the segment from
    // element 0 to element 1 is the one from the previous point to this one.
    // Hidden graphs only store the value; a visible one is redrawn at the
    // display rate.
    const double latest[7] = {double(bufchref[1]), double(bufchdir[1]), double(bufchdif[1]),
                              double(bufnorm[1]),  double(bufint[1]),   bufgf[1],
                              double(buftemp[1])};
    m_panelTimes.append(double(m.receivedMs));
    for (int i = 0; i < 7; ++i)
        m_panelGraph[i]->append(latest[i]);

    ++graphcnt;  // wraps from 65535 to 0
}

void Graphs::markGap()
{
    for (auto& graph : m_panelGraph)
        graph->markGap();
}

void Graphs::showPanelValues()
{
    if (!m_panelValuesPending)
        return;
    m_panelValuesPending = false;
    const MeasuredValues& m = m_panelValues;
    Ui::GRAPHP& g = *m_panels.graph;
    g.PanelDispChRef->setValue(m.dataChRef);
    g.PanelDispChDir->setValue(m.dataChDir);
    g.PanelDispChDif->setValue(m.dataChDif);
    g.PanelDispNorm->setValue(m.dataNorm);
    g.PanelDispInt->setValue(m.dataInt);
    g.PanelDispGF->setValue(m.dataGfDouble);
    g.PanelDispTemp->setValue(m.dataTemp);
}

void Graphs::ScaleAxis()
{
    Ui::ScaleAxisPanel& s = *m_panels.scaleAxis;
    const double ymax = s.EditYAxisMax->value();
    const double ymin = s.EditYAxisMin->value();
    const double xmax = s.EditXAxisMax->value();
    const double xmin = s.EditXAxisMin->value();
    QChartView* graph = m_panels.calibration2->GraphCalibBuf;

    ChartPlot* plot = ChartPlot::of(graph);
    if (xmax > xmin)
        plot->setAxisRange(plot->xAxis(), xmin, xmax);
    else
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QCoreApplication::translate("Graphs", "X AXIS MIN must be lower than X AXIS MAX"));
    if (ymax > ymin)
        plot->setAxisRange(plot->yAxis(), ymin, ymax);
    else
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QCoreApplication::translate("Graphs", "Y AXIS MIN must be lower than Y AXIS MAX"));
}

void Graphs::CBF_ButtonScaleReset()
{
    Ui::ScaleAxisPanel& s = *m_panels.scaleAxis;
    {
        const QSignalBlocker b1(s.EditYAxisMax), b2(s.EditYAxisMin), b3(s.EditXAxisMax), b4(s.EditXAxisMin);
        s.EditYAxisMax->setValue(kYAxisMaxReset);
        s.EditYAxisMin->setValue(kYAxisMinReset);
        s.EditXAxisMax->setValue(kXAxisMaxReset);
        s.EditXAxisMin->setValue(kXAxisMinReset);
    }
    ScaleAxis();
}

}  // namespace tarvo
