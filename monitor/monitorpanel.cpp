#include "monitorpanel.h"

#include "capabilitydisplay.h"
#include "connection.h"
#include "dialogs.h"
#include "eventpump.h"
#include "exchange.h"
#include "loopflags.h"
#include "measurement.h"
#include "ui_MONITORP.h"

#include <QChartView>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

void showPanel(QWidget* panel)
{
    panel->show();
    panel->raise();
    panel->activateWindow();
}

constexpr double kResetYMax = 200.0;

}  // namespace

MonitorPanel::MonitorPanel(const MonitorContext& context)
    : m_ctx(context)
{
    QWidget* w = m_ctx.monitorpanel;
    const Ui::MONITORP& ui = *m_ctx.ui;
    m_editTrendValues = ui.EditTrendValues;
    m_dispGf = ui.DispMonitorGf;
    m_dispPP = ui.DispMonitorPP;
    m_dispTrend = ui.DispGfTrend;
    m_dispStdDev = ui.DispStdDev;
    m_dispBad = ui.DispBad;
    m_dispGaps = ui.DispGaps;
    m_dispGapSeconds = ui.DispGapSeconds;
    for (QDoubleSpinBox* d : {m_dispGf, m_dispPP, m_dispTrend})
        d->setAutoFillBackground(true);
    m_chart = std::make_unique<StripChart>(ui.GraphMonitor, QList<QColor>{QColor(0, 0, 160)});
    m_chart->setNames(QString::fromLatin1(kValueSetColumn),
                      {withUnit(QStringLiteral("GF"), QString::fromLatin1(kUnitGloss))});
    m_chart->setShownNames({QCoreApplication::translate("Monitor", "value set"),
                            withUnit(QStringLiteral("GF"), QString::fromLatin1(kUnitGloss))});
    m_chart->setAxisTitles(QCoreApplication::translate("Monitor", "last scans"),
                           withUnit(QStringLiteral("GF"), QString::fromLatin1(kUnitGloss)));
    m_chart->setTitle(QCoreApplication::translate("Monitor", "GF trend"));
    m_chart->setFileStem(QStringLiteral("gloss-trend"));
    m_chart->setYRange(0.0, kResetYMax);
    m_chart->setPointsPerScreen(trendValues());
    m_chart->setRowNote(QStringLiteral("origin"), [this](std::int64_t row) { return windowOrigin(int(row)); });

    connect(ui.ButtonStartMonitor, &QPushButton::clicked, this, [this] {
        m_ctx.connection->exchange().Transfer(TransferKind::Monitor, [this] { CBF_ButtonStartMonitor(); });
    });
    connect(ui.ButtonStopMonitor, &QPushButton::clicked, this, [this] { CBF_ButtonStopMonitor(); });
    connect(ui.ButtonMonitorReset, &QPushButton::clicked, this, [this] { CBF_ButtonMonitorReset(); });
    connect(ui.ButtonMonitorGfBig, &QPushButton::clicked, this, [this] { CBF_ButtonMonitorGfBig(); });
    connect(ui.ButtonMonitorVecBig, &QPushButton::clicked, this, [this] { CBF_ButtonMonitorVecBig(); });
    w->installEventFilter(this);
}

MonitorPanel::~MonitorPanel() = default;

int MonitorPanel::trendValues() const
{
    return trendWindowSize(m_editTrendValues->value());
}

