#include "charts.h"

#include "axisticks.h"
#include "chartexport.h"
#include "panelutil.h"
#include "timetext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsItem>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

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
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    view->setRenderHint(QPainter::Antialiasing, false);
    // The view fills its background anyway (in the palette's colour, see
    // applyPalette): hiding the chart's own background item saves a second
    // fill of the whole plot on every redraw, a third of a redraw's cost.
    view->viewport()->setAutoFillBackground(true);
    chart->setBackgroundVisible(false);
    return chart;
}

QFont smallerFont(QFont font)
{
    font.setPointSizeF(std::max(6.0, font.pointSizeF() - 1.0));
    return font;
}

QValueAxis* addAxis(QChart* chart, Qt::Alignment where)
{
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setLabelsFont(smallerFont(axis->labelsFont()));
    axis->setTitleFont(smallerFont(axis->titleFont()));
    chart->addAxis(axis, where);
    return axis;
}

QLineSeries* addLine(QChart* chart, QValueAxis* x, QValueAxis* y)
{
    auto* series = new QLineSeries;
    series->setPointsVisible(false);
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
    return series;
}

void colourLine(QLineSeries* series, const QColor& colour)
{
    QPen pen(colour);
    pen.setWidthF(1.5);
    series->setPen(pen);
}

QColor mix(const QColor& a, const QColor& b, double share)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * share),
                            float(a.greenF() + (b.greenF() - a.greenF()) * share),
                            float(a.blueF() + (b.blueF() - a.blueF()) * share));
}

// Relative luminance and contrast ratio as the web's accessibility rules define them.
double luminance(const QColor& c)
{
    auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A range of whole tick steps around [lo, hi]. A growing chart's range then
// changes only when its points cross a step, not with every point: a new
// range lays out the axis labels again, the dearest part of a redraw.
std::pair<double, double> niceRange(double lo, double hi, double minStep = 0.0)
{
    if (!(hi > lo))
        hi = lo + 1.0;
    const double step = roundTicks(lo, hi, 5, minStep).step;
    return {std::floor(lo / step) * step, std::ceil(hi / step) * step};
}

// Pixel columns of the chart's plot area; before the first layout the view's width.
int plotColumns(QChartView* view, QChart* chart)
{
    const double w = chart->plotArea().width();
    return std::max(100, static_cast<int>(w > 1.0 ? w : view->width()));
}

QString number(double v)
{
    return shownNumber(v, 'g', 12);
}

}  // namespace

QString withUnit(const QString& name, const QString& unit)
{
    return name + QStringLiteral(" [") + unit + u']';
}

QString shownUnit(const QString& unit)
{
    // The units that are words; the others have no translation and stay.
    static const char* const words[] = {QT_TRANSLATE_NOOP("Units", "counts"), QT_TRANSLATE_NOOP("Units", "per mille"),
                                        QT_TRANSLATE_NOOP("Units", "raw"), QT_TRANSLATE_NOOP("Units", "raw/10")};
    for (const char* word : words)
        if (unit == QLatin1String(word))
            return QCoreApplication::translate("Units", word);
    return unit;
}

QString isoTime(std::int64_t msSinceEpoch)
{
    return isoTimeWithOffset(QDateTime::fromMSecsSinceEpoch(msSinceEpoch));
}

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

void setChartSource(QWidget* root, const std::function<QString()>& source)
{
    for (QChartView* view : root->findChildren<QChartView*>())
        if (ChartPlot* plot = ChartPlot::of(view))
            plot->setSource(source);
}

// ---------------------------------------------------------------- ChartPlot

ChartPlot::ChartPlot(QChartView* view)
    : m_view(view)
    , m_chart(plainChart(view))
    , m_x(valueAxis(view, Qt::Horizontal))
    , m_y(valueAxis(view, Qt::Vertical))
    , m_hoverLabel(new QLabel(view->viewport()))
    , m_marker(new QGraphicsEllipseItem(-3.5, -3.5, 7, 7, m_chart))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ChartPlot::onTimer);
    m_sinceRedraw.start();
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    view->viewport()->setMouseTracking(true);
    m_hoverLabel->setObjectName(view->objectName() + QStringLiteral("Hover"));
    m_hoverLabel->setFont(smallerFont(view->font()));
    m_hoverLabel->setFrameShape(QFrame::Box);
    m_hoverLabel->setMargin(3);
    m_hoverLabel->setAutoFillBackground(true);
    m_hoverLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_hoverLabel->hide();
    m_marker->setZValue(200);
    m_marker->hide();
    // The axes' numbers with the language's decimal separator where it is not
    // the point; with the point they stay as the label formats print them.
    if (QLocale().decimalPoint() != QStringLiteral(".")) {
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
        m_chart->setLocale(locale);
        m_chart->setLocalizeNumbers(true);
    }
    // Ticks as many as the axes' lengths on the screen leave room for.
    connect(m_chart, &QChart::plotAreaChanged, this, [this] { fitTicks(); });
    applyPalette();
    registry().push_back(this);
    enableChartExport(view);
}

