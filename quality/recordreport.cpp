#include "recordreport.h"

#include "pdfsheet.h"
#include "timetext.h"

#include <QDateTime>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString sensorOf(const ReportInput& in)
{
    return in.sensor.isEmpty() ? in.recording.sensor : in.sensor;
}

QString durationText(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds % 3600 / 60;
    const qint64 s = seconds % 60;
    return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
}

// The limits and the gloss factors' span, widened a little, as a chart's value range.
std::pair<double, double> valueRange(const ProcessFigures& f)
{
    double lo = f.min;
    double hi = f.max;
    if (f.limits) {
        lo = std::min(lo, f.limits->low);
        hi = std::max(hi, f.limits->high);
    }
    const double margin = std::max((hi - lo) * 0.08, 0.5);
    return {lo - margin, hi + margin};
}

void drawFrame(QPainter& p, const QRect& plot, double lo, double hi, bool vertical, const QString& title,
               int textHeight)
{
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(plot);
    p.drawText(QRect(plot.left(), plot.top() - textHeight - 6, plot.width(), textHeight),
               Qt::AlignLeft | Qt::AlignBottom, title);
    // Five ticks on the value axis.
    p.setPen(QPen(Qt::lightGray, 2));
    for (int i = 0; i <= 4; ++i) {
        const double v = lo + (hi - lo) * i / 4.0;
        const QString label = QString::number(v, 'f', 1);
        p.setPen(QPen(Qt::lightGray, 2));
        if (vertical) {
            const int y = plot.bottom() - int(plot.height() * i / 4.0);
            p.drawLine(plot.left(), y, plot.right(), y);
            p.setPen(Qt::black);
            p.drawText(QRect(0, y - textHeight / 2, plot.left() - 12, textHeight), Qt::AlignRight | Qt::AlignVCenter,
                       label);
        } else {
            const int x = plot.left() + int(plot.width() * i / 4.0);
            p.drawLine(x, plot.top(), x, plot.bottom());
            p.setPen(Qt::black);
            p.drawText(QRect(x - 200, plot.bottom() + 6, 400, textHeight), Qt::AlignHCenter | Qt::AlignTop, label);
        }
    }
}

void drawHistogram(PdfSheet& sheet, const QRect& area, const ReportInput& in, const ProcessFigures& f)
{
    QPainter& p = sheet.painter();
    const int th = sheet.lineHeight();
    const QRect plot = area.adjusted(th * 4, th * 2, -th, -th * 3);
    const std::pair<double, double> range = valueRange(f);
    double lo = range.first;
    double hi = range.second;
    // Bins a whole number of tenths wide (the sensor's resolution), about √n of them.
    const int wanted = std::clamp(int(std::ceil(std::sqrt(double(f.count)))), 5, 40);
    const double width = std::max(0.1, std::ceil((f.max - f.min) / wanted * 10.0 - 1e-9) / 10.0);
    const double first = std::floor(f.min * 10.0 + 1e-9) / 10.0 - width / 2.0;
    const int bins = int(std::ceil((f.max - first) / width + 1e-9)) + 1;
    lo = std::min(lo, first);
    hi = std::max(hi, first + bins * width);
    std::vector<int> counts(size_t(bins), 0);
    for (const RecordedSet& s : in.recording.sets) {
        const int b = std::clamp(int(std::floor((s.gf() - first) / width)), 0, bins - 1);
        ++counts[size_t(b)];
    }
    const int most = std::max(1, *std::max_element(counts.begin(), counts.end()));
    const auto xOf = [&](double v) { return plot.left() + (v - lo) / (hi - lo) * plot.width(); };

    drawFrame(p, plot, lo, hi, false,
              QStringLiteral("Histogram of GF [GU] (parts per class of %1)").arg(width, 0, 'f', 1), th);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(70, 110, 190));
    for (int b = 0; b < bins; ++b) {
        if (counts[size_t(b)] == 0)
            continue;
        const double x0 = xOf(first + b * width);
        const double x1 = xOf(first + (b + 1) * width);
        const double h = double(plot.height()) * counts[size_t(b)] / most;
        p.drawRect(QRectF(x0, plot.bottom() - h, x1 - x0, h));
    }
    p.setBrush(Qt::NoBrush);
    p.drawText(QRect(area.left(), plot.top(), th * 4 - 12, th), Qt::AlignRight | Qt::AlignTop, QString::number(most));
    p.drawText(QRect(area.left(), plot.bottom() - th, th * 4 - 12, th), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("0"));
    if (f.limits) {
        p.setPen(QPen(QColor(200, 0, 0), 5, Qt::DashLine));
        for (const auto& [v, name] :
             {std::pair{f.limits->low, QStringLiteral("LOW")}, std::pair{f.limits->high, QStringLiteral("HIGH")}}) {
            const int x = int(xOf(v));
            p.drawLine(x, plot.top(), x, plot.bottom());
            p.drawText(QRect(x - 300, plot.top() + 4, 600, th), Qt::AlignHCenter | Qt::AlignTop, name);
        }
    }
    p.setPen(Qt::black);
}

