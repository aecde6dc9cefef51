// Chart helpers over QtCharts.
//
// Data and drawing are kept apart: plot() and append() only copy values into
// fixed buffers and ask for a redraw. A redraw hands the chart's series
// their points once, at most kMaxRedrawsPerSecond times a second, and only
// while the chart is visible; a hidden chart is redrawn when it is shown.
// So a value set costs the copy, whatever the chart holds, and the display
// work is bounded by the display rate, not by the rate of the values.
#pragma once

#include "pointstore.h"

#include <QColor>
#include <QtCharts/QChart>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <Qt>
#include <array>
#include <functional>
#include <vector>

class QChartView;
class QLineSeries;
class QValueAxis;

namespace tarvo {

// The chart's value axis of this orientation; one is created (and attached
// to every series) when the chart has none.
QValueAxis* valueAxis(QChartView* view, Qt::Orientation orientation);

// The values of a chart as a table for export: a header row and one row of
// numbers per point.
struct ChartTable {
    QStringList header;
    std::int64_t rows = 0;
    std::function<double(std::int64_t row, int column)> value;
};

// The redraw scheduling shared by every chart of the programs, and the
// registry through which export and tests find a chart's plot by its view.
class ChartPlot : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxRedrawsPerSecond = 30;

    explicit ChartPlot(QChartView* view);
    ~ChartPlot() override;

    QChartView* view() const { return m_view; }
    QChart* chart() const { return m_chart; }

    // The data changed: redraw when the display rate allows and the chart is visible.
    void requestRedraw();
    // Redraws now if anything changed since the last redraw, visible or not.
    void redrawNow();
    bool redrawPending() const { return m_dirty; }
    // Redraws done so far.
    int redraws() const { return m_redraws; }

    // The values as stored (not as decimated for drawing).
    virtual ChartTable table() const = 0;

    // The plot of a view, if it has one.
    static ChartPlot* of(const QChartView* view);
    // Redraws every chart with a pending change now (export, tests).
    static void redrawAll();

protected:
    virtual void redraw() = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTimer();

    QChartView* m_view;
    QChart* m_chart;
    QTimer m_timer;
    QElapsedTimer m_sinceRedraw;
    bool m_dirty = false;
    int m_redraws = 0;
};

// A strip chart with one line per trace and a screen of N points. plot()
// takes interleaved values (trace 1, trace 2, …, then the next point) and
// shows them as the newest points of the screen, right-aligned as a strip
// chart shows them after scrolling. The series are created once.
class StripChart final : public ChartPlot {
    Q_OBJECT
public:
    StripChart(QChartView* view, const QList<QColor>& traceColours);

    // Column titles for export: the X column and one per trace.
    void setNames(const QString& xName, const QStringList& traceNames);

    void setPointsPerScreen(int points);
    int pointsPerScreen() const { return m_pointsPerScreen; }
    void setYRange(double min, double max);
    // count values in all, count / traces() points per trace. Copied.
    void plot(const double* values, int count);

    int traces() const { return static_cast<int>(m_series.size()); }
    QLineSeries* series(int trace) const { return m_series[trace]; }
    QValueAxis* xAxis() const { return m_x; }
    QValueAxis* yAxis() const { return m_y; }

    ChartTable table() const override;

protected:
    void redraw() override;

private:
    int shownPoints() const;

    QValueAxis* m_x;
    QValueAxis* m_y;
    std::vector<QLineSeries*> m_series;
    // Two point lists per trace, used in turn: the one handed to the series
    // last time stays with it, the other is filled in place.
    std::vector<std::array<QList<QPointF>, 2>> m_points;
    int m_turn = 0;
    std::vector<double> m_values;  // as last plotted
    int m_count = 0;
    int m_pointsPerScreen = 101;
    double m_yMin = 0, m_yMax = 1;
    QString m_xName = QStringLiteral("point");
    QStringList m_traceNames;
};

// A line chart of one signal that grows by one point per value set until
// clear(); the point's X is its running number. Both axes follow the points.
// Drawn decimated to about two points per pixel column, by a line item of
// its own inside the chart: a chart series would build a stroke outline of
// its whole line at every update, which costs milliseconds at a thousand
// points.
class GrowingChart final : public ChartPlot {
    Q_OBJECT
public:
    GrowingChart(QChartView* view, const QColor& colour, const QString& valueName,
                 std::int64_t capacity = PointStore::kDefaultCapacity);
    ~GrowingChart() override;

    void clear();
    void append(double y);
    // The next point begins a new run of the line: nothing is drawn from the
    // point before it (a time without values, such as a lost connection).
    void markGap();
    // Point numbers that begin a run after a gap, oldest first.
    const std::vector<std::int64_t>& gaps() const { return m_gaps; }

    const PointStore& points() const { return m_store; }
    // The points of the last redraw (X the point number, Y the value).
    const QList<QPointF>& drawn() const { return m_drawn; }
    QColor colour() const;
    QValueAxis* xAxis() const { return m_x; }
    QValueAxis* yAxis() const { return m_y; }

    ChartTable table() const override;

protected:
    void redraw() override;

private:
    class Line;

    PointStore m_store;
    QValueAxis* m_x;
    QValueAxis* m_y;
    Line* m_line;  // owned by the chart
    QPointer<QChart> m_lineOwner;
    QList<QPointF> m_drawn;
    std::vector<std::int64_t> m_gaps;
    QString m_valueName;
};

} // namespace tarvo
