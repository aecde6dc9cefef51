// The calibration curve from the table of value pairs, the samples sent to
// the sensor, the calibration file, and the power-search step rule.
#include "calibcurve.h"
#include "calibration.h"

#include <QtTest>
#include <cmath>
#include <limits>
#include <vector>

using namespace tarvo;

namespace {

CalibCells tableWith(std::initializer_list<std::tuple<int, double, double>> rows)
{
    CalibCells t = CalibCells::resetValues();
    for (auto [row, tarvo, other] : rows) {
        t.at(1, row) = tarvo;
        t.at(2, row) = other;
    }
    return t;
}

CurveBuf computed(const CalibCells& t)
{
    CurveBuf buf{};
    const TableCheck c = CalculateCurve(t, buf);
    if (c.error != TableError::None)
        qWarning("table refused: row %d col %d", c.row, c.col);
    return buf;
}

std::vector<std::uint16_t> powersSent(std::uint16_t m)
{
    std::vector<std::uint16_t> sent;
    std::uint16_t power = 512, step = 512;
    for (int pass = 0; pass < 10; ++pass) {
        sent.push_back(power);
        power = Calibration::nextPower(power, step, m);
        step /= 2;
    }
    sent.push_back(power);  // the final power
    return sent;
}

}  // namespace

class CalibCurveTest : public QObject {
    Q_OBJECT
private slots:
    void resetTableGivesTheIdentity();
    void pointsCountWhateverTheirRowOrder();
    void laterRowOnTheSameTenthWins();
    void valuesAreTakenInTruncatedTenths();
    void everyPointLiesExactlyOnItsValue();
    void tableErrors_data();
    void tableErrors();
    void samplesComeFromBothGrids();
    void fileRoundTripKeepsEveryCell();
    void fileLayoutIsOneRightAlignedNumberPerLine();
    void hostileFilesAreRefused_data();
    void hostileFilesAreRefused();
    void powerSearchSteps();
    void acceptanceWindowIsExclusive();
};

void CalibCurveTest::resetTableGivesTheIdentity()
{
    const CurveBuf buf = computed(CalibCells::resetValues());
    for (int g = 0; g < kCurvePoints; ++g)
        QCOMPARE(int(buf[g]), g);
}

void CalibCurveTest::pointsCountWhateverTheirRowOrder()
{
    const CurveBuf a = computed(tableWith({{2, 50.0, 60.0}, {3, 20.0, 25.0}}));
    const CurveBuf b = computed(tableWith({{2, 20.0, 25.0}, {3, 50.0, 60.0}}));
    QVERIFY(a == b);
    QCOMPARE(int(a[200]), 250);
    QCOMPARE(int(a[500]), 600);
    QCOMPARE(int(a[350]), 425);  // halfway between the two points
    for (int g = 200; g < 500; ++g)
        QVERIFY(a[g] <= a[g + 1]);
    QCOMPARE(int(a[100]), 125);  // first segment from (0, 0)
    QCOMPARE(int(a[20000]), 20000);
}

void CalibCurveTest::laterRowOnTheSameTenthWins()
{
    QCOMPARE(int(computed(tableWith({{2, 100.04, 10.0}, {3, 100.0, 20.0}}))[1000]), 200);
    QCOMPARE(int(computed(tableWith({{2, 100.0, 20.0}, {3, 100.04, 10.0}}))[1000]), 100);
}

void CalibCurveTest::valuesAreTakenInTruncatedTenths()
{
    const CurveBuf buf = computed(tableWith({{5, 123.45, 50.09}}));
    QCOMPARE(int(buf[1234]), 500);
    // 2.3 lies just below 2.3 in binary; it still means the tenth 23.
    QCOMPARE(int(computed(tableWith({{4, 2.3, 7.7}}))[23]), 77);
}

void CalibCurveTest::everyPointLiesExactlyOnItsValue()
{
    // Slopes that are not exact binary fractions.
    const CurveBuf buf = computed(
        tableWith({{2, 10.0, 33.3}, {3, 70.0, 12.1}, {4, 1500.0, 1700.7}, {23, 1999.9, 3000.3}}));
    QCOMPARE(int(buf[100]), 333);
    QCOMPARE(int(buf[700]), 121);
    QCOMPARE(int(buf[15000]), 17007);
    QCOMPARE(int(buf[19999]), 30003);
    QCOMPARE(int(buf[20000]), 20000);
    // Falling segment: values truncated toward zero stay between the ends.
    for (int g = 100; g <= 700; ++g)
        QVERIFY(buf[g] <= 333 && buf[g] >= 121);
}

void CalibCurveTest::tableErrors_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("tarvo");
    QTest::addColumn<double>("other");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("errCol");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int end = int(TableError::EndCellUnset), half = int(TableError::HalfRow), range = int(TableError::OutOfRange);
    QTest::newRow("row 1 TARVO unset") << 1 << -1.0 << 0.0 << end << 1;
    QTest::newRow("row 24 other unset") << 24 << 2000.0 << -1.0 << end << 2;
    QTest::newRow("(-1, 55)") << 7 << -1.0 << 55.0 << half << 0;
    QTest::newRow("(55, -1)") << 7 << 55.0 << -1.0 << half << 0;
    QTest::newRow("both -1 is fine") << 7 << -1.0 << -1.0 << int(TableError::None) << 0;
    QTest::newRow("TARVO above 2000") << 7 << 2000.1 << 5.0 << range << 1;
    QTest::newRow("TARVO between -1 and 0") << 7 << -0.5 << 5.0 << range << 1;
    QTest::newRow("TARVO below -1") << 7 << -3.0 << 5.0 << range << 1;
    QTest::newRow("other beyond 16 bits") << 7 << 50.0 << 3276.8 << range << 2;
    QTest::newRow("other negative") << 7 << 50.0 << -0.1 << range << 2;
    QTest::newRow("not a number") << 7 << nan << 5.0 << range << 1;
    QTest::newRow("row 1 TARVO not 0") << 1 << 5.0 << 0.0 << range << 1;
    QTest::newRow("row 24 TARVO not 2000") << 24 << 1999.0 << 2000.0 << range << 1;
}