ChartPlot::~ChartPlot()
{
    auto& plots = registry();
    plots.erase(std::remove(plots.begin(), plots.end(), this), plots.end());
}

ChartTable ChartPlot::table() const
{
    ChartTable t = m_tableSource ? m_tableSource() : ownTable();
    if (!m_noteHeader.isEmpty()) {
        t.noteHeader = m_noteHeader;
        t.note = m_note;
    }
    return t;
}

void ChartPlot::setRowNote(const QString& header, std::function<QString(std::int64_t row)> note)
{
    m_noteHeader = header;
    m_note = std::move(note);
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

void ChartPlot::setAxisTitles(const QString& x, const QString& y)
{
    m_x->setTitleText(x);
    m_y->setTitleText(y);
    fitDecorations();
}

void ChartPlot::setLegendWanted(bool wanted)
{
    m_legendWanted = wanted;
    fitDecorations();
}

void ChartPlot::fitDecorations()
{
    // A low chart gives up its X title, then its legend, so that the axis
    // labels keep the room they need to be read whole; a title beside a
    // legend needs two lines more than one alone.
    const double line = QFontMetricsF(m_x->labelsFont()).height();
    const double height = m_view->height();
    const bool legend = m_legendWanted && height >= 10.0 * line;
    const bool xTitle = height >= (legend ? 13.0 : 11.0) * line;
    if (m_chart->legend()->isVisible() != legend)
        m_chart->legend()->setVisible(legend);
    if (m_x->isTitleVisible() != xTitle)
        m_x->setTitleVisible(xTitle);
}

QString ChartPlot::title() const
{
    return m_title.isEmpty() ? m_y->titleText() : m_title;
}

QString ChartPlot::fileStem() const
{
    if (!m_fileStem.isEmpty())
        return m_fileStem;
    // "red, green, blue curves" -> "red-green-blue-curves"
    QString stem;
    for (const QChar c : title().toLower()) {
        if (c.isLetterOrNumber())
            stem += c;
        else if (!stem.isEmpty() && !stem.endsWith(u'-'))
            stem += u'-';
    }
    while (stem.endsWith(u'-'))
        stem.chop(1);
    return stem.isEmpty() ? QStringLiteral("chart") : stem;
}

void ChartPlot::requestRedraw()
{
    m_dirty = true;
    if (!m_view->isVisible() || m_timer.isActive())
        return;  // a hidden chart waits for its Show event
    const int interval = 1000 / kMaxRedrawsPerSecond;
    m_timer.start(static_cast<int>(std::max<qint64>(0, interval - m_sinceRedraw.elapsed())));
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
    if (m_hoverLabel->isVisible())
        hover(m_hoverAt);  // the label tells what is drawn now
}

void ChartPlot::onTimer()
{
    if (m_view->isVisible())
        redrawNow();
}

void ChartPlot::setAxisRange(QValueAxis* axis, double min, double max, double minStep)
{
    AxisFit& fit = axis == m_x ? m_fitX : m_fitY;
    fit.minStep = minStep;
    if (axis->min() == min && axis->max() == max && fit.intervals > 0)
        return;  // a range change lays the chart out again
    if (fit.intervals == 0)
        fit.intervals = 5;
    setRoundTicks(axis, min, max, minStep, fit.intervals);
}

void ChartPlot::fitTicks()
{
    const QRectF area = m_chart->plotArea();
    if (area.width() < 1.0 || area.height() < 1.0)
        return;
    // A label needs about twice its height (Y) or width (X) to stand apart.
    const QFontMetricsF yMetrics(m_y->labelsFont());
    const QFontMetricsF xMetrics(m_x->labelsFont());
    const int yIntervals = std::clamp(int(area.height() / (2.0 * yMetrics.height())), 1, 5);
    const int xIntervals = std::clamp(int(area.width() / (2.0 * xMetrics.horizontalAdvance(QStringLiteral("00000")))),
                                      1, 5);
    // A Y title longer than the plot is high would be cut: then none.
    const bool yTitle = QFontMetricsF(m_y->titleFont()).horizontalAdvance(m_y->titleText()) <= area.height();
    if (m_y->isTitleVisible() != yTitle)
        m_y->setTitleVisible(yTitle);
    for (auto [axis, fit, want] : {std::tuple{m_x, &m_fitX, xIntervals}, std::tuple{m_y, &m_fitY, yIntervals}}) {
        if (fit->intervals == want)
            continue;
        fit->intervals = want;
        setRoundTicks(axis, axis->min(), axis->max(), fit->minStep, want);
    }
}

QPointF ChartPlot::toPosition(double x, double y) const
{
    const QRectF area = m_chart->plotArea();
    const double xs = m_x->max() - m_x->min(), ys = m_y->max() - m_y->min();
    if (xs <= 0 || ys <= 0)
        return area.topLeft();
    return {area.left() + (x - m_x->min()) * area.width() / xs, area.bottom() - (y - m_y->min()) * area.height() / ys};
}

double ChartPlot::toValueX(double chartX) const
{
    const QRectF area = m_chart->plotArea();
    if (area.width() <= 0)
        return m_x->min();
    return m_x->min() + (chartX - area.left()) * (m_x->max() - m_x->min()) / area.width();
}

QColor ChartPlot::lineColour(const QColor& given) const
{
    if (!m_darkBackground)
        return given;
    const QColor background = m_view->palette().color(QPalette::Base);
    QColor c = given.toHsl();
    // Same hue, lighter, until it stands out from the background.
    for (int step = 0; step < 20 && contrast(c, background) < 3.0; ++step)
        c.setHslF(c.hslHueF(), c.hslSaturationF(), std::min(1.0f, c.lightnessF() + 0.04f));
    return c.toRgb();
}

void ChartPlot::applyPalette()
{
    const QPalette palette = m_view->palette();
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    m_darkBackground = base.lightnessF() < 0.5;

    QWidget* viewport = m_view->viewport();
    QPalette vp = viewport->palette();
    vp.setColor(viewport->backgroundRole(), base);
    viewport->setPalette(vp);

    m_chart->setTitleBrush(text);
    m_chart->legend()->setLabelColor(text);
    for (QAbstractAxis* axis : m_chart->axes()) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        // Hairlines (width 0): a line item of any other width outlines its
        // stroke to find its bounds, at every repaint of the plot.
        axis->setLinePen(QPen(mix(base, text, 0.45), 0));
        axis->setGridLinePen(QPen(mix(base, text, 0.15), 0));
    }
    QPalette hp = m_hoverLabel->palette();
    hp.setColor(QPalette::Window, mix(base, text, 0.08));
    hp.setColor(QPalette::WindowText, text);
    m_hoverLabel->setPalette(hp);
    m_marker->setPen(QPen(text, 1.5));
    applyLineColours();
}

