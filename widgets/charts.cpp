#include "charts.h"

#include "axisticks.h"
#include "chartexport.h"

#include <QEvent>
#include <QGraphicsItem>
#include <QPainter>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

std::vector<ChartPlot*>& registry()
{
    static std::vector<ChartPlot*> plots;
    return plots;
}

// The view's own chart, set up plainly. Taking the chart the view already
// has (rather than setChart() with a new one) leaves nothing unowned.
QChart* plainChart(QChartView* view)
{
    QChart* chart = view->chart();
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    view->setRenderHint(QPainter::Antialiasing, false);
    // The view fills its background anyway: filling it with the chart's
    // colour and hiding the chart's own background item saves a second fill
    // of the whole plot on every redraw, a third of a redraw's cost.
    const QBrush background = chart->backgroundBrush();
    const QGradient* gradient = background.gradient();
    QWidget* viewport = view->viewport();
    QPalette palette = viewport->palette();
    palette.setBrush(viewport->backgroundRole(),
                     gradient && !gradient->stops().isEmpty() ? gradient->stops().constFirst().second
                                                              : background.color());
    viewport->setPalette(palette);
    viewport->setAutoFillBackground(true);
    chart->setBackgroundVisible(false);
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

void setAxis(QValueAxis* axis, double min, double max, double minStep = 0.0)
{
    if (axis->min() == min && axis->max() == max)
        return;  // a range change lays the chart out again
    setRoundTicks(axis, min, max, minStep);
}

// A range of whole tick steps around [lo, hi]. A growing chart's range then
// changes only when its points cross a step, not with every point: a new
// range lays out the axis labels again, the dearest part of a redraw.
void setNiceRange(QValueAxis* axis, double lo, double hi, double minStep = 0.0)
{
    if (!(hi > lo))
        hi = lo + 1.0;
    const double step = roundTicks(lo, hi, 5, minStep).step;
    setAxis(axis, std::floor(lo / step) * step, std::ceil(hi / step) * step, minStep);
}

// Pixel columns of the chart's plot area; before the first layout the view's width.
int plotColumns(QChartView* view, QChart* chart)
{
    const double w = chart->plotArea().width();
    return std::max(100, static_cast<int>(w > 1.0 ? w : view->width()));
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

// ---------------------------------------------------------------- ChartPlot

ChartPlot::ChartPlot(QChartView* view)
    : m_view(view)
    , m_chart(plainChart(view))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ChartPlot::onTimer);
    m_sinceRedraw.start();
    view->installEventFilter(this);
    registry().push_back(this);
    enableChartExport(view);
}

ChartPlot::~ChartPlot()
{
    auto& plots = registry();
    plots.erase(std::remove(plots.begin(), plots.end(), this), plots.end());
}

ChartPlot* ChartPlot::of(const QChartView* view)
{
    for (ChartPlot* p : registry())
        if (p->m_view == view)
            return p;
    return nullptr;
}

void ChartPlot::redrawAll()
{
    const std::vector<ChartPlot*> plots = registry();
    for (ChartPlot* p : plots)
        p->redrawNow();
}

void ChartPlot::requestRedraw()
{
    m_dirty = true;
    if (!m_view->isVisible() || m_timer.isActive())
        return;  // a hidden chart waits for its Show event
    const int interval = 1000 / kMaxRedrawsPerSecond;
    m_timer.start(std::max<qint64>(0, interval - m_sinceRedraw.elapsed()));
}

void ChartPlot::redrawNow()
{
    m_timer.stop();
    if (!m_dirty)
        return;
    m_dirty = false;
    ++m_redraws;
    m_sinceRedraw.restart();
    redraw();
}

void ChartPlot::onTimer()
{
    if (m_view->isVisible())
        redrawNow();
}

bool ChartPlot::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::Show && m_dirty)
        requestRedraw();
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- StripChart

