// The live loop on the real panels: GO and STOP, every display of a value
// set, the tolerance band from the teach table, the graph and trend buffers,
// the big display panels, and the ways the loop ends.
#include "graphs.h"
#include "liveloop.h"
#include "panelutil.h"
#include "scopefixture.h"
#include "ui_CALIBP2.h"
#include "ui_GFPANEL.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"
#include "ui_RECP.h"
#include "ui_VECPANEL.h"

#include <QLCDNumber>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtCharts/QLineSeries>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

std::uint16_t word(const QByteArray& bytes, int i)
{
    return frame::getWord(reinterpret_cast<const std::uint8_t*>(bytes.constData()), i);
}

// Every teach-table row gets a decoy value, row `row` the given cells.
void fillTeachTable(QTableWidget* table, int row, int col, double a, double t)
{
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            table->item(r, c)->setText(QStringLiteral("7"));
    table->item(row, col)->setText(QString::number(a, 'g', 10));
    table->item(row, col + 1)->setText(QString::number(t, 'g', 10));
}

void setValues(MeasuredValues& m, int i)
{
    m.dataChRef = std::uint16_t(1000 + i);
    m.dataChDir = std::uint16_t(2000 + i);
    m.dataChDif = std::uint16_t(300 + i);
    m.dataNorm = std::uint16_t(500 + i);
    m.dataInt = std::uint16_t(1200 + i);
    m.dataGf = std::uint16_t(900 + i);
    m.dataGfDouble = m.dataGf / 10.0;
}

QColor glossBigColour(ScopeApp& app)
{
    return app.gfpanel().ui->DispGFBig->palette().color(QPalette::Window);
}

QWidget* editorOf(QAbstractSpinBox* box)
{
    return box->findChild<QLineEdit*>();
}

}  // namespace

class LiveLoopTest : public QObject {
    Q_OBJECT
private slots:
    void goShowsEveryValueSetUntilStop();
    void timeoutInTheLoopEndsItAndOpensTheInterfacePanel();
    void closingTheMainPanelDuringTheLoopEndsLoopAndProgram();
    void toleranceBandComesFromTheTeachRowOfEditNo_data();
    void toleranceBandComesFromTheTeachRowOfEditNo();
    void everyBufferAdvancesWhateverTheSource();
    void glossBigDisplayIsRedWithoutAVector();
    void barsShowOutOfRangeValuesAtTheirEnds();
    void bigDisplaysOpenOnDoubleClickAndHideOnRightClickOrClose_data();
    void bigDisplaysOpenOnDoubleClickAndHideOnRightClickOrClose();
    void panelButtonsEndTheLoop_data();
    void panelButtonsEndTheLoop();
    void selectSourceHidesTheProfileAndShowsThatSignalsChart_data();
    void selectSourceHidesTheProfileAndShowsThatSignalsChart();
    void displaysShowTheValueReceived();
    void closedConnectionEndsTheWaitAtOnce_data();
    void closedConnectionEndsTheWaitAtOnce();
    void lateProfileBlockIsNotTakenForTheNext_data();
    void lateProfileBlockIsNotTakenForTheNext();
};