std::optional<ChartPoint> ChartPlot::pointNear(const QPointF& pos) const
{
    const ChartTable t = ownTable();
    std::optional<ChartPoint> best;
    double bestDistance = std::numeric_limits<double>::max();
    for (int c = 1; c < int(t.header.size()); ++c)
        for (std::int64_t r = 0; r < t.rows; ++r) {
            const QPointF d = toPosition(t.value(r, 0), t.value(r, c)) - pos;
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance < bestDistance) {
                bestDistance = distance;
                best = ChartPoint{r, c};
            }
        }
    return best;
}

QString ChartPlot::hoverText(const QPointF& viewportPos) const
{
    const QPointF pos = m_chart->mapFromScene(m_view->mapToScene(viewportPos.toPoint()));
    const std::optional<ChartPoint> p = pointNear(pos);
    if (!p)
        return {};
    const ChartTable t = ownTable();
    const QStringList& names = m_shownNames.size() == t.header.size() ? m_shownNames : t.header;
    QString text = names.value(0) + u' ' + number(t.value(p->row, 0)) + u'\n' + names.value(p->column)
        + QStringLiteral(": ") + number(t.value(p->row, p->column));
    if (t.time)
        if (const std::int64_t ms = t.time(p->row); ms != 0)
            text += u'\n' + QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return text;
}

