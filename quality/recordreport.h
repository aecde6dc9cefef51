// The report of a recording: its gloss-factor figures as one CSV row for a
// spreadsheet, and as a PDF with the sensor, the time span, the parameter set
// where known, the figures, a histogram with the limits, the trend over time
// with its gaps, and the events. Drawn with Qt's own PDF writer; needs a
// QGuiApplication (fonts), no widgets.
#pragma once

#include "capability.h"
#include "recording.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tarvo {

struct ReportInput {
    QString recordName;  // the record file as the report names it
    Recording recording;
    std::optional<ToleranceLimits> limits;
    QString sensor;          // identification; empty: as the events name it, if they do
    QStringList parameters;  // "NAME value" of the set in force; empty: not known
    QString program;         // name and version of the program that made the report
};

// The figures of the recording's gloss factors against the limits.
ProcessFigures reportFigures(const ReportInput& in);

// A header line and one row: record, sensor, first, last, n, mean, stddev,
// min, max, low, high, outside, outside_percent, cp, cpk (empty where not
// given).
QString reportCsv(const ReportInput& in, const ProcessFigures& f);

// The PDF as bytes (one or two A4 pages).
QByteArray reportPdf(const ReportInput& in, const ProcessFigures& f);

// How figures are shown in the report and the monitor.
QString figureText(double v, int decimals = 3);

}  // namespace tarvo
