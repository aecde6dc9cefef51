// Measurement transfers against the simulated sensor: the live polling loop
// and the ten-block profile, over TCP and a pseudo-terminal.
#include "linkfixture.h"
#include "measurement.h"
#include "reconnect.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace tarvo;
using tarvo::test::LinkFixture;
using tarvo::test::shortReplyLimit;

namespace {

// Records what the transfers ask the panel to do.
struct PanelRecorder : MeasurementHost {
    QStringList calls;
    std::function<void()> onPanelData;
    void HideProfileGraph() override { calls << QStringLiteral("hide"); }
    void SetPanelData() override
    {
        calls << QStringLiteral("panel");
        if (onPanelData)
            onPanelData();
    }
    void ShowGraph() override { calls << QStringLiteral("graph"); }
    void ShowProfile() override { calls << QStringLiteral("profile"); }
};

struct MeasurementFixture : LinkFixture {
    MeasuredValues values;
    PanelRecorder panel;
    MeasurementTransfer transfer{exchange, link, pump, flags, values, panel};
    QList<QByteArray> replies;  // every reply the sensor sent, in order

    explicit MeasurementFixture(sim::SimOptions options = {}, ExchangeOptions exchangeOptions = {})
        : LinkFixture(std::move(options), exchangeOptions)
    {
        QObject::connect(sensor.get(), &sim::SensorSim::bytesSent, sensor.get(),
                         [this](const QByteArray& bytes) { replies << bytes; });
    }

    // The replies to one command, in order.
    QList<QByteArray> repliesTo(int command) const
    {
        QList<QByteArray> out;
        for (const QByteArray& r : replies)
            if (r.size() == frame::kBytes && word(r, 1) == command)
                out << r;
        return out;
    }

    static std::uint16_t word(const QByteArray& bytes, int i)
    {
        return frame::getWord(reinterpret_cast<const std::uint8_t*>(bytes.constData()), i);
    }
};

DataWords wordsWith(std::initializer_list<std::pair<int, std::uint16_t>> set)
{
    DataWords w{};
    for (auto [i, v] : set)
        w[i] = v;
    return w;
}

sim::Faults onCommand(int command)
{
    sim::Faults f;
    f.onlyCommand = command;
    return f;
}

void verifyValuesAre(const MeasuredValues& v, const QByteArray& reply)
{
    auto w = [&](int i) { return MeasurementFixture::word(reply, i); };
    QCOMPARE(v.dataChRef, w(2));
    QCOMPARE(v.dataChDir, w(3));
    QCOMPARE(v.dataChDif, w(4));
    QCOMPARE(v.dataNorm, w(5));
    QCOMPARE(v.dataInt, w(6));
    QCOMPARE(v.dataGf, w(7));
    QCOMPARE(v.dataVec, w(8));
    QCOMPARE(v.dataTemp, w(9));
    QCOMPARE(v.dataGfRaw, w(10));
    QCOMPARE(v.dataPP, w(11));
    QCOMPARE(v.dataGfDouble, w(7) / 10.0);
}

}  // namespace

class MeasurementTest : public QObject {
    Q_OBJECT
private slots:
    void tenthsWordsAreUnsigned_data();
    void tenthsWordsAreUnsigned();
    void profileCountNeverExceedsTheBuffer_data();
    void profileCountNeverExceedsTheBuffer();
    void liveLoopShowsEachFrameBeforeTheNextRequest_data();
    void liveLoopShowsEachFrameBeforeTheNextRequest();
    void liveLoopShowsNoFrameWithoutTheSensorsHeader();
    void stopWhileARequestIsOutstandingLetsItFinish();
    void timeoutEndsTheLoopWithOneTimeoutReaction();
    void liveLoopResumesWhenTheSensorComesBack_data();
    void liveLoopResumesWhenTheSensorComesBack();
    void profileBlockThatTimesOutKeepsOldPointsAndTheRestIsFetched_data();
    void profileBlockThatTimesOutKeepsOldPointsAndTheRestIsFetched();
};

void MeasurementTest::tenthsWordsAreUnsigned_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<double>("tenths");
    QTest::newRow("1234") << 1234 << 123.4;
    QTest::newRow("zero") << 0 << 0.0;
    QTest::newRow("top bit set") << 0x8000 << 3276.8;
    QTest::newRow("all bits set") << 0xFFFF << 6553.5;
}

