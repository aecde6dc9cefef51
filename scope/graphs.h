// The scope's graphs: the main panel's strip chart of the selected signal
// with its tolerance band, the piece profile, the graph panel's growing line
// charts of one recorded signal, and the axis-scaling panel of the
// calibration graph.
#pragma once

#include "charts.h"
#include "measurement.h"
#include "valuehistory.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>

class QChartView;
class QWidget;
namespace Ui {
class P;
class RECP;
class CALIBP2;
class GRAPHP;
class GFPANEL;
class VECPANEL;
class ScaleAxisPanel;
}

namespace tarvo {

class Exchange;
struct LoopFlags;

// The panels whose charts and displays the graphs draw.
struct GraphPanels {
    Ui::P* main = nullptr;
    Ui::RECP* recorder = nullptr;
    Ui::GRAPHP* graph = nullptr;
    QWidget* graphPanel = nullptr;
    Ui::ScaleAxisPanel* scaleAxis = nullptr;
    QWidget* scaleAxisPanel = nullptr;
    Ui::GFPANEL* glossBig = nullptr;
    Ui::VECPANEL* vectorBig = nullptr;
    Ui::CALIBP2* calibration2 = nullptr;
};

class Graphs final : public QObject {
    Q_OBJECT
public:
    // history: what the strip charts draw; profile: the transfer that fetches
    // a piece's profile (PROFILE).
    Graphs(const GraphPanels& panels, Exchange& exchange, LoopFlags& flags, const MeasuredValues& measured,
           const ValueHistory& history, MeasurementTransfer& profile);
    ~Graphs() override;

    // Y scaling of the four strip charts and of the profile: 0 fixed, 1 auto zoom.
    std::uint16_t stripScaling() const { return scale; }
    void setStripScaling(std::uint16_t s) { scale = s; }
    std::uint16_t profileScaling() const { return scaleprof; }
    void setProfileScaling(std::uint16_t s) { scaleprof = s; }
    // The X value of the graph panel's next point (value sets since InitPanelGraph).
    std::uint16_t nextPanelPoint() const { return graphcnt; }

    void ShowGraph();
    void ShowProfile();
    void ScaleAxis();
    void InitPanelGraph();
    void SetGraphVisible();
    void SetPanelGraphData();
    // The connection was lost: the next value set begins a new run of the lines.
    void markGap();

    void CBF_ButtonProfile();
    void CBF_ButtonShowGraph();
    void CBF_ButtonScaleReset();

    // The charts as drawn, for the program's other panels.
    StripChart& stripChart(int signal) { return *m_strip[signal]; }
    StripChart& profileChart() { return *m_profile; }
    GrowingChart& panelGraph(int signal) { return *m_panelGraph[signal]; }

    // Changes per second of the graph panel's numbers while it is shown.
    static constexpr int kPanelValuesPerSecond = 10;

    static constexpr double kYAxisMaxReset = 2200.0;
    static constexpr double kYAxisMinReset = 0.0;
    static constexpr double kXAxisMaxReset = 2100.0;
    static constexpr double kXAxisMinReset = 0.0;

signals:
    // The transfer buttons dimmed while the profile is fetched (1), usable again (0).
    void buttonsDimmed(int dim);

private:
    void wire();
    void showPanelValues();
    // The graph panel's record: the seven signals side by side, with times.
    ChartTable panelTable() const;

    GraphPanels m_panels;
    Exchange& m_exchange;
    LoopFlags& m_flags;
    const MeasuredValues& m_measured;
    const ValueHistory& m_history;
    MeasurementTransfer& m_profileTransfer;

    std::uint16_t scale = 0;
    std::uint16_t scaleprof = 0;
    // Graph panel: the latest segment of each signal (element 0 the
    // previous point, element 1 the latest) and the X value of the next point.
    std::array<std::uint16_t, 2> bufcnt{};
    std::array<std::uint16_t, 2> bufchref{};
    std::array<std::uint16_t, 2> bufchdir{};
    std::array<std::uint16_t, 2> bufchdif{};
    std::array<std::uint16_t, 2> bufnorm{};
    std::array<std::uint16_t, 2> bufint{};
    std::array<std::uint16_t, 2> buftemp{};
    std::array<double, 2> bufgf{};
    std::uint16_t graphcnt = 0;

    std::array<std::unique_ptr<StripChart>, 4> m_strip;  // NORM, INT, GF, RAW
    std::unique_ptr<StripChart> m_profile;
    std::array<QChartView*, 7> m_panelViews{};  // per EditSignal
    PointStore m_panelTimes;                    // when each value set of the graph panel arrived, ms since the epoch
    std::array<std::unique_ptr<GrowingChart>, 7> m_panelGraph;
    MeasuredValues m_panelValues;  // the latest set, for the graph panel's numbers
    bool m_panelValuesPending = false;
    QTimer m_panelValuesTimer;  // shows them at kPanelValuesPerSecond
};

}  // namespace tarvo
