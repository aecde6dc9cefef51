// The simulated sensor seen from the wire, as the programs see it: raw frames
// over TCP loopback and over the pseudo-terminal.

#include "frame.h"
#include "ptychannel.h"
#include "sensorsim.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <initializer_list>
#include <memory>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

using namespace tarvo;
using namespace tarvo::sim;

namespace {

QByteArray makeFrame(quint16 command, std::initializer_list<quint16> words = {})
{
    QByteArray f(frame::kBytes, '\0');
    auto* b = reinterpret_cast<quint8*>(f.data());
    frame::putWord(b, 0, frame::kSyncPc);
    frame::putWord(b, 1, command);
    int i = 2;
    for (quint16 w : words)
        frame::putWord(b, i++, w);
    return f;
}

quint16 word(const QByteArray& bytes, int i)
{
    return frame::getWord(reinterpret_cast<const quint8*>(bytes.constData()), i);
}

ParamSet paramsOf(const QByteArray& reply, int first)
{
    ParamSet p{};
    for (int i = 0; i < kParamCount; ++i)
        p[i] = word(reply, first + i);
    return p;
}

QByteArray paramFrame(const ParamSet& p)
{
    QByteArray f = makeFrame(frame::WriteParams);
    for (int i = 0; i < kParamCount; ++i)
        frame::putWord(reinterpret_cast<quint8*>(f.data()), 2 + i, p[i]);
    return f;
}

// Common test parameter set: static power, gloss mode, continuous trigger.
ParamSet testParams(quint16 power = 500)
{
    ParamSet p = EepromImage::factoryDefaults().params;
    p[Power] = power;
    return p;
}

// Like QTest::qWaitFor, but looks every millisecond: exchanges take about
// that long, and the tests make hundreds of them.
template <typename Pred>
bool waitFor(Pred done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QCoreApplication::processEvents();
        if (done())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(1);
    }
}

// A byte-stream peer: the PC's end of a TCP connection or of the pty.
class Peer {
public:
    virtual ~Peer() = default;
    virtual void write(const QByteArray& bytes) = 0;

    // Waits until n bytes have arrived and takes them.
    QByteArray read(int n, int timeoutMs = 2000)
    {
        (void)waitFor(
            [&] {
                pump();
                return m_in.size() >= n;
            },
            timeoutMs);
        QByteArray head = m_in.left(n);
        m_in.remove(0, head.size());
        return head;
    }
    QByteArray exchange(const QByteArray& request, int n = frame::kBytes)
    {
        write(request);
        return read(n);
    }
    // Everything that arrives within ms milliseconds.
    QByteArray drain(int ms)
    {
        QTest::qWait(ms);
        pump();
        QByteArray all = m_in;
        m_in.clear();
        return all;
    }

protected:
    virtual void pump() = 0;
    QByteArray m_in;
};

class TcpPeer final : public Peer {
public:
    explicit TcpPeer(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        (void)waitFor([&] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 2000);
    }
    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    bool waitClosed(int ms)
    {
        return waitFor([&] { return m_socket.state() == QAbstractSocket::UnconnectedState; }, ms);
    }
    void write(const QByteArray& bytes) override { m_socket.write(bytes); }

private:
    void pump() override { m_in += m_socket.readAll(); }
    QTcpSocket m_socket;
};

#if defined(Q_OS_UNIX)
class PtyPeer final : public Peer {
public:
    explicit PtyPeer(const QString& path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~PtyPeer() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    void write(const QByteArray& bytes) override
    {
        QVERIFY(::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size());
    }

private:
    void pump() override
    {
        char buf[1024];
        ssize_t n;
        while ((n = ::read(m_fd, buf, sizeof buf)) > 0)
            m_in.append(buf, n);
    }
    int m_fd = -1;
};
#endif

}  // namespace

