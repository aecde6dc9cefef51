#include "pointstore.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

void widen(PointStore::Extremes& e, double v)
{
    e.min = std::min(e.min, v);
    e.max = std::max(e.max, v);
}

void widen(PointStore::Extremes& e, const PointStore::Extremes& part)
{
    e.min = std::min(e.min, part.min);
    e.max = std::max(e.max, part.max);
}

}  // namespace

PointStore::PointStore(std::int64_t capacity)
{
    m_capacity = std::int64_t(1) << kChunkBits;
    while (m_capacity < capacity)
        m_capacity <<= 1;
    m_chunks.resize(static_cast<size_t>(m_capacity >> kChunkBits));
    m_fine.resize(static_cast<size_t>(m_capacity >> kFineBits));
    m_coarse.resize(static_cast<size_t>(m_capacity >> kCoarseBits));
}

PointStore::~PointStore() = default;

void PointStore::clear()
{
    m_begin = m_end = 0;
}

void PointStore::append(double y)
{
    const std::int64_t s = slot(m_end);
    auto& chunk = m_chunks[static_cast<size_t>(s >> kChunkBits)];
    if (!chunk)
        chunk = std::make_unique<double[]>(size_t(1) << kChunkBits);  // once per 65 536 points
    chunk[s & kChunkMask] = y;

    // A block's extremes start afresh with its first point.
    Extremes& fine = m_fine[static_cast<size_t>(s >> kFineBits)];
    Extremes& coarse = m_coarse[static_cast<size_t>(s >> kCoarseBits)];
    if ((m_end & ((1 << kFineBits) - 1)) == 0)
        fine = {y, y};
    else
        widen(fine, y);
    if ((m_end & ((1 << kCoarseBits) - 1)) == 0)
        coarse = {y, y};
    else
        widen(coarse, y);

    ++m_end;
    if (m_end - m_begin > m_capacity)
        ++m_begin;  // the oldest point drops out
}

PointStore::Extremes PointStore::extremes(std::int64_t from, std::int64_t to) const
{
    from = std::max(from, m_begin);
    to = std::min(to, m_end);
    if (from >= to)
        return {};
    Extremes e{at(from), at(from)};
    constexpr std::int64_t fineSize = std::int64_t(1) << kFineBits;
    constexpr std::int64_t coarseSize = std::int64_t(1) << kCoarseBits;
    auto fineAt = [&](std::int64_t i) { return m_fine[static_cast<size_t>(slot(i) >> kFineBits)]; };
    auto coarseAt = [&](std::int64_t i) { return m_coarse[static_cast<size_t>(slot(i) >> kCoarseBits)]; };

    // Single points up to a 64-point boundary, whole blocks as far as they
    // fit, single points again at the end. Only blocks lying wholly inside
    // the span are used, so every block used was written since it started.
    std::int64_t i = from;
    for (; i < to && (i & (fineSize - 1)); ++i)
        widen(e, at(i));
    for (; i + fineSize <= to && (i & (coarseSize - 1)); i += fineSize)
        widen(e, fineAt(i));
    for (; i + coarseSize <= to; i += coarseSize)
        widen(e, coarseAt(i));
    for (; i + fineSize <= to; i += fineSize)
        widen(e, fineAt(i));
    for (; i < to; ++i)
        widen(e, at(i));
    return e;
}

void PointStore::decimate(int columns, QList<QPointF>& out) const
{
    decimate(m_begin, m_end, columns, out);
}

void PointStore::decimate(std::int64_t first, std::int64_t last, int columns, QList<QPointF>& out) const
{
    first = std::max(first, m_begin);
    last = std::max(first, std::min(last, m_end));
    columns = std::max(1, columns);
    const std::int64_t n = last - first;
    if (n <= 2 * std::int64_t(columns)) {
        out.resize(n);
        for (std::int64_t k = 0; k < n; ++k)
            out[k] = QPointF(double(first + k), at(first + k));
        return;
    }
    // Wide columns start on 64-point boundaries so that they are read from
    // whole blocks; a column then differs by a few points from its pixel.
    const bool snap = n / columns >= 128;
    auto edge = [&](int c) {
        if (c == columns)
            return last;
        std::int64_t at = first + n * c / columns;
        if (snap && c > 0)
            at &= ~((std::int64_t(1) << kFineBits) - 1);
        return std::max(at, first);
    };
    out.resize(2 * columns);
    qsizetype k = 0;
    double line = at(first);
    std::int64_t from = edge(0);
    for (int c = 0; c < columns; ++c) {
        const std::int64_t to = edge(c + 1);
        if (to <= from)
            continue;
        const Extremes e = extremes(from, to);
        const double x = double(from);
        // Start at the extreme nearer to where the line is.
        const bool minFirst = std::abs(line - e.min) <= std::abs(line - e.max);
        out[k++] = QPointF(x, minFirst ? e.min : e.max);
        out[k++] = QPointF(x, minFirst ? e.max : e.min);
        line = minFirst ? e.max : e.min;
        from = to;
    }
    out.resize(k);
}

}  // namespace tarvo
