// The frame exchange against the simulated sensor, over TCP and a
// pseudo-terminal: frame layouts, echo checks, time limits, bad replies.
#include "linkfixture.h"
#include "statustexts.h"

#include "connectionfault.h"

#include <QTcpServer>

#include <QtTest>

using namespace tarvo;
using tarvo::test::LinkFixture;
using tarvo::test::shortReplyLimit;

namespace {
sim::Faults faultOn(int command)
{
    sim::Faults f;
    f.onlyCommand = command;
    return f;
}

// The reply's 36 bytes as they came.
QByteArray bytesOf(const Reply& reply)
{
    QByteArray bytes(frame::kBytes, '\0');
    for (int i = 0; i < frame::kWords; ++i)
        frame::putWord(reinterpret_cast<std::uint8_t*>(bytes.data()), i, reply.words[i]);
    return bytes;
}

QByteArray sent(const Exchange& ex)
{
    return QByteArray(reinterpret_cast<const char*>(ex.lastRequest().data()), 36);
}

// Rows for TCP and the paced pseudo-terminal, and the simulator for each.
void addLineRows()
{
    QTest::addColumn<bool>("line");
    QTest::newRow("TCP") << false;
    QTest::newRow("paced pseudo-terminal") << true;
}

sim::SimOptions lineOptions(bool line)
{
    sim::SimOptions o;
    o.pty = line;
    o.baudPacing = line;
    return o;
}
}  // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void frameLayoutPerCommand_data();
    void frameLayoutPerCommand();
    void unwrittenBytesKeepThePreviousFrame();
    void lineCheckStopsAutoSendThenIdentifies();
    void lineCheckOverSerialLine();
    void identificationEndsAtFirstZeroByte();
    void parameterReadUnpacksIntoVariables();
    void echoComparesOnlyTheGivenWords();
    void loopedBackFrameFailsTheEcho();
    void writeCountOtherThan36IsATimeout();
    void replyAt2900msIsAcceptedAndMissingReplyTimesOutAt3s();
    void shortOrLongRepliesOverSerialAreTimeouts_data();
    void shortOrLongRepliesOverSerialAreTimeouts();
    void replyInPiecesOverTcpIsAssembledInOrder();
    void surplusAndIdleBytesOverTcpAreDropped();
    void automaticFramesInOneBurstAreAllReceived();
    void framesBehindRepliesReachTheReaderWhateverTheReads_data();
    void framesBehindRepliesReachTheReaderWhateverTheReads();
    void replyLateBeyondItsHoldOffIsNotTakenForTheNext_data();
    void replyLateBeyondItsHoldOffIsNotTakenForTheNext();
    void timeoutClearsPollingLoopsAndReportsOnce();
    void serverClosingMidExchangeIsReportedOnceThenReconnectWorks();
    void failedConnectLeavesLinkClosedWithTableText();
    void serialPortThatCannotBeOpened();
    void statusTexts_data();
    void statusTexts();
};

void ExchangeTest::frameLayoutPerCommand_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("arg");
    QTest::addColumn<QByteArray>("head");  // bytes 0.. that must be as given

    // pp[j] = 0x0100 + j; teach row 5 = pp[36..39]; a calibration row's words 0x2000 + k
    QTest::newRow("write params") << 1 << 7
                                  << QByteArray::fromHex("00550001"
                                                         "0100010101020103");
    QTest::newRow("teach row 5") << 2 << 5
                                 << QByteArray::fromHex("005500020005"
                                                        "0124012501260127");
    QTest::newRow("read teach row") << 4 << 30 << QByteArray::fromHex("00550004001e");
    QTest::newRow("measurement") << 5 << 9
                                 << QByteArray::fromHex("00550005"
                                                        "0100");
    QTest::newRow("profile block") << 9 << 9 << QByteArray::fromHex("005500090009");
    QTest::newRow("auto send on") << 50 << 1 << QByteArray::fromHex("005500320001");
    QTest::newRow("calib row 2") << 33 << 2
                                 << QByteArray::fromHex("005500210002"
                                                        "20002001");
}