class TestSensorSim : public QObject {
    Q_OBJECT

private:
    // A started simulator with noise switched off unless asked for.
    std::unique_ptr<SensorSim> startSim(SimOptions o = {})
    {
        if (o.noise == SimOptions{}.noise)
            o.noise = 0;
        auto sim = std::make_unique<SensorSim>(o);
        QString error;
        if (!sim->start(&error))
            qWarning() << error;
        return sim;
    }

private slots:
    void identification_data();
    void identification();
    void parametersWriteAndRead();
    void teachRows();
    void eepromStoreLoadAndRestart();
    void measurementFrame();
    void vectorEvaluation();
    void referenceCalibrationConverges_data();
    void referenceCalibrationConverges();
    void calibrationTableAppliedWithBias();
    void profileBlocks();
    void splitAndGluedFrames();
    void junkIsSkippedAndCounted();
    void randomInputNeverBreaksTheSensor();
    void faultDropsReplies();
    void faultDelay();
    void faultCorruptsEchoByte();
    void faultReplyLength_data();
    void faultReplyLength();
    void faultJunkBeforeReply();
    void faultOnlyAfterFrames();
    void faultClosesConnection();
    void newClientReplacesOld();
    void autoSendOnAndOff();
    void autoSendEchoOption();
    void colourFactorTables();
    void ptyExchange();
    void ptyBaudPacing();
    void ptyCloseFaultSilencesLine();
    void programPrintsPortAndStopsOnSignal();
};

void TestSensorSim::identification_data()
{
    QTest::addColumn<bool>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("gloss") << false << "TARVO GLOSS SENSOR V4.3 SIM";
    QTest::newRow("colour") << true << "TARVO RGB SENSOR V4.3 SIM";
}

void TestSensorSim::identification()
{
    QFETCH(bool, colour);
    QFETCH(QString, text);
    SimOptions o;
    o.colour = colour;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    const QByteArray reply = pc.exchange(makeFrame(frame::Identify));
    QCOMPARE(reply.size(), 36);
    // Text from byte 0 on, no header, zero padded.
    QCOMPARE(QString::fromLatin1(reply.constData()), text);
    QCOMPARE(reply.mid(text.size()), QByteArray(36 - text.size(), '\0'));
}

void TestSensorSim::parametersWriteAndRead()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    const ParamSet p = {700, 1, 64, 0, 20, 150, 12, 1, 1, 0, 5, 900, 1, 1200, 15, 85};
    const QByteArray request = paramFrame(p);
    const QByteArray echo = pc.exchange(request);
    QCOMPARE(word(echo, 0), quint16(0x00AA));
    QCOMPARE(echo.mid(2), request.mid(2));
    QCOMPARE(sim->parameters(), p);

    const QByteArray read = pc.exchange(makeFrame(frame::ReadParams));
    QCOMPARE(word(read, 0), quint16(0x00AA));
    QCOMPARE(word(read, 1), quint16(3));
    QCOMPARE(paramsOf(read, 2), p);
}

void TestSensorSim::teachRows()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    for (quint16 row : {0, 17, 30}) {
        const QByteArray request = makeFrame(frame::WriteTeachRow, {row, quint16(100 + row), 25, 2000, 100});
        QCOMPARE(pc.exchange(request).mid(2), request.mid(2));
    }
    const TeachTable before = sim->teachTable();
    const QByteArray outside = makeFrame(frame::WriteTeachRow, {31, 1, 2, 3, 4});
    QCOMPARE(pc.exchange(outside).mid(2), outside.mid(2));  // echoed ...
    QCOMPARE(sim->teachTable(), before);                    // ... not stored

    const QByteArray row17 = pc.exchange(makeFrame(frame::ReadTeachRow, {17}));
    QCOMPARE(word(row17, 1), quint16(4));
    QCOMPARE(word(row17, 2), quint16(17));
    QCOMPARE((QList<quint16>{word(row17, 3), word(row17, 4), word(row17, 5), word(row17, 6)}),
             (QList<quint16>{117, 25, 2000, 100}));
    const QByteArray row31 = pc.exchange(makeFrame(frame::ReadTeachRow, {31}));
    QCOMPARE(word(row31, 2), quint16(31));
    QCOMPARE(row31.mid(6), QByteArray(30, '\0'));
}

