#include "chartexport.h"

#include "dialogs.h"
#include "fileio.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>

#include <cmath>

namespace tarvo {

namespace {

constexpr const char* kExportable = "tarvoChartExport";
constexpr const char* kWindowShortcuts = "tarvoChartShortcuts";

QString& lastDirectory()
{
    static QString dir;
    return dir;
}

QString number(double v)
{
    if (std::isnan(v))
        return {};                       // a point without a value (a lost connection): an empty cell
    return QString::number(v, 'g', 15);  // never the locale's decimal comma
}

// A text cell, quoted when it holds the separator or a quote.
QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool exportable(const QWidget* w)
{
    return w && w->property(kExportable).toBool();
}

QChartView* exportableChartAt(QWidget* w, const QWidget* window)
{
    for (; w; w = w->parentWidget())
        if (auto* view = qobject_cast<QChartView*>(w); view && exportable(view) && view->window() == window)
            return view;
    return nullptr;
}

// Keeps the button in the chart's top right corner.
class CornerKeeper final : public QObject {
public:
    CornerKeeper(QChartView* view, QToolButton* button)
        : QObject(button)
        , m_view(view)
        , m_button(button)
    {
        view->installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_view && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
            place();
        return false;
    }

private:
    void place()
    {
        const QSize s = m_button->sizeHint();
        m_button->setGeometry(m_view->viewport()->width() - s.width() - 2, 2, s.width(), s.height());
        m_button->raise();
    }

    QChartView* m_view;
    QToolButton* m_button;
};

void addWindowShortcuts(QWidget* window)
{
    if (window->property(kWindowShortcuts).toBool())
        return;
    window->setProperty(kWindowShortcuts, true);
    auto* picture = new QShortcut(kSaveChartPictureKey, window);
    auto* values = new QShortcut(kExportChartValuesKey, window);
    QObject::connect(picture, &QShortcut::activated, window, [window] {
        if (QChartView* view = shortcutTarget(window))
            exportChartPicture(view);
    });
    QObject::connect(values, &QShortcut::activated, window, [window] {
        if (QChartView* view = shortcutTarget(window))
            exportChartValues(view);
    });
}

// What the chart holds and when its newest value came (else when it was
// taken, else now): "gloss-gf-chart-2026-12-10-1012.png".
QString defaultFileName(QChartView* view, const QString& suffix)
{
    ChartPlot* plot = ChartPlot::of(view);
    if (!plot)
        return view->objectName() + u'.' + suffix;
    std::int64_t newest = 0;
    const ChartTable table = plot->table();
    if (table.time)
        for (std::int64_t row = table.rows - 1; row >= 0 && newest == 0; --row)
            newest = table.time(row);
    if (newest == 0)
        newest = plot->takenAt();
    const QDateTime when = newest != 0 ? QDateTime::fromMSecsSinceEpoch(newest) : QDateTime::currentDateTime();
    return datedFileName(plot->fileStem(), when, suffix);
}

QString askFile(QChartView* view, const QString& suffix, const QString& title)
{
    FileDialogRequest r;
    r.directory = lastDirectory().isEmpty() ? QDir::currentPath() : lastDirectory();
    r.defaultFile = defaultFileName(view, suffix);
    r.filter = QStringLiteral("*.") + suffix;
    r.title = title;
    r.save = true;
    QString path = dialogs().selectFile(r);
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().isEmpty())
            path += u'.' + suffix;
        lastDirectory() = QFileInfo(path).absolutePath();
    }
    return path;
}

void reportFailure(const QString& path, const QString& error)
{
    dialogs().message(QStringLiteral("ATTENTION!"),
                      QCoreApplication::translate("ChartExport", "Could not write %1:\n%2")
                          .arg(QDir::toNativeSeparators(path), error));
}

}  // namespace