void ExchangeTest::frameLayoutPerCommand()
{
    QFETCH(int, code);
    QFETCH(int, arg);
    QFETCH(QByteArray, head);
    LinkFixture f;
    for (int j = 0; j < kBlockWords; ++j)
        f.params.pp[j] = static_cast<std::uint16_t>(0x0100 + j);
    std::array<std::uint16_t, frame::kCalibRowWords> calibRow{};
    for (int k = 0; k < frame::kCalibRowWords; ++k)
        calibRow[k] = static_cast<std::uint16_t>(0x2000 + k);
    const bool withRow = code == frame::WriteCalibRow;
    f.exchange.compose(static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(arg),
                       withRow ? std::span<const std::uint16_t>(calibRow) : std::span<const std::uint16_t>());
    QCOMPARE(sent(f.exchange).left(head.size()).toHex(), head.toHex());
    if (code == 1) {  // only pp[0..15] fall inside the 36 bytes
        QCOMPARE(frame::getWord(f.exchange.lastRequest().data(), 17), std::uint16_t(0x010F));
    }
}

void ExchangeTest::unwrittenBytesKeepThePreviousFrame()
{
    LinkFixture f;
    f.params.pp.fill(0xABCD);
    f.exchange.compose(1, 0);
    f.exchange.compose(4, 3);
    const QByteArray frame = sent(f.exchange);
    QCOMPARE(frame.left(6).toHex(), QByteArray("005500040003"));
    QCOMPARE(frame.mid(6).toHex(), QByteArray("abcd").repeated(15));
}

void ExchangeTest::lineCheckStopsAutoSendThenIdentifies()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    f.exchange.CheckComLine();
    QCOMPARE(f.host.lineChecks, 1);
    QCOMPARE(f.host.timeouts, 0);
    QVERIFY(f.exchange.versionText().startsWith(QStringLiteral("TARVO")));
    QCOMPARE(f.host.statuses.last(), f.exchange.versionText());
    const auto frames = f.sensor->receivedFrames();
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames[0].left(6).toHex(), QByteArray("005500320000"));
    QCOMPARE(frames[1].left(4).toHex(), QByteArray("00550007"));
}

void ExchangeTest::lineCheckOverSerialLine()
{
#ifdef Q_OS_UNIX
    sim::SimOptions o;
    o.pty = true;
    o.baudPacing = true;
    LinkFixture f(o);
    QVERIFY(f.connectSerial());
    f.exchange.CheckComLine();
    QCOMPARE(f.host.lineChecks, 1);
    Reply reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QCOMPARE(reply.words[1], std::uint16_t(5));

    // Bytes that arrive between exchanges are flushed before the next request.
    f.sensor->injectBytes(QByteArray(50, char(0x5A)));
    f.settle(100);
    reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QCOMPARE(reply.words[0], std::uint16_t(0x00AA));
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void ExchangeTest::identificationEndsAtFirstZeroByte()
{
    Identification id{};
    const char text[] = "ABC\0DEF";
    std::copy(text, text + sizeof text, id.begin());
    QCOMPARE(identificationText(id), QStringLiteral("ABC"));
    id.fill('x');  // no zero at all: 36 characters, no overrun
    QCOMPARE(identificationText(id).size(), 36);
    // Control characters never reach a terminal or a display, C1 (a CSI) included.
    const char controls[] = "A\x9b"
                            "2J\x1b\x85\xa0Z";
    std::copy(controls, controls + sizeof controls, id.begin());
    QCOMPARE(identificationText(id), QStringLiteral("A?2J??\u00a0Z"));
}

void ExchangeTest::parameterReadUnpacksIntoVariables()
{
    LinkFixture f;
    sim::ParamSet p = f.sensor->parameters();
    p[sim::Power] = 777;
    p[sim::Maxno] = 40;
    f.sensor->setParameters(p);
    QVERIFY(f.connectTcp());
    QVERIFY(f.exchange.fetchParameters(frame::ReadParams, 0, f.params));
    QCOMPARE(f.params.power, std::uint16_t(777));
    QCOMPARE(f.params.maxno, std::uint16_t(31));  // more rows than the table has
    QCOMPARE(f.host.timeouts, 0);
}

void ExchangeTest::echoComparesOnlyTheGivenWords()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults fault = faultOn(frame::WriteTeachRow);
    fault.corruptByte = 12;  // outside the six compared words
    f.sensor->setFaults(fault);
    QVERIFY(f.exchange.send({.code = frame::WriteTeachRow, .arg = 4, .echoWords = 6}));

    fault.corruptByte = 11;  // last compared byte
    f.sensor->setFaults(fault);
    QCOMPARE(f.exchange.send({.code = frame::WriteTeachRow, .arg = 4, .echoWords = 6}).fault,
             ExchangeFault::EchoMismatch);
    QCOMPARE(f.host.timeouts, 1);
    QCOMPARE(f.host.statuses.last(), QStringLiteral("TIMEOUT"));
}

