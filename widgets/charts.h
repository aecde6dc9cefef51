// Chart helpers over QtCharts.
//
// Data and drawing are kept apart: plot() and append() only copy values into
// fixed buffers and ask for a redraw. A redraw hands the chart's series
// their points once, at most kMaxRedrawsPerSecond times a second, and only
// while the chart is visible; a hidden chart is redrawn when it is shown.
// So a value set costs the copy, whatever the chart holds, and the display
// work is bounded by the display rate, not by the rate of the values.
//
// Every chart names its axes with their units, follows the palette of its
// panel (light or dark), puts its ticks at round numbers, and shows the
// values of the point nearest the mouse in a small label.
#pragma once

#include "pointstore.h"
#include "timetext.h"

#include <QColor>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <Qt>
#include <QtCharts/QChart>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QChartView;
class QGraphicsEllipseItem;
class QLabel;
class QLineSeries;
class QValueAxis;

namespace tarvo {

// "name [unit]", as axes and export headers name a value.
QString withUnit(const QString& name, const QString& unit);
// A unit as an axis shows it: a unit symbol (GU, 1/1024) stays, a unit that
// is an English word ("counts", "raw") reads in the user's language. Export
// headers keep the English unit.
QString shownUnit(const QString& unit);

// The chart's value axis of this orientation; one is created (and attached
// to every series) when the chart has none.
QValueAxis* valueAxis(QChartView* view, Qt::Orientation orientation);

// The values of a chart as a table for export: a header row (the X column,
// then one per value column, each with its unit) and one row of numbers per
// point.
struct ChartTable {
    QStringList header;
    std::int64_t rows = 0;
    std::function<double(std::int64_t row, int column)> value;
    // When the values came from the sensor: the PC time at which each row's
    // value set arrived, in milliseconds since the epoch, 0 for a row that
    // holds no measured value. Empty when the values are computed.
    std::function<std::int64_t(std::int64_t row)> time;
    // A last column of words about each row (where its value came from);
    // none while noteHeader is empty.
    QString noteHeader;
    std::function<QString(std::int64_t row)> note;
};

// Where the mouse is nearest to: a row of the chart's table and one of its
// value columns (1 …).
struct ChartPoint {
    std::int64_t row = 0;
    int column = 1;
};

// The redraw scheduling, look and hover label shared by every chart of the
// programs, and the registry through which export and tests find a chart's
// plot by its view.
class ChartPlot : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxRedrawsPerSecond = 30;

    explicit ChartPlot(QChartView* view);
    ~ChartPlot() override;

    QChartView* view() const { return m_view; }
    QChart* chart() const { return m_chart; }
    QValueAxis* xAxis() const { return m_x; }
    QValueAxis* yAxis() const { return m_y; }

    void setAxisTitles(const QString& x, const QString& y);
    // Sets one of the chart's axes to a range with round ticks, as many as
    // its length on the screen has room for; nothing when the range is unchanged.
    void setAxisRange(QValueAxis* axis, double min, double max, double minStep = 0.0);
    // What a saved picture's title calls the chart; the Y axis title unless set.
    void setTitle(const QString& title) { m_title = title; }
    QString title() const;
    // The start of an exported file's default name, saying what it holds
    // ("gloss-gf-chart"); the title in lower case words unless set.
    void setFileStem(const QString& stem) { m_fileStem = stem; }
    QString fileStem() const;
    // The sensor the values came from, asked for when a picture is saved.
    void setSource(std::function<QString()> source) { m_source = std::move(source); }
    QString source() const { return m_source ? m_source() : QString(); }
    // When the values shown were taken (ms since the epoch), for a chart
    // whose rows carry no time of their own (a profile); 0: not known.
    void setTakenAt(std::int64_t ms) { m_takenAt = ms; }
    std::int64_t takenAt() const { return m_takenAt; }

    // The data changed: redraw when the display rate allows and the chart is visible.
    void requestRedraw();
    // Redraws now if anything changed since the last redraw, visible or not.
    void redrawNow();
    bool redrawPending() const { return m_dirty; }
    // Redraws done so far.
    int redraws() const { return m_redraws; }