void TestSensorSim::eepromStoreLoadAndRestart()
{
    QTemporaryDir dir;
    SimOptions o;
    o.eepromPath = dir.filePath("eeprom.txt");
    const ParamSet stored = testParams(640);
    {
        auto sim = startSim(o);
        TcpPeer pc(sim->tcpPort());
        pc.exchange(paramFrame(stored));
        pc.exchange(makeFrame(frame::WriteTeachRow, {3, 555, 20, 30, 0}));
        const QByteArray store = makeFrame(frame::StoreEeprom, {640});
        QCOMPARE(pc.exchange(store).mid(2), store.mid(2));
        QCOMPARE(sim->eeprom().params, stored);

        // A later change of the working set is undone by loading the EEPROM.
        pc.exchange(paramFrame(testParams(100)));
        const QByteArray load = makeFrame(frame::LoadEeprom);
        QCOMPARE(pc.exchange(load).mid(2), load.mid(2));
        QCOMPARE(paramsOf(pc.exchange(makeFrame(frame::ReadParams)), 2), stored);

        pc.exchange(makeFrame(frame::ConfirmRefCalib, {771, 3470, 3855}));
        pc.exchange(makeFrame(frame::WriteCalibRow, {76, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
        QVERIFY(QFile::exists(o.eepromPath));
    }
    // Power cycle: the working set comes from the EEPROM file.
    auto sim = startSim(o);
    QCOMPARE(sim->parameters(), stored);
    QCOMPARE(sim->teachTable()[3], (TeachRow{555, 20, 30, 0}));
    QCOMPARE(sim->calibration(), (RefCalibration{771, 3470, 3855}));
    QCOMPARE(sim->calibTable()[988], quint16(1));
    QCOMPARE(sim->calibTable()[1000], quint16(13));
    QCOMPARE(sim->calibTable()[987], EepromImage::factoryDefaults().calibTable[987]);

    // A store the file does not take (its folder is a file here; a full disk
    // alike) is not acknowledged, so the PC does not report it as stored.
    SimOptions blocked;
    blocked.eepromPath = o.eepromPath + QStringLiteral("/eeprom.txt");
    auto failing = startSim(blocked);
    TcpPeer pc(failing->tcpPort());
    pc.write(makeFrame(frame::StoreEeprom, {640}));
    const QByteArray read = makeFrame(frame::ReadParams);
    QCOMPARE(pc.exchange(read).mid(2, 2), read.mid(2, 2));  // the first reply is the next request's
}

void TestSensorSim::measurementFrame()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    pc.exchange(paramFrame(testParams(600)));
    const QByteArray m = pc.exchange(makeFrame(frame::ReadMeasurement));
    QCOMPARE(word(m, 0), quint16(0x00AA));
    QCOMPARE(word(m, 1), quint16(5));
    const quint16 ref = word(m, 2), dir = word(m, 3), dif = word(m, 4);
    QCOMPARE(ref, quint16(3000));  // follows the power
    QCOMPARE(dir, quint16(2700));  // gloss-100 target
    QVERIFY(dif > 0 && dif < dir);
    QCOMPARE(word(m, 5), quint16(dir * 1000 / (dir + dif)));
    QCOMPARE(word(m, 6), quint16((dir + dif) / 2));
    QVERIFY2(word(m, 10) > 950 && word(m, 10) < 1000, "uncalibrated GF reads a little low");
    QCOMPARE(word(m, 7), word(m, 10));  // bias off
    QVERIFY(word(m, 9) > 200 && word(m, 9) < 400);
    QCOMPARE(m.mid(24), QByteArray(12, '\0'));

    // Above the power where the 12-bit converter saturates.
    pc.exchange(paramFrame(testParams(1000)));
    QCOMPARE(word(pc.exchange(makeFrame(frame::ReadMeasurement)), 2), quint16(4095));
}

void TestSensorSim::vectorEvaluation()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    ParamSet p = testParams(500);
    p[Evalmode] = 0;
    p[Maxno] = 5;
    pc.exchange(paramFrame(p));
    const QByteArray m = pc.exchange(makeFrame(frame::ReadMeasurement));
    const quint16 norm = word(m, 5), intensity = word(m, 6);

    pc.exchange(makeFrame(frame::WriteTeachRow, {0, quint16(norm + 40), 25, intensity, 100}));  // NORM off
    pc.exchange(makeFrame(frame::WriteTeachRow, {1, quint16(norm - 20), 25, quint16(intensity + 90), 100}));
    QCOMPARE(word(pc.exchange(makeFrame(frame::ReadMeasurement)), 8), quint16(1));

    // Rows from maxno on are not checked.
    p[Maxno] = 1;
    pc.exchange(paramFrame(p));
    QCOMPARE(word(pc.exchange(makeFrame(frame::ReadMeasurement)), 8), quint16(255));

    // Intensity below the limit: error state.
    p[Maxno] = 5;
    p[Intlim] = quint16(intensity + 1);
    pc.exchange(paramFrame(p));
    QCOMPARE(word(pc.exchange(makeFrame(frame::ReadMeasurement)), 8), quint16(255));

    // Gloss mode: GF and tolerance in tenths.
    p[Evalmode] = 1;
    pc.exchange(paramFrame(p));
    const quint16 gf = word(pc.exchange(makeFrame(frame::ReadMeasurement)), 7);
    pc.exchange(makeFrame(frame::WriteTeachRow, {0, quint16(gf + 30), 20, 30, 0}));
    pc.exchange(makeFrame(frame::WriteTeachRow, {1, quint16(gf - 20), 20, 30, 0}));
    QCOMPARE(word(pc.exchange(makeFrame(frame::ReadMeasurement)), 8), quint16(1));
}

void TestSensorSim::referenceCalibrationConverges_data()
{
    QTest::addColumn<double>("gloss");
    QTest::newRow("reference") << 100.0;
    QTest::newRow("lower gloss") << 60.0;
}

void TestSensorSim::referenceCalibrationConverges()
{
    // The program's power search: ten halving steps towards 3850 counts on
    // the stronger of CH_REF and CH_DIR, then a long-averaged final reading
    // and command 30.
    QFETCH(double, gloss);
    SimOptions o;
    o.gloss = gloss;
    o.noise = 1.0;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    ParamSet p = testParams(512);
    p[Average] = 4096;
    int step = 512;
    quint16 m = 0;
    QByteArray reading;
    for (int pass = 0; pass < 10; ++pass) {
        QCOMPARE(pc.exchange(paramFrame(p)).mid(2), paramFrame(p).mid(2));
        reading = pc.exchange(makeFrame(frame::ReadMeasurement));
        m = qMax(word(reading, 2), word(reading, 3));
        p[Power] = quint16(m > 3850 ? p[Power] - step / 2 : p[Power] + step / 2);
        p[Power] = qMin<quint16>(p[Power], 1000);
        step /= 2;
    }
    QVERIFY2(m > 3550 && m < 3950, qPrintable(QString::number(m)));
    p[Average] = 32768;
    pc.exchange(paramFrame(p));
    reading = pc.exchange(makeFrame(frame::ReadMeasurement));
    const quint16 dir = word(reading, 3), ref = word(reading, 2);
    if (gloss == 100.0)
        QVERIFY2(dir >= 3250 && dir <= 3750, qPrintable(QString::number(dir)));

    const QByteArray confirm = makeFrame(frame::ConfirmRefCalib, {p[Power], dir, ref});
    QCOMPARE(pc.exchange(confirm).mid(2), confirm.mid(2));
    QCOMPARE(sim->calibration(), (RefCalibration{p[Power], dir, ref}));
    // The calibrated target now reads 100.0, at any power.
    for (quint16 power : {p[Power], quint16(400)}) {
        p[Power] = power;
        pc.exchange(paramFrame(p));
        const quint16 gf = word(pc.exchange(makeFrame(frame::ReadMeasurement)), 7);
        QVERIFY2(qAbs(gf - 1000) <= 5, qPrintable(QString::number(gf)));
    }
}

void TestSensorSim::calibrationTableAppliedWithBias()
{
    SimOptions o;
    o.gloss = 50;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    const QByteArray announce = makeFrame(frame::AnnounceCalibTable, {500});
    QCOMPARE(pc.exchange(announce).mid(2), announce.mid(2));
    // Curve: the other system reads twice the sensor's value.
    CalibTable curve = EepromImage::factoryDefaults().calibTable;
    for (auto& v : curve)
        v = quint16(qMin(2 * int(v), 32767));
    for (quint16 row = 0; row < kCalibRows; ++row) {
        QByteArray f = makeFrame(frame::WriteCalibRow, {row});
        for (int j = 0; j < kCalibRowWords; ++j)
            frame::putWord(reinterpret_cast<quint8*>(f.data()), 3 + j, curve[row * kCalibRowWords + j]);
        QCOMPARE(pc.exchange(f).mid(2), f.mid(2));
    }
    pc.exchange(makeFrame(frame::WriteCalibRow, {77, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
    QCOMPARE(sim->calibTable(), curve);

    ParamSet p = testParams();
    p[Bias] = 1;
    pc.exchange(paramFrame(p));
    const QByteArray m = pc.exchange(makeFrame(frame::ReadMeasurement));
    QVERIFY(qAbs(int(word(m, 7)) - 2 * int(word(m, 10))) <= 1);
}

void TestSensorSim::profileBlocks()
{
    SimOptions o;
    o.partRateHz = 0.01;  // one piece for the whole test
    o.noise = 1.0;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    pc.exchange(paramFrame(testParams()));
    QList<quint16> points;
    QByteArray last;
    for (quint16 k = 0; k < 10; ++k) {
        last = pc.exchange(makeFrame(frame::ReadProfileBlock, {k}));
        QCOMPARE(word(last, 1), quint16(9));
        for (int j = 0; j < (k < 9 ? 16 : 6); ++j)
            points << word(last, 2 + j);
    }
    const quint16 max = word(last, 8), min = word(last, 9), count = word(last, 10);
    QVERIFY(count > 0 && count <= 150);
    points = points.mid(0, count);
    QCOMPARE(*std::max_element(points.begin(), points.end()), max);
    QCOMPARE(*std::min_element(points.begin(), points.end()), min);
    QVERIFY(min < max / 2);  // edges of the piece

    // Peak-to-peak over the profile range (10..90 %) of the same piece.
    const auto range = points.mid(count * 10 / 100, count * 90 / 100 - count * 10 / 100);
    const auto [lo, hi] = std::minmax_element(range.begin(), range.end());
    const QByteArray m = pc.exchange(makeFrame(frame::ReadMeasurement));
    QCOMPARE(word(m, 11), quint16(*hi - *lo));
}

void TestSensorSim::splitAndGluedFrames()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    const QByteArray read3 = makeFrame(frame::ReadParams);
    for (char c : read3) {
        pc.write(QByteArray(1, c));
        QTest::qWait(1);
    }
    QCOMPARE(word(pc.read(36), 1), quint16(3));

    // Three frames in one piece, then one split unevenly over two writes.
    const QByteArray glued = makeFrame(frame::ReadTeachRow, {1}) + makeFrame(frame::ReadTeachRow, {2})
        + makeFrame(frame::ReadTeachRow, {3}) + read3.left(7);
    pc.write(glued);
    QTest::qWait(20);
    pc.write(read3.mid(7));
    const QByteArray replies = pc.read(4 * 36);
    QCOMPARE(replies.size(), 4 * 36);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(word(replies.mid(36 * i), 2), quint16(i + 1));
    QCOMPARE(word(replies.mid(108), 1), quint16(3));
    QCOMPARE(sim->frameCount(), 5);
    QCOMPARE(sim->receivedFrames().last(), read3);
    QCOMPARE(sim->droppedBytes(), 0);
}

void TestSensorSim::junkIsSkippedAndCounted()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    // A lone 0x00 before the sync word must not swallow the frame.
    pc.write(QByteArray("\xFF\x12\x55\x00", 4) + makeFrame(frame::ReadParams));
    QCOMPARE(word(pc.read(36), 1), quint16(3));
    QCOMPARE(sim->droppedBytes(), 4);
    QCOMPARE(sim->frameCount(), 1);
}

void TestSensorSim::randomInputNeverBreaksTheSensor()
{
    auto sim = startSim();
    {
        TcpPeer pc(sim->tcpPort());
        QRandomGenerator rng(7);
        for (int i = 0; i < 200; ++i) {
            QByteArray junk(int(rng.bounded(1, 100)), '\0');
            for (auto& c : junk)
                c = char(rng.bounded(256));
            if (i % 10 == 0)
                junk += makeFrame(quint16(rng.bounded(60)), {quint16(rng.bounded(200))});
            pc.write(junk);
        }
        pc.drain(100);
    }
    TcpPeer pc(sim->tcpPort());  // a new connection starts with an empty assembler
    QCOMPARE(pc.exchange(makeFrame(frame::Identify)).left(5), QByteArray("TARVO"));
}

void TestSensorSim::faultDropsReplies()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    Faults f;
    f.dropReplies = 2;
    sim->setFaults(f);
    pc.write(makeFrame(frame::ReadParams));
    pc.write(makeFrame(frame::ReadParams));
    QCOMPARE(pc.drain(100), QByteArray());
    QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);

    // Every reply to one command.
    f = {};
    f.dropReplies = Faults::kAll;
    f.onlyCommand = frame::ReadMeasurement;
    sim->setFaults(f);
    for (int i = 0; i < 3; ++i) {
        pc.write(makeFrame(frame::ReadMeasurement));
        QCOMPARE(pc.drain(50), QByteArray());
        QCOMPARE(word(pc.exchange(makeFrame(frame::ReadTeachRow, {0})), 1), quint16(4));
    }
    QCOMPARE(sim->frameCount(), 9);  // dropped replies still count as received frames
}

