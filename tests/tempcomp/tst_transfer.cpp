// The factor tables on the wire: the tool against the simulated colour sensor
// over TCP loopback and over a pseudo-terminal, and against a scripted sensor
// for replies the simulator does not give.
#include "combobox.h"
#include "exchangewaits.h"
#include "toolfixture.h"

using namespace tarvo;
using namespace tarvo::tempcomp;
using tarvo::test::ScriptedSensor;
using tarvo::test::ToolFixture;

namespace {
const QString kSimVersion = QStringLiteral("TARVO RGB SENSOR V4.3 SIM");

sim::SimOptions withPty()
{
    sim::SimOptions o;
    o.pty = true;
    return o;
}
}  // namespace

class TransferTest : public QObject {
    Q_OBJECT
private slots:
    void sendsThirtyOneFramesThenReconnects_data();
    void sendsThirtyOneFramesThenReconnects();
    void lostLineIsTakenUpAgainWhileTheToolWaits_data();
    void lostLineIsTakenUpAgainWhileTheToolWaits();
    void sendFactorsTakesACoefficientTypedWithoutEnter();
    void echoIsComparedOverItsOwnBytesOnly_data();
    void echoIsComparedOverItsOwnBytesOnly();
    void failureInGreenBlockFourLeavesTheEarlierBlocksSent();
    void failedVersionQueryLeavesTheEchoFailureBoxUntitled();
    void versionTextEndsAtItsFirstZeroByte();
    void serialVersionQueryRunsNoOtherCallback_data();
    void serialVersionQueryRunsNoOtherCallback();
    void commandsAreDimmedAndTheButtonRedWhileSending();
    void limitedFactorsAreSentOnlyWhenTheUserAgrees_data();
    void limitedFactorsAreSentOnlyWhenTheUserAgrees();
    void doubtfulFactorTablesAreSentOnlyWhenTheUserAgrees_data();
    void doubtfulFactorTablesAreSentOnlyWhenTheUserAgrees();
};

void TransferTest::sendsThirtyOneFramesThenReconnects_data()
{
    QTest::addColumn<bool>("serial");
    // Changed on the interface panel without TRY TO CONNECT: none of it is used.
    QTest::addColumn<QString>("untried");
    QTest::newRow("tcp") << false << "";
    QTest::newRow("tcp, another port number typed") << false << "port number";
    QTest::newRow("tcp, another server entered") << false << "server";
    QTest::newRow("tcp, the ring turned to RS-232") << false << "ring";
#ifdef Q_OS_UNIX
    QTest::newRow("rs232") << true << "";
    QTest::newRow("rs232, another COM port chosen") << true << "COM port";
#endif
}