void CalibCurveTest::tableErrors()
{
    QFETCH(int, row);
    QFETCH(double, tarvo);
    QFETCH(double, other);
    QFETCH(int, error);
    QFETCH(int, errCol);
    CalibCells t = CalibCells::resetValues();
    t.at(1, row) = tarvo;
    t.at(2, row) = other;
    CurveBuf buf;
    buf.fill(7);
    const TableCheck c = CalculateCurve(t, buf);
    QCOMPARE(int(c.error), error);
    if (c.error == TableError::None)
        return;
    QCOMPARE(c.row, row);
    QCOMPARE(c.col, errCol);
    QVERIFY(std::all_of(buf.begin(), buf.end(), [](auto v) { return v == 7; }));  // curve untouched
}

void CalibCurveTest::samplesComeFromBothGrids()
{
    CurveBuf buf;
    for (int g = 0; g < kCurvePoints; ++g)
        buf[g] = std::uint16_t(g);
    SentBuf sent{};
    SampleCurve(buf, sent);
    QCOMPARE(int(sent[0]), 0);
    QCOMPARE(int(sent[1]), 4);
    QCOMPARE(int(sent[499]), 1996);  // GF 199.6
    QCOMPARE(int(sent[500]), 2000);  // GF 200.0
    QCOMPARE(int(sent[501]), 2036);
    QCOMPARE(int(sent[1000]), 20000);  // GF 2000.0
}

void CalibCurveTest::fileRoundTripKeepsEveryCell()
{
    const CalibCells t = tableWith({{2, 123.45, 0.1}, {3, 0.05, 3276.7}, {9, 1999.9, 0.0}, {10, -1.0, -1.0}});
    QString why;
    const auto back = ParseCalibFile(FormatCalibFile(t), &why);
    QVERIFY2(back.has_value(), qPrintable(why));
    QVERIFY(*back == t);
}

void CalibCurveTest::fileLayoutIsOneRightAlignedNumberPerLine()
{
    const QList<QByteArray> lines = FormatCalibFile(tableWith({{2, 50.5, 60.0}})).split('\n');
    QCOMPARE(lines.size(), 49);  // 48 lines and the end after the last
    QCOMPARE(lines[0], QByteArray("         0"));
    QCOMPARE(lines[2], QByteArray("      50.5"));
    QCOMPARE(lines[3], QByteArray("        60"));
    QCOMPARE(lines[4], QByteArray("        -1"));
    QCOMPARE(lines[47], QByteArray("      2000"));
}

void CalibCurveTest::hostileFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = FormatCalibFile(CalibCells::resetValues());
    auto withLine = [&](int i, const QByteArray& value) {
        QList<QByteArray> lines = good.split('\n');
        lines[i] = value;
        return lines.join('\n');
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("47 numbers") << good.left(good.lastIndexOf('\n', good.size() - 2) + 1);
    QTest::newRow("49 numbers") << good + "5\n";
    QTest::newRow("word") << withLine(5, "abc");
    QTest::newRow("nan") << withLine(5, "nan");
    QTest::newRow("inf") << withLine(5, "inf");
    QTest::newRow("huge") << withLine(5, "1e308");
    QTest::newRow("decimal comma") << withLine(4, "1,5");
    QTest::newRow("TARVO -0.5") << withLine(4, "-0.5");
    QTest::newRow("TARVO 2500") << withLine(4, "2500");
    QTest::newRow("other 1e6") << withLine(5, "1000000");
    QTest::newRow("row 1 TARVO 5") << withLine(0, "5");
    QTest::newRow("binary junk") << QByteArray("\x00\xff\x01\x80 12", 7);
    QTest::newRow("too large") << QByteArray(kCalibFileMaxBytes + 1, ' ') + good;
}

void CalibCurveTest::hostileFilesAreRefused()
{
    QFETCH(QByteArray, content);
    QString why;
    QVERIFY(!ParseCalibFile(content, &why).has_value());
    QVERIFY(!why.isEmpty());
}

void CalibCurveTest::powerSearchSteps()
{
    QCOMPARE(powersSent(3850),
             (std::vector<std::uint16_t>{512, 768, 896, 960, 992, 1000, 1000, 1000, 1000, 1000, 1000}));
    QCOMPARE(powersSent(3851), (std::vector<std::uint16_t>{512, 256, 128, 64, 32, 16, 8, 4, 2, 1, 1}));
}

void CalibCurveTest::acceptanceWindowIsExclusive()
{
    QVERIFY(!Calibration::inCalibWindow(3550));
    QVERIFY(Calibration::inCalibWindow(3551));
    QVERIFY(Calibration::inCalibWindow(3949));
    QVERIFY(!Calibration::inCalibWindow(3950));
}

QTEST_GUILESS_MAIN(CalibCurveTest)
#include "tst_calibcurve.moc"