StripChart::StripChart(QChartView* view, const QList<QColor>& traceColours)
    : ChartPlot(view)
    , m_x(addAxis(chart(), Qt::AlignBottom))
    , m_y(addAxis(chart(), Qt::AlignLeft))
{
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    for (const QColor& colour : traceColours)
        m_series.push_back(addLine(chart(), m_x, m_y, colour));
    m_points.resize(m_series.size());
    for (int t = 1; t <= traces(); ++t)
        m_traceNames << QStringLiteral("trace %1").arg(t);
    setAxis(m_x, 0, m_pointsPerScreen - 1, 1.0);  // points are counted: whole steps
    setAxis(m_y, m_yMin, m_yMax);
}

void StripChart::setNames(const QString& xName, const QStringList& traceNames)
{
    m_xName = xName;
    for (int t = 0; t < std::min<int>(traces(), traceNames.size()); ++t)
        m_traceNames[t] = traceNames[t];
    for (int t = 0; t < traces(); ++t)
        m_series[t]->setName(m_traceNames[t]);
}

void StripChart::setPointsPerScreen(int points)
{
    points = std::max(2, points);
    if (points == m_pointsPerScreen)
        return;
    m_pointsPerScreen = points;
    requestRedraw();
}

void StripChart::setYRange(double min, double max)
{
    if (!(max > min))
        max = min + 1.0;  // an axis needs a span
    if (min == m_yMin && max == m_yMax)
        return;
    m_yMin = min;
    m_yMax = max;
    requestRedraw();
}

void StripChart::plot(const double* values, int count)
{
    count = values ? std::max(0, count) : 0;  // none: an empty screen
    if (static_cast<int>(m_values.size()) < count)
        m_values.resize(static_cast<size_t>(count));  // grows to the largest plot once
    std::copy(values, values + count, m_values.begin());
    m_count = count;
    requestRedraw();
}

int StripChart::shownPoints() const
{
    return traces() == 0 ? 0 : std::min(m_count / traces(), m_pointsPerScreen);
}

void StripChart::redraw()
{
    setAxis(m_x, 0, m_pointsPerScreen - 1, 1.0);  // points are counted: whole steps
    setAxis(m_y, m_yMin, m_yMax);
    const int traces = this->traces();
    if (traces == 0)
        return;
    const int points = m_count / traces;
    const int shown = shownPoints();
    const int first = points - shown;              // older points scroll off
    const int offset = m_pointsPerScreen - shown;  // newest at the right edge
    for (int t = 0; t < traces; ++t) {
        QList<QPointF>& list = m_points[t][m_turn];
        list.resize(shown);
        for (int i = 0; i < shown; ++i)
            list[i] = QPointF(offset + i, m_values[static_cast<size_t>((first + i) * traces + t)]);
        m_series[t]->replace(list);
    }
    m_turn ^= 1;
}

ChartTable StripChart::table() const
{
    const int traces = this->traces();
    const int shown = shownPoints();
    const int first = traces == 0 ? 0 : m_count / traces - shown;
    const int offset = m_pointsPerScreen - shown;
    ChartTable t;
    t.header << m_xName << m_traceNames;
    t.rows = shown;
    t.value = [this, traces, first, offset](std::int64_t row, int column) {
        if (column == 0)
            return double(offset + row);
        return m_values[static_cast<size_t>((first + row) * traces + column - 1)];
    };
    return t;
}

// ---------------------------------------------------------------- GrowingChart

// The line of a growing chart: its points mapped onto the plot area through
// the chart's axes and drawn as one polyline, clipped to the plot area.
class GrowingChart::Line final : public QGraphicsItem {
public:
    Line(QChart* chart, QValueAxis* x, QValueAxis* y, const QColor& colour, const QList<QPointF>& points,
         const std::vector<std::int64_t>& gaps)
        : QGraphicsItem(chart)
        , m_chart(chart)
        , m_x(x)
        , m_y(y)
        , m_points(points)
        , m_gaps(gaps)
        , m_pen(colour)
    {
        m_pen.setWidth(1);  // a one-pixel line is drawn without building a stroke outline
        m_pen.setCosmetic(true);
        setZValue(100);     // above the grid
        m_area = chart->plotArea();
        QObject::connect(chart, &QChart::plotAreaChanged, chart, [this](const QRectF& area) {
            prepareGeometryChange();
            m_area = area;
        });
    }