void MeasurementTest::tenthsWordsAreUnsigned()
{
    QFETCH(int, word);
    QFETCH(double, tenths);
    const auto w = static_cast<std::uint16_t>(word);
    MeasuredValues v;
    // Words 2..11 in frame order; the three tenths words carry the row's word.
    v.CopyDatatoVars(wordsWith(
        {{2, 11}, {3, 12}, {4, 13}, {5, 14}, {6, 15}, {7, w}, {8, 255}, {9, 17}, {10, w}, {11, w}, {12, 999}}));
    QCOMPARE(v.dataGfDouble, tenths);
    QCOMPARE(v.dataGfRawDouble, tenths);
    QCOMPARE(v.dataPPDouble, tenths);
    QCOMPARE(v.dataGf, w);
    QCOMPARE(v.dataGfRaw, w);
    QCOMPARE(v.dataPP, w);
    QCOMPARE(v.dataChRef, std::uint16_t(11));
    QCOMPARE(v.dataChDir, std::uint16_t(12));
    QCOMPARE(v.dataChDif, std::uint16_t(13));
    QCOMPARE(v.dataNorm, std::uint16_t(14));
    QCOMPARE(v.dataInt, std::uint16_t(15));
    QCOMPARE(v.dataVec, std::uint16_t(255));
    QCOMPARE(v.dataTemp, std::uint16_t(17));
}

void MeasurementTest::profileCountNeverExceedsTheBuffer_data()
{
    QTest::addColumn<int>("reported");
    QTest::addColumn<int>("kept");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("short piece") << 131 << 131;
    QTest::newRow("full buffer") << 150 << 150;
    QTest::newRow("one too many") << 151 << 150;
    QTest::newRow("garbage") << 0xFFFF << 150;
}

void MeasurementTest::profileCountNeverExceedsTheBuffer()
{
    QFETCH(int, reported);
    QFETCH(int, kept);
    MeasuredValues v;
    v.profileBuf.fill(-1.0);
    // Block 9: points 144..149 in words 2..7, then max, min, count.
    v.StoreProfileBlock(
        9, wordsWith({{2, 1440}, {7, 1490}, {8, 900}, {9, 20}, {10, std::uint16_t(reported)}, {11, 0xBEEF}}));
    QCOMPARE(int(v.anzprof), kept);
    QCOMPARE(v.maxprof, std::uint16_t(900));
    QCOMPARE(v.minprof, std::uint16_t(20));
    QCOMPARE(v.profileBuf[144], 144.0);
    QCOMPARE(v.profileBuf[149], 149.0);
    QCOMPARE(v.profileBuf[143], -1.0);  // block 9 holds only the last six points
    // Blocks outside 0..9 change nothing.
    const auto before = v.profileBuf;
    v.StoreProfileBlock(10, wordsWith({{2, 7}}));
    v.StoreProfileBlock(-1, wordsWith({{2, 7}}));
    QVERIFY(v.profileBuf == before);
}

void MeasurementTest::liveLoopShowsEachFrameBeforeTheNextRequest_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QByteArray>("stale");  // bytes waiting on the line before GO
    QTest::newRow("tcp") << false << QByteArray();
    QTest::newRow("serial line") << true << QByteArray();
    QTest::newRow("serial line with stale bytes") << true << QByteArray("\x00\xAA\x00\x05junk", 8);
}

void MeasurementTest::liveLoopShowsEachFrameBeforeTheNextRequest()
{
    QFETCH(bool, serial);
    QFETCH(QByteArray, stale);
#ifndef Q_OS_UNIX
    if (serial)
        QSKIP("pseudo-terminals are POSIX only");
#endif
    sim::SimOptions o;
    o.pty = serial;
    o.noise = 1.0;  // every frame differs
    MeasurementFixture f(o);
    QVERIFY(serial ? f.connectSerial() : f.connectTcp());
    if (!stale.isEmpty()) {
        f.sensor->injectBytes(stale);
        f.settle(100);
    }
    f.sensor->clearReceived();
    f.replies.clear();

    QList<qint64> requestsWhenShown;
    f.panel.onPanelData = [&] {
        requestsWhenShown << f.sensor->frameCount();
        if (requestsWhenShown.size() == 5)
            f.flags.poll = 0;  // as STOP would
    };
    f.transfer.GetData();

    QCOMPARE(f.panel.calls.first(), QStringLiteral("hide"));
    QStringList expected{QStringLiteral("hide")};
    for (int i = 0; i < 5; ++i)
        expected << QStringLiteral("panel") << QStringLiteral("graph");
    QCOMPARE(f.panel.calls, expected);
    QCOMPARE(requestsWhenShown, (QList<qint64>{1, 2, 3, 4, 5}));
    QCOMPARE(f.sensor->frameCount(), qint64(5));
    for (const QByteArray& frame : f.sensor->receivedFrames())
        QCOMPARE(MeasurementFixture::word(frame, 1), std::uint16_t(frame::ReadMeasurement));
    verifyValuesAre(f.values, f.repliesTo(frame::ReadMeasurement).last());
    QCOMPARE(f.flags.poll, std::uint16_t(0));
    QVERIFY(!f.transfer.running());
    QCOMPARE(f.host.timeouts, 0);
}