void LiveLoopTest::goShowsEveryValueSetUntilStop()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    f.sensor->setNoise(1.0);  // every value set differs
    QList<QByteArray> replies;
    connect(f.sensor.get(), &sim::SensorSim::bytesSent, this, [&](const QByteArray& b) {
        if (b.size() == frame::kBytes && word(b, 1) == frame::ReadMeasurement)
            replies << b;
    });
    setVisibleWithCaption(p.GraphProfile, true);

    bool dimmedWhileRunning = false;
    f.when(
        this, [&] { return replies.size() >= 3; },
        [&] {
            dimmedWhileRunning = !p.ButtonGo->isEnabled() && !p.ButtonSend->isEnabled() && !p.ButtonGet->isEnabled()
                && !p.ButtonConnect->isEnabled() && p.ButtonStop->isEnabled() && app.flags().poll == 1;
            QTest::mouseClick(p.ButtonStop, Qt::LeftButton);
        });
    QTest::mouseClick(p.ButtonGo, Qt::LeftButton);  // returns when the loop has ended

    QVERIFY(dimmedWhileRunning);
    QVERIFY(p.ButtonGo->isEnabled());
    QVERIFY(p.ButtonSend->isEnabled());
    QCOMPARE(app.flags().poll, std::uint16_t(0));
    QVERIFY(!p.GraphProfile->isVisible());
    QVERIFY(replies.size() >= 3);

    const QByteArray& r = replies.last();
    QCOMPARE(p.BarChRef->value(), int(word(r, 2)));
    QCOMPARE(p.BarChDir->value(), int(word(r, 3)));
    QCOMPARE(p.BarChDif->value(), int(word(r, 4)));
    QCOMPARE(p.DispChRef->value(), int(word(r, 2)));
    QCOMPARE(p.DispChDir->value(), int(word(r, 3)));
    QCOMPARE(p.DispChDif->value(), int(word(r, 4)));
    QCOMPARE(p.DispNorm->value(), int(word(r, 5)));
    QCOMPARE(p.DispINT->value(), int(word(r, 6)));
    QCOMPARE(p.DispGF->value(), word(r, 7) / 10.0);
    const double gf = word(r, 7) / 10.0, gfBefore = word(replies[replies.size() - 2], 7) / 10.0;
    QCOMPARE(app.gfpanel().ui->DispGFBig->value(), gf);
    QCOMPARE(p.DispVec->value(), int(word(r, 8)));
    QCOMPARE(app.vecpanel().ui->DispVecBig->intValue(), int(word(r, 8)));
    QCOMPARE(p.DispTemp->value(), int(word(r, 9)));
    QCOMPARE(app.calibpanel2().ui->DispCalibGfRaw->value(), word(r, 10) / 10.0);
    QCOMPARE(p.DispPP->value(), word(r, 11) / 10.0);

    // Buffers: the newest triples and trend entries are the last value sets.
    const ValueHistory& h = app.live().history();
    const auto rawbuf = h.strip(Strip::Raw), gfbuf = h.strip(Strip::Gf);
    QCOMPARE(rawbuf[297], double(word(r, 2)));
    QCOMPARE(rawbuf[298], double(word(r, 3)));
    QCOMPARE(rawbuf[299], double(word(r, 4)));
    QCOMPARE(h.strip(Strip::Norm)[297], double(word(r, 5)));
    QCOMPARE(h.strip(Strip::Int)[297], double(word(r, 6)));
    QCOMPARE(gfbuf[297], gf);
    QCOMPARE(gfbuf[294], gfBefore);
    QCOMPARE(h.trend(1)[0], gf);
    QCOMPARE(h.trend(2)[0], gfBefore);

    // The strip chart of GF shows the buffer: 100 points per trace, newest last.
    ChartPlot::redrawAll();
    auto* value = app.graphs().stripChart(2).series(0);
    QCOMPARE(value->count(), 100);
    QCOMPARE(value->at(99).y(), gf);
    QCOMPARE(value->at(98).y(), gfBefore);
    QCOMPARE(app.graphs().stripChart(2).series(1)->at(99).y(), gfbuf[298]);
}

void LiveLoopTest::timeoutInTheLoopEndsItAndOpensTheInterfacePanel()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    p.DispChRef->setValue(1234);
    sim::Faults silent;
    silent.onlyCommand = frame::ReadMeasurement;
    silent.dropReplies = sim::Faults::kAll;
    f.sensor->setFaults(silent);
    f.onCommand(&app, frame::ReadMeasurement, [&app] { app.pump().expireInnermostWait(); });
    QVERIFY(!f.interfaceWidget()->isVisible());

    QTest::mouseClick(p.ButtonGo, Qt::LeftButton);

    QCOMPARE(p.DispStatus->text(), QStringLiteral("TIMEOUT"));
    QCOMPARE(app.interfacepanel().ui().DispInterfaceStatus->text(), QStringLiteral("TIMEOUT"));
    QVERIFY(f.interfaceWidget()->isVisible());
    QVERIFY(!app.interfacepanel().ui().ButtonAccept->isEnabled());
    QCOMPARE(app.flags().poll, std::uint16_t(0));
    QVERIFY(p.ButtonGo->isEnabled());
    QCOMPARE(p.DispChRef->value(), 1234);  // the displays keep the last values
    QCOMPARE(f.dialogs->shown.size(), 0);
}