QString ChartPlot::shownHoverText() const
{
    return m_hoverLabel->isVisible() ? m_hoverLabel->text() : QString();
}

void ChartPlot::hover(const QPointF& viewportPos)
{
    m_hoverAt = viewportPos;
    const QPointF pos = m_chart->mapFromScene(m_view->mapToScene(viewportPos.toPoint()));
    if (!m_chart->plotArea().adjusted(-8, -8, 8, 8).contains(pos)) {
        hideHover();
        return;
    }
    const std::optional<ChartPoint> p = pointNear(pos);
    if (!p) {
        hideHover();
        return;
    }
    const ChartTable t = ownTable();
    const QPointF at = toPosition(t.value(p->row, 0), t.value(p->row, p->column));
    m_marker->setPos(at);
    m_marker->show();
    m_hoverLabel->setText(hoverText(viewportPos));
    m_hoverLabel->adjustSize();
    // Beside the point, inside the view.
    const QPoint point = m_view->mapFromScene(m_chart->mapToScene(at));
    const QSize size = m_hoverLabel->size();
    const QRect room = m_view->viewport()->rect();
    int x = point.x() + 10;
    int y = point.y() - size.height() - 6;
    if (x + size.width() > room.right())
        x = point.x() - size.width() - 10;
    if (y < room.top())
        y = point.y() + 10;
    m_hoverLabel->move(std::max(room.left(), x), std::min(std::max(room.top(), y), room.bottom() - size.height()));
    m_hoverLabel->show();
    m_hoverLabel->raise();
    if (QToolTip::isVisible())
        QToolTip::hideText();
}

void ChartPlot::hideHover()
{
    m_hoverLabel->hide();
    m_marker->hide();
}

bool ChartPlot::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::Show && m_dirty)
            requestRedraw();
        else if (event->type() == QEvent::PaletteChange)
            applyPalette();
        else if (event->type() == QEvent::Resize)
            fitDecorations();
    } else if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseMove)
            hover(static_cast<QMouseEvent*>(event)->position());
        else if (event->type() == QEvent::Leave)
            hideHover();
        else if (event->type() == QEvent::ToolTip && m_hoverLabel->isVisible())
            return true;  // the point's label is shown; the chart's help would cover it
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- StripChart

StripChart::StripChart(QChartView* view, const QList<QColor>& traceColours)
    : ChartPlot(view)
    , m_colours(traceColours)
{
    xAxis()->setLabelFormat(QStringLiteral("%.0f"));
    for (int t = 0; t < traceColours.size(); ++t)
        m_series.push_back(addLine(chart(), xAxis(), yAxis()));
    m_points.resize(m_series.size());
    m_runs.resize(m_series.size());
    for (int t = 1; t <= traces(); ++t)
        m_traceNames << QStringLiteral("trace %1").arg(t);
    applyLineColours();
    setAxisRange(xAxis(), 0, m_pointsPerScreen - 1, 1.0);  // points are counted: whole steps
    setAxisRange(yAxis(), m_yMin, m_yMax);
}

void StripChart::applyLineColours()
{
    for (int t = 0; t < traces(); ++t) {
        colourLine(m_series[t], lineColour(m_colours[t]));
        for (QLineSeries* r : m_runs[t])
            colourLine(r, lineColour(m_colours[t]));
    }
}

QLineSeries* StripChart::run(int trace, size_t index)
{
    std::vector<QLineSeries*>& runs = m_runs[trace];
    while (runs.size() <= index) {
        QLineSeries* r = addLine(chart(), xAxis(), yAxis());
        colourLine(r, lineColour(m_colours[trace]));
        for (QLegendMarker* marker : chart()->legend()->markers(r))
            marker->setVisible(false);
        runs.push_back(r);
    }
    return runs[index];
}

void StripChart::setNames(const QString& xName, const QStringList& traceNames)
{
    m_xName = xName;
    for (int t = 0; t < std::min(traces(), static_cast<int>(traceNames.size())); ++t)
        m_traceNames[t] = traceNames[t];
}

void StripChart::setLegendLabel(int trace, const QString& label)
{
    QLineSeries* s = m_series[trace];
    if (s->name() == label && !label.isEmpty())
        return;  // a new name lays the legend out again
    s->setName(label);
    int entries = 0;
    for (QLineSeries* each : m_series) {
        const bool listed = !each->name().isEmpty();
        for (QLegendMarker* marker : chart()->legend()->markers(each))
            marker->setVisible(listed);
        entries += listed;
    }
    setLegendWanted(entries >= 2);
}

