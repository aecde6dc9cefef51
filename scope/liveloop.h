// The live acquisition loop behind GO and STOP, and the distribution of each
// value set to the displays, the big display panels, the graph buffers and
// the gloss-factor trend.
#pragma once

#include "measurement.h"

#include <QDateTime>
#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

class QLCDNumber;

namespace tarvo {

class ScopeApp;

constexpr int kGraphBufValues = 300;  // 100 triples
constexpr int kGraphBufPoints = kGraphBufValues / 3;
constexpr int kTrendValues = 1000;

// Moves the contents by count places (negative: toward index 0) and fills
// the places left behind with 0. In place; counts beyond the size clear all.
void Shift(std::span<double> values, int count);

// The gloss factor as the big display shows it, one decimal.
void displayGloss(QLCDNumber* display, double gf);

class LiveLoop final : public QObject, public MeasurementHost {
    Q_OBJECT
public:
    explicit LiveLoop(ScopeApp& app);

    // Interleaved triples, oldest first; 297..299 is the newest.
    std::array<double, kGraphBufValues> rawbuf{};   // CH_REF, CH_DIR, CH_DIF
    std::array<double, kGraphBufValues> normbuf{};  // NORM, upper, lower tolerance
    std::array<double, kGraphBufValues> intbuf{};   // INT, upper, lower tolerance
    std::array<double, kGraphBufValues> gfbuf{};    // GF, upper, lower tolerance
    // When each triple's value set arrived (ms since the epoch, 0: none yet).
    std::array<std::int64_t, kGraphBufPoints> timebuf{};
    // The last 1000 gloss factors, newest at 999, and when each arrived.
    std::array<double, kTrendValues> trendBufGF{};
    std::array<std::int64_t, kTrendValues> trendTimes{};

    MeasurementTransfer transfer;
    // When the last value set was shown, from whatever source.
    QDateTime lastValueTime;

    // The parameter panel's DispVis: displays and charts for SelectSource.
    std::function<void()> dispVis;

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
    void markGap() { m_gapPending = true; }

    static constexpr unsigned kNoVectorColour = 0xff0000;
    static constexpr unsigned kVectorColour = 0x00ff00;

private:
    void wire();
    void colourGlossBig(unsigned rgb);
    double teachCell(int row, int col) const;

    ScopeApp& m_app;
    unsigned m_glossBigColour = 0x1000000;  // none set yet
    bool m_gapPending = false;
};

}  // namespace tarvo