void LiveLoopTest::closingTheMainPanelDuringTheLoopEndsLoopAndProgram()
{
    ScopeFixture f;
    f.settingsToSensor();
    QSignalSpy gone(f.sensor.get(), &sim::SensorSim::clientDisconnected);
    ScopeApp app(f.dir.path());
    qint64 framesAtClose = 0;
    bool runningAtClose = false;
    // GO once start-up is over; close once the loop has shown a few value sets.
    ScopeFixture::when(
        &app, [&] { return app.startupFinished(); },
        [&] {
            const qint64 start = f.sensor->frameCount();
            ScopeFixture::when(
                &app, [&, start] { return f.sensor->frameCount() >= start + 3; },
                [&] {
                    framesAtClose = f.sensor->frameCount();
                    runningAtClose = app.live().transfer().running();
                    app.panel().widget->close();
                });
            app.panel().ui->ButtonGo->click();
        });
    QCOMPARE(app.run(), 0);

    QVERIFY(runningAtClose);
    QVERIFY(!app.live().transfer().running());
    QCOMPARE(app.flags().poll, std::uint16_t(0));
    // At most the request under way when the panel closed followed.
    QVERIFY(f.sensor->frameCount() <= framesAtClose + 1);
    QVERIFY(gone.wait(2000) || gone.size() == 1);
}

void LiveLoopTest::toleranceBandComesFromTheTeachRowOfEditNo_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("editNo");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("lower");

    QTest::newRow("NORM upper held at 1000") << 0 << 4 << 990.0 << 25.0 << 1000.0 << 965.0;
    QTest::newRow("NORM lower held at 0") << 0 << 4 << 10.0 << 25.0 << 35.0 << 0.0;
    QTest::newRow("NORM truncated toward zero") << 0 << 4 << 500.4 << 12.5 << 512.0 << 487.0;
    QTest::newRow("INT upper held at 4095") << 1 << 9 << 4090.0 << 10.0 << 4095.0 << 4080.0;
    QTest::newRow("INT truncated toward zero") << 1 << 9 << 100.75 << 0.5 << 101.0 << 100.0;
    QTest::newRow("INT lower just below zero") << 1 << 9 << 0.25 << 0.75 << 1.0 << 0.0;
    QTest::newRow("GF exact") << 2 << 0 << 99.5 << 2.25 << 101.75 << 97.25;
    QTest::newRow("GF upper not clipped, lower held at 0") << 2 << 0 << 1500.0 << 1600.0 << 3100.0 << 0.0;
    QTest::newRow("EditNo 30 reads the last row") << 2 << 30 << 50.0 << 5.0 << 55.0 << 45.0;
    QTest::newRow("RAW has no band") << 3 << 4 << 500.0 << 10.0 << 0.0 << 0.0;
}

void LiveLoopTest::toleranceBandComesFromTheTeachRowOfEditNo()
{
    QFETCH(int, source);
    QFETCH(int, editNo);
    QFETCH(double, a);
    QFETCH(double, t);
    QFETCH(double, upper);
    QFETCH(double, lower);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Ui::P& p = *app.panel().ui;
    p.SelectSource->setCurrentIndex(source);
    p.EditNo->setValue(editNo);
    fillTeachTable(p.TeachTable, editNo, source == 1 ? 2 : 0, a, t);
    setValues(app.measured(), 1);
    app.live().SetPanelData();

    const ValueHistory& h = app.live().history();
    for (const Strip s : {Strip::Norm, Strip::Int, Strip::Gf}) {
        const bool selected = int(s) == source;
        QCOMPARE(h.strip(s)[298], selected ? upper : 0.0);
        QCOMPARE(h.strip(s)[299], selected ? lower : 0.0);
    }
}

