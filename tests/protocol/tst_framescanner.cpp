// The frame scanner on its own, on a clock the test sets: which bytes become
// frames, which are skipped and which are a frame cut short, as bytes arrive
// in pieces and pauses.
#include "framescanner.h"

#include <QtTest>
#include <cstring>

using tarvo::FrameScanner;
namespace frame = tarvo::frame;

namespace {

// A sensor frame of command `code`; `inner` > 0 puts bytes that look like a
// header (of command 3) at that offset of its data.
QByteArray sensorFrame(int code, int inner = 0)
{
    QByteArray f(frame::kBytes, '\x11');
    auto* b = reinterpret_cast<std::uint8_t*>(f.data());
    frame::putWord(b, 0, frame::kSyncSensor);
    frame::putWord(b, 1, static_cast<std::uint16_t>(code));
    if (inner > 0) {
        frame::putWord(b + inner, 0, frame::kSyncSensor);
        frame::putWord(b + inner, 1, frame::ReadParams);
    }
    return f;
}

struct Arrival {
    double at = 0;
    QByteArray bytes;
};
using Arrivals = QList<Arrival>;

// One item as the expected column writes it: F<code> a frame with a header,
// T a frame without one (text), S<n> skipped bytes, C<n> a frame cut short.
QString describe(const FrameScanner::Item& item)
{
    switch (item.kind) {
    case FrameScanner::Item::Frame:
        return item.data[0] == 0x00 && item.data[1] == 0xAA ? QStringLiteral("F%1").arg(frame::getWord(item.data, 1))
                                                            : QStringLiteral("T");
    case FrameScanner::Item::Skipped:
        return QStringLiteral("%1%2").arg(QLatin1Char(item.cut ? 'C' : 'S')).arg(item.bytes);
    default: return QString();
    }
}

}  // namespace

Q_DECLARE_METATYPE(Arrivals)

class TestFrameScanner : public QObject {
    Q_OBJECT
private slots:
    void scan_data();
    void scan();
};