void TransferTest::sendsThirtyOneFramesThenReconnects()
{
    QFETCH(bool, serial);
    QFETCH(QString, untried);
    ToolFixture f(withPty());
    if (serial)
        f.serialPortOneIsTheSensor();
    TempCompApp& app = f.start();
    if (!serial)
        f.connectToSensor();
    QCOMPARE(f.ui().DispStatus->text(), kSimVersion);
    if (untried == u"port number")
        f.ip().StringPortNumber->setText(QStringLiteral("1"));  // nothing listens there
    else if (untried == u"server") {
        // Picked from the history, which takes it into the field and the
        // history without a try (Enter would try it).
        QLineEdit* field = f.ip().StringIpAdress;
        Combo_InsertComboItem(field, 0, QStringLiteral("127.0.0.2"));  // loopback, but not the sensor's
        emit Combo_ListControl(field)->activated(0);
        QCOMPARE(field->text(), QStringLiteral("127.0.0.2"));
    } else if (untried == u"ring")
        f.ip().EditCommunicationProtocol->setCurrentIndex(RS232);
    else if (untried == u"COM port")
        f.ip().EditSelectComPort->setValue(2);
    f.enterDistinctCurves();
    f.sensor->clearFrames();
    const int connectsBefore = f.sensor->connects();

    f.ui().ButtonSendCF->click();

    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("SUCCESS"));
    QCOMPARE(f.dialogs->shown.size(), 0);
    const QList<QByteArray> frames = f.sensor->frames();
    QCOMPARE(frames.size(), 32);  // 43, 3 × 10 blocks, then the version query of the reconnection
    for (const QByteArray& fr : frames)
        QCOMPARE(ToolFixture::word(fr, 0), 0x0055);
    QCOMPARE(ToolFixture::word(frames[0], 1), 43);
    QCOMPARE(ToolFixture::word(frames[0], 2), 0);
    const FactorTable* tables[3] = {&app.factors().dataCfRot, &app.factors().dataCfGruen, &app.factors().dataCfBlau};
    for (int c = 0; c < 3; ++c)
        for (int b = 0; b < 10; ++b) {
            const QByteArray& fr = frames[1 + 10 * c + b];
            QCOMPARE(ToolFixture::word(fr, 1), 40 + c);
            QCOMPARE(ToolFixture::word(fr, 2), b);
            QCOMPARE(ToolFixture::payload(fr), ToolFixture::block(*tables[c], b));
        }
    QCOMPARE(ToolFixture::word(frames[31], 1), 7);
    // The factors are those of the panel: the red line at its reference step 20.
    QCOMPARE(app.factors().dataCfRot[0], 1034);
    QCOMPARE(app.factors().dataCfRot[20], 1024);
    for (int c = 0; c < 3; ++c)
        for (int t = 0; t < 100; ++t)
            QCOMPARE(f.sensor->factors(c)[size_t(t)], (*tables[c])[size_t(t)]);
    // Reconnected: a new TCP conversation, and the version shown afresh.
    QCOMPARE(f.sensor->connects() - connectsBefore, serial ? 0 : 1);
    QCOMPARE(f.ui().DispStatus->text(), kSimVersion);
    QCOMPARE(f.ip().DispInterfaceStatus->text(), kSimVersion);
    QCOMPARE(f.ip().ButtonAccept->isEnabled(), untried.isEmpty());  // untried values stay unaccepted
    QCOMPARE(f.ui().ButtonSendCF->palette().color(QPalette::Button), QColor(0xE0, 0xE0, 0xE0));
    QVERIFY(f.ui().ButtonSendCF->isEnabled());
}

void TransferTest::lostLineIsTakenUpAgainWhileTheToolWaits_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("giveUp");  // the sensor stays off; STOP RETRYING is pressed
    QTest::newRow("tcp") << false << false;
    QTest::newRow("tcp, stop retrying") << false << true;
#ifdef Q_OS_UNIX
    QTest::newRow("rs232") << true << false;
#endif
}

void TransferTest::lostLineIsTakenUpAgainWhileTheToolWaits()
{
    QFETCH(bool, serial);
    QFETCH(bool, giveUp);
    sim::SimOptions o = withPty();
    QTemporaryDir links;
    o.ptyLink = links.filePath(QStringLiteral("ttyRGB"));  // the adapter's stable name
    ToolFixture f(o);
    if (serial)
        setSerialPortResolver([device = o.ptyLink](int n) {
            return SerialDevice{n == 1 ? device : QString(), QStringLiteral("simulated")};
        });
    f.start();
    if (!serial)
        f.connectToSensor();
    QCOMPARE(f.ui().DispStatus->text(), kSimVersion);
    f.ip().CheckReconnect->setChecked(true);
    f.ip().ButtonAccept->click();

    // What the tool shows while it retries, seen from its event loop.
    bool retryingShown = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!f.ui().DispStatus->text().startsWith(QStringLiteral("CONNECTION LOST \u2014 retrying")))
            return;
        retryingShown = f.ip().ButtonStopRetrying->isEnabled();
        if (giveUp)
            f.ip().ButtonStopRetrying->click();
    });
    probe.start(20);
    f.app->reconnect().retryScale = 0.1;  // the full schedule is tarvoctl's row
    f.sensor->on([&](sim::SensorSim& s) { s.goAway(giveUp ? 600000 : 300); });
    QTRY_VERIFY_WITH_TIMEOUT(retryingShown && !f.app->reconnect().retrying(), 30000);

    QVERIFY(!f.ip().ButtonStopRetrying->isEnabled());
    QCOMPARE(f.ui().DispStatus->text(), giveUp ? QStringLiteral("CONNECTION LOST") : kSimVersion);
    QCOMPARE(f.dialogs->shown.size(), 0);
    if (giveUp)
        return;
    // Back on the same line: the tables go to the sensor.
    f.enterDistinctCurves();
    f.ui().ButtonSendCF->click();
    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("SUCCESS"));
}