void StripChart::setAlignLeft(bool left)
{
    m_alignLeft = left;
    requestRedraw();
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

void StripChart::plot(const double* values, int count, const std::int64_t* times)
{
    count = values ? std::max(0, count) : 0;  // none: an empty screen
    if (static_cast<int>(m_values.size()) < count)
        m_values.resize(static_cast<size_t>(count));  // grows to the largest plot once
    std::copy(values, values + count, m_values.begin());
    m_count = count;
    const int points = traces() == 0 ? 0 : count / traces();
    if (times) {
        if (static_cast<int>(m_times.size()) < points)
            m_times.resize(static_cast<size_t>(points));
        std::copy(times, times + points, m_times.begin());
    } else {
        m_times.clear();
    }
    requestRedraw();
}

int StripChart::shownPoints() const
{
    return traces() == 0 ? 0 : std::min(m_count / traces(), m_pointsPerScreen);
}

int StripChart::offset() const
{
    return m_alignLeft ? 0 : m_pointsPerScreen - shownPoints();  // newest at the right edge
}

void StripChart::redraw()
{
    setAxisRange(xAxis(), 0, m_pointsPerScreen - 1, 1.0);  // points are counted: whole steps
    setAxisRange(yAxis(), m_yMin, m_yMax);
    const int traces = this->traces();
    if (traces == 0)
        return;
    const int points = m_count / traces;
    const int shown = shownPoints();
    const int first = points - shown;  // older points scroll off
    const int offset = this->offset();
    for (int t = 0; t < traces; ++t) {
        const auto value = [&](int i) { return m_values[static_cast<size_t>((first + i) * traces + t)]; };
        // The first run goes to the trace's own series, filled in place.
        int end = 0;
        while (end < shown && !std::isnan(value(end)))
            ++end;
        QList<QPointF>& list = m_points[t][m_turn];
        list.resize(end);
        for (int i = 0; i < end; ++i)
            list[i] = QPointF(offset + i, value(i));
        m_series[t]->replace(list);
        // Each run after a point without a value is a series of its own.
        size_t runs = 0;
        for (int begin = end; begin < shown; begin = end) {
            while (begin < shown && std::isnan(value(begin)))
                ++begin;
            if (begin == shown)
                break;
            end = begin;
            QList<QPointF> points;
            for (; end < shown && !std::isnan(value(end)); ++end)
                points.append(QPointF(offset + end, value(end)));
            run(t, runs++)->replace(points);
        }
        for (size_t r = runs; r < m_runs[t].size(); ++r)
            if (m_runs[t][r]->count() > 0)
                m_runs[t][r]->clear();
    }
    m_turn ^= 1;
}

ChartTable StripChart::ownTable() const
{
    const int traces = this->traces();
    const int shown = shownPoints();
    const int first = traces == 0 ? 0 : m_count / traces - shown;
    ChartTable t;
    t.header << m_xName << m_traceNames;
    t.rows = shown;
    t.value = [this, traces, first](std::int64_t row, int column) {
        if (column == 0)
            return double(row);
        return m_values[static_cast<size_t>((first + row) * traces + column - 1)];
    };
    if (!m_times.empty())
        t.time = [this, first](std::int64_t row) { return m_times[static_cast<size_t>(first + row)]; };
    return t;
}

std::optional<ChartPoint> StripChart::pointNear(const QPointF& pos) const
{
    // As drawn: the rows stand at the right end of the screen unless aligned left.
    const ChartTable t = ownTable();
    const int offset = this->offset();
    std::optional<ChartPoint> best;
    double bestDistance = std::numeric_limits<double>::max();
    for (int c = 1; c < int(t.header.size()); ++c)
        for (std::int64_t r = 0; r < t.rows; ++r) {
            const QPointF d = toPosition(double(offset + r), t.value(r, c)) - pos;
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance < bestDistance) {
                bestDistance = distance;
                best = ChartPoint{r, c};
            }
        }
    return best;
}

// ---------------------------------------------------------------- GrowingChart

