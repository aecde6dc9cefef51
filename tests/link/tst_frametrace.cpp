// The frame trace on its own: the line format, the ring's bound, the
// counters, the table's filter and the --trace option.
#include "commandline.h"
#include "frame.h"
#include "frametrace.h"
#include "traceoption.h"
#include "tracewindow.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarvo;

Q_DECLARE_METATYPE(tarvo::TraceRecord)

namespace {

const char* const kClock = "2026-12-08 11:07:45.123";

TraceRecord example(TraceDirection dir, int command, int arg, const QByteArray& bytes, TraceOutcome outcome,
                    int count = 0, int ms = 0)
{
    TraceRecord r;
    r.monoMs = 1234.5;
    r.wallMs = QDateTime::fromString(QString::fromLatin1(kClock), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
                   .toMSecsSinceEpoch();
    r.dir = dir;
    r.link = QStringLiteral("TCP 127.0.0.1:10001");
    r.command = command;
    r.arg = arg;
    r.bytes = bytes;
    r.outcome = outcome;
    r.count = count;
    r.ms = ms;
    return r;
}

QByteArray frame5()
{
    QByteArray f(36, '\0');
    f[1] = 0x55;
    f[3] = 0x05;
    return f;
}

void writeFrame(FrameTrace& t, std::uint16_t code, std::uint16_t arg = 0)
{
    std::uint8_t f[36] = {};
    frame::putWord(f, 0, frame::kSyncPc);
    frame::putWord(f, 1, code);
    frame::putWord(f, 2, arg);
    t.written(f, 36, 36);
}

}  // namespace

class FrameTraceTest : public QObject {
    Q_OBJECT
private slots:
    void oneFixedLinePerOutcome_data();
    void oneFixedLinePerOutcome();
    void ringKeepsOnlyTheLastRecords();
    void replyRecordCarriesTheEchoVerdictAndCounts();
    void abandonedAndUnrequestedBytes();
    void filterByCommandAndOutcome();
    void traceOptionWritesEveryRecordAsItComes();
};

void FrameTraceTest::oneFixedLinePerOutcome_data()
{
    using D = TraceDirection;
    using O = TraceOutcome;
    QTest::addColumn<TraceRecord>("record");
    QTest::addColumn<QString>("line");
    const QString head = QStringLiteral("1234.500\t%1\t").arg(QLatin1String(kClock));
    const QString pc = head + QStringLiteral("PC->SENSOR\tTCP 127.0.0.1:10001\t");
    const QString sensor = head + QStringLiteral("SENSOR->PC\tTCP 127.0.0.1:10001\t");
    const QString sent = QStringLiteral("00 55 00 05") + QStringLiteral(" 00").repeated(32);

    QTest::newRow("sent") << example(D::PcToSensor, 5, -1, frame5(), O::Sent)
                          << pc + "5 read measurement\t-\tsent\t-\t" + sent;
    QTest::newRow("complete") << example(D::SensorToPc, 5, -1, QByteArray::fromHex("00aa00050000"), O::ReplyComplete)
                              << sensor + "5 read measurement\t-\treply complete\t-\t00 aa 00 05 00 00";
    QTest::newRow("echo") << example(D::SensorToPc, 2, 4, QByteArray::fromHex("00aa0002"), O::EchoMismatch, 11)
                          << sensor + "2 write teach row\t4\techo mismatch at byte 11\t-\t00 aa 00 02";
    QTest::newRow("short") << example(D::SensorToPc, 5, -1, QByteArray::fromHex("00aa"), O::Short, 34)
                           << sensor + "5 read measurement\t-\tshort by 34 bytes\t-\t00 aa";
    QTest::newRow("short 1") << example(D::SensorToPc, 5, -1, QByteArray::fromHex("00aa"), O::Short, 1)
                             << sensor + "5 read measurement\t-\tshort by 1 byte\t-\t00 aa";
    QTest::newRow("surplus") << example(D::SensorToPc, 9, 3, QByteArray::fromHex("00aa0009"), O::Surplus, 2)
                             << sensor + "9 read profile block\t3\tsurplus 2 bytes\t-\t00 aa 00 09";
    QTest::newRow("time-out") << example(D::SensorToPc, 7, -1, {}, O::Timeout, 0, 3001)
                              << sensor + "7 identification\t-\ttime-out after 3001 ms\t-\t-";
    QTest::newRow("closed") << example(D::SensorToPc, -1, -1, {}, O::ConnectionClosed)
                            << sensor + "-\t-\tconnection closed\t-\t-";
    QTest::newRow("flushed") << example(D::SensorToPc, -1, -1, QByteArray::fromHex("5a5a5a"), O::Flushed, 3)
                             << sensor + "-\t-\t3 bytes flushed\t-\t5a 5a 5a";
    QTest::newRow("dropped") << example(D::SensorToPc, -1, -1, QByteArray::fromHex("ff31"), O::Dropped, 2)
                             << sensor + "-\t-\t2 bytes dropped\t-\tff 31";
    QTest::newRow("auto") << example(D::SensorToPc, 5, -1, QByteArray::fromHex("00aa0005"), O::AutoFrame)
                          << sensor + "5 read measurement\t-\tautomatic frame\t-\t00 aa 00 05";
    TraceRecord notConnected = example(D::PcToSensor, 43, 0, QByteArray::fromHex("0055002b"), O::WriteFailed, -8);
    notConnected.note = QStringLiteral("not connected to the sensor");
    QTest::newRow("write failed") << notConnected
                                  << pc
            + "43 start factor tables\t0\twrite failed: not connected to the sensor\t-\t00 55 00 2b";
    QTest::newRow("write cut short") << example(
        D::PcToSensor, 43, 0, QByteArray::fromHex("0055002b"), O::WriteFailed,
        2) << pc + "43 start factor tables\t0\twrite failed: 2 of 4 bytes written\t-\t00 55 00 2b";
    QByteArray values(36, '\0');
    const std::uint16_t words[] = {0x00AA, 5, 3500, 3600, 400, 900, 2000, 853, 3, 301, 850, 12};
    for (int i = 0; i < 12; ++i)
        frame::putWord(reinterpret_cast<std::uint8_t*>(values.data()), i, words[i]);
    QTest::newRow("measurement values") << example(D::SensorToPc, 5, -1, values, O::ReplyComplete)
                                        << sensor
            + "5 read measurement\t-\treply complete\tGF 85.3 V-No 3 NORM 900 INT 2000 "
              "CH_REF 3500 CH_DIR 3600 CH_DIF 400 TEMP 301 GF_RAW 85.0 PP 1.2\t"
            + QString::fromLatin1(values.toHex(' '));
    QTest::newRow("received") << example(D::PcToSensor, 50, 1, QByteArray::fromHex("00550032"), O::Received)
                              << pc + "50 automatic sending\t1\treceived\t-\t00 55 00 32";
    TraceRecord failed = example(D::PcToSensor, -1, -1, {}, O::OpenFailed);
    failed.note = QStringLiteral("no answer within 5 s ");  // a trailing blank goes
    QTest::newRow("open failed") << failed << pc + "-\t-\topen failed: no answer within 5 s\t-\t-";
}

void FrameTraceTest::oneFixedLinePerOutcome()
{
    QFETCH(TraceRecord, record);
    QFETCH(QString, line);
    QCOMPARE(formatTraceLine(record), line);
}

void FrameTraceTest::ringKeepsOnlyTheLastRecords()
{
    FrameTrace t(5);
    for (int i = 0; i < 8; ++i)
        writeFrame(t, frame::AutoSend, static_cast<std::uint16_t>(i));
    QCOMPARE(t.endSeq(), quint64(8));
    QCOMPARE(t.firstSeq(), quint64(3));
    for (quint64 s = t.firstSeq(); s < t.endSeq(); ++s)
        QCOMPARE(t.at(s).arg, int(s));
    QCOMPARE(t.totals().exchanges, qint64(8));  // the counters outlive the ring

    t.clear();
    QCOMPARE(t.firstSeq(), t.endSeq());
    QCOMPARE(t.totals(), TraceCounters{});
    writeFrame(t, frame::AutoSend, 99);
    QCOMPARE(t.endSeq() - t.firstSeq(), quint64(1));
    QCOMPARE(t.at(t.firstSeq()).arg, 99);

    // Bounded by the memory its records take as well: junk makes few, long records.
    FrameTrace bytes(100, nullptr, 2 * (qint64(sizeof(TraceRecord)) + 100));
    for (int i = 0; i < 4; ++i)
        bytes.dropped(reinterpret_cast<const std::uint8_t*>(QByteArray(40, char(i)).constData()), 40);
    QCOMPARE(bytes.endSeq() - bytes.firstSeq(), quint64(2));
    QCOMPARE(bytes.at(bytes.firstSeq()).bytes, QByteArray(40, char(2)));
    QCOMPARE(bytes.droppedOldest(), quint64(2));
}

void FrameTraceTest::replyRecordCarriesTheEchoVerdictAndCounts()
{
    FrameTrace t;
    t.opened(QStringLiteral("TCP h:1"), true, {});
    writeFrame(t, frame::WriteTeachRow, 4);
    const std::uint8_t reply[36] = {0x00, 0xAA, 0x00, 0x02};
    t.received(reply, 20);
    t.received(reply + 20, 16);
    t.replyEnded(0, 0.01);
    t.echoChecked(11);
    const TraceRecord& r = t.at(t.endSeq() - 1);
    QCOMPARE(r.outcome, TraceOutcome::EchoMismatch);
    QCOMPARE(r.count, 11);
    QCOMPARE(r.command, 2);
    QCOMPARE(r.arg, 4);
    QCOMPARE(r.bytes.size(), 36);
    QCOMPARE(r.link, QStringLiteral("TCP h:1"));
    QCOMPARE(t.endSeq(), quint64(3));  // opened, sent, one reply record

    // Without an echo check the reply is recorded at the next event at the latest.
    writeFrame(t, frame::ReadMeasurement);
    t.received(reply, 35);
    t.replyEnded(1, 3.0);
    QCOMPARE(t.endSeq(), quint64(4));
    t.settle();
    QCOMPARE(t.at(t.endSeq() - 1).outcome, TraceOutcome::Short);
    QCOMPARE(t.at(t.endSeq() - 1).count, 1);

    const TraceCounters c = t.totals();
    QCOMPARE(c.exchanges, qint64(2));
    QCOMPARE(c.echoMismatches, qint64(1));
    QCOMPARE(c.timeouts, qint64(1));
    QCOMPARE(t.connection(), c);
    t.opened(QStringLiteral("TCP h:1"), true, {});
    QCOMPARE(t.totals().reconnects, qint64(1));
    QCOMPARE(t.connection().exchanges, qint64(0));  // a new connection counts afresh
}

void FrameTraceTest::abandonedAndUnrequestedBytes()
{
    FrameTrace t;
    // Automatic sending is on: no request, frames come one after another.
    writeFrame(t, frame::AutoSend, 1);
    std::uint8_t frames[80] = {};
    for (int i = 0; i < 2; ++i) {
        frames[36 * i + 1] = 0xAA;
        frames[36 * i + 3] = 0x05;
    }
    t.received(frames, 50);
    t.received(frames + 50, 30);
    QCOMPARE(t.endSeq(), quint64(3));
    QCOMPARE(t.at(1).outcome, TraceOutcome::AutoFrame);
    QCOMPARE(t.at(2).outcome, TraceOutcome::AutoFrame);
    QCOMPARE(t.at(2).command, 5);
    // The 8 bytes of an unfinished frame go when the next request is written.
    writeFrame(t, frame::ReadMeasurement);
    QCOMPARE(t.at(3).outcome, TraceOutcome::Dropped);
    QCOMPARE(t.at(3).bytes.size(), 8);
    QCOMPARE(t.at(4).outcome, TraceOutcome::Sent);
    QCOMPARE(t.totals().bytesDropped, qint64(8));
    // Bytes beyond the reply belong to the exchange's own record.
    t.received(frames, 36);
    t.dropped(frames, 2);
    t.replyEnded(0, 0.01);
    t.settle();
    QCOMPARE(t.at(5).outcome, TraceOutcome::Surplus);
    QCOMPARE(t.at(5).count, 2);
    QCOMPARE(t.at(5).bytes.size(), 38);
    QCOMPARE(t.totals().timeouts, qint64(0));
    // An empty flush leaves no record.
    t.flushed(frames, 0);
    QCOMPARE(t.endSeq(), quint64(6));
}

void FrameTraceTest::filterByCommandAndOutcome()
{
    FrameTrace t(6);
    TraceTableModel model(t);
    const std::uint8_t reply[36] = {0x00, 0xAA};
    auto exchange = [&](std::uint16_t code, int got) {
        writeFrame(t, code);
        t.received(reply, got);
        t.replyEnded(36 - got, 0.01);
        t.settle();
    };
    exchange(frame::ReadMeasurement, 36);
    exchange(frame::Identify, 0);
    exchange(frame::ReadMeasurement, 10);
    QCOMPARE(model.catchUp(), 6);

    model.setFilter({frame::ReadMeasurement, TraceTableModel::kAny});
    QCOMPARE(model.rowCount(), 4);
    model.setFilter({TraceTableModel::kAny, static_cast<int>(TraceOutcome::Short)});
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.data(model.index(0, FieldOutcome), Qt::DisplayRole).toString(), QStringLiteral("short by 26 bytes"));
    model.setFilter({frame::Identify, static_cast<int>(TraceOutcome::Timeout)});
    QCOMPARE(model.rowCount(), 1);
    model.setFilter({TraceTableModel::kAny, TraceTableModel::kFailures});  // the time-out and the short reply
    QCOMPARE(model.rowCount(), 2);