void ExchangeTest::loopedBackFrameFailsTheEcho()
{
    LinkFixture f({}, shortReplyLimit());
    QVERIFY(f.connectTcp());
    sim::Faults fault = faultOn(frame::WriteParams);
    fault.corruptByte = 1;  // 0xAA becomes 0x55: our own frame seen again
    f.sensor->setFaults(fault);
    QVERIFY(!f.exchange.send({.code = frame::WriteParams, .echoWords = 18}));
    QVERIFY(f.exchange.strays() >= 1);  // passed over: no reply of the sensor's
    QCOMPARE(f.host.timeouts, 1);

    // The identification has no header: its own frame coming back is no
    // identification either, and says what the line is.
    sim::Faults echo = faultOn(frame::Identify);
    echo.echo = true;
    f.sensor->setFaults(echo);
    f.exchange.CheckComLine();
    QCOMPARE(f.host.lineChecks, 0);
    QCOMPARE(f.host.timeouts, 2);
    QVERIFY(f.exchange.loopedBack());
    QVERIFY2(f.exchange.lastWaitSeconds() < 1.0, "an echo needs no time limit to be told");
    const ConnectionFault told = connectionFault(f.link, f.exchange.lineCheckLimit());
    QCOMPARE(told.reason,
             QStringLiteral("the line sends back what it is sent: no sensor, a loop-back plug or a modem echo"));
    QVERIFY2(told.advice.startsWith(QStringLiteral("The line sends back what it is sent")), qPrintable(told.advice));
    f.sensor->setFaults({});
    f.exchange.CheckComLine();
    QCOMPARE(f.host.lineChecks, 1);
    QVERIFY(!f.exchange.loopedBack());
}

void ExchangeTest::writeCountOtherThan36IsATimeout()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    f.link.DisconnectFromTCPServer();  // the frame cannot go out
    QCOMPARE(f.exchange.send({.code = frame::ConfirmRefCalib, .echoWords = 5, .checkWritten = true}).fault,
             ExchangeFault::NotWritten);
    QCOMPARE(f.host.timeouts, 1);
    QCOMPARE(f.sensor->frameCount(), qint64(0));  // nothing waited for, nothing compared
}

void ExchangeTest::replyAt2900msIsAcceptedAndMissingReplyTimesOutAt3s()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults slow;
    slow.delayMs = 2900;
    f.sensor->setFaults(slow);
    QVERIFY(f.measurement());
    QVERIFY(f.exchange.lastWaitSeconds() > 2.85);

    sim::Faults silent;
    silent.dropReplies = 1;
    f.sensor->setFaults(silent);
    QVERIFY(!f.measurement());
    const double waited = f.exchange.lastWaitSeconds();
    QVERIFY2(waited > 3.0 && waited < 3.5, qPrintable(QString::number(waited)));
    f.exchange.SetPopupTimeout();
    QCOMPARE(f.host.timeouts, 1);
    // The next reply of command 5 is taken for the one owed: a lost reply
    // costs one more timeout, never a value given to the wrong request.
    // The limits above were the real ones; what follows needs none of them.
    ExchangeOptions shorter = shortReplyLimit();
    shorter.lateWindow = 0.2;
    f.exchange.setOptions(shorter);
    QVERIFY(!f.measurement());
    QVERIFY(f.measurement());  // the link stays usable
}

