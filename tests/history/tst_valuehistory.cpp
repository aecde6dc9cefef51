// The value history against a plain list of everything appended: each view
// is the list's tail, oldest first, with zeros before the first set, however
// often the rings have wrapped, wherever an outage's mark falls, and
// whatever window of the trend is asked for; RESET empties only the trend.
#include "valuehistory.h"

#include <QtTest>
#include <cmath>
#include <limits>
#include <span>
#include <type_traits>
#include <vector>

using namespace tarvo;

namespace {

constexpr std::int64_t kT0 = 1772870701000;
constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

// Set i: every chart's three values differ from every other chart's.
HistoryEntry entry(int i)
{
    const double v = i;
    return {.raw = {1000 + v, 2000 + v, 3000 + v},
            .norm = {v, v + 0.25, v + 0.5},
            .intensity = {-v, -v - 0.25, -v - 0.5},
            .gf = {v / 10, v / 10 + 1, v / 10 - 1},
            .receivedMs = kT0 + i};
}

// What the history should hold: every point appended, gaps included.
struct Model {
    std::vector<std::array<double, 12>> points;  // raw, norm, intensity, gf
    std::vector<std::int64_t> times;
};

// The last `size` values of `all`, zeros before the first.
template <typename T>
std::vector<T> tail(const std::vector<T>& all, size_t size)
{
    std::vector<T> out(size, T{});
    const size_t n = std::min(size, all.size());
    std::copy(all.end() - std::ptrdiff_t(n), all.end(), out.end() - std::ptrdiff_t(n));
    return out;
}

template <typename T>
bool same(std::type_identity_t<std::span<const T>> got, const std::vector<T>& want, QString* where)
{
    if (got.size() != want.size()) {
        *where = QStringLiteral("size %1, want %2").arg(got.size()).arg(want.size());
        return false;
    }
    for (size_t i = 0; i < want.size(); ++i) {
        const bool bothGaps = std::isnan(double(got[i])) && std::isnan(double(want[i]));
        if (!bothGaps && got[i] != want[i]) {
            *where = QStringLiteral("index %1: %2, want %3")
                         .arg(i)
                         .arg(double(got[i]), 0, 'g', 17)
                         .arg(double(want[i]), 0, 'g', 17);
            return false;
        }
    }
    return true;
}

#define COMPARE_VIEW(got, want)                                                                                        \
    do {                                                                                                               \
        QString where;                                                                                                 \
        QVERIFY2(same(got, want, &where), qPrintable(QStringLiteral(#got ": ") + where));                              \
    } while (false)

}  // namespace

class ValueHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void viewsAreTheTailOfWhatWasAppended_data();
    void viewsAreTheTailOfWhatWasAppended();
    void resetEmptiesTheTrendOnly();
};

void ValueHistoryTest::viewsAreTheTailOfWhatWasAppended_data()
{
    QTest::addColumn<int>("sets");
    QTest::addColumn<QList<int>>("gapsBefore");  // a gap marked before set i (i == sets: after the last)
    QTest::addColumn<int>("window");             // of the trend

    QTest::newRow("empty") << 0 << QList<int>{} << 1000;
    QTest::newRow("partly filled") << 37 << QList<int>{} << 50;
    QTest::newRow("charts full") << 100 << QList<int>{} << 100;
    QTest::newRow("charts wrapped") << 101 << QList<int>{} << 10;
    QTest::newRow("trend wrapped twice") << 2345 << QList<int>{} << 1000;
    QTest::newRow("window held to the trend") << 1234 << QList<int>{} << 5000;
    QTest::newRow("no window") << 5 << QList<int>{} << 0;
    QTest::newRow("negative window") << 5 << QList<int>{} << -3;
    QTest::newRow("gap in the charts' last place") << 102 << QList<int>{99} << 1000;
    QTest::newRow("gap in the charts' first place again") << 103 << QList<int>{100} << 1000;
    QTest::newRow("gap leaving the charts") << 200 << QList<int>{100} << 1000;
    QTest::newRow("gap in the trend's last place") << 1003 << QList<int>{999} << 1000;
    QTest::newRow("gap in the trend's first place again") << 1003 << QList<int>{1000} << 1000;
    QTest::newRow("gap marked twice is one") << 10 << QList<int>{4, 4} << 1000;
    QTest::newRow("gaps side by side") << 10 << QList<int>{4, 5} << 20;
    QTest::newRow("gap waits for the next set") << 10 << QList<int>{10} << 1000;
    QTest::newRow("gap before the first set") << 3 << QList<int>{0} << 1000;
}

void ValueHistoryTest::viewsAreTheTailOfWhatWasAppended()
{
    QFETCH(int, sets);
    QFETCH(QList<int>, gapsBefore);
    QFETCH(int, window);

    ValueHistory h;
    Model model;
    for (int i = 0; i <= sets; ++i) {
        if (gapsBefore.contains(i)) {
            h.markGap();
            if (i < sets) {
                model.points.push_back({});
                model.points.back().fill(kGap);
                model.times.push_back(0);
            }
        }
        if (i == sets)
            break;
        const HistoryEntry e = entry(i);
        h.append(e);
        std::array<double, 12> p{};
        std::copy(e.raw.begin(), e.raw.end(), p.begin());
        std::copy(e.norm.begin(), e.norm.end(), p.begin() + 3);
        std::copy(e.intensity.begin(), e.intensity.end(), p.begin() + 6);
        std::copy(e.gf.begin(), e.gf.end(), p.begin() + 9);
        model.points.push_back(p);
        model.times.push_back(e.receivedMs);
    }

    const std::pair<Strip, int> charts[] = {{Strip::Raw, 0}, {Strip::Norm, 3}, {Strip::Int, 6}, {Strip::Gf, 9}};
    for (const auto& [strip, first] : charts) {
        std::vector<double> triples;
        for (const auto& p : tail(model.points, ValueHistory::kPoints))
            triples.insert(triples.end(), p.begin() + first, p.begin() + first + 3);
        COMPARE_VIEW(h.strip(strip), triples);
    }
    COMPARE_VIEW(h.times(), tail(model.times, ValueHistory::kPoints));

    std::vector<double> gf;
    for (const auto& p : model.points)
        gf.push_back(p[9]);
    const size_t n = size_t(std::clamp(window, 0, ValueHistory::kTrendValues));
    COMPARE_VIEW(h.trend(window), tail(gf, n));
    COMPARE_VIEW(h.trendTimes(window), tail(model.times, n));
    QCOMPARE(h.trend().size(), size_t(ValueHistory::kTrendValues));
}

void ValueHistoryTest::resetEmptiesTheTrendOnly()
{
    ValueHistory h;
    for (int i = 0; i < 1500; ++i)
        h.append(entry(i));
    const std::vector<double> gfBefore(h.strip(Strip::Gf).begin(), h.strip(Strip::Gf).end());
    h.markGap();
    h.resetTrend();

    const std::vector<double> zeros(ValueHistory::kTrendValues, 0.0);
    COMPARE_VIEW(h.trend(), zeros);
    COMPARE_VIEW(h.trendTimes(), std::vector<std::int64_t>(ValueHistory::kTrendValues, 0));
    COMPARE_VIEW(h.strip(Strip::Gf), gfBefore);
    // The outage marked before the reset still comes, then the new set, at the end.
    h.append(entry(7));
    std::vector<double> after = zeros;
    after[998] = kGap;
    after[999] = 0.7;
    COMPARE_VIEW(h.trend(), after);
    QCOMPARE(h.trendTimes(2)[0], std::int64_t(0));
    QCOMPARE(h.trendTimes(2)[1], kT0 + 7);
}

QTEST_APPLESS_MAIN(ValueHistoryTest)
#include "tst_valuehistory.moc"