void drawTrend(PdfSheet& sheet, const QRect& area, const ReportInput& in, const ProcessFigures& f)
{
    QPainter& p = sheet.painter();
    const int th = sheet.lineHeight();
    const QRect plot = area.adjusted(th * 4, th * 2, -th, -th * 3);
    const std::pair<double, double> range = valueRange(f);
    const double lo = range.first;
    const double hi = range.second;
    const std::vector<RecordedSet>& sets = in.recording.sets;
    const QDateTime t0 = sets.front().when;
    const double span = double(t0.secsTo(sets.back().when) + 1);  // the last second drawn whole
    const auto xOf = [&](const QDateTime& t) {
        return plot.left() + std::clamp(double(t0.msecsTo(t)) / 1000.0 / span, 0.0, 1.0) * plot.width();
    };
    const auto yOf = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * plot.height(); };
    // The record file stamps to the second: the sets of one second are spread
    // evenly across it, in the order written, instead of drawn on one line.
    std::vector<double> xs(sets.size());
    for (size_t i = 0; i < sets.size();) {
        size_t j = i;
        while (j < sets.size() && sets[j].when == sets[i].when)
            ++j;
        const double x0 = xOf(sets[i].when);
        const double x1 = xOf(sets[i].when.addSecs(1));
        for (size_t k = i; k < j; ++k)
            xs[k] = std::min(x0 + (x1 - x0) * double(k - i) / double(j - i), double(plot.right()));
        i = j;
    }

    drawFrame(p, plot, lo, hi, true, QStringLiteral("GF [GU] over time (gaps shaded)"), th);
    p.setPen(Qt::black);
    p.drawText(QRect(plot.left(), plot.bottom() + 6, plot.width() / 2, th), Qt::AlignLeft | Qt::AlignTop,
               t0.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    p.drawText(QRect(plot.center().x(), plot.bottom() + 6, plot.width() / 2, th), Qt::AlignRight | Qt::AlignTop,
               sets.back().when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    for (const TimeGap& g : in.recording.gaps) {
        const double x0 = xOf(g.from);
        const double x1 = std::max(xOf(g.to), x0 + 4.0);
        p.fillRect(QRectF(x0, plot.top(), x1 - x0, plot.height()), QColor(255, 190, 80, 150));
    }
    if (f.limits) {
        p.setPen(QPen(QColor(200, 0, 0), 4, Qt::DashLine));
        for (double v : {f.limits->low, f.limits->high})
            p.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
    }
    // One column of the plot shows the span of the values that fall on it,
    // so that a million parts draw as quickly as a hundred; a gap breaks the line.
    const auto inGap = [&](const QDateTime& a, const QDateTime& b) {
        return std::any_of(in.recording.gaps.begin(), in.recording.gaps.end(),
                           [&](const TimeGap& g) { return a <= g.to && g.from <= b; });
    };
    p.setPen(QPen(QColor(0, 0, 160), 3));
    if (int(sets.size()) <= plot.width() / 4) {
        QPainterPath path;
        for (size_t i = 0; i < sets.size(); ++i) {
            const QPointF pt(xs[i], yOf(sets[i].gf()));
            if (i == 0 || inGap(sets[i - 1].when, sets[i].when))
                path.moveTo(pt);
            else
                path.lineTo(pt);
            p.drawEllipse(pt, 5, 5);
        }
        p.drawPath(path);
    } else {
        int column = -1;
        double cmin = 0.0;
        double cmax = 0.0;
        const auto flush = [&] {
            if (column >= 0)
                p.drawLine(QPointF(plot.left() + column, yOf(cmin)), QPointF(plot.left() + column, yOf(cmax) - 1));
        };
        for (size_t i = 0; i < sets.size(); ++i) {
            const RecordedSet& s = sets[i];
            const int c = int(xs[i]) - plot.left();
            if (c != column) {
                flush();
                column = c;
                cmin = cmax = s.gf();
            } else {
                cmin = std::min(cmin, s.gf());
                cmax = std::max(cmax, s.gf());
            }
        }
        flush();
    }
    p.setPen(Qt::black);
}

}  // namespace