void TestSensorSim::faultDelay()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    Faults f;
    f.delayMs = 600;
    sim->setFaults(f);
    pc.write(makeFrame(frame::ReadParams));
    QCOMPARE(pc.drain(100), QByteArray());
    QCOMPARE(word(pc.read(36), 1), quint16(3));
}

void TestSensorSim::faultCorruptsEchoByte()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    Faults f;
    f.corruptByte = 9;
    f.onlyCommand = frame::WriteTeachRow;
    sim->setFaults(f);
    const QByteArray request = makeFrame(frame::WriteTeachRow, {4, 10, 20, 30, 40});
    const QByteArray echo = pc.exchange(request);
    QByteArray expected = request;
    expected[1] = char(0xAA);
    expected[9] = char(request[9] ^ 0xFF);
    QCOMPARE(echo, expected);
    QCOMPARE(sim->teachTable()[4], (TeachRow{10, 20, 30, 40}));  // stored all the same
    const QByteArray other = paramFrame(testParams());
    QCOMPARE(pc.exchange(other).mid(2), other.mid(2));
}

void TestSensorSim::faultReplyLength_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("short") << 35;
    QTest::newRow("long") << 37;
}

void TestSensorSim::faultReplyLength()
{
    QFETCH(int, length);
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    Faults f;
    f.replyLength = length;
    sim->setFaults(f);
    pc.write(makeFrame(frame::ReadParams));
    const QByteArray reply = pc.drain(150);
    QCOMPARE(reply.size(), length);
    QCOMPARE(word(reply, 1), quint16(3));
}

