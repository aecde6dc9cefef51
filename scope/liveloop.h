// The live acquisition loop behind GO and STOP, and the distribution of each
// value set to the displays, the big display panels and the value history
// (strip charts and gloss-factor trend).
#pragma once

#include "measurement.h"
#include "valuehistory.h"

#include <QDateTime>
#include <QObject>

class QLCDNumber;
class QWidget;
namespace Ui {
class P;
class CALIBP2;
class GFPANEL;
class VECPANEL;
}

namespace tarvo {

class Connection;

// The panels the live loop fills and opens.
struct LivePanels {
    Ui::P* main = nullptr;
    QWidget* mainPanel = nullptr;
    Ui::GFPANEL* glossBig = nullptr;
    QWidget* glossBigPanel = nullptr;
    Ui::VECPANEL* vectorBig = nullptr;
    QWidget* vectorBigPanel = nullptr;
    Ui::CALIBP2* calibration2 = nullptr;
    QWidget* monitorPanel = nullptr;
};

// The gloss factor as the big display shows it, one decimal.
void displayGloss(QLCDNumber* display, double gf);

class LiveLoop final : public QObject, public MeasurementHost {
    Q_OBJECT
public:
    // measured: where each value set lands, from whatever source.
    LiveLoop(Connection& connection, MeasuredValues& measured, const LivePanels& panels);

    // What the strip charts and the monitor draw: every value set shown.
    const ValueHistory& history() const { return m_history; }
    // For the monitor's RESET, which empties the trend.
    ValueHistory& mutableHistory() { return m_history; }

    MeasurementTransfer& transfer() { return m_transfer; }
    // When the last value set was shown, from whatever source.
    const QDateTime& lastValueTime() const { return m_lastValueTime; }

    void CBF_ButtonGo();
    void CBF_ButtonStop();
    void CBF_SelectSource();
    void CBF_DispGF();
    void CBF_DispVec();
    // Buttons that open another panel end the live loop first.
    void CBF_ButtonCalibrate();
    void CBF_ButtonOpenRecorder();
    void CBF_ButtonOpenMonitor();

    // MeasurementHost
    void HideProfileGraph() override;
    void SetPanelData() override;
    void ShowGraph() override;
    void ShowProfile() override;

    // The connection was lost: the strip charts show a gap before the next
    // value set instead of a line across the outage.
    void markGap() { m_history.markGap(); }

    static constexpr unsigned kNoVectorColour = 0xff0000;
    static constexpr unsigned kVectorColour = 0x00ff00;

signals:
    // The transfer buttons dimmed while the loop runs (1), usable again (0).
    void buttonsDimmed(int dim);
    // A value set is shown now.
    void valueShown();
    // The measurement asks for the strip chart or the profile to be drawn.
    void graphDue();
    void profileDue();
    // CALIBRATE and OPEN RECORDER: the panel that takes over.
    void calibrationAsked();
    void recorderAsked();
    // SelectSource changed: the displays and charts for it are shown (DispVis).
    void sourceSelected();

private:
    MeasurementTransfer m_transfer;
    QDateTime m_lastValueTime;

    void wire();
    void colourGlossBig(unsigned rgb);
    double teachCell(int row, int col) const;

    LoopFlags& m_flags;
    Exchange& m_exchange;
    const MeasuredValues& m_measured;
    LivePanels m_panels;
    ValueHistory m_history;
    unsigned m_glossBigColour = 0x1000000;  // none set yet
};

}  // namespace tarvo
