#include "certificate.h"

#include "pdfsheet.h"
#include "timetext.h"

#include <QPainterPath>
#include <algorithm>

namespace tarvo {

namespace {

QString kindText(const QString& kind)
{
    if (kind == QLatin1String(CalibrationRecord::kKindReference100))
        return QStringLiteral("Reference-100 calibration (transmitter power on a gloss-100 target)");
    if (kind == QLatin1String(CalibrationRecord::kKindOtherSystem))
        return QStringLiteral("Calibration to another measuring system (curve)");
    return kind;
}

QString outcomeText(const CalibrationRecord& r)
{
    if (r.outcome == QLatin1String(CalibrationRecord::kDone))
        return QStringLiteral("DONE");
    const QString word = r.outcome.toUpper();
    return r.reason.isEmpty() ? word : word + QStringLiteral(": ") + r.reason;
}

void drawCurve(PdfSheet& sheet, const QRect& area, const CalibrationRecord& r)
{
    QPainter& p = sheet.painter();
    const int th = sheet.lineHeight();
    const QRect plot = area.adjusted(th * 4, th * 2, -th, -th * 3);
    double xMax = 0.0;
    double yMax = 0.0;
    for (const auto& [x, y] : r.curve) {
        xMax = std::max(xMax, x);
        yMax = std::max(yMax, y);
    }
    xMax = std::max(xMax, 1.0);
    yMax = std::max(yMax, 1.0);
    const auto pt = [&](double x, double y) {
        return QPointF(plot.left() + x / xMax * plot.width(), plot.bottom() - y / yMax * plot.height());
    };
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(plot);
    p.drawText(QRect(plot.left(), plot.top() - th - 6, plot.width(), th), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("Curve: other system's GF over the sensor's GF (identity dashed)"));
    for (int i = 0; i <= 4; ++i) {
        const double fx = xMax * i / 4.0;
        const double fy = yMax * i / 4.0;
        p.drawText(QRectF(pt(fx, 0).x() - 300, plot.bottom() + 6, 600, th), Qt::AlignHCenter | Qt::AlignTop,
                   QString::number(fx, 'f', 0));
        p.drawText(QRectF(area.left(), pt(0, fy).y() - th / 2.0, th * 4 - 12, th), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(fy, 'f', 0));
    }
    p.setPen(QPen(QColor(0, 150, 0), 3, Qt::DashLine));
    const double m = std::min(xMax, yMax);
    p.drawLine(pt(0, 0), pt(m, m));
    std::vector<std::pair<double, double>> points = r.curve;
    std::sort(points.begin(), points.end());
    QPainterPath path;
    p.setPen(QPen(QColor(0, 0, 200), 4));
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF q = pt(points[i].first, points[i].second);
        if (i == 0)
            path.moveTo(q);
        else
            path.lineTo(q);
        p.drawEllipse(q, 8, 8);
    }
    p.drawPath(path);
    p.setPen(Qt::black);
}

void draw(PdfSheet& sheet, const CalibrationRecord& r, const QString& program)
{
    sheet.title(QStringLiteral("Calibration certificate"));
    sheet.line(QStringLiteral("Made %1 by %2 from the calibration log")
                   .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), program),
               true);
    sheet.heading(QStringLiteral("Calibration"));
    sheet.fields({
        {QStringLiteral("Kind"), kindText(r.kind)},
        {QStringLiteral("Outcome"), outcomeText(r)},
        {QStringLiteral("Date and time"), isoTimeWithOffset(r.when)},
        {QStringLiteral("Instrument"), r.sensor.isEmpty() ? QStringLiteral("not identified") : r.sensor},
        {QStringLiteral("SENSOR ID"), r.sensorId.isEmpty() ? QStringLiteral("none given") : r.sensorId},
        {QStringLiteral("Calibrated against"), r.reference},
        {QStringLiteral("Taken by the sensor"), r.written.isEmpty() ? QStringLiteral("nothing written") : r.written},
        {QStringLiteral("Operator (system user)"), r.user},
        {QStringLiteral("Program"), r.program},
    });

    sheet.heading(QStringLiteral("Settings and readings"));
    std::vector<std::pair<QString, QString>> rows;
    rows.emplace_back(QStringLiteral(""), QStringLiteral("before  →  after"));
    for (const auto& [name, value] : r.before) {
        QString after;
        for (const auto& [n, v] : r.after)
            if (n == name)
                after = v;
        rows.emplace_back(name, value + QStringLiteral("  →  ") + after);
    }
    sheet.fields(rows, 0.35);

    if (!r.curve.empty()) {
        sheet.heading(QStringLiteral("Points of the curve (sensor GF → other system's GF)"));
        QStringList points;
        for (const auto& [x, y] : r.curve)
            points << QStringLiteral("%1 → %2").arg(x, 0, 'f', 1).arg(y, 0, 'f', 1);
        sheet.line(points.join(QStringLiteral(";   ")));
        sheet.space();
        drawCurve(sheet, sheet.take(0.55), r);
    }

    sheet.heading(QStringLiteral("Checked and approved"));
    sheet.space();
    sheet.fields({{QStringLiteral("Name"), QStringLiteral("________________________________________")},
                  {QString(), QString()},
                  {QStringLiteral("Date"), QStringLiteral("________________________________________")},
                  {QString(), QString()},
                  {QStringLiteral("Signature"), QStringLiteral("________________________________________")}});
}

}  // namespace

QByteArray certificatePdf(const CalibrationRecord& record, const QString& program)
{
    PdfSheet sheet(QStringLiteral("Calibration certificate %1").arg(isoTimeWithOffset(record.when)), program);
    draw(sheet, record, program);
    return sheet.finish();
}

void printCertificate(QPagedPaintDevice* device, const CalibrationRecord& record, const QString& program)
{
    PdfSheet sheet(device, program);
    draw(sheet, record, program);
    sheet.finish();
}

}  // namespace tarvo