// The line of a growing chart: its points mapped onto the plot area through
// the chart's axes and drawn as one polyline, clipped to the plot area.
class GrowingChart::Line final : public QGraphicsItem {
public:
    Line(QChart* chart, QValueAxis* x, QValueAxis* y, const QList<QPointF>& points,
         const std::vector<std::int64_t>& gaps)
        : QGraphicsItem(chart)
        , m_x(x)
        , m_y(y)
        , m_points(points)
        , m_gaps(gaps)
    {
        m_pen.setWidth(1);  // a one-pixel line is drawn without building a stroke outline
        m_pen.setCosmetic(true);
        setZValue(100);  // above the grid
        m_area = chart->plotArea();
        QObject::connect(chart, &QChart::plotAreaChanged, chart, [this](const QRectF& area) {
            prepareGeometryChange();
            m_area = area;
        });
    }

    void setColour(const QColor& colour)
    {
        m_pen.setColor(colour);
        update();
    }
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
        if (m_columns) {
            paintColumns(painter);
        } else {
            // One polyline per run between gaps.
            qsizetype from = 0;
            auto gap = m_gaps.begin();
            for (qsizetype k = 1; k <= n; ++k) {
                if (k < n && !gapBefore(gap, k))
                    continue;
                if (k - from == 1)
                    painter->drawPoint(m_mapped[from]);
                else
                    painter->drawPolyline(m_mapped.constData() + from, int(k - from));
                from = k;
            }
        }
        painter->restore();
    }

    // The points are two per pixel column, its extremes in the order the
    // line runs.
    void setColumns(bool columns) { m_columns = columns; }

private:
    // True when a gap (a time without values) lies between point k - 1 and
    // point k; gap walks the sorted gaps along with k.
    bool gapBefore(std::vector<std::int64_t>::const_iterator& gap, qsizetype k) const
    {
        while (gap != m_gaps.end() && double(*gap) <= m_points[k - 1].x())
            ++gap;
        return gap != m_gaps.end() && double(*gap) <= m_points[k].x();
    }

    // Each column is one vertical run, from where the line came in to the
    // farther of its extremes: the same pixels as the zigzag polyline. They
    // are set in an image of the plot, drawn over it at once; stroking the
    // zigzag, or filling a rectangle per column, costs several times more.
    void paintColumns(QPainter* painter)
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QRect area = m_area.toAlignedRect();
        const QSize size = area.size() * dpr;
        if (size.isEmpty())
            return;
        if (m_image.size() != size)
            m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_image.fill(Qt::transparent);
        const QRgb ink = qPremultiply(m_pen.color().rgba());
        const int width = m_image.width(), height = m_image.height();
        const qsizetype stride = m_image.bytesPerLine() / qsizetype(sizeof(QRgb));
        QRgb* const pixels = reinterpret_cast<QRgb*>(m_image.bits());
        const auto column = [&](double x) { return std::clamp(int(std::floor((x - area.left()) * dpr)), 0, width); };
        const auto row = [&](double y) { return std::clamp(int(std::floor((y - area.top()) * dpr)), 0, height - 1); };
        const int dot = std::max(1, int(std::round(dpr)));  // one pixel of the line, in device pixels
        const qsizetype n = m_mapped.size();
        double last = m_mapped[0].y();
        auto gap = m_gaps.cbegin();
        for (qsizetype k = 0; k + 1 < n; k += 2) {
            const double a = m_mapped[k].y(), b = m_mapped[k + 1].y();
            // Nothing joins the column before a gap to the one after it.
            const bool gapAfter = k + 2 < n && gapBefore(gap, k + 2);
            const int left = column(m_mapped[k].x());
            const int right = std::min(width,
                                       std::max(left + dot, k + 2 < n && !gapAfter ? column(m_mapped[k + 2].x()) : 0));
            const int top = row(std::min({last, a, b}));
            const int bottom = std::min(height - 1, row(std::max({last, a, b})) + dot - 1);
            QRgb* p = pixels + top * stride + left;
            const int span = right - left;
            for (int y = top; y <= bottom; ++y, p += stride) {
                if (span == 1)
                    *p = ink;
                else
                    std::fill(p, p + span, ink);
            }
            last = gapAfter && k + 2 < n ? m_mapped[k + 2].y() : b;
        }
        m_image.setDevicePixelRatio(dpr);
        painter->drawImage(area.topLeft(), m_image);
    }

    QValueAxis* m_x;
    QValueAxis* m_y;
    const QList<QPointF>& m_points;
    const std::vector<std::int64_t>& m_gaps;  // point numbers that begin a run after a gap
    QPen m_pen;
    QRectF m_area;
    QPolygonF m_mapped;  // reused from paint to paint
    QImage m_image;      // the columns, reused from paint to paint
    bool m_columns = false;
};

