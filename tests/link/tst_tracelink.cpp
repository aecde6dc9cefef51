// The frame trace of a real link and exchange against the simulated sensor:
// what each kind of exchange leaves in the trace, and the simulator's own
// trace of the same frames.
#include "frametrace.h"
#include "linkfixture.h"
#include "simtrace.h"

#include <QFile>
#include <QtTest>

using namespace tarvo;
using tarvo::test::LinkFixture;

Q_DECLARE_METATYPE(tarvo::TraceOutcome)

namespace {

QList<TraceRecord> records(FrameTrace& t)
{
    t.settle();
    QList<TraceRecord> out;
    for (quint64 s = t.firstSeq(); s < t.endSeq(); ++s)
        out << t.at(s);
    return out;
}

// The records from the last frame written on.
QList<TraceRecord> lastExchange(FrameTrace& t)
{
    QList<TraceRecord> all = records(t);
    qsizetype i = all.size() - 1;
    while (i > 0 && all[i].dir != TraceDirection::PcToSensor)
        --i;
    return all.mid(i);
}

QByteArray bytesOf(const std::uint8_t* p, int n)
{
    return QByteArray(reinterpret_cast<const char*>(p), n);
}

QByteArray fromSensor(const QList<TraceRecord>& rs)
{
    QByteArray b;
    for (const TraceRecord& r : rs)
        if (r.dir == TraceDirection::SensorToPc)
            b += r.bytes;
    return b;
}

sim::Faults onMeasurement()
{
    sim::Faults f;
    f.onlyCommand = frame::ReadMeasurement;
    return f;
}

}  // namespace

class TraceLinkTest : public QObject {
    Q_OBJECT
private slots:
    void goodExchangeRecordsFrameAndReply();
    void missingOrShortReplyOverTcp_data();
    void missingOrShortReplyOverTcp();
    void longReplyOverTcpIsTakenAndItsSurplusDropped();
    void shortAndLongRepliesOverSerial_data();
    void shortAndLongRepliesOverSerial();
    void echoMismatchNamesTheFirstDifferingByte();
    void junkBetweenExchangesIsDroppedOrFlushed();
    void serverThatClosesTheConnection();
    void bothEndsTraceTheSameFramesAndCountsAgree();
};

void TraceLinkTest::goodExchangeRecordsFrameAndReply()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    const Reply reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QByteArray replyBytes(36, '\0');
    for (int i = 0; i < frame::kWords; ++i)
        frame::putWord(reinterpret_cast<std::uint8_t*>(replyBytes.data()), i, reply.words[i]);
    const QList<TraceRecord> rs = records(f.link.trace());
    QCOMPARE(rs.size(), 3);
    const QString link = QStringLiteral("TCP 127.0.0.1:%1").arg(f.sensor->tcpPort());
    QCOMPARE(rs[0].outcome, TraceOutcome::Connected);
    QCOMPARE(rs[0].link, link);
    QCOMPARE(rs[1].dir, TraceDirection::PcToSensor);
    QCOMPARE(rs[1].outcome, TraceOutcome::Sent);
    QCOMPARE(rs[1].command, 5);
    QCOMPARE(rs[1].arg, -1);  // command 5 has no argument; bytes 4-5 hold a parameter word
    QCOMPARE(rs[1].bytes, bytesOf(f.exchange.lastRequest().data(), 36));
    QCOMPARE(rs[2].dir, TraceDirection::SensorToPc);
    QCOMPARE(rs[2].outcome, TraceOutcome::ReplyComplete);
    QCOMPARE(rs[2].command, 5);
    QCOMPARE(rs[2].bytes, replyBytes);
    QCOMPARE(rs[2].link, link);
    QVERIFY(rs[1].monoMs <= rs[2].monoMs);
    const TraceCounters c = f.link.trace().totals();
    QCOMPARE(c.exchanges, qint64(1));
    QCOMPARE(c.timeouts, qint64(0));
}

void TraceLinkTest::missingOrShortReplyOverTcp_data()
{
    QTest::addColumn<bool>("drop");
    QTest::addColumn<int>("length");
    QTest::addColumn<TraceOutcome>("outcome");
    QTest::addColumn<int>("received");
    QTest::newRow("no reply") << true << 0 << TraceOutcome::Timeout << 0;
    QTest::newRow("35 bytes") << false << 35 << TraceOutcome::Short << 35;
}