    // New records that pass arrive; those the ring let go leave.
    model.setFilter({frame::ReadMeasurement, TraceTableModel::kAny});
    exchange(frame::Identify, 36);
    exchange(frame::ReadMeasurement, 36);
    QCOMPARE(model.catchUp(), 2);
    // The first exchange fell out of the ring of six; the short one is still there.
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.data(model.index(1, FieldOutcome), Qt::DisplayRole).toString(), QStringLiteral("short by 26 bytes"));
    QCOMPARE(model.data(model.index(3, FieldOutcome), Qt::DisplayRole).toString(), QStringLiteral("reply complete"));
}

void FrameTraceTest::traceOptionWritesEveryRecordAsItComes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.trace"));
    QString out, err;
    QTextStream o(&out), e(&err);
    const ProgramInfo info{QStringLiteral("prog"), QString(), {}, false};
    const auto settings = [] { return QString(); };
    const CommandLine cl = parseCommandLine({QStringLiteral("prog"), QStringLiteral("--trace"), path}, info, settings,
                                            o, e);
    QVERIFY(!cl.exitCode);
    QCOMPARE(cl.traceFile, path);
    QCOMPARE(*parseCommandLine({QStringLiteral("prog"), QStringLiteral("--trace=")}, info, settings, o, e).exitCode, 2);

    FrameTrace t;
    QCOMPARE(openTraceFile(t, cl.traceFile), 0);
    writeFrame(t, frame::ReadMeasurement);
    t.opened(QStringLiteral("TCP h:1"), false, QStringLiteral("connection refused"));
    QFile f(path);  // read while the trace is still open: flushed per line
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("TIME ms\tCLOCK\tDIRECTION\tLINK\tCOMMAND\tARG\tOUTCOME\tVALUES\tBYTES"));
    QCOMPARE(lines[1], formatTraceLine(t.at(0)));
    QVERIFY(lines[2].endsWith(QStringLiteral("\topen failed: connection refused\t-\t-")));

    FrameTrace other;
    QCOMPARE(openTraceFile(other, QString()), 0);
    QCOMPARE(openTraceFile(other, dir.filePath(QStringLiteral("no/such/dir/x"))), 2);
}

QTEST_GUILESS_MAIN(FrameTraceTest)
#include "tst_frametrace.moc"