void enableChartExport(QChartView* view)
{
    if (!view || exportable(view))
        return;
    view->setProperty(kExportable, true);

    // On the chart's viewport: screen readers list a scroll area's viewport
    // and its children, not other children of the view.
    auto* button = new QToolButton(view->viewport());
    button->setObjectName(view->objectName() + QStringLiteral("Export"));
    button->setIcon(button->style()->standardIcon(QStyle::SP_DialogSaveButton));
    button->setIconSize(QSize(14, 14));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);  // Tab reaches it; Space opens its menu
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolTip(
        QCoreApplication::translate("ChartExport", "Save the chart as a PNG picture or its values as a CSV file"));
    button->setAccessibleName(view->accessibleName().isEmpty()
                                  ? QCoreApplication::translate("ChartExport", "Save chart")
                                  : QCoreApplication::translate("ChartExport", "Save chart: ")
                                      + view->accessibleName());
    // Clicks on the button are its own, not the chart's.
    button->setProperty("chartTool", true);

    auto* menu = new QMenu(button);
    menu->setObjectName(view->objectName() + QStringLiteral("ExportMenu"));
    QAction* picture = menu->addAction(QCoreApplication::translate("ChartExport", "Save picture as PNG…\t")
                                       + kSaveChartPictureKey.toString(QKeySequence::NativeText));
    QAction* values = menu->addAction(QCoreApplication::translate("ChartExport", "Export values as CSV…\t")
                                      + kExportChartValuesKey.toString(QKeySequence::NativeText));
    picture->setObjectName(QStringLiteral("SaveChartPicture"));
    values->setObjectName(QStringLiteral("ExportChartValues"));
    QObject::connect(picture, &QAction::triggered, view, [view] { exportChartPicture(view); });
    QObject::connect(values, &QAction::triggered, view, [view] { exportChartValues(view); });
    button->setMenu(menu);

    new CornerKeeper(view, button);
    addWindowShortcuts(view->window());
}

ChartTable chartTable(const QChartView* view)
{
    if (ChartPlot* plot = ChartPlot::of(view))
        return plot->table();
    return {};
}

void writeCsv(const ChartTable& table, QIODevice& out)
{
    // The header is the first line, with no comment above it, so that a
    // spreadsheet takes it as the column titles.
    QStringList header = table.header;
    if (table.time)
        header.prepend(QString::fromLatin1(kTimeColumn));
    const bool noted = !table.noteHeader.isEmpty() && table.note;
    if (noted)
        header.append(table.noteHeader);
    for (QString& title : header)
        title = csvField(title);
    QByteArray text = header.join(u',').toUtf8() + '\n';
    const int columns = int(table.header.size());
    for (std::int64_t row = 0; row < table.rows; ++row) {
        if (table.time) {
            // A row that holds no measured value has no time.
            if (const std::int64_t ms = table.time(row); ms != 0)
                text += isoTime(ms).toLatin1();
            text += ',';
        }
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += ',';
            text += number(table.value(row, c)).toLatin1();
        }
        if (noted)
            text += ',' + csvField(table.note(row)).toUtf8();
        text += '\n';
        if (text.size() > (1 << 16)) {
            out.write(text);
            text.clear();
        }
    }
    out.write(text);
}

bool saveCsv(const ChartTable& table, const QString& path, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeCsv(table, buffer);
    return saveWholeFile(path, bytes, error);
}

QStringList pictureTitle(QChartView* view)
{
    ChartPlot* plot = ChartPlot::of(view);
    if (!plot)
        return {view->objectName(), QString()};
    // The span of the rows' times, else when the values were taken, else now.
    std::int64_t first = 0, last = 0;
    const ChartTable table = plot->table();
    if (table.time)
        for (std::int64_t row = 0; row < table.rows; ++row)
            if (const std::int64_t ms = table.time(row); ms != 0) {
                first = first == 0 ? ms : std::min(first, ms);
                last = std::max(last, ms);
            }
    QString when;
    if (first != 0) {
        const QDateTime a = QDateTime::fromMSecsSinceEpoch(first), b = QDateTime::fromMSecsSinceEpoch(last);
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
        when = a.toString(format)
            + (last == first ? QString()
                             : QCoreApplication::translate("ChartExport", " to ")
                       + b.toString(a.date() == b.date() ? QStringLiteral("HH:mm:ss.zzz") : format));
        when += isoTime(last).right(6).prepend(QStringLiteral(" (UTC")) + u')';
    } else {
        const std::int64_t taken = plot->takenAt();
        const std::int64_t ms = taken != 0 ? taken : QDateTime::currentMSecsSinceEpoch();
        when = (taken != 0 ? QCoreApplication::translate("ChartExport", "taken ")
                           : QCoreApplication::translate("ChartExport", "saved "))
            + QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
            + isoTime(ms).right(6).prepend(QStringLiteral(" (UTC")) + u')';
    }
    const QString source = plot->source().trimmed();
    return {plot->title(), source.isEmpty() ? when : source + QStringLiteral("  \u00b7  ") + when};
}