void TraceLinkTest::missingOrShortReplyOverTcp()
{
    QFETCH(bool, drop);
    QFETCH(int, length);
    QFETCH(TraceOutcome, outcome);
    QFETCH(int, received);
    LinkFixture f({}, tarvo::test::shortReplyLimit());  // what the trace shows, not the limit
    QVERIFY(f.connectTcp());
    sim::Faults fault = onMeasurement();
    fault.dropReplies = drop ? 1 : 0;
    fault.replyLength = length;
    f.sensor->setFaults(fault);
    QVERIFY(!f.measurement());
    const QList<TraceRecord> rs = lastExchange(f.link.trace());
    QCOMPARE(rs.size(), 2);
    QCOMPARE(rs[1].outcome, outcome);
    QCOMPARE(rs[1].bytes.size(), received);
    if (outcome == TraceOutcome::Short)
        QCOMPARE(rs[1].count, 1);
    else
        QVERIFY(rs[1].ms > 0);
    QCOMPARE(f.link.trace().totals().timeouts, qint64(1));
    QCOMPARE(f.host.timeouts, 0);  // the trace reports; the reaction stays the caller's
}

void TraceLinkTest::longReplyOverTcpIsTakenAndItsSurplusDropped()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults fault = onMeasurement();
    fault.replyLength = 37;
    f.sensor->setFaults(fault);
    QVERIFY(f.measurement());
    f.settle();
    // The surplus byte is shown with the reply, or right after it when it
    // came in a segment of its own.
    const QList<TraceRecord> rs = lastExchange(f.link.trace());
    QCOMPARE(fromSensor(rs).size(), 37);
    QVERIFY(rs[1].outcome == TraceOutcome::Surplus || rs.last().outcome == TraceOutcome::Dropped);
    QCOMPARE(f.link.trace().totals().bytesDropped, qint64(1));
    QCOMPARE(f.link.trace().totals().timeouts, qint64(0));
}

void TraceLinkTest::shortAndLongRepliesOverSerial_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<TraceOutcome>("outcome");
    QTest::addColumn<QString>("text");
    QTest::newRow("35 bytes") << 35 << TraceOutcome::Short << QStringLiteral("short by 1 byte");
    QTest::newRow("37 bytes: taken") << 37 << TraceOutcome::Surplus << QStringLiteral("surplus 1 byte");
}

void TraceLinkTest::shortAndLongRepliesOverSerial()
{
#ifdef Q_OS_UNIX
    QFETCH(int, length);
    QFETCH(TraceOutcome, outcome);
    QFETCH(QString, text);
    sim::SimOptions o;
    o.pty = true;
    LinkFixture f(o, tarvo::test::shortReplyLimit());
    QVERIFY(f.connectSerial());
    sim::Faults fault = onMeasurement();
    fault.replyLength = length;
    fault.delayMs = 20;  // the whole reply is queued when the wait looks
    f.sensor->setFaults(fault);
    QCOMPARE(f.measurement(), length > 36);
    const QList<TraceRecord> rs = lastExchange(f.link.trace());
    QCOMPARE(rs.size(), 2);
    QCOMPARE(rs[1].outcome, outcome);
    QCOMPARE(rs[1].bytes.size(), length);
    QCOMPARE(traceField(rs[1], FieldOutcome), text);
    QCOMPARE(rs[1].link, QStringLiteral("RS-232 port 3 (%1)").arg(f.sensor->ptyPath()));
    QCOMPARE(f.link.trace().totals().timeouts, qint64(length > 36 ? 0 : 1));
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void TraceLinkTest::echoMismatchNamesTheFirstDifferingByte()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults fault;
    fault.onlyCommand = frame::WriteTeachRow;
    fault.corruptByte = 11;
    f.sensor->setFaults(fault);
    const CheckedSend row4{.code = frame::WriteTeachRow, .arg = 4, .echoWords = 6};
    QCOMPARE(f.exchange.send(row4).fault, ExchangeFault::EchoMismatch);
    QList<TraceRecord> rs = lastExchange(f.link.trace());
    QCOMPARE(rs.size(), 2);
    QCOMPARE(traceField(rs[1], FieldOutcome), QStringLiteral("echo mismatch at byte 11"));
    QCOMPARE(rs[1].command, 2);
    QCOMPARE(rs[1].arg, 4);

    fault.corruptByte = 7;  // in the row's first value
    f.sensor->setFaults(fault);
    f.exchange.send(row4);
    rs = lastExchange(f.link.trace());
    QCOMPARE(traceField(rs[1], FieldOutcome), QStringLiteral("echo mismatch at byte 7"));

    fault.corruptByte = 12;  // outside the compared words: passes
    f.sensor->setFaults(fault);
    QVERIFY(f.exchange.send(row4));
    QCOMPARE(lastExchange(f.link.trace())[1].outcome, TraceOutcome::ReplyComplete);

    const TraceCounters c = f.link.trace().totals();
    QCOMPARE(c.echoMismatches, qint64(2));
    QCOMPARE(c.timeouts, qint64(0));
    QCOMPARE(c.exchanges, qint64(3));
}

