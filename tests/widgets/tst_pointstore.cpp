// The store behind the growing charts: a ring that drops its oldest points
// when full, extremes of any span read through its block summaries, and the
// reduction to pixel columns that keeps each column's extremes.
#include "pointstore.h"

#include <QtTest>
#include <algorithm>
#include <random>

using namespace tarvo;

namespace {

PointStore::Extremes bruteForce(const PointStore& s, std::int64_t from, std::int64_t to)
{
    from = std::max(from, s.begin());
    to = std::min(to, s.end());
    PointStore::Extremes e{s.at(from), s.at(from)};
    for (std::int64_t i = from; i < to; ++i) {
        e.min = std::min(e.min, s.at(i));
        e.max = std::max(e.max, s.at(i));
    }
    return e;
}

}  // namespace

class PointStoreTest : public QObject {
    Q_OBJECT
private slots:
    void extremesOfAnySpanMatchEveryPoint_data();
    void extremesOfAnySpanMatchEveryPoint();
    void fullRingDropsTheOldestPoints();
    void reductionKeepsEachColumnsExtremesInOrder();
    void fewPointsAreDrawnAsTheyAre();
};

void PointStoreTest::extremesOfAnySpanMatchEveryPoint_data()
{
    QTest::addColumn<qint64>("points");
    QTest::newRow("within a block") << qint64(50);
    QTest::newRow("a few blocks") << qint64(5000);
    QTest::newRow("many coarse blocks") << qint64(300000);
    QTest::newRow("wrapped ring") << qint64(65536 * 2 + 777);  // store of 65 536 below
}

void PointStoreTest::extremesOfAnySpanMatchEveryPoint()
{
    QFETCH(qint64, points);
    const bool small = QByteArray(QTest::currentDataTag()) == "wrapped ring";
    PointStore s(small ? 65536 : PointStore::kDefaultCapacity);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    for (qint64 i = 0; i < points; ++i)
        s.append(value(rng));
    QCOMPARE(s.end(), points);
    std::uniform_int_distribution<std::int64_t> where(s.begin(), s.end());
    for (int k = 0; k < 300; ++k) {
        std::int64_t a = where(rng), b = where(rng);
        if (a > b)
            std::swap(a, b);
        if (a == b)
            continue;
        const auto e = s.extremes(a, b);
        const auto want = bruteForce(s, a, b);
        QCOMPARE(e.min, want.min);
        QCOMPARE(e.max, want.max);
    }
    const auto all = s.extremes(0, s.end() + 10);
    QCOMPARE(all.min, bruteForce(s, s.begin(), s.end()).min);
    QCOMPARE(all.max, bruteForce(s, s.begin(), s.end()).max);
}

void PointStoreTest::fullRingDropsTheOldestPoints()
{
    PointStore s(1000);  // rounded up to 65 536
    QCOMPARE(s.capacity(), std::int64_t(65536));
    for (int i = 0; i < 70000; ++i)
        s.append(i);
    QCOMPARE(s.size(), std::int64_t(65536));
    QCOMPARE(s.begin(), std::int64_t(70000 - 65536));
    QCOMPARE(s.at(s.begin()), double(70000 - 65536));
    QCOMPARE(s.at(69999), 69999.0);
    // Dropped points no longer count.
    QCOMPARE(s.extremes(0, 70000).min, double(70000 - 65536));
    s.clear();
    QVERIFY(s.empty());
    s.append(5.0);
    QCOMPARE(s.begin(), std::int64_t(0));
    QCOMPARE(s.at(0), 5.0);
}

void PointStoreTest::reductionKeepsEachColumnsExtremesInOrder()
{
    PointStore s;
    constexpr int kPoints = 1000000;
    for (int i = 0; i < kPoints; ++i)
        s.append((i % 1000) / 10.0);  // a saw tooth from 0 to 99.9 every 1000 points
    s.append(-50.0);                  // one low point at the very end
    QList<QPointF> out;
    s.decimate(500, out);
    QVERIFY(out.size() <= 1000);
    QVERIFY(out.size() >= 998);
    double lo = 1e9, hi = -1e9;
    for (qsizetype k = 0; k < out.size(); ++k) {
        lo = std::min(lo, out[k].y());
        hi = std::max(hi, out[k].y());
        if (k > 0)
            QVERIFY(out[k].x() >= out[k - 1].x());
    }
    QCOMPARE(lo, -50.0);
    QCOMPARE(hi, 99.9);
    QCOMPARE(out.first().x(), 0.0);
    // Every column of 2000 points holds whole teeth.
    QCOMPARE(std::min(out[10].y(), out[11].y()), 0.0);
    QCOMPARE(std::max(out[10].y(), out[11].y()), 99.9);
}

void PointStoreTest::fewPointsAreDrawnAsTheyAre()
{
    PointStore s;
    for (int i = 0; i < 150; ++i)
        s.append(i * 0.5);
    QList<QPointF> out;
    s.decimate(100, out);
    QCOMPARE(out.size(), 150);
    QCOMPARE(out[149], QPointF(149, 74.5));
}

QTEST_MAIN(PointStoreTest)
#include "tst_pointstore.moc"
