// The parameter set's packing and its transfers to and from the simulated
// sensor: the frames on the wire, where a failure stops each sequence, and
// what the variables and the sensor hold afterwards.
#include "exchangewaits.h"
#include "linkfixture.h"
#include "paramtransfer.h"

#include <QtTest>

using namespace tarvo;

namespace {
struct PanelStub : ParamTransferHost {
    int reads = 0, shows = 0;
    void GetPanelValues() override { ++reads; }
    void ShowFetchedParameters() override { ++shows; }
};

struct Fixture : test::LinkFixture {
    using LinkFixture::LinkFixture;
    PanelStub panel;
    ParamTransfer transfer{exchange, link, flags, params, pump, panel};
};

quint16 word(const QByteArray& frame, int i)
{
    return frame::getWord(reinterpret_cast<const quint8*>(frame.data()), i);
}

// Gloss mode, power 321, maxno 7, row r = (r + 0.5, 2, 3, 0).
void fillGlossSet(ParameterSet& p)
{
    p.power = 321, p.evalmode = 1, p.maxno = 7, p.digitalout = 1;
    for (int r = 0; r < kTeachRows; ++r)
        p.cttDouble[r] = {r + 0.5, 2.0, 3.0, 0.0};
}

sim::Faults badEchoOf(int command, int afterFrames)
{
    sim::Faults f;
    f.onlyCommand = command;
    f.afterFrames = afterFrames;
    f.corruptByte = 3;  // the echoed code, compared by every echo check
    return f;
}
}  // namespace

class ParamTransferTest : public QObject {
    Q_OBJECT
private slots:
    void teachValuesPackByEvalmode_data();
    void teachValuesPackByEvalmode();
    void repliesFromElsewhereOrBeyondTheTableChangeNothing();
    void sendPutsParametersAndRowsOnTheWire_data();
    void sendPutsParametersAndRowsOnTheWire();
    void sendStopsAtTheFirstFailedEcho_data();
    void sendStopsAtTheFirstFailedEcho();
    void getReadsParametersAndRows_data();
    void getReadsParametersAndRows();
    void getAfterParameterTimeoutMakesExactlyOneMoreExchange();
    void roundTripOverSerialLineFlushesStrayBytes();
};

void ParamTransferTest::teachValuesPackByEvalmode_data()
{
    QTest::addColumn<int>("evalmode");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("word");
    QTest::addColumn<double>("readBack");
    QTest::newRow("gloss truncates tenths") << 1 << 12.37 << 123 << 12.3;
    QTest::newRow("vector truncates fraction") << 0 << 12.37 << 12 << 12.0;
    // 2.3 * 10 is 22.999... in binary; a fetched 2.3 must go back as 23.
    QTest::newRow("gloss fetched value unchanged") << 1 << 2.3 << 23 << 2.3;
    QTest::newRow("negative clamps to 0") << 1 << -4.0 << 0 << 0.0;
    QTest::newRow("too large clamps") << 0 << 70000.0 << 65535 << 65535.0;
}

void ParamTransferTest::teachValuesPackByEvalmode()
{
    QFETCH(int, evalmode);
    QFETCH(double, value);
    QFETCH(int, word);
    QFETCH(double, readBack);
    ParameterSet p;
    p.evalmode = static_cast<std::uint16_t>(evalmode);
    p.cttDouble[30][3] = value;
    p.CopyVarsToPP();
    QCOMPARE(int(p.pp[kBlockWords - 1]), word);
    p.pp = {0x00AA, 4, 30, 0, 0, 0, static_cast<std::uint16_t>(word)};  // the reply to command 4, row 30
    p.CopyPPtoVars();
    QCOMPARE(p.cttDouble[30][3], readBack);
}

void ParamTransferTest::repliesFromElsewhereOrBeyondTheTableChangeNothing()
{
    ParameterSet p;
    p.power = 5;
    p.cttDouble[0][0] = 9;
    p.pp = {0x0055, 3, 777};  // our own frame looped back
    p.CopyPPtoVars();
    p.pp = {0x00AA, 4, 31, 1, 2, 3, 4};  // row 31 does not exist
    p.CopyPPtoVars();
    // No number format: the table is left alone, and the words the sensor
    // reported go back as they came.
    p.evalmode = 2;
    p.pp = {0x00AA, 4, 0, 1, 2, 3, 4};
    p.CopyPPtoVars();
    p.pp[16] = 1234;
    p.CopyVarsToPP();
    QCOMPARE(p.power, std::uint16_t(5));
    QCOMPARE(p.cttDouble[0][0], 9.0);
    QCOMPARE(p.pp[16], std::uint16_t(1));
    QCOMPARE(p.pp[19], std::uint16_t(4));
}