void LiveLoopTest::everyBufferAdvancesWhateverTheSource()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Ui::P& p = *app.panel().ui;
    p.SelectSource->setCurrentIndex(3);  // RAW
    fillTeachTable(p.TeachTable, 0, 0, 500, 10);
    const int sets = 101;  // one more than a buffer holds
    for (int i = 0; i < sets; ++i) {
        setValues(app.measured(), i);
        app.live().SetPanelData();
    }
    const ValueHistory& h = app.live().history();
    const auto rawbuf = h.strip(Strip::Raw), normbuf = h.strip(Strip::Norm), intbuf = h.strip(Strip::Int),
               gfbuf = h.strip(Strip::Gf);
    // Triple j holds value set j + 1: the first set has dropped out.
    for (int j : {0, 50, 99}) {
        const int i = j + 1;
        QCOMPARE(rawbuf[3 * j], 1000.0 + i);
        QCOMPARE(rawbuf[3 * j + 1], 2000.0 + i);
        QCOMPARE(rawbuf[3 * j + 2], 300.0 + i);
        QCOMPARE(normbuf[3 * j], 500.0 + i);
        QCOMPARE(intbuf[3 * j], 1200.0 + i);
        QCOMPARE(gfbuf[3 * j], (900.0 + i) / 10.0);
        for (const auto& buf : {normbuf, intbuf, gfbuf}) {
            QCOMPARE(buf[3 * j + 1], 0.0);
            QCOMPARE(buf[3 * j + 2], 0.0);
        }
    }
    // The trend keeps every gloss factor, newest last, zeros before the first.
    const auto trend = h.trend();
    QCOMPARE(trend[999], (900.0 + 100) / 10.0);
    QCOMPARE(trend[999 - 100], 90.0);
    QCOMPARE(trend[999 - 101], 0.0);
    QCOMPARE(trend[0], 0.0);
}

void LiveLoopTest::glossBigDisplayIsRedWithoutAVector()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    const QColor red(0xff0000), green(0x00ff00);
    const struct {
        std::uint16_t vec;
        QColor colour;
    } steps[] = {{255, red}, {3, green}, {0, green}, {255, red}, {255, red}, {30, green}};
    for (const auto& step : steps) {
        app.measured().dataVec = step.vec;
        app.live().SetPanelData();
        QCOMPARE(glossBigColour(app), step.colour);
        QCOMPARE(app.vecpanel().ui->DispVecBig->intValue(), int(step.vec));
    }
}

void LiveLoopTest::barsShowOutOfRangeValuesAtTheirEnds()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    Ui::P& p = *app.panel().ui;
    app.measured().dataChRef = 100;
    app.live().SetPanelData();
    app.measured().dataChRef = 65535;  // above the 12-bit range of the bar
    app.live().SetPanelData();
    QCOMPARE(p.BarChRef->value(), p.BarChRef->maximum());
    QCOMPARE(p.DispChRef->value(), 65535);
}

void LiveLoopTest::bigDisplaysOpenOnDoubleClickAndHideOnRightClickOrClose_data()
{
    QTest::addColumn<QString>("display");
    QTest::newRow("gloss factor") << QStringLiteral("DispGF");
    QTest::newRow("vector number") << QStringLiteral("DispVec");
}

void LiveLoopTest::bigDisplaysOpenOnDoubleClickAndHideOnRightClickOrClose()
{
    QFETCH(QString, display);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.panel().widget->show();
    const bool gf = display == QStringLiteral("DispGF");
    auto* box = app.panel().widget->findChild<QAbstractSpinBox*>(display);
    QWidget* big = gf ? app.gfpanel().widget.get() : app.vecpanel().widget.get();
    QWidget* bigValue = gf ? static_cast<QWidget*>(app.gfpanel().ui->DispGFBig) : app.vecpanel().ui->DispVecBig;
    QVERIFY(box && box->isVisible());

    QTest::mouseClick(editorOf(box), Qt::LeftButton);
    QVERIFY(!big->isVisible());  // a single click opens nothing
    QTest::mouseDClick(editorOf(box), Qt::LeftButton);
    QVERIFY(big->isVisible());
    QTest::mouseClick(bigValue, Qt::RightButton);
    QVERIFY(!big->isVisible());

    QTest::mouseDClick(editorOf(box), Qt::LeftButton);
    QVERIFY(big->isVisible());
    QTest::mouseClick(big, Qt::RightButton);  // on the panel itself
    QVERIFY(!big->isVisible());

    QTest::mouseDClick(editorOf(box), Qt::LeftButton);
    big->close();
    QVERIFY(!big->isVisible());
    QVERIFY(app.panel().widget->isVisible());
    QVERIFY(!app.quitRequested());

    // The display's right click is its help; the gloss factor's box is titled "Info".
    QTest::mouseClick(editorOf(box), Qt::RightButton);
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].title, gf ? QStringLiteral("Info") : QStringLiteral("INFO!"));
    QVERIFY(!big->isVisible());
}

