// Trend statistics on known value sets: the band and its ends, mean,
// sample standard deviation, share of bad parts, the chart's Y range, and
// the degenerate windows; the process figures of a recording read back (Cp,
// Cpk, the share outside the limits) against values worked out apart, and
// the record files that give no figures at all.
#include "capability.h"
#include "recordfile.h"
#include "recordreport.h"
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
    void recordingGivesTheTextbookFigures_data();
    void recordingGivesTheTextbookFigures();
    void damagedRecordGivesNoFigures_data();
    void damagedRecordGivesNoFigures();
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

namespace {
// 30 gloss factors in tenths, as a recording holds them.
const std::vector<std::uint16_t> kRecordedGf{873, 869, 875, 871, 880, 866, 872, 874, 870, 877, 868, 873, 871, 876, 869,
                                             872, 874, 879, 865, 873, 870, 872, 875, 871, 868, 874, 873, 870, 876, 872};

QByteArray recordOf(const std::vector<std::uint16_t>& gf)
{
    QByteArray bytes = recordHeader();
    QDateTime t(QDate(2026, 3, 7), QTime(9, 5, 1));
    for (std::uint16_t g : gf) {
        bytes += recordLine(t, {1000, 2000, 300, 869, 1150, g, 12, 25});
        t = t.addSecs(1);
    }
    return bytes;
}
}  // namespace

void TrendStatsTest::recordingGivesTheTextbookFigures_data()
{
    // Expected values from Python's statistics module (mean, stdev) and the
    // textbook formulas on the same numbers, not from this code.
    QTest::addColumn<int>("parts");
    QTest::addColumn<bool>("withLimits");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("stdDev");
    QTest::addColumn<int>("outside");
    QTest::addColumn<int>("gap");
    QTest::addColumn<double>("cp");
    QTest::addColumn<double>("cpk");
    const int none = int(CapabilityGap::None);
    QTest::newRow("30 parts, limits 86.8:88.0 (88.0 on the limit is in)")
        << 30 << true << 87.22666666666666 << 0.3483293460696842 << 2 << none << 0.5741692517632148
        << 0.4082981345871698;
    QTest::newRow("24 parts: too few for Cp")
        << 24 << true << 87.22916666666667 << 0.36769454083834247 << 2 << int(CapabilityGap::TooFewParts) << 0.0 << 0.0;
    QTest::newRow("no limits") << 30 << false << 87.22666666666666 << 0.3483293460696842 << 0
                               << int(CapabilityGap::NoLimits) << 0.0 << 0.0;
}

void TrendStatsTest::recordingGivesTheTextbookFigures()
{
    QFETCH(int, parts);
    QFETCH(bool, withLimits);
    QFETCH(double, mean);
    QFETCH(double, stdDev);
    QFETCH(int, outside);
    QFETCH(int, gap);
    QFETCH(double, cp);
    QFETCH(double, cpk);
    QString error;
    const std::vector<std::uint16_t> gf(kRecordedGf.begin(), kRecordedGf.begin() + parts);
    std::optional<Recording> r = parseRecordFile(recordOf(gf), &error);
    QVERIFY2(r, qPrintable(error));
    ReportInput in;
    in.recordName = QStringLiteral("record.dat");
    in.recording = *r;
    if (withLimits)
        in.limits = ToleranceLimits{86.8, 88.0};
    const ProcessFigures f = reportFigures(in);
    QCOMPARE(f.count, parts);
    QVERIFY(std::abs(f.mean - mean) < 1e-9);
    QVERIFY(std::abs(f.stdDev - stdDev) < 1e-9);
    QCOMPARE(f.min, 86.5);
    QCOMPARE(f.outside, outside);
    QCOMPARE(int(f.gap), gap);
    QVERIFY(std::abs(f.cp - cp) < 1e-9);
    QVERIFY(std::abs(f.cpk - cpk) < 1e-9);
    // The spreadsheet's row holds the same figures; Cp stays empty where not given.
    const QStringList row = reportCsv(in, f).split(u'\n')[1].split(u',');
    QCOMPARE(row.size(), 15);
    QCOMPARE(row[4], QString::number(parts));
    QCOMPARE(row[5], QString::number(mean, 'f', 6));
    QCOMPARE(row[13], gap == int(CapabilityGap::None) ? QString::number(cp, 'f', 6) : QString());
    QCOMPARE(row[2].left(19), QStringLiteral("2026-03-07T09:05:01"));
}

void TrendStatsTest::damagedRecordGivesNoFigures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const QByteArray good = recordOf({873, 874});
    QByteArray zeroInDate = good;
    zeroInDate[recordHeader().size() + 3] = 'x';
    QTest::newRow("empty") << QByteArray() << "the file is empty";
    QTest::newRow("header only") << recordHeader() << "no value set recorded";
    QTest::newRow("another file") << QByteArray("time,GF\r\n1,2\r\n") << "line 1: not the header";
    QTest::newRow("last line cut short") << good.chopped(4) << "line 3: cut short";
    QTest::newRow("damaged date") << zeroInDate << "line 2: no date and time";
    QTest::newRow("value not a number") << QByteArray(good).replace("\t873\t", "\t8x3\t") << "line 2: value 6";
    QTest::newRow("value above 16 bits") << QByteArray(good).replace("\t874\t", "\t99999\t") << "line 3: value 6";
    QTest::newRow("a value missing") << QByteArray(good).replace("\t873\t12", "\t873") << "line 2: 9 fields";
}

void TrendStatsTest::damagedRecordGivesNoFigures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QString why;
    QVERIFY(!parseRecordFile(content, &why));
    QVERIFY2(why.startsWith(error), qPrintable(why));
}

QTEST_GUILESS_MAIN(TrendStatsTest)
#include "tst_trendstats.moc"
