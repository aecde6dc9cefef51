// The values of a growing line chart: one Y value per point, the point's X is
// its running number. Points go into a ring of fixed capacity; when it is
// full the oldest points drop out. Memory is taken in blocks of 65 536
// points as the chart grows, never per point. Running minima and maxima over
// blocks of 64 and 4096 points make the extremes of any span, and so the
// min/max-per-pixel-column reduction of a drawing, cost the same at a
// million points as at a thousand.
#pragma once

#include <QList>
#include <QPointF>
#include <cstdint>
#include <memory>
#include <vector>

namespace tarvo {

class PointStore {
public:
    static constexpr std::int64_t kDefaultCapacity = std::int64_t(1) << 20;  // 1 048 576 points

    // capacity is rounded up to a power of two of at least 65 536 points.
    explicit PointStore(std::int64_t capacity = kDefaultCapacity);
    ~PointStore();

    // Forgets all points; the next one is number 0. Keeps the memory.
    void clear();
    void append(double y);

    std::int64_t capacity() const { return m_capacity; }
    // Points held, and the numbers of the oldest held and of the next point.
    std::int64_t size() const { return m_end - m_begin; }
    std::int64_t begin() const { return m_begin; }
    std::int64_t end() const { return m_end; }
    bool empty() const { return m_end == m_begin; }

    bool holds(std::int64_t i) const { return i >= m_begin && i < m_end; }
    // Point number i, begin() <= i < end().
    double at(std::int64_t i) const { return m_chunks[slot(i) >> kChunkBits][slot(i) & kChunkMask]; }

    struct Extremes {
        double min = 0, max = 0;
    };
    // Smallest and largest value of points [from, to), clipped to those held;
    // {0, 0} when none is.
    Extremes extremes(std::int64_t from, std::int64_t to) const;

    // The held points reduced to what `columns` pixel columns can show: all
    // of them when they are at most two per column, otherwise each column's
    // smallest and largest value (ordered so the line runs on from the
    // previous column). X is the point number. out is reused, not shrunk.
    void decimate(int columns, QList<QPointF>& out) const;
    // The same for the points [first, last) only, clipped to those held.
    void decimate(std::int64_t first, std::int64_t last, int columns, QList<QPointF>& out) const;

private:
    static constexpr int kChunkBits = 16;
    static constexpr std::int64_t kChunkMask = (std::int64_t(1) << kChunkBits) - 1;
    static constexpr int kFineBits = 6;     // 64 points
    static constexpr int kCoarseBits = 12;  // 4096 points

    std::int64_t slot(std::int64_t i) const { return i & (m_capacity - 1); }

    std::int64_t m_capacity;
    std::vector<std::unique_ptr<double[]>> m_chunks;
    std::vector<Extremes> m_fine;    // per 64 points
    std::vector<Extremes> m_coarse;  // per 4096 points
    std::int64_t m_begin = 0;
    std::int64_t m_end = 0;
};

}  // namespace tarvo