void ExchangeTest::shortOrLongRepliesOverSerialAreTimeouts_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("complete");
    QTest::newRow("35 bytes") << 35 << false;
    QTest::newRow("36 bytes") << 36 << true;
    QTest::newRow("37 bytes: a whole reply, one byte behind it") << 37 << true;
}

void ExchangeTest::shortOrLongRepliesOverSerialAreTimeouts()
{
#ifdef Q_OS_UNIX
    QFETCH(int, length);
    QFETCH(bool, complete);
    sim::SimOptions o;
    o.pty = true;
    LinkFixture f(o, shortReplyLimit());
    QVERIFY(f.connectSerial());
    sim::Faults fault;
    fault.replyLength = length;
    fault.delayMs = 20;  // the whole reply is queued when the wait looks
    f.sensor->setFaults(fault);
    QCOMPARE(f.measurement(), complete);
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void ExchangeTest::replyInPiecesOverTcpIsAssembledInOrder()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    // The reply is written by hand in three pieces.
    sim::Faults silent = faultOn(frame::ReadMeasurement);
    silent.dropReplies = 1;
    f.sensor->setFaults(silent);
    QByteArray reply(36, '\0');
    for (int i = 0; i < 36; ++i)
        reply[i] = static_cast<char>(i + 1);
    reply[0] = 0;
    reply[1] = char(0xAA);
    reply[2] = 0;
    reply[3] = frame::ReadMeasurement;
    QTimer::singleShot(20, [&] { f.sensor->injectBytes(reply.left(5)); });
    QTimer::singleShot(60, [&] { f.sensor->injectBytes(reply.mid(5, 20)); });
    QTimer::singleShot(100, [&] { f.sensor->injectBytes(reply.mid(25)); });
    const Reply got = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(got);
    QCOMPARE(bytesOf(got), reply);
}

void ExchangeTest::surplusAndIdleBytesOverTcpAreDropped()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    f.sensor->injectBytes(QByteArray(100, char(0x77)));  // nobody waits for these
    f.settle();
    sim::Faults longReply;
    longReply.replyLength = 40;
    f.sensor->setFaults(longReply);
    Reply reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QCOMPARE(reply.words[0], std::uint16_t(0x00AA));
    f.settle();
    f.sensor->setFaults({});
    reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QCOMPARE(reply.words[0], std::uint16_t(0x00AA));
    QCOMPARE(reply.words[1], std::uint16_t(5));
}

void ExchangeTest::automaticFramesInOneBurstAreAllReceived()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    QByteArray burst;
    for (int n = 1; n <= 3; ++n) {
        QByteArray frame(36, '\0');
        frame[1] = char(0xAA);
        frame[3] = 5;
        frame[5] = char(n);  // CH_REF tells the frames apart
        burst += frame;
    }
    std::uint16_t running = 1;
    AutoFrameReader& reader = f.exchange.autoFrames();
    reader.begin();
    QTimer::singleShot(20, [&] { f.sensor->injectBytes(burst); });
    QList<int> chRef;
    while (chRef.size() < 3 && reader.wait(running))
        reader.takeAll([&](const FrameWords& w) { chRef << w[2]; });
    QCOMPARE(chRef, (QList<int>{1, 2, 3}));
    // Automatic sending ends: nothing of it is taken as the next reply.
    f.exchange.StopAutoSend();
    const Reply reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QCOMPARE(reply.words[1], std::uint16_t(5));
    QVERIFY(reply.words[2] != 3);
}

void ExchangeTest::framesBehindRepliesReachTheReaderWhateverTheReads_data()
{
    addLineRows();
}