void MeasurementTest::liveLoopShowsNoFrameWithoutTheSensorsHeader()
{
    MeasurementFixture f({}, shortReplyLimit());
    QVERIFY(f.connectTcp());
    f.values.dataGf = 777;
    sim::Faults bad = onCommand(frame::ReadMeasurement);
    bad.corruptByte = 1;  // 0xAA becomes 0x55
    f.sensor->setFaults(bad);
    f.transfer.GetData();

    const QByteArray reply = f.repliesTo(frame::ReadMeasurement).value(0);
    QCOMPARE(MeasurementFixture::word(reply, 0), std::uint16_t(0x0055));
    QCOMPARE(f.panel.calls, QStringList{"hide"});
    QCOMPARE(f.values.dataGf, std::uint16_t(777));
    QCOMPARE(f.host.timeouts, 1);
}

void MeasurementTest::stopWhileARequestIsOutstandingLetsItFinish()
{
    MeasurementFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults slow = onCommand(frame::ReadMeasurement);
    slow.delayMs = 400;
    f.sensor->setFaults(slow);
    f.sensor->clearReceived();
    // STOP arrives while the first reply is awaited.
    QTimer::singleShot(150, [&] { f.flags.poll = 0; });
    f.transfer.GetData();

    QCOMPARE(f.sensor->frameCount(), qint64(1));
    QCOMPARE(f.panel.calls, (QStringList{"hide", "panel", "graph"}));
    verifyValuesAre(f.values, f.repliesTo(frame::ReadMeasurement).value(0));
    QCOMPARE(f.host.timeouts, 0);
}

void MeasurementTest::timeoutEndsTheLoopWithOneTimeoutReaction()
{
    MeasurementFixture f;
    QVERIFY(f.connectTcp());
    f.values.dataGf = 777;
    sim::Faults silent = onCommand(frame::ReadMeasurement);
    silent.dropReplies = sim::Faults::kAll;
    f.sensor->setFaults(silent);
    f.sensor->clearReceived();
    f.expireAtFrame(1);  // the request's wait ends when the sensor gets it
    f.transfer.GetData();

    QCOMPARE(f.sensor->frameCount(), qint64(1));  // no retry
    QCOMPARE(f.host.timeouts, 1);
    QCOMPARE(f.host.statuses.count(QStringLiteral("TIMEOUT")), 1);
    QCOMPARE(f.panel.calls, QStringList{"hide"});
    QCOMPARE(f.values.dataGf, std::uint16_t(777));  // the last values stay
    QCOMPARE(f.flags.poll, std::uint16_t(0));
}

void MeasurementTest::liveLoopResumesWhenTheSensorComesBack_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QByteArray>("otherId");  // the sensor comes back as another one
    QTest::addColumn<QStringList>("events");
    const QStringList resumed{"LOST", "BACK", "RESUMED"};
    QTest::newRow("tcp") << false << QByteArray() << resumed;
    QTest::newRow("serial line") << true << QByteArray() << resumed;
    QTest::newRow("another sensor") << false << QByteArray("OTHER SENSOR")
                                    << QStringList{"LOST", "BACK", "IDENTITY-CHANGED"};
    // The set last sent differs from the one the reboot brought back.
    QTest::newRow("another parameter set")
        << false << QByteArray("-") << QStringList{"LOST", "BACK", "PARAMETERS-CHANGED", "RESUMED"};
}

void MeasurementTest::liveLoopResumesWhenTheSensorComesBack()
{
    QFETCH(bool, serial);
    QFETCH(QByteArray, otherId);
    QFETCH(QStringList, events);
#ifndef Q_OS_UNIX
    if (serial)
        QSKIP("pseudo-terminals are POSIX only");
#endif
    sim::SimOptions o;
    o.pty = serial;
    MeasurementFixture f(o);
    QVERIFY(serial ? f.connectSerial(true) : f.connectTcp());
    QVERIFY(f.exchange.QueryIdentification());
    struct : ReconnectHost {
        QStringList events;
        void linkEvent(LinkEvent e, const QString&) override { events << linkEventWord(e); }
        void retryState(const QString&) override {}
    } shown;
    Reconnector reconnect(f.link, f.exchange, f.pump);
    reconnect.setEnabled(true);
    reconnect.setHost(&shown);
    // On a tenth of the schedule (tarvoctl keeps the full one), the sensor
    // away for as long as the first attempts take.
    reconnect.retryScale = 0.1;
    f.transfer.setReconnector(&reconnect);
    if (otherId == "-") {
        otherId.clear();
        f.exchange.setWorkingSet(ParameterWords{});  // power 0: the sensor's own set has another
    }

    int sets = 0;
    f.panel.onPanelData = [&] {
        if (++sets == 3) {
            f.sensor->setIdentification(otherId);
            f.sensor->goAway(300);
        }
        if (sets == 6)
            f.flags.poll = 0;  // as STOP would
    };
    f.transfer.GetData();

    QCOMPARE(shown.events, events);
    QCOMPARE(sets, otherId.isEmpty() ? 6 : 3);  // the other sensor's values are never shown
    QCOMPARE(f.host.timeouts, 0);
    QVERIFY(!f.transfer.running());
}