void LiveLoopTest::panelButtonsEndTheLoop_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("opens");
    QTest::newRow("STOP") << QStringLiteral("ButtonStop") << QString();
    QTest::newRow("CALIBRATE") << QStringLiteral("ButtonCalibrate") << QStringLiteral("CALIBP");
    QTest::newRow("RECORDER") << QStringLiteral("ButtonOpenRecorder") << QStringLiteral("RECP");
    QTest::newRow("MONITOR") << QStringLiteral("ButtonOpenMonitor") << QStringLiteral("MONITORP");
    QTest::newRow("GRAPH on the recorder") << QStringLiteral("ButtonShowGraph") << QStringLiteral("GRAPHP");
}

void LiveLoopTest::panelButtonsEndTheLoop()
{
    QFETCH(QString, button);
    QFETCH(QString, opens);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.panel().widget->show();
    QPushButton* b = nullptr;
    for (QWidget* w : {app.panel().widget.get(), app.recpanel().widget.get()})
        if (!b)
            b = w->findChild<QPushButton*>(button);
    QVERIFY(b);
    QWidget* panel = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!opens.isEmpty() && w->objectName() == opens)
            panel = w;
    app.flags().poll = 1;
    app.flags().pollrecord = 1;
    b->click();
    QCOMPARE(app.flags().poll, std::uint16_t(0));
    if (!opens.isEmpty()) {
        QVERIFY(panel && panel->isVisible());
        // The calibration and monitor panels take the main panel's place until they are closed.
        if (opens == QStringLiteral("CALIBP") || opens == QStringLiteral("MONITORP"))
            QVERIFY(!app.panel().widget->isVisible());
        else
            QVERIFY(app.panel().widget->isVisible());
    }
}

void LiveLoopTest::selectSourceHidesTheProfileAndShowsThatSignalsChart_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("chart");
    QTest::newRow("NORM") << 0 << QStringLiteral("GraphNorm");
    QTest::newRow("INT") << 1 << QStringLiteral("GraphInt");
    QTest::newRow("GF") << 2 << QStringLiteral("GraphGF");
    QTest::newRow("RAW") << 3 << QStringLiteral("GraphRaw1");
}

void LiveLoopTest::selectSourceHidesTheProfileAndShowsThatSignalsChart()
{
    QFETCH(int, source);
    QFETCH(QString, chart);
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.panel().widget->show();
    Ui::P& p = *app.panel().ui;
    setVisibleWithCaption(p.GraphProfile, true);
    p.SelectSource->setCurrentIndex(source);
    emit p.SelectSource->activated(source);  // as the user's choice does

    QVERIFY(!p.GraphProfile->isVisible());
    for (QWidget* c : {static_cast<QWidget*>(p.GraphNorm), static_cast<QWidget*>(p.GraphInt),
                       static_cast<QWidget*>(p.GraphGF), static_cast<QWidget*>(p.GraphRaw1)})
        QCOMPARE(c->isVisible(), c->objectName() == chart);
    QCOMPARE(p.DispGF->isVisible(), source == 2);
    QVERIFY(p.DispChDir->isVisible());
}

void LiveLoopTest::displaysShowTheValueReceived()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.measured().dataVec = 300;
    app.measured().dataNorm = 1500;
    app.live().SetPanelData();
    QCOMPARE(app.panel().ui->DispVec->value(), 300);
    QCOMPARE(app.vecpanel().ui->DispVecBig->intValue(), 300);
    QCOMPARE(app.panel().ui->DispNorm->value(), 1500);
    QCOMPARE(app.live().history().strip(Strip::Norm)[297], 1500.0);
}

void LiveLoopTest::closedConnectionEndsTheWaitAtOnce_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("on accept, at the start-up line check") << QStringLiteral("accept");
    QTest::newRow("during GET") << QStringLiteral("get");
    QTest::newRow("during the live loop") << QStringLiteral("loop");
}

