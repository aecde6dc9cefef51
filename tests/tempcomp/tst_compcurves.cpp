// Curves, their chart extremes, reference values and compensation factors.
#include "compcurves.h"

#include <QtTest>
#include <limits>

using namespace tarvo::tempcomp;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Red only; green and blue 0.
Coefficients red(double x4, double x3, double x2, double x1, double t)
{
    return {x4, x3, x2, x1, t, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}
}  // namespace

class CompCurvesTest : public QObject {
    Q_OBJECT
private slots:
    void curveValuesAndTheirExtremes_data();
    void curveValuesAndTheirExtremes();
    void factorIsReferenceOverCurveInSixteenBits_data();
    void factorIsReferenceOverCurveInSixteenBits();
    void limitedFactorsAreCountedPerChannel();
    void referenceIsTheCurveValueInSixteenBits_data();
    void referenceIsTheCurveValueInSixteenBits();
};

void CompCurvesTest::curveValuesAndTheirExtremes_data()
{
    QTest::addColumn<Coefficients>("c");
    QTest::addColumn<int>("t");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("line 1000 + 0.5 t, extremes truncated")
        << red(0, 0, 0, 0.5, 1000) << 99 << 1049.5 << 1000.0 << 1049.0;
    QTest::newRow("t^4 exact at 99") << red(1, 0, 0, 0, 0) << 99 << 96059601.0 << 0.0 << 96059601.0;
    QTest::newRow("every power") << red(1, 2, 3, 4, 5) << 10 << 12345.0 << 5.0 << 98030003.0;
    QTest::newRow("all zero: axis -50..50") << red(0, 0, 0, 0, 0) << 50 << 0.0 << 0.0 << 0.0;
    QTest::newRow("above 10000: min stays 10000") << red(0, 0, 0, 1, 20000) << 0 << 20000.0 << 10000.0 << 20099.0;
    QTest::newRow("below -10000: max stays -10000")
        << red(0, 0, 0, -1, -20000) << 0 << -20000.0 << -20099.0 << -10000.0;
    QTest::newRow("-12.7 gives -12, not -13") << red(0, 0, 0, 0, -12.7) << 3 << -12.7 << -12.0 << -12.0;
}

void CompCurvesTest::curveValuesAndTheirExtremes()
{
    QFETCH(Coefficients, c);
    QFETCH(int, t);
    QFETCH(double, value);
    QFETCH(double, min);
    QFETCH(double, max);
    const Curves curves = CalcCurves(c);
    QCOMPARE(curves.dataRot[size_t(t)], value);
    QCOMPARE(curves.dataRGB[size_t(3 * t)], value);
    QCOMPARE(curves.extremes[Red].min, min);
    QCOMPARE(curves.extremes[Red].max, max);
    // Green and blue are 0 throughout and take part in the combined chart.
    QCOMPARE(curves.overall.min, std::min(min, 0.0));
    QCOMPARE(curves.overall.max, std::max(max, 0.0));
}

void CompCurvesTest::factorIsReferenceOverCurveInSixteenBits_data()
{
    QTest::addColumn<int>("ref");
    QTest::addColumn<double>("curve");
    QTest::addColumn<int>("factor");
    QTest::addColumn<bool>("limited");
    // The red line 1000 + 0.5 t with the reference taken at step 20 (1010).
    QTest::newRow("line at step 0") << 1010 << 1000.0 << 1034 << false;
    QTest::newRow("line at step 20: 1.0") << 1010 << 1010.0 << 1024 << false;
    QTest::newRow("line at step 99") << 1010 << 1049.5 << 985 << false;
    QTest::newRow("constant 1000.5, reference 1000") << 1000 << 1000.5 << 1023 << false;
    QTest::newRow("above 10000 is ordinary") << 2000 << 100.0 << 20480 << false;
    QTest::newRow("just below 65536") << 63999 << 1000.0 << 65534 << false;
    QTest::newRow("reference 0") << 0 << 1000.0 << 0 << false;
    QTest::newRow("-0.5 truncates to 0") << 1 << -2048.0 << 0 << false;
    QTest::newRow("65536 is 65535, not 0") << 64 << 1.0 << 65535 << true;
    QTest::newRow("-1 is 0, not 65535") << 1 << -1024.0 << 0 << true;
    QTest::newRow("curve 0: no quotient") << 1000 << 0.0 << 0 << true;
    QTest::newRow("reference and curve 0") << 0 << 0.0 << 0 << true;
    QTest::newRow("curve NaN") << 1000 << kNaN << 0 << true;
}

void CompCurvesTest::factorIsReferenceOverCurveInSixteenBits()
{
    QFETCH(int, ref);
    QFETCH(double, curve);
    QFETCH(int, factor);
    QFETCH(bool, limited);
    const Limited f = compensationFactor(std::uint16_t(ref), curve);
    QCOMPARE(int(f.value), factor);
    QCOMPARE(f.clamped, limited);
}

void CompCurvesTest::limitedFactorsAreCountedPerChannel()
{
    // Blue 100 - 2t: zero at step 50, negative after.
    const Curves curves = CalcCurves({0, 0, 0, 0, 1000, 0, 0, 0, 0.5, 1000, 0, 0, 0, -2, 100});
    const Factors factors = CalcCfCurves(curves, {1000, 1000, 100});
    QCOMPARE(factors.clamped[Red].count + factors.clamped[Green].count, 0);
    QCOMPARE(factors.clamped[Blue].count, 50);
    QCOMPARE(factors.clamped[Blue].firstStep, 50);
    QCOMPARE(factors.dataCfBlau[49], 51200);
    QCOMPARE(factors.dataCfRGB[3 * 49 + 2], 51200);
    QCOMPARE(factors.dataCfRGB[3 * 98 + 1], factors.dataCfGruen[98]);
    QCOMPARE(factors.extremes[Blue].min, 0.0);
    QCOMPARE(factors.extremes[Blue].max, 51200.0);
    QCOMPARE(factors.extremes[Red].min, 1024.0);
    QCOMPARE(factors.overall.max, 51200.0);
}

void CompCurvesTest::referenceIsTheCurveValueInSixteenBits_data()
{
    QTest::addColumn<double>("curve");
    QTest::addColumn<int>("ref");
    QTest::addColumn<bool>("limited");
    QTest::newRow("truncated") << 1010.9 << 1010 << false;
    QTest::newRow("-0.5 is 0") << -0.5 << 0 << false;
    QTest::newRow("negative is not wrapped") << -5.3 << 0 << true;
    QTest::newRow("65536 is not wrapped") << 65536.0 << 65535 << true;
    QTest::newRow("NaN") << kNaN << 0 << true;
}

void CompCurvesTest::referenceIsTheCurveValueInSixteenBits()
{
    QFETCH(double, curve);
    QFETCH(int, ref);
    QFETCH(bool, limited);
    const Limited r = referenceValue(curve);
    QCOMPARE(int(r.value), ref);
    QCOMPARE(r.clamped, limited);
}

QTEST_APPLESS_MAIN(CompCurvesTest)
#include "tst_compcurves.moc"