void ParamTransferTest::sendPutsParametersAndRowsOnTheWire_data()
{
    QTest::addColumn<int>("target");
    QTest::newRow("RAM") << int(RAM);
    QTest::newRow("EEPROM") << int(EEPROM);
}

void ParamTransferTest::sendPutsParametersAndRowsOnTheWire()
{
    QFETCH(int, target);
    Fixture f;
    QVERIFY(f.connectTcp());
    const sim::EepromImage before = f.sensor->eeprom();
    fillGlossSet(f.params);
    f.params.target = static_cast<std::uint16_t>(target);
    f.flags.poll = 1;

    QVERIFY(f.transfer.SendPara());
    QCOMPARE(f.flags.poll, std::uint16_t(0));
    QCOMPARE(f.panel.reads, 1);
    const auto sent = f.sensor->receivedFrames();
    QCOMPARE(sent.size(), target == EEPROM ? 33 : 32);
    QCOMPARE(sent[0].left(6).toHex(), QByteArray("005500010141"));  // command 1, power 321
    QCOMPARE(word(sent[0], 8), quint16(7));
    for (int r = 0; r < kTeachRows; ++r) {
        QCOMPARE(word(sent[1 + r], 1), quint16(2));
        QCOMPARE(word(sent[1 + r], 2), quint16(r));
        QCOMPARE(word(sent[1 + r], 3), quint16(10 * r + 5));  // tenths in gloss mode
    }
    QCOMPARE(f.sensor->teachTable()[30], (sim::TeachRow{305, 20, 30, 0}));
    if (target == EEPROM) {
        QCOMPARE(word(sent.last(), 1), quint16(6));
        QCOMPARE(f.sensor->eeprom().params[sim::Power], quint16(321));
    } else {
        QVERIFY(f.sensor->eeprom() == before);
    }
    QCOMPARE(f.host.timeouts, 0);
}

void ParamTransferTest::sendStopsAtTheFirstFailedEcho_data()
{
    QTest::addColumn<int>("failCommand");
    QTest::addColumn<int>("afterFrames");  // frames answered well before it
    QTest::addColumn<int>("rowsAcknowledged");
    QTest::addColumn<bool>("lineDropped");  // the connection closes when row 12 arrives
    QTest::addColumn<QString>("mixedSet");  // the set the sensor holds after the cut; empty: no cut
    const QString at12 = QStringLiteral("the new parameters and teach rows 0-11; teach row 12 perhaps; teach rows "
                                        "13-30 as before; nothing stored in the EEPROM");
    QTest::newRow("parameters") << 1 << 0 << 0 << false << QString();
    QTest::newRow("teach row 12") << 2 << 13 << 12 << false << at12;
    QTest::newRow("teach row 12, connection closed") << 2 << 13 << 12 << true << at12;
    QTest::newRow("EEPROM store") << 6 << 32 << 31 << false << QString();
}

void ParamTransferTest::sendStopsAtTheFirstFailedEcho()
{
    QFETCH(int, failCommand);
    QFETCH(int, afterFrames);
    QFETCH(int, rowsAcknowledged);
    QFETCH(bool, lineDropped);
    QFETCH(QString, mixedSet);
    Fixture f;
    QVERIFY(f.connectTcp());
    const sim::EepromImage before = f.sensor->eeprom();
    fillGlossSet(f.params);
    f.params.target = EEPROM;
    if (lineDropped)
        QObject::connect(f.sensor.get(), &sim::SensorSim::frameReceived, f.sensor.get(), [&](const QByteArray& fr) {
            if (word(fr, 1) == frame::WriteTeachRow && word(fr, 2) == 12)
                f.sensor->dropConnection();
        });
    else
        f.sensor->setFaults(badEchoOf(failCommand, afterFrames));
    // The wait ends when the sensor gets the failing request; in the first
    // row only once its bad echo has been read and passed over, so that the
    // echo is seen not to end the wait.
    if (failCommand == 1)
        tarvo::test::expireOncePassedOver(f.sensor.get(), f.pump, f.exchange);
    else
        f.expireAtFrame(afterFrames + 1);

    QVERIFY(!f.transfer.SendPara());
    QCOMPARE(f.sensor->receivedFrames().size(), afterFrames + 1);
    QCOMPARE(f.transfer.lastCut() ? describeCutWrite(*f.transfer.lastCut(), 0) : QString(), mixedSet);
    QCOMPARE(f.host.timeouts, 1);
    QCOMPARE(f.host.statuses.last(), QStringLiteral("TIMEOUT"));
    for (int r = 0; r < rowsAcknowledged; ++r)
        QCOMPARE(f.sensor->teachTable()[r][0], quint16(10 * r + 5));
    if (failCommand != 6)  // no later row, no store; a bad store echo still reports
        QVERIFY(f.sensor->eeprom() == before && f.sensor->teachTable()[13] == before.teach[13]);
}

