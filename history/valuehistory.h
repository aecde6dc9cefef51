// The value history of the live loop: the last 100 value sets of the four
// strip charts as interleaved triples with the time of each set, the marks
// of an outage among them, and the last 1000 gloss factors of the trend.
// The live loop appends; the strip charts and the monitor read. No widgets.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tarvo {

// The strip charts' signals, numbered like the signal choice SelectSource.
enum class Strip : int { Norm = 0, Int = 1, Gf = 2, Raw = 3 };

// A fixed number of the latest values, oldest first, read as one
// contiguous block. Each value is stored twice, N places apart, so that the
// N values from the oldest on always lie side by side: an append writes two
// places and moves nothing. Starts full of zeros.
template <typename T, int N>
class MirroredRing {
public:
    void push(T v)
    {
        m_data[size_t(m_oldest)] = v;
        m_data[size_t(m_oldest + N)] = v;
        m_oldest = m_oldest + 1 == N ? 0 : m_oldest + 1;
    }
    std::span<const T, N> values() const { return std::span<const T, N>(m_data.data() + m_oldest, N); }
    void fill(T v) { m_data.fill(v); }

private:
    std::array<T, 2 * size_t(N)> m_data{};
    int m_oldest = 0;  // also where the next value goes
};

// One value set as the strip charts keep it: per chart the value and the
// upper and lower tolerance (the RAW chart: CH_REF, CH_DIR, CH_DIF).
struct HistoryEntry {
    std::array<double, 3> raw{};
    std::array<double, 3> norm{};
    std::array<double, 3> intensity{};
    std::array<double, 3> gf{};   // the trend takes gf[0]
    std::int64_t receivedMs = 0;  // ms since the epoch
};

class ValueHistory {
public:
    static constexpr int kPoints = 100;  // value sets per strip chart
    static constexpr int kStripValues = 3 * kPoints;
    static constexpr int kTrendValues = 1000;

    // Every chart and the trend advance by one set, whatever signal is shown.
    void append(const HistoryEntry& entry);
    // The connection was lost: the next append first puts one point of no
    // value (NaN, time 0) into every chart and the trend, so that no line is
    // drawn across the outage; the trend statistics pass it over.
    void markGap() { m_gapPending = true; }

    // One chart's triples, oldest first; the newest at 297..299.
    std::span<const double, kStripValues> strip(Strip s) const { return m_strips[size_t(s)].values(); }
    // When each triple's value set arrived, ms since the epoch; 0: none yet, or a gap.
    std::span<const std::int64_t, kPoints> times() const { return m_times.values(); }
    // The last n gloss factors (n held to 0..1000), oldest first, and when each arrived.
    std::span<const double> trend(int n = kTrendValues) const;
    std::span<const std::int64_t> trendTimes(int n = kTrendValues) const;
    // Empties the trend: gloss factors 0 at time 0, as if never filled.
    void resetTrend();

private:
    std::array<MirroredRing<double, kStripValues>, 4> m_strips;  // by Strip
    MirroredRing<std::int64_t, kPoints> m_times;
    MirroredRing<double, kTrendValues> m_trend;
    MirroredRing<std::int64_t, kTrendValues> m_trendTimes;
    bool m_gapPending = false;
};

}  // namespace tarvo
