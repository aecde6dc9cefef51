// Taking a chart away: its picture as a PNG file, with a title band naming
// the signal, the sensor and the time span, and its values as a CSV file
// (header row with units, one row per point, '.' as decimal point). Every chart of
// both programs offers both from a small button in its top right corner and
// from two keyboard shortcuts on its panel, which act on the chart under the
// mouse, else the one holding the focus, else the first one shown.
#pragma once

#include "charts.h"

#include <QKeySequence>
#include <QString>

class QChartView;
class QIODevice;
class QWidget;

namespace tarvo {

inline const QKeySequence kSaveChartPictureKey{Qt::CTRL | Qt::SHIFT | Qt::Key_S};
inline const QKeySequence kExportChartValuesKey{Qt::CTRL | Qt::SHIFT | Qt::Key_E};

// Adds the button and the panel's shortcuts; once per chart. The values come
// from the chart's ChartPlot when it has one, otherwise from its line series.
void enableChartExport(QChartView* view);

// The values a chart's export writes (none for a view without a ChartPlot).
ChartTable chartTable(const QChartView* view);
// The two lines above a saved picture: what the chart shows; the sensor and
// the time span of the values (or when they were taken, or saved).
QStringList pictureTitle(QChartView* view);

// Writers; false with the reason in *error when the file could not be written.
// The CSV starts with the header row; values that came from the sensor get a
// first column "time", ISO 8601 with milliseconds and the UTC offset.
void writeCsv(const ChartTable& table, QIODevice& out);
bool saveCsv(const ChartTable& table, const QString& path, QString* error);
bool savePng(QChartView* view, const QString& path, QString* error);

// The user's commands: ask for a file name, write, report a failure.
void exportChartPicture(QChartView* view);
void exportChartValues(QChartView* view);

// The chart the panel's shortcuts act on in this window, or none.
QChartView* shortcutTarget(QWidget* window);

}  // namespace tarvo