    // The values as stored (not as decimated for drawing), as the export
    // writes them: the chart's own, unless another table has been set.
    ChartTable table() const;
    void setTableSource(std::function<ChartTable()> source) { m_tableSource = std::move(source); }
    // Adds the last column of words about each row to the table.
    void setRowNote(const QString& header, std::function<QString(std::int64_t row)> note);

    // The table's column names (X first) as the hover label shows them, in
    // the user's language; unset: the export's names.
    void setShownNames(const QStringList& names) { m_shownNames = names; }
    // The hover label as it stands: the point nearest the mouse, its X, its
    // Y with the unit and its time where there is one; hidden: empty.
    QString shownHoverText() const;
    void hideHover();

    // The colour a line of the given colour is drawn in here: as given on a
    // light background; on a dark one lightened until it stands out.
    QColor lineColour(const QColor& given) const;
    // Whether the chart's colours need a legend (shown only where there is room).
    bool legendWanted() const { return m_legendWanted; }

    // The plot of a view, if it has one.
    static ChartPlot* of(const QChartView* view);
    // Redraws every chart with a pending change now (export, tests).
    static void redrawAll();

protected:
    virtual void redraw() = 0;
    virtual ChartTable ownTable() const = 0;
    // The point nearest to pos (chart coordinates); by default the nearest
    // of the own table's points as drawn through the axes.
    virtual std::optional<ChartPoint> pointNear(const QPointF& pos) const;
    // The palette changed: lines take their colours again (lineColour()).
    virtual void applyLineColours() {}
    // The legend is shown when it has entries to show and the chart room for it.
    void setLegendWanted(bool wanted);
    // Chart position of a value, through the axes.
    QPointF toPosition(double x, double y) const;
    double toValueX(double chartX) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTimer();
    void applyPalette();
    void fitTicks();
    void fitDecorations();
    void hover(const QPointF& pos);
    QString hoverText(const QPointF& pos) const;

    QChartView* m_view;
    QChart* m_chart;
    QValueAxis* m_x;
    QValueAxis* m_y;
    QTimer m_timer;
    QElapsedTimer m_sinceRedraw;
    bool m_dirty = false;
    int m_redraws = 0;
    QString m_title;
    QString m_fileStem;
    std::function<QString()> m_source;
    std::int64_t m_takenAt = 0;
    std::function<ChartTable()> m_tableSource;
    QStringList m_shownNames;
    QString m_noteHeader;
    std::function<QString(std::int64_t row)> m_note;
    QLabel* m_hoverLabel;            // child of the viewport
    QPointF m_hoverAt;               // where the mouse was, viewport coordinates
    QGraphicsEllipseItem* m_marker;  // owned by the chart
    bool m_darkBackground = false;
    bool m_legendWanted = false;
    struct AxisFit {
        double minStep = 0.0;
        int intervals = 0;
    };
    AxisFit m_fitX, m_fitY;
};

// A strip chart with one line per trace and a screen of N points. plot()
// takes interleaved values (trace 1, trace 2, …, then the next point) and
// shows them as the newest points of the screen, right-aligned as a strip
// chart shows them after scrolling, or from X = 0 (setAlignLeft) for a
// chart whose X counts steps. The series are created once.
class StripChart final : public ChartPlot {
    Q_OBJECT
public:
    StripChart(QChartView* view, const QList<QColor>& traceColours);

    // Column titles for export, with units: the index column and one per
    // trace. The index counts the points shown from 0, oldest first.
    void setNames(const QString& xName, const QStringList& traceNames);
    // The trace's entry in the legend; empty: none. The legend is shown
    // while at least two traces have an entry.
    void setLegendLabel(int trace, const QString& label);
    void setAlignLeft(bool left);

    void setPointsPerScreen(int points);
    int pointsPerScreen() const { return m_pointsPerScreen; }
    void setYRange(double min, double max);
    // count values in all, count / traces() points per trace. Copied, with
    // the arrival time of each point when given (ms since the epoch, 0: none).
    // A NaN value is a point without a value (a lost connection): no line is
    // drawn across it.
    void plot(const double* values, int count, const std::int64_t* times = nullptr);