void TestFrameScanner::scan_data()
{
    QTest::addColumn<Arrivals>("arrivals");
    QTest::addColumn<bool>("text");
    QTest::addColumn<bool>("cutByPause");
    QTest::addColumn<QString>("expected");  // then "| <item>" for what flush() hands out at the end

    const QByteArray f7 = sensorFrame(frame::Identify);
    const QByteArray f50 = sensorFrame(frame::AutoSend);
    const QByteArray f5 = sensorFrame(frame::ReadMeasurement);
    const QByteArray lookalike = sensorFrame(frame::ReadMeasurement, 20);
    const QByteArray text = QByteArrayLiteral("TARVO V4.3 serial 0001 fw 2.10     ");
    QCOMPARE(text.size() + 1, frame::kBytes);
    const QByteArray text36 = text + ' ';

    QTest::newRow("a whole frame") << Arrivals{{0, f7}} << false << true << "F7";
    QTest::newRow("two frames in one read") << Arrivals{{0, f7 + f50}} << false << true << "F7 F50";
    QTest::newRow("a frame in pieces within the cut pause")
        << Arrivals{{0, f7.left(10)}, {0.1, f7.mid(10, 10)}, {0.35, f7.mid(20)}} << false << true << "F7";
    QTest::newRow("a pause cuts a frame, the next is whole")
        << Arrivals{{0, f7.left(10)}, {0.5, f50}} << false << true << "C10 F50";
    QTest::newRow("a pause after the header's first bytes skips them")
        << Arrivals{{0, QByteArray("\x00\xAA", 2)}, {1.0, f5}} << false << true << "S2 F5";
    QTest::newRow("noise before a frame")
        << Arrivals{{0, QByteArray("\x01\x02\x03", 3) + f5}} << false << true << "S3 F5";
    QTest::newRow("a zero byte that begins no header")
        << Arrivals{{0, QByteArray("\x00\x01", 2) + f5}} << false << true << "S2 F5";
    QTest::newRow("a sync word before an unknown command")
        << Arrivals{{0, QByteArray("\x00\xAA\x00\x63", 4) + f5}} << false << true << "S4 F5";
    QTest::newRow("a header inside cuts the frame before it")
        << Arrivals{{0, f7.left(10) + f50}} << false << true << "C10 F50";
    QTest::newRow("data that look like a header, the next frame right after")
        << Arrivals{{0, lookalike + f50}} << false << true << "F5 F50";
    QTest::newRow("data that look like a header settle into a frame")
        << Arrivals{{0, lookalike}, {1.0, f7}} << false << true << "F5 F7";
    QTest::newRow("data that look like a header, the next frame within the settle time")
        << Arrivals{{0, lookalike}, {0.01, f50}} << false << true << "F5 F50";
    QTest::newRow("a cut frame inside a frame's place, the next in the same read")
        << Arrivals{{0, f5.left(20) + f7 + f50}} << false << true << "C20 F7 F50";
    QTest::newRow("text is a frame in text mode") << Arrivals{{0, text36}} << true << true << "T";
    QTest::newRow("text in text mode, in pieces")
        << Arrivals{{0, text36.left(30)}, {0.2, text36.mid(30)}} << true << true << "T";
    QTest::newRow("text is skipped otherwise") << Arrivals{{0, text36}} << false << true << "S36";
    QTest::newRow("short text waits for the pause")
        << Arrivals{{0, text.left(10)}, {1.0, f7}} << true << true << "S10 F7";
    QTest::newRow("a header in text mode is still a frame") << Arrivals{{0, f7}} << true << true << "F7";
    QTest::newRow("without the cut pause a frame waits for its bytes")
        << Arrivals{{0, f7.left(10)}, {2.0, f7.mid(10)}} << false << false << "F7";
    QTest::newRow("without the cut pause, what is held is flushed at the end")
        << Arrivals{{0, f7.left(10)}} << false << false << "| C10";
    QTest::newRow("nothing held, nothing flushed") << Arrivals{{0, f7}} << false << false << "F7";
}

// Feeds the arrivals at their times and asks for items as an event-driven
// reader would: after every arrival and at every time the scanner says it
// decides at; then runs the clock out and flushes.
void TestFrameScanner::scan()
{
    QFETCH(Arrivals, arrivals);
    QFETCH(bool, text);
    QFETCH(bool, cutByPause);
    QFETCH(QString, expected);

    FrameScanner scanner;
    scanner.setCutByPause(cutByPause);
    QStringList got;
    auto drain = [&](double now) {
        for (FrameScanner::Item item = scanner.next(now, text); item.kind != FrameScanner::Item::None;
             item = scanner.next(now, text))
            got << describe(item);
    };
    auto runUntil = [&](double t) {
        while (scanner.decidesAt() <= t) {
            const double at = scanner.decidesAt();
            drain(at);
            QVERIFY2(scanner.decidesAt() > at, "the scanner decides nothing at the time it named");
        }
    };
    for (const Arrival& a : arrivals) {
        runUntil(a.at);
        QVERIFY(a.bytes.size() <= scanner.space());
        std::memcpy(scanner.tail(), a.bytes.constData(), static_cast<size_t>(a.bytes.size()));
        scanner.added(static_cast<int>(a.bytes.size()), a.at);
        drain(a.at);
    }
    runUntil(arrivals.last().at + 10.0);
    if (const FrameScanner::Item rest = scanner.flush(); rest.kind != FrameScanner::Item::None)
        got << QStringLiteral("|") << describe(rest);
    QCOMPARE(got.join(QLatin1Char(' ')), expected);
    QCOMPARE(scanner.held(), 0);
}

QTEST_GUILESS_MAIN(TestFrameScanner)
#include "tst_framescanner.moc"
