// The trend monitor panel MONITORP: switches the sensor's automatic sending
// on, takes every frame it sends, and shows the gloss-factor trend of the
// last n parts with mean, standard deviation and share of bad parts.
#pragma once

#include "autoframes.h"
#include "charts.h"
#include "reconnect.h"
#include "trendstats.h"
#include "valuehistory.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>
#include <span>

class QChartView;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QWidget;
namespace Ui {
class MONITORP;
}

namespace tarvo {

class Connection;
class MeasurementTransfer;
struct MeasuredValues;

// What the monitor works with; the program hands it over once.
struct MonitorContext {
    QWidget* monitorpanel = nullptr;
    Ui::MONITORP* ui = nullptr;  // the form set up on monitorpanel
    QWidget* mainpanel = nullptr;
    QWidget* gfpanel = nullptr;
    QWidget* vecpanel = nullptr;
    QTableWidget* teachTable = nullptr;  // row 0 (vector 0): GF, GF TOL, PP TOL
    // The gloss factors the live loop has shown; RESET empties its trend.
    ValueHistory* history = nullptr;
    // The exchange, loop flags and pump; its reconnection takes a lost line
    // up again while monitoring, when switched on. Once it is closed nothing
    // more is shown.
    Connection* connection = nullptr;
    MeasurementTransfer* transfer = nullptr;
    MeasuredValues* measured = nullptr;
};

class MonitorPanel final : public QObject {
    Q_OBJECT
public:
    explicit MonitorPanel(const MonitorContext& context);
    ~MonitorPanel() override;

    void CBF_ButtonStartMonitor();
    void CBF_ButtonStopMonitor();
    void CBF_ButtonMonitorReset();
    void CBF_ButtonMonitorGfBig();
    void CBF_ButtonMonitorVecBig();
    void CBF_MONITORP_close();

    // The receiving loop; returns when pollmonitor is cleared.
    void StartMonitoring();
    void ShowMonitorData();
    void ResetMonitor();
    void ChangePanelMonitor();

    bool running() const { return m_running; }
    // Measurement frames taken since monitoring started, and how many of
    // them never appeared on the chart: they had left its window of n values
    // before it was drawn again (they still count in the trend).
    long framesShown() const { return m_frames; }
    long framesNotDrawn() const { return m_notDrawn; }
    // What the reader saw in the last monitoring run.
    const AutoFrameCounts& receptionCounts() const { return m_counts; }
    const TrendStatistics& statistics() const { return m_stats; }
    // Where a value of the window last shown came from, as the chart's
    // export marks it: "monitored" (taken since START, after any RESET; an
    // outage's mark among them too), "earlier" (in the history before: the
    // live loop, the recorder, an earlier monitoring) or "empty" (cleared by
    // RESET, or never filled).
    QString windowOrigin(int row) const;

    // What happened to the line: while monitoring, an outage counts as a
    // gap (DispGaps, DispGapSeconds), never as parts.
    void linkEvent(LinkEvent event);
    int gaps() const { return m_gaps; }
    double gapSeconds() const { return m_gapSeconds; }
    StripChart& chart() { return *m_chart; }

    static constexpr unsigned kGood = 0x00ff00;
    static constexpr unsigned kBad = 0xff0000;

signals:
    // Connected directly: each has taken effect when monitoring goes on.
    void buttonsDimmed(int dim);
    // Main-panel displays, big panels, graph buffers and the trend buffer.
    void panelDataDue();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    int trendValues() const;
    double teachCell(int col) const;
    void colour(QDoubleSpinBox* display, unsigned& current, unsigned rgb);
    void plotWindow(const double* values, int n, double min, double max);
    void endGap();
    void showGaps();
    void settleDrawn();

    MonitorContext m_ctx;
    QSpinBox* m_editTrendValues;
    QDoubleSpinBox* m_dispGf;
    QDoubleSpinBox* m_dispPP;
    QDoubleSpinBox* m_dispTrend;
    QDoubleSpinBox* m_dispStdDev;
    QDoubleSpinBox* m_dispBad;
    QSpinBox* m_dispGaps;
    QDoubleSpinBox* m_dispGapSeconds;
    std::unique_ptr<StripChart> m_chart;
    std::array<double, kTrendValuesMax> m_window{};  // the last n values, oldest first
    std::array<double, kTrendValuesMax> m_parts{};   // the same with NaN where no part is (emptied slots)
    std::array<std::int64_t, kTrendValuesMax> m_windowTimes{};
    TrendStatistics m_stats;
    unsigned m_gfColour = 0x1000000;  // none set yet
    unsigned m_ppColour = 0x1000000;
    unsigned m_trendColour = 0x1000000;
    bool m_running = false;
    long m_frames = 0;
    long m_notDrawn = 0;
    // What the chart was last given: the frame count then and the window's
    // size; frames before m_drawnUpTo are accounted drawn or not drawn.
    long m_plotFrames = 0;
    int m_plotN = 0;
    long m_drawnUpTo = 0;
    int m_seenRedraws = 0;
    // When the first value set of this run (since START or RESET) arrived;
    // 0: none yet. The window's rows from that one on are monitored parts.
    std::int64_t m_monitoredSince = 0;
    AutoFrameCounts m_counts;
    int m_gaps = 0;
    double m_gapSeconds = 0.0;
    double m_gapStart = -1.0;  // pump time the open gap began; -1: none open
};

}  // namespace tarvo