GrowingChart::GrowingChart(QChartView* view, const QColor& colour, const QString& valueName, std::int64_t capacity)
    : ChartPlot(view)
    , m_store(capacity)
    , m_colour(colour)
    , m_valueName(valueName)
{
    xAxis()->setLabelFormat(QStringLiteral("%.0f"));
    m_line = new Line(chart(), xAxis(), yAxis(), m_drawn, m_gaps);
    m_lineOwner = chart();
    applyLineColours();
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
    return m_colour;
}

void GrowingChart::applyLineColours()
{
    if (m_line)
        m_line->setColour(lineColour(m_colour));
}

void GrowingChart::clear()
{
    m_store.clear();
    m_gaps.clear();
    showAll();
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

void GrowingChart::setZoomable(bool on)
{
    m_zoomable = on;  // the viewport's events pass eventFilter() already
}

void GrowingChart::setView(double from, double to)
{
    const double first = double(m_store.begin());
    const double last = double(std::max(m_store.begin(), m_store.end() - 1));
    const double span = std::min(to - from, last - first);
    if (m_store.size() < 2 || span >= last - first) {
        showAll();
        return;
    }
    // At least a few points wide, inside the record.
    const double width = std::max(span, 4.0);
    from = std::clamp(from, first, last - width);
    m_viewFrom = from;
    m_viewTo = from + width;
    if (!m_zoomed) {
        m_zoomed = true;
        m_xTitle = xAxis()->titleText();
        xAxis()->setTitleText(m_xTitle + QCoreApplication::translate("Charts", " (zoomed: double-click shows all)"));
    }
    requestRedraw();
}

void GrowingChart::zoom(double factor, double at)
{
    const double from = m_zoomed ? m_viewFrom : double(m_store.begin());
    const double to = m_zoomed ? m_viewTo : double(m_store.end() - 1);
    setView(at - (at - from) * factor, at + (to - at) * factor);
}

void GrowingChart::pan(double points)
{
    if (m_zoomed)
        setView(m_viewFrom + points, m_viewTo + points);
}

void GrowingChart::showAll()
{
    if (!m_zoomed)
        return;
    m_zoomed = false;
    xAxis()->setTitleText(m_xTitle);
    requestRedraw();
}

void GrowingChart::redraw()
{
    if (m_store.empty()) {
        m_drawn.clear();
        setAxisRange(xAxis(), 0, 10, 1.0);  // whole value-set numbers on the empty axis
        setAxisRange(yAxis(), 0, 1);
        m_line->update();
        return;
    }
    std::int64_t from = m_store.begin(), to = m_store.end();
    if (m_zoomed) {
        from = std::max(from, std::int64_t(std::floor(m_viewFrom)));
        to = std::min(to, std::int64_t(std::ceil(m_viewTo)) + 1);
    }
    const int columns = plotColumns(view(), chart());
    m_store.decimate(from, to, columns, m_drawn);
    m_line->setColumns(to - from > 2 * std::int64_t(columns));

    const PointStore::Extremes e = m_store.extremes(from, to);
    const double pad = std::max(1.0, (e.max - e.min) * 0.05);
    if (m_zoomed) {
        setAxisRange(xAxis(), m_viewFrom, m_viewTo, 1.0);
    } else {
        const auto [lo, hi] = niceRange(double(m_store.begin()), double(m_store.end() - 1), 1.0);
        setAxisRange(xAxis(), lo, hi, 1.0);
    }
    const auto [lo, hi] = niceRange(e.min - pad, e.max + pad);
    setAxisRange(yAxis(), lo, hi);
    m_line->update();
}

ChartTable GrowingChart::ownTable() const
{
    ChartTable t;
    t.header << QString::fromLatin1(kValueSetColumn) << m_valueName;
    t.rows = m_store.size();
    const std::int64_t begin = m_store.begin();
    t.value = [this, begin](std::int64_t row, int column) {
        return column == 0 ? double(begin + row) : m_store.at(begin + row);
    };
    if (m_times)
        t.time = [this, begin](std::int64_t row) {
            const std::int64_t i = begin + row;
            return m_times->holds(i) ? std::int64_t(m_times->at(i)) : std::int64_t(0);
        };
    return t;
}

std::optional<ChartPoint> GrowingChart::pointNear(const QPointF& pos) const
{
    if (m_store.empty())
        return std::nullopt;
    const QRectF area = chart()->plotArea();
    const double span = xAxis()->max() - xAxis()->min();
    if (area.width() <= 0 || span <= 0)
        return std::nullopt;
    // The points within a few pixel columns of the mouse, as stored (not as drawn).
    const double perPixel = span / area.width();
    const double at = toValueX(pos.x());
    const double reach = 4.0 * std::max(1.0, perPixel);
    const std::int64_t from = std::max(m_store.begin(), std::int64_t(std::floor(at - reach)));
    const std::int64_t to = std::min(m_store.end(), std::int64_t(std::ceil(at + reach)) + 1);
    std::optional<ChartPoint> best;
    double bestDistance = std::numeric_limits<double>::max();
    for (std::int64_t i = from; i < to; ++i) {
        const QPointF d = toPosition(double(i), m_store.at(i)) - pos;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = ChartPoint{i - m_store.begin(), 1};
        }
    }
    return best;
}