QString figureText(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

ProcessFigures reportFigures(const ReportInput& in)
{
    std::vector<double> gf;
    gf.reserve(in.recording.sets.size());
    for (const RecordedSet& s : in.recording.sets)
        gf.push_back(s.gf());
    return processFigures(gf, in.limits);
}

QString reportCsv(const ReportInput& in, const ProcessFigures& f)
{
    const auto num = [](double v) { return QString::number(v, 'f', 6); };
    const bool capable = f.gap == CapabilityGap::None;
    QStringList row{csvField(in.recordName),
                    csvField(sensorOf(in)),
                    isoTimeWithOffset(in.recording.sets.front().when),
                    isoTimeWithOffset(in.recording.sets.back().when),
                    QString::number(f.count),
                    num(f.mean),
                    num(f.stdDev),
                    num(f.min),
                    num(f.max),
                    f.limits ? num(f.limits->low) : QString(),
                    f.limits ? num(f.limits->high) : QString(),
                    f.limits ? QString::number(f.outside) : QString(),
                    f.limits ? num(f.outsidePercent) : QString(),
                    capable ? num(f.cp) : QString(),
                    capable ? num(f.cpk) : QString()};
    return QStringLiteral("record,sensor,first,last,n,mean,stddev,min,max,low,high,outside,outside_percent,cp,cpk\n")
        + row.join(u',') + u'\n';
}

QByteArray reportPdf(const ReportInput& in, const ProcessFigures& f)
{
    const std::vector<RecordedSet>& sets = in.recording.sets;
    PdfSheet sheet(QStringLiteral("Recording report: %1").arg(in.recordName), in.program);
    sheet.title(QStringLiteral("Recording report"));
    sheet.line(QStringLiteral("Made %1 by %2")
                   .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), in.program),
               true);

    sheet.heading(QStringLiteral("Recording"));
    double gapSeconds = 0.0;
    for (const TimeGap& g : in.recording.gaps)
        gapSeconds += double(g.from.msecsTo(g.to)) / 1000.0;
    const QString sensor = sensorOf(in);
    sheet.fields({
        {QStringLiteral("Record file"), in.recordName},
        {QStringLiteral("Sensor"), sensor.isEmpty() ? QStringLiteral("not named in the record or its events") : sensor},
        {QStringLiteral("First value set"), sets.front().when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
        {QStringLiteral("Last value set"), sets.back().when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
        {QStringLiteral("Duration"), durationText(sets.front().when.secsTo(sets.back().when))},
        {QStringLiteral("Gaps"),
         in.recording.gaps.empty()
             ? QStringLiteral("none recorded")
             : QStringLiteral("%1, %2 s in all").arg(in.recording.gaps.size()).arg(gapSeconds, 0, 'f', 1)},
    });

    sheet.heading(QStringLiteral("Parameter set in force"));
    if (in.parameters.isEmpty())
        sheet.line(QStringLiteral("Not known: the record file does not hold it."));
    else
        sheet.line(in.parameters.join(QStringLiteral(";  ")));

    sheet.heading(QStringLiteral("Gloss factor GF [GU]"));
    const QString none = QStringLiteral("–");
    const std::string why = capabilityGapText(f);
    std::vector<std::pair<QString, QString>> rows{
        {QStringLiteral("Parts (n)"), QString::number(f.count)},
        {QStringLiteral("Mean"), figureText(f.mean)},
        {QStringLiteral("Standard deviation (n − 1)"), figureText(f.stdDev)},
        {QStringLiteral("Minimum"), figureText(f.min, 1)},
        {QStringLiteral("Maximum"), figureText(f.max, 1)},
    };
    if (f.limits) {
        rows.emplace_back(QStringLiteral("Limits LOW … HIGH"),
                          QStringLiteral("%1 … %2").arg(figureText(f.limits->low, 2), figureText(f.limits->high, 2)));
        rows.emplace_back(QStringLiteral("Outside the limits"),
                          QStringLiteral("%1 % (%2 parts)").arg(figureText(f.outsidePercent, 2)).arg(f.outside));
    } else {
        rows.emplace_back(QStringLiteral("Limits"), QStringLiteral("none given"));
    }
    const bool capable = f.gap == CapabilityGap::None;
    rows.emplace_back(QStringLiteral("Cp"), capable ? figureText(f.cp) : none);
    rows.emplace_back(QStringLiteral("Cpk"), capable ? figureText(f.cpk) : none);
    sheet.fields(rows, 0.35);
    if (!capable && f.limits)
        sheet.line(QString::fromStdString(why), true);
    sheet.line(QStringLiteral("Cp = (HIGH − LOW) / 6s;  Cpk = min(HIGH − mean, mean − LOW) / 3s;  s: sample standard "
                              "deviation. Every value set of the record file counts; gaps hold none."),
               true);

    sheet.space();
    drawHistogram(sheet, sheet.take(0.42), in, f);
    sheet.space();
    drawTrend(sheet, sheet.take(0.42), in, f);

    sheet.heading(QStringLiteral("Events"));
    const std::vector<RecordedEvent>& events = in.recording.events;
    if (events.empty())
        sheet.line(QStringLiteral("None recorded."));
    constexpr size_t kMaxEventsShown = 40;
    for (size_t i = 0; i < events.size() && i < kMaxEventsShown; ++i) {
        const RecordedEvent& e = events[i];
        sheet.line(
            QStringLiteral("%1  %2  %3").arg(e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.word, e.reason),
            true);
    }
    if (events.size() > kMaxEventsShown)
        sheet.line(QStringLiteral("… and %1 more in the events file.").arg(events.size() - kMaxEventsShown), true);
    return sheet.finish();
}

}  // namespace tarvo