void TransferTest::sendFactorsTakesACoefficientTypedWithoutEnter()
{
    ToolFixture f(withPty());
    TempCompApp& app = f.start();
    f.connectToSensor();
    f.enterDistinctCurves();
    // Red's constant typed as 2000, neither Enter nor Tab.
    f.ui().RT->setFocus();
    f.ui().RT->selectAll();
    QTest::keyClicks(f.ui().RT, QStringLiteral("2000"));
    f.ui().ButtonSendCF->click();

    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("SUCCESS"));
    QCOMPARE(f.ui().RT->value(), 2000.0);
    // The red curve is 2000 + 0.5·t: at step 20 the factor is 1010 / 2010 of 1024.
    QCOMPARE(int(app.factors().dataCfRot[20]), int(1010.0 / 2010.0 * 1024.0));
    QCOMPARE(f.sensor->factors(0)[20], app.factors().dataCfRot[20]);
}

void TransferTest::echoIsComparedOverItsOwnBytesOnly_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("byte");  // inverted in the reply; -1: no reply at all
    QTest::addColumn<bool>("passes");
    QTest::newRow("43: no reply") << 43 << -1 << false;
    QTest::newRow("43: own sync looped back (byte 1 = 0x55)") << 43 << 1 << false;
    QTest::newRow("43: first byte") << 43 << 0 << false;
    QTest::newRow("43: command byte 3") << 43 << 3 << false;
    QTest::newRow("43: argument byte 4 not compared") << 43 << 4 << true;
    QTest::newRow("red block: argument byte 5") << 40 << 5 << false;
    QTest::newRow("blue block: last factor byte 25") << 42 << 25 << false;
    QTest::newRow("green block: byte 26 not compared") << 41 << 26 << true;
    QTest::newRow("red block: byte 35 not compared") << 40 << 35 << true;
}

void TransferTest::echoIsComparedOverItsOwnBytesOnly()
{
    QFETCH(int, command);
    QFETCH(int, byte);
    QFETCH(bool, passes);
    ToolFixture f;
    TempCompApp& app = f.start();
    f.connectToSensor();
    sim::Faults fault;
    fault.corruptByte = byte;
    fault.dropReplies = byte < 0 ? sim::Faults::kAll : 0;
    fault.onlyCommand = command;
    f.sensor->setFaults(fault);
    f.sensor->clearFrames();
    // The tool waits for an echo it refuses as for one that never comes, to
    // its limit (kept on the clock by the failed version query): here the
    // wait ends once the refused echo has been read and passed over, or,
    // without a reply, when the sensor gets the frame.
    if (!passes && byte >= 0)
        tarvo::test::expireOncePassedOver(&app, app.pump(), app.exchange());
    else if (!passes)
        f.sensor->onCommand(command, &app, [&app] { app.pump().expireInnermostWait(); });

    f.ui().ButtonSendCF->click();

    QCOMPARE(f.ui().DispSendCF->text(), passes ? QStringLiteral("SUCCESS") : QStringLiteral("FAILURE"));
    QCOMPARE(f.ui().ButtonSendCF->palette().color(QPalette::Button), QColor(0xE0, 0xE0, 0xE0));
    const QList<QByteArray> frames = f.sensor->frames();
    if (passes) {
        QCOMPARE(f.dialogs->shown.size(), 0);
        QCOMPARE(frames.size(), 32);
        return;
    }
    // A cut after the red and green tables is named as such.
    QCOMPARE(f.dialogs->shown.size(), command == 42 ? 2 : 1);
    QCOMPARE(f.dialogs->shown[0].title, kSimVersion);
    QCOMPARE(f.dialogs->shown[0].text, kEchoFailureText);
    if (command == 42)
        QVERIFY(f.dialogs->shown[1].text.contains(
            QStringLiteral("mixed tables: \n red block 0 to green block 9 new; blue block 0 perhaps; blue block 1 to "
                           "blue block 9 as before.")));
    QVERIFY(kEchoFailureText.startsWith(QStringLiteral(" ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR.")
                                        + QString(27, u' ') + QStringLiteral("\n The version of the sensor")));
    QCOMPARE(f.ui().DispStatus->text(), QStringLiteral("TIMEOUT"));
    QCOMPARE(ToolFixture::word(frames.last(), 1), command);  // stopped at its first frame
    QCOMPARE(ToolFixture::word(frames.last(), 2), 0);
}