double MonitorPanel::teachCell(int col) const
{
    const QTableWidgetItem* item = m_ctx.teachTable->item(0, col);
    if (!item)
        return 0.0;
    bool ok = false;
    const double v = item->data(Qt::EditRole).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

void MonitorPanel::colour(QDoubleSpinBox* display, unsigned& current, unsigned rgb)
{
    if (rgb == current)
        return;  // the palette changes only when the colour does
    current = rgb;
    QPalette pal = display->palette();
    pal.setColor(QPalette::Base, QColor::fromRgb(rgb));
    pal.setColor(QPalette::Window, QColor::fromRgb(rgb));
    display->setPalette(pal);
}

void MonitorPanel::CBF_ButtonStartMonitor()
{
    if (m_running)
        return;  // one loop at a time
    emit buttonsDimmed(1);
    StartMonitoring();
    m_ctx.connection->exchange().StopAutoSend();
    emit buttonsDimmed(0);
    const QString report = autoFrameReport(m_counts, m_notDrawn);
    if (!report.isEmpty() && !m_ctx.connection->closed())
        dialogs().message(QStringLiteral("INFO!"), report);
}

void MonitorPanel::CBF_ButtonStopMonitor()
{
    m_ctx.connection->flags().pollmonitor = 0;
    m_ctx.connection->pump().poke();  // a wait for the next frame ends now
}

void MonitorPanel::CBF_ButtonMonitorReset()
{
    ResetMonitor();
}

void MonitorPanel::CBF_ButtonMonitorGfBig()
{
    showPanel(m_ctx.gfpanel);
}

void MonitorPanel::CBF_ButtonMonitorVecBig()
{
    showPanel(m_ctx.vecpanel);
}

void MonitorPanel::CBF_MONITORP_close()
{
    m_ctx.connection->flags().pollmonitor = 0;
    m_ctx.connection->pump().poke();
    // After a running monitor loop has ended, never inside its wait.
    m_ctx.connection->exchange().Transfer(TransferKind::AutoSendOff,
                                          [this] { m_ctx.connection->exchange().StopAutoSend(); });
    ChangePanelMonitor();
}

void MonitorPanel::ChangePanelMonitor()
{
    m_ctx.monitorpanel->hide();
    showPanel(m_ctx.mainpanel);
}

void MonitorPanel::StartMonitoring()
{
    m_running = true;
    m_frames = 0;
    m_notDrawn = 0;
    m_plotFrames = 0;
    m_plotN = 0;
    m_drawnUpTo = 0;
    m_seenRedraws = m_chart->redraws();
    m_monitoredSince = 0;
    AutoFrameReader& reader = m_ctx.connection->exchange().autoFrames();
    m_ctx.transfer->StartAutoSend();
    LoopFlags& flags = m_ctx.connection->flags();
    flags.pollmonitor = 1;
    const auto take = [this](const FrameWords& words) {
        m_ctx.measured->CopyDatatoVars(words);
        emit panelDataDue();
        if (m_monitoredSince == 0)
            m_monitoredSince = m_ctx.measured->receivedMs;
        ++m_frames;
    };
    Reconnector& reconnect = m_ctx.connection->reconnector();
    reconnect.begin();
    while (flags.pollmonitor == 1) {
        if (!reconnect.awaitFrames(flags.pollmonitor))
            continue;
        // Every measurement frame counts in the trend; the displays show the
        // newest of those that came together, the chart the last n of them.
        if (reader.takeAll(take) > 0)
            ShowMonitorData();
    }
    // Frames already taken in when monitoring stopped still count.
    if (reader.takeAll(take) > 0)
        ShowMonitorData();
    // The last window is drawn now, so that the count below is complete.
    m_chart->redrawNow();
    settleDrawn();
    m_counts = reader.counts();
    endGap();
    m_running = false;
}

void MonitorPanel::linkEvent(LinkEvent event)
{
    if (!m_running)
        return;
    if (event == LinkEvent::Lost) {
        ++m_gaps;
        m_gapStart = m_ctx.connection->pump().now();
        showGaps();
    } else if (event != LinkEvent::Back && event != LinkEvent::ParametersChanged) {
        endGap();
    }
}

void MonitorPanel::endGap()
{
    if (m_gapStart < 0.0)
        return;
    m_gapSeconds += m_ctx.connection->pump().now() - m_gapStart;
    m_gapStart = -1.0;
    showGaps();
}

void MonitorPanel::showGaps()
{
    m_dispGaps->setValue(m_gaps);
    m_dispGapSeconds->setValue(m_gapSeconds);
}

void MonitorPanel::settleDrawn()
{
    // The chart drew the window last given to it: frames between what was
    // accounted before and that window's first value were never on it.
    m_notDrawn += std::max(0L, m_plotFrames - m_plotN - m_drawnUpTo);
    m_drawnUpTo = std::max(m_drawnUpTo, m_plotFrames);
    m_seenRedraws = m_chart->redraws();
}

void MonitorPanel::ShowMonitorData()
{
    const GlossBand band{teachCell(0), teachCell(1)};
    const double ppTol = teachCell(2);
    const int n = trendValues();
    if (m_running) {
        if (m_chart->redraws() != m_seenRedraws)
            settleDrawn();  // the window given last time has been drawn
        m_plotFrames = m_frames;
        m_plotN = n;
    }
    const ValueHistory& history = *m_ctx.history;
    std::ranges::copy(history.trend(n), m_window.begin());
    std::ranges::copy(history.trendTimes(n), m_windowTimes.begin());
    // A slot that RESET emptied (or that was never filled) holds no part:
    // counted as a gloss factor of 0 it would pull the mean down and the bad
    // share up, so it is left out of the statistics and the chart.
    for (int i = 0; i < n; ++i) {
        const bool empty = m_windowTimes[size_t(i)] == 0 && m_window[size_t(i)] == 0.0;
        m_parts[size_t(i)] = empty ? std::numeric_limits<double>::quiet_NaN() : m_window[size_t(i)];
    }
    m_stats = trendStatistics(std::span<const double>(m_parts.data(), n), band);
    showCapability(*m_ctx.ui, std::span<const double>(m_parts.data(), n), band);

    const MeasuredValues& m = *m_ctx.measured;
    m_dispGf->setValue(m.dataGfDouble);
    m_dispPP->setValue(m.dataPPDouble);
    m_dispTrend->setValue(m_stats.mean);
    m_dispStdDev->setValue(m_stats.stdDev);
    m_dispBad->setValue(m_stats.badPercent);

    colour(m_dispGf, m_gfColour, band.contains(m.dataGfDouble) ? kGood : kBad);
    colour(m_dispPP, m_ppColour, ppWithinTolerance(m.dataPPDouble, ppTol) ? kGood : kBad);
    colour(m_dispTrend, m_trendColour, band.contains(m_stats.mean) ? kGood : kBad);

    const auto [yMin, yMax] = trendYRange(m_stats.min, m_stats.max);
    plotWindow(m_parts.data(), n, yMin, yMax);
}

void MonitorPanel::ResetMonitor()
{
    const int n = trendValues();
    m_ctx.history->resetTrend();
    std::fill(m_window.begin(), m_window.end(), 0.0);
    std::fill(m_windowTimes.begin(), m_windowTimes.end(), 0);
    plotWindow(m_window.data(), n, 0.0, kResetYMax);
    // What the reset cleared away is not owed to the chart any more.
    m_drawnUpTo = m_plotFrames = m_frames;
    m_monitoredSince = 0;

    for (QDoubleSpinBox* d : {m_dispGf, m_dispPP, m_dispTrend, m_dispStdDev})
        d->setValue(0.0);
    m_gaps = 0;
    m_gapSeconds = 0.0;
    if (m_gapStart >= 0.0)
        m_gapStart = m_ctx.connection->pump().now();
    showGaps();
    colour(m_dispGf, m_gfColour, kGood);
    colour(m_dispPP, m_ppColour, kGood);
    colour(m_dispTrend, m_trendColour, kGood);
    // DispBad keeps its value until the next frame.
    showCapability(*m_ctx.ui, {}, GlossBand{.gf = teachCell(0), .gfTol = teachCell(1)});
}

QString MonitorPanel::windowOrigin(int row) const
{
    const int n = m_chart->pointsPerScreen();
    if (row < 0 || row >= n)
        return {};
    // Rows are in the order of arrival; the first one of this run decides.
    if (m_monitoredSince != 0)
        for (int r = 0; r <= row; ++r)
            if (m_windowTimes[size_t(r)] >= m_monitoredSince)
                return QStringLiteral("monitored");
    return m_windowTimes[size_t(row)] == 0 && !std::isnan(m_window[size_t(row)]) ? QStringLiteral("empty")
                                                                                 : QStringLiteral("earlier");
}

void MonitorPanel::plotWindow(const double* values, int n, double min, double max)
{
    m_chart->setYRange(min, max);
    m_chart->setPointsPerScreen(n);
    m_chart->plot(values, n, m_windowTimes.data());
}

bool MonitorPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ctx.monitorpanel && event->type() == QEvent::Close)
        CBF_MONITORP_close();
    return QObject::eventFilter(watched, event);
}

}  // namespace tarvo