    int traces() const { return static_cast<int>(m_series.size()); }
    QLineSeries* series(int trace) const { return m_series[trace]; }

protected:
    void redraw() override;
    ChartTable ownTable() const override;
    std::optional<ChartPoint> pointNear(const QPointF& pos) const override;
    void applyLineColours() override;

private:
    int shownPoints() const;
    int offset() const;
    QLineSeries* run(int trace, size_t index);

    std::vector<QLineSeries*> m_series;
    // The runs of a trace after its first break, one series each, drawn
    // like the trace and not listed in the legend; made as breaks appear.
    std::vector<std::vector<QLineSeries*>> m_runs;
    QList<QColor> m_colours;
    // Two point lists per trace, used in turn: the one handed to the series
    // last time stays with it, the other is filled in place.
    std::vector<std::array<QList<QPointF>, 2>> m_points;
    int m_turn = 0;
    std::vector<double> m_values;       // as last plotted
    std::vector<std::int64_t> m_times;  // per point; empty: none given
    int m_count = 0;
    int m_pointsPerScreen = 101;
    bool m_alignLeft = false;
    double m_yMin = 0, m_yMax = 1;
    QString m_xName = QString::fromLatin1(kValueSetColumn);
    QStringList m_traceNames;
};

// A line chart of one signal that grows by one point per value set until
// clear(); the point's X is its running number. Both axes follow the points.
// Drawn decimated to about two points per pixel column, by a line item of
// its own inside the chart: a chart series would build a stroke outline of
// its whole line at every update, which costs milliseconds at a thousand
// points. setZoomable() lets the mouse wheel zoom into the record and a drag
// move along it; a double click shows the whole record again.
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
    // The arrival times of the points (ms since the epoch), kept by the
    // owner in step with this chart's points; for the hover label and export.
    void setTimes(const PointStore* times) { m_times = times; }

    void setZoomable(bool on);
    bool zoomed() const { return m_zoomed; }
    // Zooms by factor (< 1: in) around the point number at;
    // moves by a number of points; shows the whole record.
    void zoom(double factor, double at);
    void pan(double points);
    void showAll();

    const PointStore& points() const { return m_store; }
    // The points of the last redraw (X the point number, Y the value).
    const QList<QPointF>& drawn() const { return m_drawn; }
    QColor colour() const;

protected:
    void redraw() override;
    ChartTable ownTable() const override;
    std::optional<ChartPoint> pointNear(const QPointF& pos) const override;
    void applyLineColours() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Line;
    void setView(double from, double to);

    PointStore m_store;
    const PointStore* m_times = nullptr;
    Line* m_line = nullptr;  // owned by the chart
    QPointer<QChart> m_lineOwner;
    QList<QPointF> m_drawn;
    std::vector<std::int64_t> m_gaps;
    QColor m_colour;
    QString m_valueName;
    bool m_zoomable = false;
    bool m_zoomed = false;
    QString m_xTitle;                     // the X title when not zoomed
    double m_viewFrom = 0, m_viewTo = 0;  // the point numbers shown while zoomed
    std::optional<QPointF> m_dragFrom;    // viewport position of the last drag step
};

// A chart of lines that share their X values (a curve beside a reference
// line), drawn as they are; the export writes X and the Y of each line.
class SeriesChart final : public ChartPlot {
    Q_OBJECT
public:
    explicit SeriesChart(QChartView* view);

    // Replaces the series by these, each with its legend name and colour.
    struct Line {
        QString name;
        QColor colour;
        QList<QPointF> points;
    };
    void setLines(std::vector<Line> lines);
    // The export's column titles: X, then one per line.
    void setNames(const QString& xName, const QStringList& lineNames);

protected:
    void redraw() override {}
    ChartTable ownTable() const override;
    void applyLineColours() override;

private:
    std::vector<Line> m_lines;
    std::vector<QLineSeries*> m_series;
    QString m_xName = QStringLiteral("x");
    QStringList m_lineNames;
};

// Sets the source of every chart under root (see ChartPlot::setSource).
void setChartSource(QWidget* root, const std::function<QString()>& source);

// Local time with milliseconds and the UTC offset, as ISO 8601 writes it
// (2026-03-07T09:05:01.123+01:00).
QString isoTime(std::int64_t msSinceEpoch);

}  // namespace tarvo