void TestSensorSim::faultJunkBeforeReply()
{
    auto sim = startSim();
    TcpPeer pc(sim->tcpPort());
    Faults f;
    f.junkBytes = 5;
    sim->setFaults(f);
    pc.write(makeFrame(frame::ReadParams));
    const QByteArray got = pc.read(41);
    QCOMPARE(got.size(), 41);
    QVERIFY(!got.startsWith(QByteArray("\x00\xAA", 2)));
    QCOMPARE(word(got.mid(5), 0), quint16(0x00AA));

    sim->setFaults({});
    sim->injectBytes("hello");
    QCOMPARE(pc.read(5), QByteArray("hello"));
}

void TestSensorSim::faultOnlyAfterFrames()
{
    SimOptions o;
    o.faults.dropReplies = Faults::kAll;
    o.faults.afterFrames = 2;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);
    QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);
    pc.write(makeFrame(frame::ReadParams));
    QCOMPARE(pc.drain(100), QByteArray());
}

void TestSensorSim::faultClosesConnection()
{
    SimOptions o;
    o.faults.closeAfterFrames = 2;
    auto sim = startSim(o);
    for (int connection = 0; connection < 2; ++connection) {
        TcpPeer pc(sim->tcpPort());
        QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);
        QVERIFY(pc.connected());
        QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);  // answered, then closed
        QVERIFY(pc.waitClosed(1000));
    }
}