bool GrowingChart::eventFilter(QObject* watched, QEvent* event)
{
    if (m_zoomable && watched == view()->viewport()) {
        switch (event->type()) {
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const double notches = wheel->angleDelta().y() / 120.0;
            if (notches != 0.0) {
                const QPointF pos = chart()->mapFromScene(view()->mapToScene(wheel->position().toPoint()));
                zoom(std::pow(0.8, notches), toValueX(pos.x()));
            }
            return true;
        }
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                m_dragFrom = static_cast<QMouseEvent*>(event)->position();
            break;
        case QEvent::MouseMove:
            if (m_dragFrom && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
                const QPointF now = static_cast<QMouseEvent*>(event)->position();
                const double width = chart()->plotArea().width();
                if (width > 0)
                    pan(-(now.x() - m_dragFrom->x()) * (xAxis()->max() - xAxis()->min()) / width);
                m_dragFrom = now;
            }
            break;
        case QEvent::MouseButtonRelease: m_dragFrom.reset(); break;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                showAll();
                return true;
            }
            break;
        default: break;
        }
    }
    return ChartPlot::eventFilter(watched, event);
}

// ---------------------------------------------------------------- SeriesChart

SeriesChart::SeriesChart(QChartView* view)
    : ChartPlot(view)
{
}

void SeriesChart::setLines(std::vector<Line> lines)
{
    chart()->removeAllSeries();
    m_series.clear();
    m_lines = std::move(lines);
    for (const Line& line : m_lines) {
        QLineSeries* s = addLine(chart(), xAxis(), yAxis());
        s->setName(line.name);
        s->replace(line.points);
        m_series.push_back(s);
    }
    setLegendWanted(m_lines.size() >= 2);
    applyLineColours();
}

void SeriesChart::setNames(const QString& xName, const QStringList& lineNames)
{
    m_xName = xName;
    m_lineNames = lineNames;
}

void SeriesChart::applyLineColours()
{
    for (size_t i = 0; i < m_series.size(); ++i)
        colourLine(m_series[i], lineColour(m_lines[i].colour));
}

ChartTable SeriesChart::ownTable() const
{
    ChartTable t;
    const auto name = [this](size_t i) { return int(i) < m_lineNames.size() ? m_lineNames[int(i)] : m_lines[i].name; };
    bool sameX = true;
    for (size_t i = 1; i < m_lines.size() && sameX; ++i) {
        const QList<QPointF>& a = m_lines[0].points;
        const QList<QPointF>& b = m_lines[i].points;
        sameX = a.size() == b.size();
        for (qsizetype k = 0; sameX && k < a.size(); ++k)
            sameX = a[k].x() == b[k].x();
    }
    t.header << m_xName;
    if (m_lines.empty() || !sameX)
        return t;  // the lines share their X, as every chart of this kind draws them
    for (size_t i = 0; i < m_lines.size(); ++i)
        t.header << name(i);
    t.rows = m_lines[0].points.size();
    t.value = [this](std::int64_t row, int column) {
        return column == 0 ? m_lines[0].points[row].x() : m_lines[size_t(column - 1)].points[row].y();
    };
    return t;
}

}  // namespace tarvo
