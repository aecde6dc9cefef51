#include "valuehistory.h"

#include <algorithm>
#include <limits>

namespace tarvo {

namespace {

void pushTriple(MirroredRing<double, ValueHistory::kStripValues>& ring, const std::array<double, 3>& triple)
{
    for (double v : triple)
        ring.push(v);
}

int heldToTrend(int n)
{
    return std::clamp(n, 0, ValueHistory::kTrendValues);
}

}  // namespace

void ValueHistory::append(const HistoryEntry& entry)
{
    if (m_gapPending) {
        m_gapPending = false;
        constexpr double gap = std::numeric_limits<double>::quiet_NaN();
        for (auto& ring : m_strips)
            pushTriple(ring, {gap, gap, gap});
        m_times.push(0);  // the times stay in step with the points
        m_trend.push(gap);
        m_trendTimes.push(0);
    }
    pushTriple(m_strips[size_t(Strip::Raw)], entry.raw);
    pushTriple(m_strips[size_t(Strip::Norm)], entry.norm);
    pushTriple(m_strips[size_t(Strip::Int)], entry.intensity);
    pushTriple(m_strips[size_t(Strip::Gf)], entry.gf);
    m_times.push(entry.receivedMs);
    m_trend.push(entry.gf[0]);
    m_trendTimes.push(entry.receivedMs);
}

std::span<const double> ValueHistory::trend(int n) const
{
    return m_trend.values().last(size_t(heldToTrend(n)));
}

std::span<const std::int64_t> ValueHistory::trendTimes(int n) const
{
    return m_trendTimes.values().last(size_t(heldToTrend(n)));
}

void ValueHistory::resetTrend()
{
    m_trend.fill(0.0);
    m_trendTimes.fill(0);
}

}  // namespace tarvo