void ExchangeTest::framesBehindRepliesReachTheReaderWhateverTheReads()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, line);
    LinkFixture f(lineOptions(line));
    QVERIFY(line ? f.connectSerial() : f.connectTcp());
    AutoFrameReader& reader = f.exchange.autoFrames();
    // The line check during automatic reception: the identification, then
    // the parameter block, each with a part's frame behind it. The write is
    // cut nowhere (reply and frame in one read), or at any byte of the two.
    // The paced line splits its reads at every few bytes anyway: there the
    // cuts next to the frames' ends and one inside each frame are enough.
    QList<int> cuts;
    for (int cut = 0; cut < 2 * frame::kBytes; ++cut)
        cuts << cut;
    if (line)
        cuts = {0, 1, 2, 18, 34, 35, 36, 37, 54, 70, 71};
    for (const int cut : cuts) {
        sim::Faults behind;
        behind.frameBehind = true;
        behind.splitAt = cut;
        behind.splitGapMs = 5;
        f.sensor->setFaults(behind);
        reader.begin();
        const long strays = f.exchange.strays();
        QVERIFY2(f.exchange.QueryIdentification(true), qPrintable(QStringLiteral("cut %1").arg(cut)));
        QVERIFY(f.exchange.versionText().startsWith(QStringLiteral("TARVO")));
        const Reply reply = f.exchange.request(frame::ReadParams, 0, true);
        QVERIFY(reply);
        QCOMPARE(reply.words[1], std::uint16_t(frame::ReadParams));
        std::uint16_t running = 1;
        while (reader.queued() < 2 && reader.waitUntil(running, f.pump.now() + 2.0) == AutoFrameReader::WaitEnd::Frames)
            ;
        QVERIFY2(reader.queued() == 2, qPrintable(QStringLiteral("cut %1: %2 frames").arg(cut).arg(reader.queued())));
        QCOMPARE(reader.counts().skippedBytes, 0L);
        QCOMPARE(reader.counts().cutFrames, 0L);
        QCOMPARE(f.exchange.strays(), strays);
        reader.end();
    }
    QCOMPARE(f.host.timeouts, 0);
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void ExchangeTest::replyLateBeyondItsHoldOffIsNotTakenForTheNext_data()
{
    addLineRows();
}

void ExchangeTest::replyLateBeyondItsHoldOffIsNotTakenForTheNext()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, line);
    LinkFixture f(lineOptions(line), shortReplyLimit());
    QList<QByteArray> replies;
    QObject::connect(f.sensor.get(), &sim::SensorSim::bytesSent, f.sensor.get(),
                     [&](const QByteArray& bytes) { replies << bytes; });
    QVERIFY(line ? f.connectSerial() : f.connectTcp());
    // The reply comes 1.1 s after its time limit, when the hold-off for owed
    // replies has ended and the next request is on its way.
    sim::Faults late = faultOn(frame::ReadMeasurement);
    late.delayMs = 500 + 1100;
    f.sensor->setFaults(late);
    f.sensor->setGloss(100);
    QVERIFY(!f.measurement());
    f.sensor->setFaults({});
    f.sensor->setGloss(50);  // the next reply's values differ
    const Reply reply = f.exchange.request(frame::ReadMeasurement);
    QVERIFY(reply);
    QCOMPARE(replies.size(), 2);
    QVERIFY(replies[0] != replies[1]);
    QCOMPARE(bytesOf(reply), replies[1]);
    // The owed reply is paid: the next request is answered at once.
    QVERIFY(f.measurement());
    QVERIFY(f.exchange.lastWaitSeconds() < 1.0);
    QCOMPARE(f.host.timeouts, 0);  // measurement() leaves the reaction to its caller
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void ExchangeTest::timeoutClearsPollingLoopsAndReportsOnce()
{
    LinkFixture f;
    f.flags.poll = f.flags.pollrecord = 1;
    f.flags.pollmonitor = 1;
    f.exchange.SetPopupTimeout();
    QCOMPARE(f.flags.poll, std::uint16_t(0));
    QCOMPARE(f.flags.pollrecord, std::uint16_t(0));
    QCOMPARE(f.flags.pollmonitor, std::uint16_t(1));  // the monitor has its own ending
    QCOMPARE(f.host.statuses, QStringList{QStringLiteral("TIMEOUT")});
    QCOMPARE(f.host.timeouts, 1);
}

