#include "charts.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

QChart* plainChart(QChartView* view)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    view->setChart(chart);  // the view owns the chart from now on
    view->setRenderHint(QPainter::Antialiasing, false);
    return chart;
}

QValueAxis* addAxis(QChart* chart, Qt::Alignment where)
{
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%g"));
    QFont font = axis->labelsFont();
    font.setPointSizeF(std::max(6.0, font.pointSizeF() - 1.0));
    axis->setLabelsFont(font);
    chart->addAxis(axis, where);
    return axis;
}

QLineSeries* addLine(QChart* chart, QValueAxis* x, QValueAxis* y, const QColor& colour)
{
    auto* series = new QLineSeries;
    QPen pen(colour);
    pen.setWidthF(1.5);
    series->setPen(pen);
    series->setPointsVisible(false);
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
    return series;
}

// A tick step of 1, 2, 2.5 or 5 times a power of ten that gives at most
// five intervals over span.
double niceStep(double span)
{
    const double rough = std::max(span, 1.0) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= rough)
            return m * power;
    return 10.0 * power;
}

} // namespace

QValueAxis* valueAxis(QChartView* view, Qt::Orientation orientation)
{
    QChart* chart = view->chart();
    for (QAbstractAxis* axis : chart->axes(orientation))
        if (auto* value = qobject_cast<QValueAxis*>(axis))
            return value;
    QValueAxis* axis = addAxis(chart, orientation == Qt::Horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series())
        series->attachAxis(axis);
    return axis;
}

StripChart::StripChart(QChartView* view, const QList<QColor>& traceColours)
    : m_chart(plainChart(view))
    , m_x(addAxis(m_chart, Qt::AlignBottom))
    , m_y(addAxis(m_chart, Qt::AlignLeft))
{
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    for (const QColor& colour : traceColours)
        m_series.push_back(addLine(m_chart, m_x, m_y, colour));
    m_points.resize(m_series.size());
    setPointsPerScreen(m_pointsPerScreen);
}

void StripChart::setPointsPerScreen(int points)
{
    points = std::max(2, points);
    if (points == m_pointsPerScreen && m_x->max() == points - 1)
        return;
    m_pointsPerScreen = points;
    m_x->setRange(0, m_pointsPerScreen - 1);
    m_x->setTickType(QValueAxis::TicksDynamic);
    m_x->setTickAnchor(0);
    m_x->setTickInterval(niceStep(m_pointsPerScreen - 1));
    for (auto& lists : m_points)
        for (auto& list : lists)
            list.reserve(m_pointsPerScreen);
}

void StripChart::setYRange(double min, double max)
{
    if (!(max > min))
        max = min + 1.0;  // an axis needs a span
    if (m_y->min() == min && m_y->max() == max)
        return;
    m_y->setRange(min, max);
    m_y->setTickType(QValueAxis::TicksDynamic);
    m_y->setTickAnchor(0);
    m_y->setTickInterval(niceStep(max - min));
}

void StripChart::plot(const double* values, int count)
{
    const int traces = this->traces();
    if (traces == 0)
        return;
    const int points = values ? std::max(0, count) / traces : 0;  // none: an empty screen
    const int shown = std::min(points, m_pointsPerScreen);
    const int first = points - shown;              // older points scroll off
    const int offset = m_pointsPerScreen - shown;  // newest at the right edge
    for (int t = 0; t < traces; ++t) {
        QList<QPointF>& list = m_points[t][m_turn];
        list.resize(shown);
        for (int i = 0; i < shown; ++i)
            list[i] = QPointF(offset + i, values[(first + i) * traces + t]);
        m_series[t]->replace(list);
    }
    m_turn ^= 1;
}

SegmentGraph::SegmentGraph(QChartView* view, const QColor& colour)
{
    QChart* chart = plainChart(view);
    m_x = addAxis(chart, Qt::AlignBottom);
    m_y = addAxis(chart, Qt::AlignLeft);
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    m_series = addLine(chart, m_x, m_y, colour);
    clear();
}

void SegmentGraph::clear()
{
    m_series->clear();
    m_empty = true;
    m_x->setRange(0, 1);
    m_y->setRange(0, 1);
}

void SegmentGraph::include(QPointF p)
{
    if (m_empty) {
        m_minX = m_maxX = p.x();
        m_minY = m_maxY = p.y();
        m_empty = false;
    } else {
        m_minX = std::min(m_minX, p.x());
        m_maxX = std::max(m_maxX, p.x());
        m_minY = std::min(m_minY, p.y());
        m_maxY = std::max(m_maxY, p.y());
    }
}

void SegmentGraph::addSegment(QPointF from, QPointF to)
{
    const int n = m_series->count();
    if (n == 0 || m_series->at(n - 1) != from) {
        m_series->append(from);
        include(from);
    }
    m_series->append(to);
    include(to);

    m_x->setRange(m_minX, m_maxX > m_minX ? m_maxX : m_minX + 1.0);
    const double pad = std::max(1.0, (m_maxY - m_minY) * 0.05);
    m_y->setRange(m_minY - pad, m_maxY + pad);
    m_x->applyNiceNumbers();
    m_y->applyNiceNumbers();
}

} // namespace tarvo