void ParamTransferTest::getReadsParametersAndRows_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QList<int>>("firstCodes");
    QTest::addColumn<int>("power");
    QTest::addColumn<double>("row3");
    QTest::addColumn<int>("shows");
    QTest::newRow("RAM") << int(RAM) << QList<int>{3, 4} << 640 << 55.5 << 1;
    QTest::newRow("EEPROM loads first") << int(EEPROM) << QList<int>{8, 3, 4} << 500 << 70.0 << 1;
    QTest::newRow("EEPROM load fails") << int(EEPROM) << QList<int>{8} << 0 << 0.0 << 0;
}

void ParamTransferTest::getReadsParametersAndRows()
{
    QFETCH(int, source);
    QFETCH(QList<int>, firstCodes);
    QFETCH(int, power);
    QFETCH(double, row3);
    QFETCH(int, shows);
    Fixture f;
    sim::ParamSet p = f.sensor->parameters();  // the EEPROM holds power 500, row 3 = 70.0
    p[sim::Power] = 640, p[sim::Maxno] = 40, p[sim::Evalmode] = 1;
    f.sensor->setParameters(p);
    f.sensor->setTeachRow(3, {555, 20, 30, 0});
    QVERIFY(f.connectTcp());
    f.params.target = static_cast<std::uint16_t>(source);
    if (shows == 0) {
        f.sensor->setFaults(badEchoOf(8, 0));
        f.expireAtFrame(1);
    }

    QCOMPARE(f.transfer.GetPara(), shows == 1);
    const auto sent = f.sensor->receivedFrames();
    QCOMPARE(sent.size(), shows == 0 ? 1 : firstCodes.size() + 30);
    for (int i = 0; i < firstCodes.size(); ++i)
        QCOMPARE(int(word(sent[i], 1)), firstCodes[i]);
    QCOMPARE(int(f.params.power), power);
    QCOMPARE(f.params.cttDouble[3][0], row3);
    QCOMPARE(f.panel.shows, shows);
    if (source == RAM)
        QCOMPARE(f.params.maxno, std::uint16_t(31));  // 40 is more rows than the table has
}

void ParamTransferTest::getAfterParameterTimeoutMakesExactlyOneMoreExchange()
{
    Fixture f;
    f.sensor->setTeachRow(0, {20, 0, 0, 0});
    QVERIFY(f.connectTcp());
    f.params.power = 11;
    f.params.evalmode = 1;
    sim::Faults drop;
    drop.onlyCommand = 3;
    drop.dropReplies = 1;
    f.sensor->setFaults(drop);
    f.expireAtFrame(1);

    QVERIFY(!f.transfer.GetPara());
    const auto sent = f.sensor->receivedFrames();
    QCOMPARE(sent.size(), 2);
    QCOMPARE(word(sent[1], 1), quint16(4));
    QCOMPARE(f.params.power, std::uint16_t(11));  // the parameters keep their values
    QCOMPARE(f.params.cttDouble[0][0], 2.0);      // row 0 came in
    QCOMPARE(f.panel.shows, 0);                   // the panel is not refreshed
    QCOMPARE(f.host.timeouts, 1);
}

void ParamTransferTest::roundTripOverSerialLineFlushesStrayBytes()
{
#ifdef Q_OS_UNIX
    sim::SimOptions o;
    o.pty = true;
    Fixture f(o);
    QVERIFY(f.connectSerial());
    fillGlossSet(f.params);
    QVERIFY(f.transfer.SendPara());
    f.sensor->injectBytes(QByteArray(20, char(0x5A)));  // noise on the line between transfers
    f.settle(100);
    f.params = ParameterSet{};
    QVERIFY(f.transfer.GetPara());
    QCOMPARE(f.params.power, std::uint16_t(321));
    QCOMPARE(f.params.cttDouble[30][0], 30.5);
    QCOMPARE(f.host.timeouts, 0);
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

QTEST_MAIN(ParamTransferTest)
#include "tst_paramtransfer.moc"
