#include "chartexport.h"

#include "dialogs.h"
#include "fileio.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>

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
    return QString::number(v, 'g', 15);  // never the locale's decimal comma
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

QString askFile(QChartView* view, const QString& suffix, const QString& title)
{
    FileDialogRequest r;
    r.directory = lastDirectory().isEmpty() ? QDir::currentPath() : lastDirectory();
    r.defaultFile = view->objectName() + u'.' + suffix;
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
                      QStringLiteral("Could not write %1:\n%2").arg(QDir::toNativeSeparators(path), error));
}

} // namespace

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
    button->setToolTip(QStringLiteral("Save the chart as a PNG picture or its values as a CSV file"));
    button->setAccessibleName(view->accessibleName().isEmpty() ? QStringLiteral("Save chart")
                                                               : QStringLiteral("Save chart: ") + view->accessibleName());
    // Clicks on the button are its own, not the chart's.
    button->setProperty("chartTool", true);

    auto* menu = new QMenu(button);
    menu->setObjectName(view->objectName() + QStringLiteral("ExportMenu"));
    QAction* picture = menu->addAction(QStringLiteral("Save picture as PNG…\t")
                                       + kSaveChartPictureKey.toString(QKeySequence::NativeText));
    QAction* values = menu->addAction(QStringLiteral("Export values as CSV…\t")
                                      + kExportChartValuesKey.toString(QKeySequence::NativeText));
    picture->setObjectName(QStringLiteral("SaveChartPicture"));
    values->setObjectName(QStringLiteral("ExportChartValues"));
    QObject::connect(picture, &QAction::triggered, view, [view] { exportChartPicture(view); });
    QObject::connect(values, &QAction::triggered, view, [view] { exportChartValues(view); });
    button->setMenu(menu);

    new CornerKeeper(view, button);
    addWindowShortcuts(view->window());
}

ChartTable seriesTable(const QChartView* view)
{
    std::vector<const QXYSeries*> series;
    for (QAbstractSeries* s : view->chart()->series())
        if (auto* xy = qobject_cast<const QXYSeries*>(s))
            series.push_back(xy);
    ChartTable t;
    if (series.empty()) {
        t.header << QStringLiteral("x") << QStringLiteral("y");
        t.value = [](std::int64_t, int) { return 0.0; };
        return t;
    }
    auto name = [&](size_t i) {
        return series[i]->name().isEmpty() ? QStringLiteral("series %1").arg(i + 1) : series[i]->name();
    };
    bool sameX = true;
    const QList<QPointF> first = series[0]->points();
    for (size_t i = 1; i < series.size() && sameX; ++i) {
        const QList<QPointF> other = series[i]->points();
        sameX = other.size() == first.size();
        for (qsizetype k = 0; sameX && k < first.size(); ++k)
            sameX = other[k].x() == first[k].x();
    }
    if (sameX) {
        t.header << QStringLiteral("x");
        std::vector<QList<QPointF>> columns;
        for (size_t i = 0; i < series.size(); ++i) {
            t.header << name(i);
            columns.push_back(series[i]->points());
        }
        t.rows = first.size();
        t.value = [columns](std::int64_t row, int column) {
            return column == 0 ? columns[0][row].x() : columns[size_t(column - 1)][row].y();
        };
        return t;
    }
    // Series of different X: one row per point, the series numbered from 1.
    t.header << QStringLiteral("series") << QStringLiteral("x") << QStringLiteral("y");
    std::vector<std::pair<int, QPointF>> rows;
    for (size_t i = 0; i < series.size(); ++i)
        for (const QPointF& p : series[i]->points())
            rows.emplace_back(int(i) + 1, p);
    t.rows = std::int64_t(rows.size());
    t.value = [rows](std::int64_t row, int column) {
        const auto& [s, p] = rows[size_t(row)];
        return column == 0 ? double(s) : column == 1 ? p.x() : p.y();
    };
    return t;
}

ChartTable chartTable(const QChartView* view)
{
    if (ChartPlot* plot = ChartPlot::of(view))
        return plot->table();
    return seriesTable(view);
}

void writeCsv(const ChartTable& table, QIODevice& out)
{
    QByteArray text = table.header.join(u',').toUtf8() + '\n';
    const int columns = int(table.header.size());
    for (std::int64_t row = 0; row < table.rows; ++row) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += ',';
            text += number(table.value(row, c)).toLatin1();
        }
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

bool savePng(QChartView* view, const QString& path, QString* error)
{
    if (ChartPlot* plot = ChartPlot::of(view))
        plot->redrawNow();  // the picture shows the latest values
    // The picture without the export button.
    QWidget* button = view->findChild<QToolButton*>(view->objectName() + QStringLiteral("Export"));
    const bool shown = button && button->isVisible();
    if (shown)
        button->hide();
    const QPixmap picture = view->grab();
    if (shown)
        button->show();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        if (error)
            *error = QStringLiteral("PNG encoding failed");
        return false;
    }
    return saveWholeFile(path, bytes, error);
}

void exportChartPicture(QChartView* view)
{
    const QString path = askFile(view, QStringLiteral("png"), QStringLiteral("Save chart as PNG picture"));
    QString error;
    if (!path.isEmpty() && !savePng(view, path, &error))
        reportFailure(path, error);
}

void exportChartValues(QChartView* view)
{
    const QString path = askFile(view, QStringLiteral("csv"), QStringLiteral("Export chart values as CSV"));
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

} // namespace tarvo