void TransferTest::failureInGreenBlockFourLeavesTheEarlierBlocksSent()
{
    ToolFixture f;
    TempCompApp& app = f.start();
    f.connectToSensor();
    f.enterDistinctCurves();
    const auto blueBefore = f.sensor->factors(2);
    const auto greenBefore = f.sensor->factors(1);
    sim::Faults fault;
    fault.corruptByte = 12;  // a factor byte
    fault.onlyCommand = 41;
    fault.afterFrames = 15;  // 43, ten red blocks, green blocks 0-3
    f.sensor->setFaults(fault);
    f.sensor->clearFrames();

    f.ui().ButtonSendCF->click();

    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("FAILURE"));
    const QList<QByteArray> frames = f.sensor->frames();
    QCOMPARE(frames.size(), 16);  // nothing after the failed frame, no reconnection
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown.last().text.contains(
        QStringLiteral("red block 0 to green block 3 new; green block 4 perhaps; green block 5 to blue block 9 as "
                       "before")));
    QCOMPARE(ToolFixture::word(frames.last(), 1), 41);
    QCOMPARE(ToolFixture::word(frames.last(), 2), 4);
    QCOMPARE(f.sensor->factors(0), app.factors().dataCfRot);
    const auto green = f.sensor->factors(1);
    for (int t = 0; t < 40; ++t)
        QCOMPARE(green[size_t(t)], app.factors().dataCfGruen[size_t(t)]);
    for (int t = 50; t < 100; ++t)
        QCOMPARE(green[size_t(t)], greenBefore[size_t(t)]);
    QCOMPARE(f.sensor->factors(2), blueBefore);
    QCOMPARE(f.dialogs->count(kSimVersion), 1);
}

void TransferTest::failedVersionQueryLeavesTheEchoFailureBoxUntitled()
{
#ifdef Q_OS_UNIX
    ToolFixture f(withPty());
    f.serialPortOneIsTheSensor();
    sim::Faults longer;
    longer.dropReplies = sim::Faults::kAll;
    longer.onlyCommand = 7;
    f.sensor->setFaults(longer);
    f.start();

    // The version query fails; no version is known yet.
    QCOMPARE(f.ui().DispStatus->text(), QStringLiteral("TIMEOUT: no reply within 2.0 s"));
    QCOMPARE(f.ip().DispInterfaceStatus->text(), QStringLiteral("CONNECTION FAILURE: no reply within 2.0 s"));
    QVERIFY(!f.ip().ButtonAccept->isEnabled());
    QCOMPARE(f.dialogs->shown.size(), 0);
    QVERIFY(f.app->interfacepanel().widget()->isHidden());

    // So the box of a failing echo has an empty title.
    longer = {};
    longer.onlyCommand = 41;
    longer.corruptByte = 20;
    f.sensor->setFaults(longer);
    f.ui().ButtonSendCF->click();
    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("FAILURE"));
    QCOMPARE(f.dialogs->shown.size(), 2);  // the echo failure, then the red table named as new
    QCOMPARE(f.dialogs->shown[0].title, QString());
    QCOMPARE(f.dialogs->shown[0].text, kEchoFailureText);
    QVERIFY(f.dialogs->shown[1].text.contains(QStringLiteral("red block 0 to red block 9 new")));
    QCOMPARE(ToolFixture::word(f.sensor->frames().last(), 1), 41);
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void TransferTest::versionTextEndsAtItsFirstZeroByte()
{
    ToolFixture f;
    ScriptedSensor scripted;
    scripted.answer = [&f](const QByteArray& frame) {
        const int command = ToolFixture::word(frame, 1);
        if (command == 7)
            return ScriptedSensor::frame36(QByteArray("RGB 4.3\0HIDDEN", 14));
        if (command == 43)
            return ScriptedSensor::echo(frame);
        // The tables are not answered: the wait for the reply ends when the frame is here.
        f.app->pump().expireInnermostWait();
        return QByteArray();
    };
    f.start();
    f.connectTcp(scripted.port());
    QCOMPARE(f.ui().DispStatus->text(), QStringLiteral("RGB 4.3"));
    QCOMPARE(f.ip().DispInterfaceStatus->text(), QStringLiteral("RGB 4.3"));
    QVERIFY(f.ip().ButtonAccept->isEnabled());

    f.ui().ButtonSendCF->click();
    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("FAILURE"));
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("RGB 4.3"));
    QCOMPARE(scripted.frames.size(), 3);  // 7, 43, red block 0
}

