// Axis labels are distinct round numbers: the step the axes use, and the
// labels a chart then shows, for the ranges the panels give their axes.
#include "axisticks.h"
#include "charts.h"

#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <QtTest>

using namespace tarvo;

namespace {

// The labels an axis shows: the multiples of its tick interval in its range.
QStringList labels(double min, double max, double step, const QString& format)
{
    QStringList out;
    for (double v = std::ceil(min / step - 1e-9) * step; v <= max + 1e-9 * step; v += step)
        out << QString::asprintf(format.toLatin1().constData(), v);
    return out;
}

}  // namespace

class AxisTicksTest : public QObject {
    Q_OBJECT
private slots:
    void ticksAreRoundAndLabelledDistinctly_data();
    void ticksAreRoundAndLabelledDistinctly();
    void profileOfNoPointsCountsInWholePoints();
};

void AxisTicksTest::ticksAreRoundAndLabelledDistinctly_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("minStep");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("profile, no points") << 0.0 << 1.0 << 1.0 << QStringList{"0", "1"};
    QTest::newRow("calibration graph scaled by hand")
        << 50.0 << 400.0 << 0.0 << QStringList{"100", "200", "300", "400"};
    QTest::newRow("calibration graph reset") << 0.0 << 2200.0 << 0.0 << QStringList{"0", "500", "1000", "1500", "2000"};
    QTest::newRow("counted points, no quarter steps") << 0.0 << 12.0 << 1.0 << QStringList{"0", "5", "10"};
    QTest::newRow("quarter steps keep their decimal")
        << 0.0 << 12.0 << 0.0 << QStringList{"0.0", "2.5", "5.0", "7.5", "10.0"};
    QTest::newRow("small span") << 0.0 << 0.05 << 0.0 << QStringList{"0.00", "0.01", "0.02", "0.03", "0.04", "0.05"};
    QTest::newRow("around zero") << -50.0 << 50.0 << 0.0 << QStringList{"-40", "-20", "0", "20", "40"};
}

void AxisTicksTest::ticksAreRoundAndLabelledDistinctly()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, minStep);
    QFETCH(QStringList, shown);
    const RoundTicks t = roundTicks(min, max, 5, minStep);
    QCOMPARE(labels(min, max, t.step, t.labelFormat), shown);
}

void AxisTicksTest::profileOfNoPointsCountsInWholePoints()
{
    // A strip chart two points wide, as the profile is with anzprof 0.
    QChartView view;
    StripChart chart(&view, {Qt::black});
    chart.setPointsPerScreen(2);
    chart.setYRange(50.0, 400.0);
    chart.redrawNow();
    QValueAxis* x = chart.xAxis();
    QCOMPARE(labels(x->min(), x->max(), x->tickInterval(), x->labelFormat()), (QStringList{"0", "1"}));
    QValueAxis* y = chart.yAxis();
    const QStringList ys = labels(y->min(), y->max(), y->tickInterval(), y->labelFormat());
    QCOMPARE(ys, (QStringList{"100", "200", "300", "400"}));
}

QTEST_MAIN(AxisTicksTest)
#include "tst_axisticks.moc"