void LiveLoopTest::closedConnectionEndsTheWaitAtOnce()
{
    QFETCH(QString, when);
    ScopeFixture f;
    QTcpServer closer;  // accepts, then closes at once
    if (when == u"accept") {
        QVERIFY(closer.listen(QHostAddress::LocalHost));
        connect(&closer, &QTcpServer::newConnection, &closer, [&] {
            while (QTcpSocket* s = closer.nextPendingConnection())
                s->close();
        });
        f.writeFile(QStringLiteral("ComSettings.cfg"),
                    test::settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(closer.serverPort())));
    } else {
        f.settingsToSensor();
    }
    ScopeApp& app = f.start();
    sim::Faults closing;
    closing.closeAfterFrames = when == u"get" ? 5 : 3;
    f.sensor->setFaults(closing);
    if (when == u"get")
        QTest::mouseClick(app.panel().ui->ButtonGet, Qt::LeftButton);
    else if (when == u"loop")
        QTest::mouseClick(app.panel().ui->ButtonGo, Qt::LeftButton);

    // A failed line check says why; a failed transfer shows the bare word.
    QCOMPARE(app.panel().ui->DispStatus->text(),
             when == u"accept" ? QStringLiteral("TIMEOUT: connection closed by the sensor")
                               : QStringLiteral("TIMEOUT"));
    QCOMPARE(f.dialogs->count(QStringLiteral("TCP Client")), 1);
    // The wait ended when the connection closed, not at its 3 s (5 s) limit.
    QVERIFY2(app.exchange().lastWaitSeconds() < 1.0, qPrintable(QString::number(app.exchange().lastWaitSeconds())));
}

void LiveLoopTest::lateProfileBlockIsNotTakenForTheNext_data()
{
    tarvo::test::addLinkRows();
}

void LiveLoopTest::lateProfileBlockIsNotTakenForTheNext()
{
    QFETCH(bool, serial);
    ScopeFixture f(ScopeFixture::linkOptions(serial));
    f.settingsToSensorOn(serial);
    f.sensor->setNoise(1.0);  // profiles of real shape: neighbouring blocks differ
    ScopeApp& app = f.start();
    // The replies to commands 9 and 5 as the sensor sends them.
    QList<QByteArray> blocks, measurements;
    connect(f.sensor.get(), &sim::SensorSim::bytesSent, &app, [&](const QByteArray& b) {
        const auto code = b.size() == frame::kBytes
            ? frame::getWord(reinterpret_cast<const std::uint8_t*>(b.constData()), 1)
            : 0;
        if (code == frame::ReadProfileBlock)
            blocks << b;
        else if (code == frame::ReadMeasurement)
            measurements << b;
    });
    // Block 4's wait ends when the sensor gets the request, as if its limit
    // had run out; its reply comes 0.3 s later, within the hold-off.
    sim::Faults late;
    late.delayMs = 300;
    late.followGapMs = 300;  // block 5's own reply 0.3 s after it
    late.onlyCommand = frame::ReadProfileBlock;
    late.onlyArgument = 4;
    f.sensor->setFaults(late);
    f.onCommand(
        &app, frame::ReadProfileBlock, [&app] { app.pump().expireInnermostWait(); }, 4);
    app.live().transfer().GetProfile();

    QCOMPARE(blocks.size(), 10);
    auto point = [&](int block, int j) {
        return frame::getWord(reinterpret_cast<const std::uint8_t*>(blocks[block].constData()), 2 + j) / 10.0;
    };
    const auto& buf = app.measured().profileBuf;
    // Block 4 timed out and keeps the points before (none); every other block holds its own.
    QCOMPARE(buf[16 * 4], 0.0);
    QVERIFY(blocks[4].mid(4) != blocks[5].mid(4));  // the two blocks can be told apart
    for (int block : {3, 5, 6, 7, 8, 9})
        for (int j = 0; j < (block < 9 ? 16 : 6); ++j)
            QCOMPARE(buf[16 * block + j], point(block, j));
    // The closing measurement shows its own values, not a profile block's.
    QCOMPARE(measurements.size(), 1);
    QCOMPARE(app.measured().dataGf,
             frame::getWord(reinterpret_cast<const std::uint8_t*>(measurements[0].constData()), 7));
    QCOMPARE(app.panel().ui->DispStatus->text(), QStringLiteral("TIMEOUT"));  // once, for block 4
}

QTEST_MAIN(LiveLoopTest)
#include "tst_liveloop.moc"