void TraceLinkTest::junkBetweenExchangesIsDroppedOrFlushed()
{
    const QByteArray junk = QByteArray::fromHex("ff31ff33ff");
    {
        LinkFixture f;  // TCP: read and dropped as it comes
        QVERIFY(f.connectTcp());
        QVERIFY(f.measurement());
        f.sensor->injectBytes(junk);
        f.settle(100);
        const TraceRecord last = records(f.link.trace()).last();
        QCOMPARE(last.outcome, TraceOutcome::Dropped);
        QCOMPARE(last.bytes, junk);
        QCOMPARE(last.command, -1);
        QCOMPARE(f.link.trace().totals().bytesDropped, qint64(junk.size()));
    }
#ifdef Q_OS_UNIX
    sim::SimOptions o;
    o.pty = true;
    LinkFixture f(o);  // RS-232: flushed before the next request
    QVERIFY(f.connectSerial());
    QVERIFY(f.measurement());
    f.sensor->injectBytes(junk);
    f.settle(100);
    QVERIFY(f.measurement());
    const QList<TraceRecord> rs = records(f.link.trace());
    QCOMPARE(rs.size(), 6);  // connected, exchange, flushed, exchange
    QCOMPARE(rs[3].outcome, TraceOutcome::Flushed);
    QCOMPARE(rs[3].bytes, junk);
    QCOMPARE(traceField(rs[3], FieldOutcome), QStringLiteral("5 bytes flushed"));
    QCOMPARE(rs[5].outcome, TraceOutcome::ReplyComplete);
#endif
}

void TraceLinkTest::serverThatClosesTheConnection()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults closing;
    closing.closeAfterFrames = 1;
    closing.dropReplies = 1;
    f.sensor->setFaults(closing);
    QVERIFY(!f.measurement());
    const QList<TraceRecord> rs = lastExchange(f.link.trace());
    QCOMPARE(rs.size(), 3);
    QCOMPARE(rs[1].outcome, TraceOutcome::ConnectionClosed);  // the moment it closed
    QCOMPARE(rs[1].command, 5);
    QCOMPARE(rs[2].outcome, TraceOutcome::ConnectionClosed);  // the exchange it ended
    QCOMPARE(f.link.trace().totals().timeouts, qint64(1));

    f.sensor->setFaults({});
    QVERIFY(f.connectTcp());
    QCOMPARE(f.link.trace().totals().reconnects, qint64(1));
    QCOMPARE(f.link.trace().connection().exchanges, qint64(0));
    QVERIFY(f.measurement());
    QCOMPARE(f.link.trace().connection().exchanges, qint64(1));
}

void TraceLinkTest::bothEndsTraceTheSameFramesAndCountsAgree()
{
    LinkFixture f;
    FrameTrace sensorTrace;
    sim::SimTrace simTrace(*f.sensor, sensorTrace);
    const QString path = f.dir.filePath(QStringLiteral("sensor.trace"));
    QVERIFY(sensorTrace.openFile(path));
    QVERIFY(f.connectTcp());
    f.exchange.CheckComLine();  // command 50 (no reply) and the identification
    QCOMPARE(f.host.lineChecks, 1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(f.measurement());
    f.settle();
    QCOMPARE(f.link.trace().totals().exchanges, f.sensor->frameCount());
    QCOMPARE(f.link.trace().totals().exchanges, qint64(5));

    // The simulator's lines, read back from its file: the same format, and
    // the same bytes in each direction as the program's trace.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromUtf8(file.readLine()).chopped(1), traceHeaderLine());
    QByteArray toSensor, fromSensorBytes;
    int received = 0;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).chopped(1).split(u'\t');
        QCOMPARE(fields.size(), int(kTraceFields));
        const QByteArray bytes = fields[FieldBytes] == u"-" ? QByteArray()
                                                            : QByteArray::fromHex(fields[FieldBytes].toLatin1());
        (fields[FieldDirection] == u"PC->SENSOR" ? toSensor : fromSensorBytes) += bytes;
        if (fields[FieldOutcome] == u"received")
            ++received;
    }
    QByteArray sent, got;
    for (const TraceRecord& r : records(f.link.trace()))
        (r.dir == TraceDirection::PcToSensor ? sent : got) += r.bytes;
    QCOMPARE(toSensor, sent);
    QCOMPARE(fromSensorBytes, got);
    QCOMPARE(received, int(f.sensor->frameCount()));
    QCOMPARE(sensorTrace.at(sensorTrace.firstSeq()).link, QStringLiteral("TCP 127.0.0.1:%1").arg(f.sensor->tcpPort()));
}

QTEST_GUILESS_MAIN(TraceLinkTest)
#include "tst_tracelink.moc"