void TestSensorSim::newClientReplacesOld()
{
    auto sim = startSim();
    TcpPeer first(sim->tcpPort());
    QCOMPARE(first.exchange(makeFrame(frame::ReadParams)).size(), 36);
    TcpPeer second(sim->tcpPort());
    QVERIFY(first.waitClosed(1000));
    QCOMPARE(second.exchange(makeFrame(frame::ReadParams)).size(), 36);
}

void TestSensorSim::autoSendOnAndOff()
{
    SimOptions o;
    o.partRateHz = 50;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    pc.write(makeFrame(frame::AutoSend, {1}));
    QVERIFY(waitFor([&] { return sim->autoSending(); }, 1000));
    const QByteArray frames = pc.read(3 * 36);
    QCOMPARE(frames.size(), 3 * 36);
    for (int i = 0; i < 3; ++i) {
        // No echo of command 50: every frame is a measurement.
        QCOMPARE(word(frames.mid(36 * i), 0), quint16(0x00AA));
        QCOMPARE(word(frames.mid(36 * i), 1), quint16(5));
        QCOMPARE(word(frames.mid(36 * i), 2), quint16(2500));
    }
    pc.write(makeFrame(frame::AutoSend, {0}));
    QVERIFY(waitFor([&] { return !sim->autoSending(); }, 1000));
    pc.drain(30);
    QCOMPARE(pc.drain(150), QByteArray());
}