void TransferTest::serialVersionQueryRunsNoOtherCallback_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("seenByTimer");
#ifdef Q_OS_UNIX
    QTest::newRow("rs232: blocks, the timer runs after") << true << kSimVersion;
#endif
    QTest::newRow("tcp: waits with events, the timer runs inside") << false << QStringLiteral("TRY");
}

void TransferTest::serialVersionQueryRunsNoOtherCallback()
{
    QFETCH(bool, serial);
    QFETCH(QString, seenByTimer);
    ToolFixture f(withPty());
    sim::Faults slow;
    slow.delayMs = 300;
    slow.onlyCommand = 7;
    f.sensor->setFaults(slow);
    if (serial) {
        f.serialPortOneIsTheSensor();
        f.app = std::make_unique<TempCompApp>(f.dir.path());
    } else {
        f.start();
    }
    QString seen, seenOnMain;
    QTimer::singleShot(0, f.app.get(), [&] {
        seen = f.ip().DispInterfaceStatus->text();
        seenOnMain = f.ui().DispStatus->text();
    });
    if (serial)
        f.app->InitVars();
    else
        f.connectToSensor();
    QTRY_VERIFY(!seen.isEmpty());
    QCOMPARE(seen, seenByTimer);
    QVERIFY(seenOnMain != QStringLiteral("TRY"));  // "TRY" is for the interface panel only
    QCOMPARE(f.ui().DispStatus->text(), kSimVersion);
}

void TransferTest::commandsAreDimmedAndTheButtonRedWhileSending()
{
    ToolFixture f;
    f.start();
    f.connectToSensor();
    sim::Faults slow;
    slow.delayMs = 300;
    slow.onlyCommand = 43;
    f.sensor->setFaults(slow);
    struct Seen {
        QString disp;
        QColor colour;
        bool send = true, calib = true, connect = true, tryButton = true, calcCurves = false;
    } seen;
    QTimer::singleShot(100, f.app.get(), [&] {
        seen = {f.ui().DispSendCF->text(),           f.ui().ButtonSendCF->palette().color(QPalette::Button),
                f.ui().ButtonSendCF->isEnabled(),    f.ui().ButtonCalcCalib->isEnabled(),
                f.ui().ButtonConnect->isEnabled(),   f.ip().ButtonTryToConnect->isEnabled(),
                f.ui().ButtonCalcCurves->isEnabled()};
    });
    f.ui().ButtonSendCF->click();
    QCOMPARE(seen.disp, QStringLiteral("TRY TO SAVE"));
    QCOMPARE(seen.colour, QColor(0xFF, 0, 0));
    QVERIFY(!seen.send && !seen.calib && !seen.connect && !seen.tryButton);
    QVERIFY(seen.calcCurves);  // drawing the curves cannot touch the tables being sent
    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("SUCCESS"));
    for (QWidget* w : {static_cast<QWidget*>(f.ui().ButtonSendCF), static_cast<QWidget*>(f.ui().ButtonCalcCalib),
                       static_cast<QWidget*>(f.ui().ButtonConnect), static_cast<QWidget*>(f.ip().ButtonTryToConnect)})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
}