void MeasurementTest::profileBlockThatTimesOutKeepsOldPointsAndTheRestIsFetched_data()
{
    QTest::addColumn<int>("lateMs");  // 0: block 4 is never answered
    QTest::newRow("block 4 lost") << 0;
    // It comes after the hold-off (0.25 s here) and the next request were
    // written: no block takes another's points.
    QTest::newRow("block 4 answered 0.4 s after its limit") << 500 + 400;
}

void MeasurementTest::profileBlockThatTimesOutKeepsOldPointsAndTheRestIsFetched()
{
    QFETCH(int, lateMs);
    ExchangeOptions shorter = shortReplyLimit();
    shorter.lateWindow = 0.25;  // the real hold-off has its own rows
    MeasurementFixture f({}, shorter);
    QVERIFY(f.connectTcp());
    f.values.profileBuf.fill(-1.0);  // the profile before
    f.flags.poll = 1;                // a live loop that the profile ends
    sim::Faults lost = onCommand(frame::ReadProfileBlock);
    lost.onlyArgument = 4;  // blocks 0..3 and 5..9 answered
    if (lateMs > 0)
        lost.delayMs = lateMs;
    else
        lost.dropReplies = 1;
    f.sensor->setFaults(lost);
    f.sensor->clearReceived();
    f.transfer.GetProfile();

    // A lost block's owed reply is the next reply of command 9: block 5's
    // reply is taken for it, and block 5 times out too.
    const QList<int> missing = lateMs > 0 ? QList<int>{4} : QList<int>{4, 5};
    QCOMPARE(f.flags.poll, std::uint16_t(0));
    QCOMPARE(f.host.timeouts, missing.size());
    QCOMPARE(f.host.statuses.count(QStringLiteral("TIMEOUT")), missing.size());
    // Ten blocks in order, then one measurement frame.
    const QList<QByteArray> sent = f.sensor->receivedFrames();
    QCOMPARE(sent.size(), 11);
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(MeasurementFixture::word(sent[k], 1), std::uint16_t(frame::ReadProfileBlock));
        QCOMPARE(MeasurementFixture::word(sent[k], 2), std::uint16_t(k));
    }
    QCOMPARE(MeasurementFixture::word(sent[10], 1), std::uint16_t(frame::ReadMeasurement));
    QCOMPARE(f.panel.calls, (QStringList{"profile", "panel"}));

    // Every block the sensor sent, in order (block 4's late one after block 5 was asked for).
    const QList<QByteArray> blocks = f.repliesTo(frame::ReadProfileBlock);
    QCOMPARE(blocks.size(), lateMs > 0 ? 10 : 9);
    QList<int> blockOf;  // the block each reply sent belongs to
    for (int k = 0; k < 10; ++k)
        if (lateMs > 0 || k != 4)
            blockOf << k;
    for (int i = 0; i < blocks.size(); ++i) {
        const int k = blockOf[i];
        if (missing.contains(k))
            continue;
        const int points = k < 9 ? 16 : 6;
        for (int j = 0; j < points; ++j)
            QCOMPARE(f.values.profileBuf[16 * k + j], MeasurementFixture::word(blocks[i], 2 + j) / 10.0);
    }
    for (int k : missing)
        for (int p = 16 * k; p < 16 * k + 16; ++p)
            QCOMPARE(f.values.profileBuf[p], -1.0);  // the blocks not received keep the old points
    const QByteArray& last = blocks.last();
    QCOMPARE(f.values.maxprof, MeasurementFixture::word(last, 8));
    QCOMPARE(f.values.minprof, MeasurementFixture::word(last, 9));
    QCOMPARE(f.values.anzprof, MeasurementFixture::word(last, 10));
    verifyValuesAre(f.values, f.repliesTo(frame::ReadMeasurement).value(0));
}

QTEST_GUILESS_MAIN(MeasurementTest)
#include "tst_measurement.moc"