void TestSensorSim::autoSendEchoOption()
{
    SimOptions o;
    o.answerAutoSend = true;
    o.partRateHz = 0.5;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    const QByteArray request = makeFrame(frame::AutoSend, {0});
    QCOMPARE(pc.exchange(request).mid(2), request.mid(2));
}

void TestSensorSim::colourFactorTables()
{
    SimOptions o;
    o.colour = true;
    auto sim = startSim(o);
    TcpPeer pc(sim->tcpPort());
    const QByteArray start = makeFrame(frame::CompStart);
    QCOMPARE(pc.exchange(start).mid(2), start.mid(2));
    for (quint16 c = 0; c < 3; ++c) {
        for (quint16 b = 0; b < 11; ++b) {  // block 10 is out of range
            QByteArray f = makeFrame(quint16(frame::CompRed + c), {b});
            for (int k = 0; k < 10; ++k)
                frame::putWord(reinterpret_cast<quint8*>(f.data()), 3 + k, quint16(1000 * c + 10 * b + k));
            QCOMPARE(pc.exchange(f).mid(2), f.mid(2));
        }
    }
    for (int c = 0; c < 3; ++c) {
        const FactorTable t = sim->colourFactors(c);
        for (int i = 0; i < kFactorCount; ++i)
            QCOMPARE(t[i], quint16(1000 * c + i));
    }

    // The gloss sensor does not know the colour commands.
    auto gloss = startSim();
    TcpPeer pc2(gloss->tcpPort());
    pc2.write(start);
    QCOMPARE(pc2.drain(100), QByteArray());
}