void ExchangeTest::serverClosingMidExchangeIsReportedOnceThenReconnectWorks()
{
    LinkFixture f;
    QVERIFY(f.connectTcp());
    sim::Faults closing;
    closing.closeAfterFrames = 1;
    closing.dropReplies = 1;
    f.sensor->setFaults(closing);
    QVERIFY(!f.measurement());
    f.settle();
    QCOMPARE(f.host.messages, QStringList{QStringLiteral("TCP Client|Server has closed connection!")});
    QVERIFY(!f.link.tcpConnected());
    QVERIFY(!f.measurement());  // nothing to talk to: a timeout, no second message
    QCOMPARE(f.host.messages.size(), 1);

    f.sensor->setFaults({});
    QVERIFY(f.connectTcp());
    QVERIFY(f.measurement());
}

void ExchangeTest::failedConnectLeavesLinkClosedWithTableText()
{
    LinkFixture f;
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    ConnectionSettings where;
    where.comprotocol = TCPIP;
    where.ipBuf = QStringLiteral("127.0.0.1");
    where.portNumStr = QString::number(closedPort);
    f.link.Connect(where);
    QCOMPARE(f.link.openResult(), std::int16_t(-4));
    QCOMPARE(f.link.statusText(), QStringLiteral("FailedToConnect"));
    QVERIFY(!f.link.tcpConnected());
    // The status the user sees says it in words.
    QCOMPARE(f.host.statuses.last(), QStringLiteral("connection refused"));

    where.portNumStr = QStringLiteral("none");  // a port text without digits
    f.link.Connect(where);
    QCOMPARE(f.link.statusText(), QStringLiteral("InvalidParameter"));
    QCOMPARE(f.host.statuses.last(), QStringLiteral("port number must be 1 to 65535"));
    QCOMPARE(f.sensor->frameCount(), qint64(0));
}

void ExchangeTest::serialPortThatCannotBeOpened()
{
    LinkFixture f;
    setSerialPortResolver([](int n) {
        return SerialDevice{n == 2 ? QStringLiteral("/nonexistent/ttyTARVO") : QString(), QString()};
    });
    f.flags.poll = f.flags.pollrecord = 1;
    ConnectionSettings where;
    where.comprotocol = RS232;
    where.comport = 2;
    f.link.Connect(where);
    QVERIFY(f.link.openResult() < 0);
    QCOMPARE(f.flags.poll, std::uint16_t(0));
    QCOMPARE(f.flags.pollrecord, std::uint16_t(0));
    QCOMPARE(f.host.statuses.last(), f.link.statusText());

    where.comport = 9;  // no device behind the number
    f.link.Connect(where);
    QCOMPARE(f.link.openResult(), std::int16_t(-2));
    QCOMPARE(f.link.statusText(), QStringLiteral("Invalid port number"));
    QVERIFY(!f.measurement());  // writing to a closed port: a plain timeout, no crash
}

void ExchangeTest::statusTexts_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("rs -4") << false << -4 << "Unknown I/0 error";
    QTest::newRow("rs -6") << false << -6 << "No serial port found";
    QTest::newRow("rs -99") << false << -99 << "Timeout";
    QTest::newRow("rs other") << false << -42 << "RS-232 error!";
    QTest::newRow("tcp -11") << true << -11 << "TimeOutError ";
    QTest::newRow("tcp -12") << true << -12 << "NoConnectionEstablished ";
    QTest::newRow("tcp -17") << true << -17 << "NetworkSubsystemNotReady ";
    QTest::newRow("tcp -20") << true << -20 << "InfoNotAvailable";
    QTest::newRow("tcp other") << true << -21 << "Connection to server failed";
}

void ExchangeTest::statusTexts()
{
    QFETCH(bool, tcp);
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(tcp ? tcpStatusText(code) : rs232StatusText(code), text);
}

QTEST_MAIN(ExchangeTest)
#include "tst_exchange.moc"
