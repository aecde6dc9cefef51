// Chart helpers over QtCharts: a strip chart that redraws fixed buffers
// without rebuilding its series, a graph that grows segment by segment, and
// access to a chart's value axes.
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <Qt>
#include <array>
#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace tarvo {

// The chart's value axis of this orientation; one is created (and attached
// to every series) when the chart has none.
QValueAxis* valueAxis(QChartView* view, Qt::Orientation orientation);

// A strip chart with one line per trace and a screen of N points. plot()
// takes interleaved values (trace 1, trace 2, …, then the next point) and
// shows them as the newest points of the screen, right-aligned as a strip
// chart shows them after scrolling. The series are created once; each plot
// reuses their point lists.
class StripChart {
public:
    StripChart(QChartView* view, const QList<QColor>& traceColours);

    void setPointsPerScreen(int points);
    int pointsPerScreen() const { return m_pointsPerScreen; }
    void setYRange(double min, double max);
    // count values in all, count / traces() points per trace.
    void plot(const double* values, int count);

    int traces() const { return static_cast<int>(m_series.size()); }
    QLineSeries* series(int trace) const { return m_series[trace]; }
    QValueAxis* xAxis() const { return m_x; }
    QValueAxis* yAxis() const { return m_y; }
    QChart* chart() const { return m_chart; }

private:
    QChart* m_chart;
    QValueAxis* m_x;
    QValueAxis* m_y;
    std::vector<QLineSeries*> m_series;
    // Two point lists per trace, used in turn: the one handed to the series
    // last time stays with it, the other is filled in place.
    std::vector<std::array<QList<QPointF>, 2>> m_points;
    int m_turn = 0;
    int m_pointsPerScreen = 101;
};

// A line graph drawn as a chain of segments that accumulate until clear().
// Both axes follow the points drawn.
class SegmentGraph {
public:
    SegmentGraph(QChartView* view, const QColor& colour);

    void clear();
    // Draws the segment from `from` to `to`; a segment that starts where the
    // last one ended continues the same line.
    void addSegment(QPointF from, QPointF to);

    QLineSeries* series() const { return m_series; }
    QValueAxis* xAxis() const { return m_x; }
    QValueAxis* yAxis() const { return m_y; }

private:
    void include(QPointF p);

    QLineSeries* m_series;
    QValueAxis* m_x;
    QValueAxis* m_y;
    bool m_empty = true;
    double m_minX = 0, m_maxX = 0, m_minY = 0, m_maxY = 0;
};

} // namespace tarvo