void TestSensorSim::ptyExchange()
{
#if defined(Q_OS_UNIX)
    SimOptions o;
    o.tcp = false;
    o.pty = true;
    auto sim = startSim(o);
    QVERIFY(sim->ptyPath().startsWith("/dev/"));
    PtyPeer pc(sim->ptyPath());
    QVERIFY(pc.isOpen());
    QCOMPARE(pc.exchange(makeFrame(frame::Identify)).left(18), QByteArray("TARVO GLOSS SENSOR"));
    const QByteArray request = paramFrame(testParams(321));
    pc.write(request.left(10));
    QTest::qWait(5);
    pc.write(request.mid(10) + makeFrame(frame::ReadParams));
    const QByteArray replies = pc.read(72);
    QCOMPARE(replies.left(36).mid(2), request.mid(2));
    QCOMPARE(paramsOf(replies.mid(36), 2), testParams(321));
#else
    QSKIP("no pseudo-terminals here");
#endif
}

void TestSensorSim::ptyBaudPacing()
{
#if defined(Q_OS_UNIX)
    SimOptions o;
    o.tcp = false;
    o.pty = true;
    o.baudPacing = true;
    auto sim = startSim(o);
    PtyPeer pc(sim->ptyPath());
    QElapsedTimer clock;
    clock.start();
    const QByteArray reply = pc.exchange(makeFrame(frame::ReadParams));
    // 36 bytes in and 36 out at 0.52 ms each cannot take less than 37.5 ms.
    QVERIFY2(clock.elapsed() >= 37, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(word(reply, 1), quint16(3));
#else
    QSKIP("no pseudo-terminals here");
#endif
}

void TestSensorSim::ptyCloseFaultSilencesLine()
{
#if defined(Q_OS_UNIX)
    SimOptions o;
    o.tcp = false;
    o.pty = true;
    o.faults.closeAfterFrames = 1;
    auto sim = startSim(o);
    PtyPeer pc(sim->ptyPath());
    QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);
    pc.write(makeFrame(frame::ReadParams));
    QCOMPARE(pc.drain(100), QByteArray());
    sim->setFaults({});
    QCOMPARE(pc.exchange(makeFrame(frame::ReadParams)).size(), 36);
#else
    QSKIP("no pseudo-terminals here");
#endif
}

void TestSensorSim::programPrintsPortAndStopsOnSignal()
{
    QProcess program;
    program.start(QStringLiteral(SENSORSIM_EXE), {"--tcp-port", "0", "--no-eeprom-file", "--quiet"});
    QVERIFY(program.waitForStarted());
    QRegularExpression listening(R"(listening on 127\.0\.0\.1:(\d+))");
    QRegularExpressionMatch match;
    QVERIFY(waitFor(
        [&] {
            while (program.canReadLine()) {
                match = listening.match(QString::fromUtf8(program.readLine()));
                if (match.hasMatch())
                    return true;
            }
            return false;
        },
        5000));
    TcpPeer pc(quint16(match.captured(1).toUInt()));
    QCOMPARE(pc.exchange(makeFrame(frame::Identify)).left(5), QByteArray("TARVO"));
#if defined(Q_OS_UNIX)
    program.terminate();  // SIGTERM
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
#else
    program.kill();
    program.waitForFinished();
#endif
}

QTEST_GUILESS_MAIN(TestSensorSim)
#include "tst_sensorsim.moc"
