// Taking a chart away: its picture as a PNG file and its values as a CSV
// file (header row, one row per point, '.' as decimal point). Every chart of
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

// The values of a chart that has no ChartPlot: X of the first series, then
// the Y of each series, when all share the same X; otherwise one row per
// point of every series with its name.
ChartTable seriesTable(const QChartView* view);
// The values a chart's export writes.
ChartTable chartTable(const QChartView* view);

// Writers; false with the reason in *error when the file could not be written.
void writeCsv(const ChartTable& table, QIODevice& out);
bool saveCsv(const ChartTable& table, const QString& path, QString* error);
bool savePng(QChartView* view, const QString& path, QString* error);

// The user's commands: ask for a file name, write, report a failure.
void exportChartPicture(QChartView* view);
void exportChartValues(QChartView* view);

// The chart the panel's shortcuts act on in this window, or none.
QChartView* shortcutTarget(QWidget* window);

} // namespace tarvo
