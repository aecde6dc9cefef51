// Taking charts away on the real panels: the values of a chart as CSV with
// a header row and '.' decimals whatever the locale, its picture as PNG
// with the trace colours, from the chart's button and from the panel's
// shortcuts, and a write that fails is reported.
#include "chartexport.h"
#include "graphs.h"
#include "liveloop.h"
#include "scopefixture.h"
#include "ui_GRAPHP.h"
#include "ui_P.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateTime>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

QStringList lines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QAction* menuAction(QWidget* panel, const QString& chart, const QString& action)
{
    auto* button = panel->findChild<QToolButton*>(chart + QStringLiteral("Export"));
    if (!button || !button->menu())
        return nullptr;
    for (QAction* a : button->menu()->actions())
        if (a->objectName() == action)
            return a;
    return nullptr;
}

int pixelsOf(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return n;
}

bool inAccessibilityTree(QAccessibleInterface* node, const QObject* wanted)
{
    if (!node)
        return false;
    if (node->object() == wanted)
        return true;
    for (int i = 0; i < node->childCount(); ++i)
        if (inAccessibilityTree(node->child(i), wanted))
            return true;
    return false;
}

}  // namespace

class ChartExportTest : public QObject {
    Q_OBJECT
private slots:
    void graphPanelValuesHoldEveryValueSet();
    void stripChartPictureAndValuesFromTheShortcuts();
    void graphPanelPictureShowsTheLineInItsColour();
    void everyChartOfTheScopeHasTheButton();
    void failedWriteIsReportedAndCancelWritesNothing();
};

void ChartExportTest::graphPanelValuesHoldEveryValueSet()
{
    QLocale::setDefault(QLocale(QLocale::German));  // a decimal comma must not reach the file
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Graphs& g = app.graphs();
    MeasuredValues& m = app.measured();
    g.InitPanelGraph();
    const std::int64_t t0 = 1772870701123;  // 2026-03-07 09:05:01.123 UTC
    for (int i = 0; i < 3000; ++i) {
        m.dataGfDouble = 60.5 + i / 10.0;
        m.dataChRef = std::uint16_t(i);
        m.dataTemp = std::uint16_t(300 + i % 7);
        m.receivedMs = i == 1 ? 0 : t0 + 20 * i;  // value set 1 came from no sensor
        g.SetPanelGraphData();
    }
    const QString path = f.path(QStringLiteral("gf.csv"));
    f.dialogs->fileAnswers << path;
    QAction* values = menuAction(app.graphpanel().widget.get(), QStringLiteral("PanelGraphGF"),
                                 QStringLiteral("ExportChartValues"));
    QVERIFY(values);
    values->trigger();

    QCOMPARE(f.dialogs->fileRequests.size(), 1);
    // What and when: the graph and the time of its newest value set.
    QCOMPARE(f.dialogs->fileRequests[0].defaultFile,
             QDateTime::fromMSecsSinceEpoch(t0 + 20 * 2999)
                 .toString(QStringLiteral("'gloss-gf-graph-'yyyy-MM-dd-HHmm'.csv'")));
    QVERIFY(f.dialogs->fileRequests[0].save);
    // All seven signals with their units in one file, every value set a row.
    const QStringList rows = lines(path);
    QCOMPARE(rows.size(), 3001);
    QCOMPARE(rows[0],
             QStringLiteral("time,value set,CH_REF [counts],CH_DIR [counts],CH_DIF [counts],"
                            "NORM [per mille],INT [counts],GF [GU],TEMP [raw]"));
    const QStringList first = rows[1].split(u',');
    QCOMPARE(first.mid(1), QStringList({"0", "0", "0", "0", "0", "0", "60.5", "300"}));
    QCOMPARE(rows[2].section(u',', 0, 1), QStringLiteral(",1"));  // no time for a set from no sensor
    QCOMPARE(rows[3000].section(u',', 1), QStringLiteral("2999,2999,0,0,0,0,360.4,303"));
    // ISO 8601 local time with milliseconds and the UTC offset, the same instant.
    static const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$"));
    for (int row : {1, 3000}) {
        const QString time = rows[row].section(u',', 0, 0);
        QVERIFY2(iso.match(time).hasMatch(), qPrintable(time));
        QCOMPARE(QDateTime::fromString(time, Qt::ISODateWithMs).toMSecsSinceEpoch(), t0 + 20 * (row - 1));
    }
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 0);
    QLocale::setDefault(QLocale::c());
}

