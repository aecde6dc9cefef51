// Trend statistics on known value sets: the band and its ends, mean,
// sample standard deviation, share of bad parts, the chart's Y range, and
// the degenerate windows.
#include "trendstats.h"

#include <QtTest>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

using namespace tarvo;

class TrendStatsTest : public QObject {
    Q_OBJECT
private slots:
    void bandIncludesItsEndsWithTheMargin_data();
    void bandIncludesItsEndsWithTheMargin();
    void knownWindowGivesMeanDeviationAndBadShare();
    void allValuesBadGiveAHundredPercent();
    void windowAfterResetCountsTheZeros();
    void degenerateWindows();
    void peakToPeakIsGoodUpToItsTolerance();
    void chartRangeNeverStartsBelowZero();
    void windowSizeStaysWithinTheTrendBuffer();
};

void TrendStatsTest::bandIncludesItsEndsWithTheMargin_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("inside");
    QTest::newRow("upper end") << 52.0 << true;
    QTest::newRow("lower end") << 48.0 << true;
    QTest::newRow("within margin") << 52.0009 << true;
    QTest::newRow("beyond margin") << 52.002 << false;
    QTest::newRow("one tenth above") << 52.1 << false;
    QTest::newRow("one tenth below") << 47.9 << false;
    QTest::newRow("zero") << 0.0 << false;
}

void TrendStatsTest::bandIncludesItsEndsWithTheMargin()
{
    QFETCH(double, value);
    QFETCH(bool, inside);
    QCOMPARE(GlossBand({50.0, 2.0}).contains(value), inside);
}

void TrendStatsTest::knownWindowGivesMeanDeviationAndBadShare()
{
    const std::array<double, 5> w{50, 51, 53, 47, 50};
    const TrendStatistics s = trendStatistics(w, {50.0, 2.0});
    QCOMPARE(s.count, 5);
    QVERIFY(std::abs(s.mean - 50.2) < 1e-12);
    QVERIFY(std::abs(s.stdDev - std::sqrt(18.8 / 4)) < 1e-12);  // divisor n - 1
    QVERIFY(std::abs(s.badPercent - 40.0) < 1e-12);             // 53 and 47
    QCOMPARE(s.min, 47.0);
    QCOMPARE(s.max, 53.0);
    // The point of a lost connection is no part: the same figures.
    const double gap = std::numeric_limits<double>::quiet_NaN();
    const std::array<double, 7> withGap{gap, 50, 51, gap, 53, 47, 50};
    const TrendStatistics g = trendStatistics(withGap, {50.0, 2.0});
    QCOMPARE(g.count, 5);
    QCOMPARE(g.mean, s.mean);
    QCOMPARE(g.stdDev, s.stdDev);
    QCOMPARE(g.badPercent, s.badPercent);
    QCOMPARE(g.min, 47.0);
}

void TrendStatsTest::allValuesBadGiveAHundredPercent()
{
    const std::array<double, 3> w{10, 90, 60};
    QCOMPARE(trendStatistics(w, {50.0, 2.0}).badPercent, 100.0);
    // A band around 0 makes zeros good.
    const std::array<double, 2> zeros{0, 0};
    QCOMPARE(trendStatistics(zeros, {0.0, 0.0}).badPercent, 0.0);
}

void TrendStatsTest::windowAfterResetCountsTheZeros()
{
    std::vector<double> w(10, 0.0);
    w.back() = 50.0;
    const TrendStatistics s = trendStatistics(w, {50.0, 2.0});
    QCOMPARE(s.mean, 5.0);
    QCOMPARE(s.badPercent, 90.0);
    QCOMPARE(s.min, 0.0);
}

void TrendStatsTest::degenerateWindows()
{
    // One value: no spread, never 0/0.
    const std::array<double, 1> one{73.4};
    const TrendStatistics s1 = trendStatistics(one, {73.4, 0.0});
    QCOMPARE(s1.mean, 73.4);
    QCOMPARE(s1.stdDev, 0.0);
    QCOMPARE(s1.badPercent, 0.0);
    QVERIFY(std::isfinite(s1.stdDev));

    // No values: zeros, no division.
    const TrendStatistics s0 = trendStatistics(std::span<const double>(), {50.0, 2.0});
    QCOMPARE(s0.count, 0);
    QCOMPARE(s0.mean, 0.0);
    QCOMPARE(s0.stdDev, 0.0);
    QCOMPARE(s0.badPercent, 0.0);

    // Equal values: deviation exactly 0, not a rounding residue.
    const std::array<double, 4> same{12.3, 12.3, 12.3, 12.3};
    QCOMPARE(trendStatistics(same, {0.0, 0.0}).stdDev, 0.0);

    // Values above the old start of the minimum search still give the real minimum.
    const std::array<double, 2> high{6553.5, 6000.0};
    QCOMPARE(trendStatistics(high, {0.0, 0.0}).min, 6000.0);
}

void TrendStatsTest::peakToPeakIsGoodUpToItsTolerance()
{
    QVERIFY(ppWithinTolerance(3.0, 3.0));
    QVERIFY(!ppWithinTolerance(3.1, 3.0));
}

void TrendStatsTest::chartRangeNeverStartsBelowZero()
{
    QCOMPARE(trendYRange(40.0, 60.0), std::make_pair(39.0, 61.0));
    QCOMPARE(trendYRange(0.5, 2.0), std::make_pair(0.0, 3.0));
    QCOMPARE(trendYRange(0.0, 0.0), std::make_pair(0.0, 1.0));
}

void TrendStatsTest::windowSizeStaysWithinTheTrendBuffer()
{
    QCOMPARE(trendWindowSize(0), 1);
    QCOMPARE(trendWindowSize(-5), 1);
    QCOMPARE(trendWindowSize(100), 100);
    QCOMPARE(trendWindowSize(1000), 1000);
    QCOMPARE(trendWindowSize(1001), 1000);
}

QTEST_GUILESS_MAIN(TrendStatsTest)
#include "tst_trendstats.moc"