void TransferTest::limitedFactorsAreSentOnlyWhenTheUserAgrees_data()
{
    QTest::addColumn<bool>("agree");
    QTest::newRow("no: nothing sent") << false;
    QTest::newRow("yes: sent as limited") << true;
}

void TransferTest::limitedFactorsAreSentOnlyWhenTheUserAgrees()
{
    QFETCH(bool, agree);
    ToolFixture f;
    TempCompApp& app = f.start();
    f.connectToSensor();
    // Red falls through zero at step 50: 0 there, negative after.
    f.setCoefficients({0, 0, 0, -20, 1000, 0, 0, 0, 0, 1000, 0, 0, 0, 0, 1000});
    f.dialogs->confirmAnswers = {agree};
    f.sensor->clearFrames();

    f.ui().ButtonSendCF->click();

    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].kind, QStringLiteral("confirm"));
    QVERIFY(f.dialogs->shown[0].text.contains(QStringLiteral("red: 50 of 100, the first at temperature step 50")));
    QCOMPARE(f.ui().DispSendCF->text(), agree ? QStringLiteral("SUCCESS") : QStringLiteral("FAILURE"));
    QCOMPARE(f.sensor->frames().size(), agree ? 32 : 0);
    if (agree) {
        QCOMPARE(f.sensor->factors(0)[49], app.factors().dataCfRot[49]);
        for (int t = 50; t < 100; ++t)
            QCOMPARE(f.sensor->factors(0)[size_t(t)], 0);
    }
}

void TransferTest::doubtfulFactorTablesAreSentOnlyWhenTheUserAgrees_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<bool>("agree");
    QTest::addColumn<QStringList>("warnings");  // empty: sent without a question
    const QStringList zeroAndUncomputed = {QStringLiteral("All 100 factors of red, green, blue are 0."),
                                           QStringLiteral("before the curves were computed")};
    QTest::newRow("step chosen before the curves, no") << "before curves" << false << zeroAndUncomputed;
    QTest::newRow("step chosen before the curves, yes") << "before curves" << true << zeroAndUncomputed;
    QTest::newRow("coefficients edited since, no")
        << "edited since" << false << QStringList{QStringLiteral("from curves of other coefficients than those shown")};
    QTest::newRow("references typed by hand") << "typed" << false << QStringList();
    QTest::newRow("step chosen on the curves shown") << "current" << false << QStringList();
}

void TransferTest::doubtfulFactorTablesAreSentOnlyWhenTheUserAgrees()
{
    QFETCH(QString, scenario);
    QFETCH(bool, agree);
    QFETCH(QStringList, warnings);
    ToolFixture f;
    f.start();
    f.connectToSensor();
    Ui::P& p = f.ui();
    f.enterDistinctCurves();
    if (scenario != QLatin1String("before curves"))
        p.ButtonCalcCurves->click();
    p.EditTemp->setValue(20);  // takes the references from the curves as they are
    if (scenario == QLatin1String("edited since"))
        p.RX1->setValue(0.75);
    if (scenario == QLatin1String("typed")) {
        p.RX1->setValue(0.75);
        p.EditRefRed->setValue(1015);
    }
    f.dialogs->confirmAnswers = {agree};
    f.sensor->clearFrames();

    p.ButtonSendCF->click();

    const bool asked = !warnings.isEmpty();
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), asked ? 1 : 0);
    for (const QString& w : warnings)
        QVERIFY2(f.dialogs->shown.last().text.contains(w), qPrintable(f.dialogs->shown.last().text));
    if (asked)
        QCOMPARE(f.dialogs->shown.last().kind, QStringLiteral("confirm"));
    const bool sent = !asked || agree;
    QCOMPARE(p.DispSendCF->text(), sent ? QStringLiteral("SUCCESS") : QStringLiteral("FAILURE"));
    QCOMPARE(f.sensor->frames().size(), sent ? 32 : 0);
}

QTEST_MAIN(TransferTest)
#include "tst_transfer.moc"