    QColor colour() const { return m_pen.color(); }
    QRectF boundingRect() const override { return m_area; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const qsizetype n = m_points.size();
        const double x0 = m_x->min(), xSpan = m_x->max() - x0;
        const double y0 = m_y->min(), ySpan = m_y->max() - y0;
        if (n == 0 || xSpan <= 0 || ySpan <= 0)
            return;
        m_mapped.resize(n);
        const double sx = m_area.width() / xSpan, sy = m_area.height() / ySpan;
        for (qsizetype k = 0; k < n; ++k)
            m_mapped[k] = QPointF(m_area.left() + (m_points[k].x() - x0) * sx,
                                  m_area.bottom() - (m_points[k].y() - y0) * sy);
        painter->save();
        painter->setClipRect(m_area);
        painter->setPen(m_pen);
        // One polyline per run between gaps: a gap begins before a point
        // whose number passes the gap's first point.
        qsizetype from = 0;
        auto gap = m_gaps.begin();
        for (qsizetype k = 1; k <= n; ++k) {
            while (k < n && gap != m_gaps.end() && double(*gap) <= m_points[k - 1].x())
                ++gap;
            if (k < n && (gap == m_gaps.end() || double(*gap) > m_points[k].x()))
                continue;
            if (k - from == 1)
                painter->drawPoint(m_mapped[from]);
            else
                painter->drawPolyline(m_mapped.constData() + from, int(k - from));
            from = k;
        }
        painter->restore();
    }

private:
    QChart* m_chart;
    QValueAxis* m_x;
    QValueAxis* m_y;
    const QList<QPointF>& m_points;
    const std::vector<std::int64_t>& m_gaps;
    QPen m_pen;
    QRectF m_area;
    QPolygonF m_mapped;  // reused from paint to paint
};

GrowingChart::GrowingChart(QChartView* view, const QColor& colour, const QString& valueName,
                           std::int64_t capacity)
    : ChartPlot(view)
    , m_store(capacity)
    , m_valueName(valueName)
{
    m_x = addAxis(chart(), Qt::AlignBottom);
    m_y = addAxis(chart(), Qt::AlignLeft);
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    m_line = new Line(chart(), m_x, m_y, colour, m_drawn, m_gaps);
    m_lineOwner = chart();
    clear();
}

GrowingChart::~GrowingChart()
{
    // The line reads this chart's points: it goes with them, if its chart is still there.
    if (m_lineOwner)
        delete m_line;
}

QColor GrowingChart::colour() const
{
    return m_line->colour();
}

void GrowingChart::clear()
{
    m_store.clear();
    m_gaps.clear();
    requestRedraw();
}

void GrowingChart::append(double y)
{
    m_store.append(y);
    // Gaps before the oldest point held are no longer drawn.
    while (!m_gaps.empty() && m_gaps.front() <= m_store.begin())
        m_gaps.erase(m_gaps.begin());
    requestRedraw();
}

void GrowingChart::markGap()
{
    if (!m_store.empty() && (m_gaps.empty() || m_gaps.back() < m_store.end()))
        m_gaps.push_back(m_store.end());
}

void GrowingChart::redraw()
{
    if (m_store.empty()) {
        m_drawn.clear();
        setAxis(m_x, 0, 10, 1.0);  // whole value-set numbers on the empty axis
        setAxis(m_y, 0, 1);
        m_line->update();
        return;
    }
    m_store.decimate(plotColumns(view(), chart()), m_drawn);

    const double first = double(m_store.begin());
    const double last = double(m_store.end() - 1);
    const PointStore::Extremes e = m_store.extremes(m_store.begin(), m_store.end());
    const double pad = std::max(1.0, (e.max - e.min) * 0.05);
    setNiceRange(m_x, first, last, 1.0);
    setNiceRange(m_y, e.min - pad, e.max + pad);
    m_line->update();
}

ChartTable GrowingChart::table() const
{
    ChartTable t;
    t.header << QStringLiteral("value set") << m_valueName;
    t.rows = m_store.size();
    const std::int64_t begin = m_store.begin();
    t.value = [this, begin](std::int64_t row, int column) {
        return column == 0 ? double(begin + row) : m_store.at(begin + row);
    };
    return t;
}

} // namespace tarvo