bool savePng(QChartView* view, const QString& path, QString* error)
{
    ChartPlot* plot = ChartPlot::of(view);
    if (plot) {
        plot->redrawNow();  // the picture shows the latest values
        plot->hideHover();
    }
    // The picture without the export button.
    QWidget* button = view->findChild<QToolButton*>(view->objectName() + QStringLiteral("Export"));
    const bool shown = button && button->isVisible();
    if (shown)
        button->hide();
    const QPixmap picture = view->grab();
    if (shown)
        button->show();

    // Above the chart, what it shows and where and when it comes from, and
    // the legend when the chart had no room to show it.
    const QStringList title = pictureTitle(view);
    std::vector<std::pair<QColor, QString>> legend;
    if (plot && plot->legendWanted() && !view->chart()->legend()->isVisible())
        for (QLegendMarker* marker : view->chart()->legend()->markers())
            if (marker->isVisible())
                legend.emplace_back(marker->pen().color(), marker->label());
    QFont bold = view->font();
    bold.setBold(true);
    const QFont plain = view->font();
    const QFontMetrics boldMetrics(bold), plainMetrics(plain);
    const int margin = 6;
    const int line = plainMetrics.height();
    const int band = margin + boldMetrics.height() + line * (legend.empty() ? 1 : 2) + margin;
    const qreal dpr = picture.devicePixelRatio();
    QImage image(picture.width(), picture.height() + qRound(band * dpr), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    const QPalette palette = view->palette();
    image.fill(palette.color(QPalette::Base));
    {
        QPainter painter(&image);
        const int width = qRound(picture.width() / dpr) - 2 * margin;
        const QColor ink = palette.color(QPalette::Text);
        painter.setPen(ink);
        painter.setFont(bold);
        painter.drawText(QPoint(margin, margin + boldMetrics.ascent()),
                         boldMetrics.elidedText(title.value(0), Qt::ElideRight, width));
        painter.setFont(plain);
        int y = margin + boldMetrics.height();
        painter.drawText(QPoint(margin, y + plainMetrics.ascent()),
                         plainMetrics.elidedText(title.value(1), Qt::ElideRight, width));
        int x = margin;
        y += line;
        for (const auto& [colour, label] : legend) {
            painter.setPen(QPen(colour, 2));
            painter.drawLine(x, y + line / 2, x + 16, y + line / 2);
            painter.setPen(ink);
            painter.drawText(QPoint(x + 20, y + plainMetrics.ascent()), label);
            x += 20 + plainMetrics.horizontalAdvance(label) + 2 * margin;
        }
        painter.drawPixmap(QPointF(0, band), picture);
    }
    // The same words as text in the file, for whoever files the picture.
    image.setText(QStringLiteral("Title"), title.value(0));
    image.setText(QStringLiteral("Description"), title.value(1));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        if (error)
            *error = QStringLiteral("PNG encoding failed");
        return false;
    }
    return saveWholeFile(path, bytes, error);
}

void exportChartPicture(QChartView* view)
{
    const QString path = askFile(view, QStringLiteral("png"),
                                 QCoreApplication::translate("ChartExport", "Save chart as PNG picture"));
    QString error;
    if (!path.isEmpty() && !savePng(view, path, &error))
        reportFailure(path, error);
}

void exportChartValues(QChartView* view)
{
    const QString path = askFile(view, QStringLiteral("csv"),
                                 QCoreApplication::translate("ChartExport", "Export chart values as CSV"));
    QString error;
    if (!path.isEmpty() && !saveCsv(chartTable(view), path, &error))
        reportFailure(path, error);
}

QChartView* shortcutTarget(QWidget* window)
{
    if (QChartView* v = exportableChartAt(QApplication::widgetAt(QCursor::pos()), window))
        return v;
    if (QChartView* v = exportableChartAt(window->focusWidget(), window))
        return v;
    for (QChartView* v : window->findChildren<QChartView*>())
        if (exportable(v) && v->isVisible())
            return v;
    return nullptr;
}

}  // namespace tarvo