void ChartExportTest::stripChartPictureAndValuesFromTheShortcuts()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    QWidget* panel = app.panel().widget.get();
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel));
    const std::int64_t t0 = 1772870701123;
    for (int j = 0; j < 100; ++j)  // the older half came from no sensor
        app.live().mutableHistory().append({.norm = {500.0 + j, 700, 300}, .receivedMs = j < 50 ? 0 : t0 + 1000 * j});
    app.panel().ui->SelectSource->setCurrentIndex(0);
    emit app.panel().ui->SelectSource->activated(0);
    app.graphs().ShowGraph();

    // The only chart shown on the main panel is NORM's.
    QCOMPARE(shortcutTarget(panel), app.panel().ui->GraphNorm);
    const QString png = f.path(QStringLiteral("norm.png"));
    const QString csv = f.path(QStringLiteral("norm"));  // the suffix is added
    f.dialogs->fileAnswers << png << csv;
    QTest::keySequence(panel, kSaveChartPictureKey);
    QTest::keySequence(panel, kExportChartValuesKey);
    QCOMPARE(f.dialogs->fileRequests.size(), 2);
    QCOMPARE(f.dialogs->fileRequests[0].filter, QStringLiteral("*.png"));
    QCOMPARE(f.dialogs->fileRequests[0].defaultFile,
             QDateTime::fromMSecsSinceEpoch(t0 + 99000)
                 .toString(QStringLiteral("'gloss-norm-chart-'yyyy-MM-dd-HHmm'.png'")));

    // The chart under a title band that names the signal and the time span.
    QImage image(png);
    QVERIFY(!image.isNull());
    const QSize chart = app.panel().ui->GraphNorm->size() * app.panel().ui->GraphNorm->devicePixelRatioF();
    QCOMPARE(image.width(), chart.width());
    QVERIFY(image.height() > chart.height());
    QCOMPARE(image.text(QStringLiteral("Title")), QStringLiteral("NORM"));
    const QString span = QDateTime::fromMSecsSinceEpoch(t0 + 50000).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
        + QStringLiteral(" to ") + QDateTime::fromMSecsSinceEpoch(t0 + 99000).toString(QStringLiteral("HH:mm:ss.zzz"));
    QVERIFY2(image.text(QStringLiteral("Description")).contains(span),
             qPrintable(image.text(QStringLiteral("Description"))));
    QVERIFY(pixelsOf(image, 0x0000ff) > 50);  // the NORM trace
    QVERIFY(pixelsOf(image, 0xff0000) > 50);  // the band

    const QStringList rows = lines(csv + QStringLiteral(".csv"));
    QCOMPARE(rows.size(), 101);
    QCOMPARE(rows[0],
             QStringLiteral("time,value set,NORM [per mille],upper NORM tolerance [per mille],"
                            "lower NORM tolerance [per mille]"));
    QCOMPARE(rows[1], QStringLiteral(",0,500,700,300"));  // value sets counted from 0, oldest first
    QCOMPARE(rows[100].section(u',', 1), QStringLiteral("99,599,700,300"));
    QCOMPARE(QDateTime::fromString(rows[100].section(u',', 0, 0), Qt::ISODateWithMs).toMSecsSinceEpoch(), t0 + 99000);
}

void ChartExportTest::graphPanelPictureShowsTheLineInItsColour()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Graphs& g = app.graphs();
    QWidget* panel = app.graphpanel().widget.get();
    QComboBox* edit = app.graphpanel().ui->EditSignal;
    edit->setCurrentIndex(3);  // NORM, orange
    emit edit->activated(3);
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel));
    g.InitPanelGraph();
    for (int i = 0; i < 5000; ++i) {
        app.measured().dataNorm = std::uint16_t(500 + (i % 200));
        g.SetPanelGraphData();
    }
    const QString png = f.path(QStringLiteral("norm-graph.png"));
    QString error;
    QVERIFY2(savePng(app.graphpanel().ui->PanelGraphNorm, png, &error), qPrintable(error));
    const QImage image(png);
    QVERIFY(pixelsOf(image, 0xff8000) > 200);
    QCOMPARE(pixelsOf(image, 0xff0000), 0);  // no other graph's colour
    QVERIFY(g.panelGraph(3).yAxis()->min() <= 500 && g.panelGraph(3).yAxis()->max() >= 699);
}

void ChartExportTest::everyChartOfTheScopeHasTheButton()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    int charts = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        for (QChartView* view : top->findChildren<QChartView*>()) {
            ++charts;
            auto* button = view->findChild<QToolButton*>(view->objectName() + QStringLiteral("Export"));
            QVERIFY2(button, qPrintable(view->objectName()));
            QVERIFY(button->menu());
            QCOMPARE(button->menu()->actions().size(), 2);
            // Tab reaches it, and screen readers find it under its chart.
            QVERIFY(button->focusPolicy() & Qt::TabFocus);
            QVERIFY2(inAccessibilityTree(QAccessible::queryAccessibleInterface(view), button),
                     qPrintable(view->objectName()));
        }
    }
    // Strip charts, profile, the graph panel's seven, calibration and monitor.
    QCOMPARE(charts, 4 + 1 + 7 + 1 + 1);
}

void ChartExportTest::failedWriteIsReportedAndCancelWritesNothing()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    QChartView* view = app.graphpanel().ui->PanelGraphChRef;
    f.dialogs->fileAnswers << f.path(QStringLiteral("no/such/folder/x.csv")) << QString();
    exportChartValues(view);
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 1);
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("x.csv")));
    exportChartPicture(view);  // cancelled
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 1);
    QCOMPARE(QDir(f.dir.path()).entryList({QStringLiteral("*.png")}).size(), 0);
}

QTEST_MAIN(ChartExportTest)
#include "tst_chartexport.moc"
