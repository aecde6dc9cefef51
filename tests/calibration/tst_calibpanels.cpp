// Both calibrations on the real panels against the simulated sensor: the
// frames of a reference calibration, its failures, closing, the curve sent
// in 77 rows, and the table's file.
#include "calibration.h"
#include "calibrationlog.h"
#include "calibrationlogpanel.h"
#include "charts.h"
#include "entryfeedback.h"
#include "fileio.h"
#include "pdftext.h"
#include "scopefixture.h"
#include "timetext.h"
#include "ui_CALIBLOG.h"
#include "ui_CALIBP.h"
#include "ui_CALIBP2.h"
#include "ui_P.h"
#include "ui_ScaleAxisPanel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <cmath>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

std::uint16_t word(const QByteArray& bytes, int i)
{
    return frame::getWord(reinterpret_cast<const std::uint8_t*>(bytes.constData()), i);
}

QList<QByteArray> framesOf(const ScopeFixture& f, int command = -1)
{
    QList<QByteArray> out;
    for (const QByteArray& fr : f.sensor->receivedFrames())
        if (command < 0 || word(fr, 1) == command)
            out << fr;
    return out;
}

QList<int> commandsOf(const ScopeFixture& f)
{
    QList<int> out;
    for (const QByteArray& fr : f.sensor->receivedFrames())
        out << word(fr, 1);
    return out;
}

const QString kSuccess = QStringLiteral(
    " Calibration successful! \n Calibration factors were sent to the EEPROM of the sensor. \n Press CLOSE CALIBRATION to leave calibration panel. \n Press CALIBRATE TO OTHER SYSTEM to calibrate sensor to an other system.");

// The boxes shown, without the file dialogs.
QList<tarvo::test::ShownBox> boxes(const ScopeFixture& f)
{
    QList<tarvo::test::ShownBox> out;
    for (const auto& b : f.dialogs->shown)
        if (b.kind != QStringLiteral("file"))
            out << b;
    return out;
}

struct Saved {
    std::uint16_t pmod, average, evalmode, trigger;
};

// A program connected to the simulator, with a working set that differs
// from everything the calibrations set. The pauses that let the sensor settle
// last a twentieth of their time unless realPace.
ScopeApp& startConnected(ScopeFixture& f, bool realPace = false)
{
    ScopeApp& app = f.start();
    if (!realPace)
        app.calib().setSettleScale(0.05);
    app.params().pmod = 1;
    app.params().average = 16;
    app.params().evalmode = 1;
    app.params().trigger = 1;
    f.sensor->clearReceived();
    f.dialogs->shown.clear();
    return app;
}

void checkRestoredFrame(const QByteArray& fr, const Saved& s, std::uint16_t power)
{
    QCOMPARE(word(fr, 1), std::uint16_t(frame::WriteParams));
    QCOMPARE(word(fr, 2), power);
    QCOMPARE(word(fr, 3), s.pmod);
    QCOMPARE(word(fr, 4), s.average);
    QCOMPARE(word(fr, 5), s.evalmode);
    QCOMPARE(word(fr, 10), s.trigger);
}

void openOtherSystem(ScopeFixture& f, ScopeApp& app)
{
    QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
    f.dialogs->confirmAnswers << true;
    QTest::mouseClick(app.calibpanel().ui->ButtonCalibToOtherSystem, Qt::LeftButton);
    f.sensor->clearReceived();
    f.dialogs->shown.clear();
}

}  // namespace

class CalibPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void referenceCalibrationConvergesAndIsConfirmed();
    void refusedStartSendsNothing();
    void timeoutInTheFourthPassStopsWithoutConfirming();
    void otherSystemNeedsConfirmAndSetsDynamicPower_data();
    void otherSystemNeedsConfirmAndSetsDynamicPower();
    void curveGoesToTheSensorIn77Rows_data();
    void curveGoesToTheSensorIn77Rows();
    void failureAtOneRowStopsTheTransfer();
    void faultyTableSendsNothingAndMarksTheRow();
    void assignTakesTheRawGlossIntoTarvoCellsOnly();
    void measureShowsTheSensorsRawGlossThatAssignWrites_data();
    void measureShowsTheSensorsRawGlossThatAssignWrites();
    void tableFileRoundTripAndHostileFiles();
    void unwritableFileIsReported();
    void gridCellTakesOnlyANumberAndSaysSo();
    void graphDoubleClickOpensAxisScalingAndCloseHidesIt();
};

void CalibPanelsTest::referenceCalibrationConvergesAndIsConfirmed()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f);
    Ui::CALIBP& c = *app.calibpanel().ui;
    const Saved saved{app.params().pmod, app.params().average, app.params().evalmode, app.params().trigger};
    QList<QByteArray> replies;
    connect(f.sensor.get(), &sim::SensorSim::bytesSent, this, [&](const QByteArray& b) {
        if (b.size() == frame::kBytes && word(b, 1) == frame::ReadMeasurement)
            replies << b;
    });

    QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
    QVERIFY(app.calibpanel().widget->isVisible());
    QVERIFY(!app.panel().widget->isVisible());

    bool dimmedDuringSearch = false;
    f.onCommand(
        &app, frame::WriteParams,
        [&] {
            dimmedDuringSearch = !c.ButtonStartCalib->isEnabled() && !c.ButtonCloseCalib->isEnabled()
                && !c.ButtonCalibToOtherSystem->isEnabled() && !app.panel().ui->ButtonGo->isEnabled();
        },
        -1, 2);
    f.dialogs->confirmAnswers << true;
    QTest::mouseClick(c.ButtonStartCalib, Qt::LeftButton);  // returns when the calibration has ended
    QVERIFY(dimmedDuringSearch);
    QVERIFY(c.ButtonStartCalib->isEnabled());

    // Ten passes and the final reading, then the confirmation.
    QList<int> expected;
    for (int i = 0; i < 11; ++i)
        expected << frame::WriteParams << frame::ReadMeasurement;
    expected << frame::ConfirmRefCalib;
    QCOMPARE(commandsOf(f), expected);
    QCOMPARE(replies.size(), 11);

    // Each pass moves the power by half the step toward 3850 on the stronger channel.
    const QList<QByteArray> writes = framesOf(f, frame::WriteParams);
    std::uint16_t step = 512;
    QCOMPARE(word(writes[0], 2), std::uint16_t(512));
    for (int pass = 0; pass < 10; ++pass) {
        const QByteArray& w = writes[pass];
        QCOMPARE(word(w, 3), std::uint16_t(0));     // STAT
        QCOMPARE(word(w, 4), std::uint16_t(4096));  // average
        QCOMPARE(word(w, 5), std::uint16_t(1));     // gloss mode
        QCOMPARE(word(w, 10), std::uint16_t(0));    // CONT
        const std::uint16_t m = std::max(word(replies[pass], 2), word(replies[pass], 3));
        const int half = step / 2;
        const int next = std::min(1000, m > 3850 ? word(w, 2) - half : word(w, 2) + half);
        QCOMPARE(int(word(writes[pass + 1], 2)), next);
        step /= 2;
    }
    const QByteArray& finalWrite = writes[10];
    QCOMPARE(word(finalWrite, 2), word(writes[9], 2));
    QCOMPARE(word(finalWrite, 4), std::uint16_t(0x8000));
    const std::uint16_t power = word(finalWrite, 2);
    const std::uint16_t m = std::max(word(replies[9], 2), word(replies[9], 3));
    QVERIFY(m > 3550 && m < 3950);

    // Command 30 carries the power and the final frame's CH_DIR and CH_REF; the sensor stored them.
    const QByteArray confirm = framesOf(f, frame::ConfirmRefCalib).value(0);
    const std::uint16_t chRef = word(replies[10], 2), chDir = word(replies[10], 3);
    QCOMPARE(word(confirm, 2), power);
    QCOMPARE(word(confirm, 3), chDir);
    QCOMPARE(word(confirm, 4), chRef);
    QCOMPARE(f.sensor->calibration(), (sim::RefCalibration{power, chDir, chRef}));
    QCOMPARE(c.DispCalibChDir->value(), int(chDir));
    QCOMPARE(c.DispCalibChRef->value(), int(chRef));
    QCOMPARE(c.SlideRefPower->value(), int(power));
    QCOMPARE(app.panel().ui->SlidePower->value(), int(power));
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown[1].title, QStringLiteral("ATTENTION!"));
    QCOMPARE(f.dialogs->shown[1].text, kSuccess);

    // The calibration log in the user's data folder holds the record of it.
    QCOMPARE(app.calib().journal().log.path(), f.path(QStringLiteral("data/tarvo/calibration-log.jsonl")));
    CalibrationLog::Contents log = app.calib().journal().log.read();
    QCOMPARE(log.records.size(), size_t(1));
    const CalibrationRecord& r = log.records[0];
    QCOMPARE(r.kind, QStringLiteral("reference-100"));
    QCOMPARE(r.outcome, QStringLiteral("done"));
    QCOMPARE(r.written, QStringLiteral("EEPROM"));
    QVERIFY(r.sensor.startsWith(QLatin1String("TARVO GLOSS SENSOR")));
    QCOMPARE(r.user, operatingSystemUser());
    QVERIFY(std::abs(r.when.secsTo(QDateTime::currentDateTime())) < 600);
    QVERIFY(f.readFile(QStringLiteral("data/tarvo/calibration-log.jsonl"))
                .contains(isoTimeWithOffset(r.when).toUtf8()));  // ISO 8601 with the UTC offset
    const auto value = [](const CalibrationRecord::Values& v, const char* name) {
        for (const auto& [n, x] : v)
            if (n == QLatin1String(name))
                return x;
        return QString();
    };
    QCOMPARE(value(r.before, "average"), QString::number(saved.average));
    QCOMPARE(value(r.after, "power"), QString::number(power));
    QCOMPARE(value(r.after, "average"), QStringLiteral("32768"));
    QCOMPARE(value(r.after, "CH_REF"), QString::number(chRef));
    QCOMPARE(value(r.after, "CH_DIR"), QString::number(chDir));

    // The log's window lists it; its CSV export and its certificate hold its fields.
    auto* logPanel = app.calibpanel().ui->ButtonCalibLog->findChild<CalibrationLogPanel*>();
    QVERIFY(logPanel);
    QTest::mouseClick(app.calibpanel().ui->ButtonCalibLog, Qt::LeftButton);
    QVERIFY(logPanel->widget()->isVisible());
    QCOMPARE(logPanel->ui().TableCalibLog->rowCount(), 1);
    QCOMPARE(logPanel->ui().EditLogSensor->count(), 2);  // all sensors, and this one
    f.dialogs->fileAnswers << f.path(QStringLiteral("log.csv")) << f.path(QStringLiteral("certificate.pdf"));
    QTest::mouseClick(logPanel->ui().ButtonExportLog, Qt::LeftButton);
    const QList<QByteArray> csv = f.readFile(QStringLiteral("log.csv")).split('\n');
    QCOMPARE(csv.size(), 3);
    QVERIFY(csv[1].contains(",reference-100,done,"));
    QVERIFY(csv[1].contains(QStringLiteral("power=%1").arg(power).toUtf8()));
    QTest::mouseClick(logPanel->ui().ButtonCertificate, Qt::LeftButton);
    const QString certificate = tarvo::test::pdfText(f.path(QStringLiteral("certificate.pdf")));
    for (const QString& expected :
         {QStringLiteral("Calibration certificate"), QStringLiteral("Reference-100 calibration"),
          QStringLiteral("Outcome DONE"), QStringLiteral("Taken by the sensor EEPROM"), r.sensor,
          QStringLiteral("power %1 → %2").arg(value(r.before, "power"), QString::number(power)),
          QStringLiteral("Signature"), QStringLiteral("TarvoV43 ")})
        QVERIFY2(certificate.contains(expected), qPrintable(expected + QStringLiteral(" not in: ") + certificate));
    logPanel->widget()->hide();

    // A second start that the user refuses must not confirm the first result again.
    // It is logged as cancelled; a full disk loses that record, never the first.
    f.sensor->clearReceived();
    f.dialogs->confirmAnswers << false;
    simulateDiskFullAfter(20);
    QTest::mouseClick(c.ButtonStartCalib, Qt::LeftButton);
    simulateDiskFullAfter(-1);
    QVERIFY(f.sensor->receivedFrames().isEmpty());
    QCOMPARE(f.dialogs->count(QStringLiteral("START CALIBRATION!")), 2);
    QVERIFY(f.dialogs->shown.last().text.contains(QLatin1String("could not be written to the calibration log")));
    QCOMPARE(app.calib().journal().last().outcome, QStringLiteral("cancelled"));
    log = app.calib().journal().log.read();
    QCOMPARE(log.records.size(), size_t(1));
    QCOMPARE(log.damaged, 0);
    QCOMPARE(log.records[0].outcome, QStringLiteral("done"));

    // Closing restores the four parameters, in the program and in the sensor; power stays.
    QTest::mouseClick(c.ButtonCloseCalib, Qt::LeftButton);
    QCOMPARE(framesOf(f).size(), 1);
    checkRestoredFrame(framesOf(f)[0], saved, power);
    QCOMPARE(app.params().pmod, saved.pmod);
    QCOMPARE(app.params().average, saved.average);
    QCOMPARE(app.params().trigger, saved.trigger);
    QCOMPARE(app.params().power, power);
    QCOMPARE(f.sensor->parameters()[sim::Average], saved.average);
    QVERIFY(!app.calibpanel().widget->isVisible());
    QVERIFY(app.panel().widget->isVisible());
    QCOMPARE(app.panel().ui->EditAverage->value(), int(saved.average));
}

void CalibPanelsTest::refusedStartSendsNothing()
{
    ScopeFixture f;
    f.settingsToSensor();
    // Calibrated on 1 March 2026, due every 10 days: the connection says since when it is due.
    QDir().mkpath(f.path(QStringLiteral("data/tarvo")));
    f.writeFile(QStringLiteral("data/tarvo/calibration-intervals.txt"), "TARVO GLOSS SENSOR V4.3 SIM\t10\n");
    f.writeFile(QStringLiteral("data/tarvo/calibration-log.jsonl"),
                R"({"time":"2026-03-01T08:00:00.000+01:00","kind":"reference-100","outcome":"done",)"
                R"("sensor":"TARVO GLOSS SENSOR V4.3 SIM"})"
                "\n");
    ScopeApp& app = startConnected(f);
    QCOMPARE(app.panel().ui->DispCalibDue->text(), QStringLiteral("calibration due since 2026-03-11"));
    QVERIFY(app.panel().ui->DispCalibDue->isVisibleTo(app.panel().widget.get()));
    const auto before = app.params().power;
    QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
    f.dialogs->confirmAnswers << false;
    QTest::mouseClick(app.calibpanel().ui->ButtonStartCalib, Qt::LeftButton);
    QVERIFY(f.sensor->receivedFrames().isEmpty());
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("START CALIBRATION!"));
    QCOMPARE(app.params().power, before);
    QCOMPARE(app.params().average, std::uint16_t(16));
}

void CalibPanelsTest::timeoutInTheFourthPassStopsWithoutConfirming()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f);
    const Saved saved{app.params().pmod, app.params().average, app.params().evalmode, app.params().trigger};
    QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
    sim::Faults drop;
    drop.dropReplies = 1;
    drop.onlyCommand = frame::ReadMeasurement;
    drop.afterFrames = 7;  // three passes of two frames and the fourth command 1
    f.sensor->setFaults(drop);
    // The wait for the reply that never comes ends when the sensor gets the request.
    f.onCommand(
        &app, frame::ReadMeasurement, [&app] { app.pump().expireInnermostWait(); }, -1, 4);
    f.dialogs->confirmAnswers << true;
    QTest::mouseClick(app.calibpanel().ui->ButtonStartCalib, Qt::LeftButton);

    const QList<QByteArray> writes = framesOf(f, frame::WriteParams);
    QCOMPARE(writes.size(), 4);
    QCOMPARE(app.params().power, word(writes[3], 2));  // the power sent in that pass
    QVERIFY(framesOf(f, frame::ConfirmRefCalib).isEmpty());
    QCOMPARE(app.calib().calibrationOk(), std::uint16_t(0));
    QCOMPARE(app.panel().ui->DispStatus->text(), QStringLiteral("TIMEOUT"));
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 0);  // no success, no window message
    QCOMPARE(app.calib().journal().log.read().records.back().outcome, QStringLiteral("failed"));
    QCOMPARE(app.calib().journal().last().reason, QStringLiteral("the sensor did not answer (TIMEOUT)"));

    f.sensor->setFaults({});
    f.sensor->clearReceived();
    QTest::mouseClick(app.calibpanel().ui->ButtonCloseCalib, Qt::LeftButton);
    checkRestoredFrame(framesOf(f).value(0), saved, word(writes[3], 2));
}

void CalibPanelsTest::otherSystemNeedsConfirmAndSetsDynamicPower_data()
{
    QTest::addColumn<bool>("esc");  // leave the panels by Esc, else by their close buttons
    QTest::newRow("close button") << false;
    QTest::newRow("Esc") << true;
}

void CalibPanelsTest::otherSystemNeedsConfirmAndSetsDynamicPower()
{
    QFETCH(bool, esc);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f);
    const Saved saved{app.params().pmod, app.params().average, app.params().evalmode, app.params().trigger};
    if (esc) {
        // Esc on the first panel returns to the main panel too, never to no
        // window. Esc's shortcut closes the panel (tst_startup); the offscreen
        // platform leaves the hidden main panel the focus window here, so the
        // panel is closed as the shortcut closes it.
        QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
        QVERIFY(!app.panel().widget->isVisible());
        app.calibpanel().widget->close();
        QVERIFY(!app.calibpanel().widget->isVisible());
        QVERIFY(app.panel().widget->isVisible());
        f.sensor->clearReceived();
    }
    QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
    f.dialogs->confirmAnswers << false;
    QTest::mouseClick(app.calibpanel().ui->ButtonCalibToOtherSystem, Qt::LeftButton);
    QVERIFY(app.calibpanel().widget->isVisible());
    QVERIFY(f.sensor->receivedFrames().isEmpty());

    f.dialogs->confirmAnswers << true;
    QTest::mouseClick(app.calibpanel().ui->ButtonCalibToOtherSystem, Qt::LeftButton);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("CONFIRM!"));
    QVERIFY(!app.calibpanel().widget->isVisible());
    QVERIFY(app.calibpanel2().widget->isVisible());
    const QByteArray w = framesOf(f).value(0);
    QCOMPARE(word(w, 1), std::uint16_t(frame::WriteParams));
    QCOMPARE(word(w, 3), std::uint16_t(1));  // DYN
    QCOMPARE(word(w, 4), std::uint16_t(4096));
    QCOMPARE(word(w, 10), std::uint16_t(0));

    f.sensor->clearReceived();
    if (esc)
        QTest::keyClick(app.calibpanel2().widget.get(), Qt::Key_Escape);
    else
        QTest::mouseClick(app.calibpanel2().ui->ButtonCloseCalibP2, Qt::LeftButton);
    checkRestoredFrame(framesOf(f).value(0), saved, app.params().power);
    QVERIFY(!app.calibpanel2().widget->isVisible());
    QVERIFY(app.panel().widget->isVisible());
}

void CalibPanelsTest::curveGoesToTheSensorIn77Rows_data()
{
    QTest::addColumn<bool>("typedInOpenEditor");  // the last cell typed, its editor still open
    QTest::newRow("mouse click") << false;
    QTest::newRow("pressed by assistive technology, a cell editor open") << true;
}

void CalibPanelsTest::curveGoesToTheSensorIn77Rows()
{
    QFETCH(bool, typedInOpenEditor);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f);
    openOtherSystem(f, app);
    CalibCells table = CalibCells::resetValues();
    table.at(1, 2) = 50.0;
    table.at(2, 2) = 60.0;
    table.at(1, 3) = 20.0;
    table.at(2, 3) = typedInOpenEditor ? 300.0 : 25.0;
    app.calib().setTableCells(table);
    table.at(2, 3) = 25.0;

    QPushButton* send = app.calibpanel2().ui->ButtonSendCalibData;
    if (typedInOpenEditor) {
        QTableWidget* grid = app.calibpanel2().ui->GridMeasuredValues;
        grid->editItem(grid->item(2, 1));
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("25"));
        // The press action moves no focus, so nothing else ends the edit.
        QAccessible::queryAccessibleInterface(send)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(f.dialogs->shown.size(), 1);
    } else {
        QTest::mouseClick(send, Qt::LeftButton);
    }

    CurveBuf curve{};
    QCOMPARE(CalculateCurve(table, curve).error, TableError::None);
    SentBuf expected{};
    SampleCurve(curve, expected);
    QList<int> commands{frame::AnnounceCalibTable};
    for (int r = 0; r < kCalibFrames; ++r)
        commands << frame::WriteCalibRow;
    QCOMPARE(commandsOf(f), commands);
    const QList<QByteArray> rows = framesOf(f, frame::WriteCalibRow);
    for (int r = 0; r < kCalibFrames; ++r) {
        QCOMPARE(int(word(rows[r], 2)), r);
        for (int k = 0; k < kCalibFrameWords; ++k)
            QCOMPARE(word(rows[r], 3 + k), expected[13 * r + k]);
    }
    QVERIFY(f.sensor->calibTable() == expected);
    QCOMPARE(int(expected[50]), 250);   // GF 20.0 -> 25.0
    QCOMPARE(int(expected[125]), 600);  // GF 50.0 -> 60.0
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].text, QStringLiteral("Calibration data were saved to EE."));
    QCOMPARE(app.calib().gridOk(), std::uint16_t(1));
    QVERIFY(app.calibpanel2().ui->ButtonSendCalibData->isEnabled());

    // The graph shows the curve and the identity line, 20001 points each.
    const auto series = app.calibpanel2().ui->GraphCalibBuf->chart()->series();
    QCOMPARE(series.size(), 2);
    auto* blue = qobject_cast<QLineSeries*>(series[0]);
    QCOMPARE(blue->count(), kCurvePoints);
    QCOMPARE(blue->at(200).y(), 25.0);
    QCOMPARE(blue->color(), QColor(0, 0, 255));
    QCOMPARE(qobject_cast<QLineSeries*>(series[1])->at(12345).y(), 1234.5);
}

void CalibPanelsTest::failureAtOneRowStopsTheTransfer()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f);
    openOtherSystem(f, app);
    const sim::CalibTable factory = f.sensor->calibTable();
    CalibCells table = CalibCells::resetValues();
    table.at(2, 24) = 1000.0;  // a curve at half the identity
    app.calib().setTableCells(table);
    constexpr int failing = 40;
    sim::Faults drop;
    drop.dropReplies = 1;
    drop.onlyCommand = frame::WriteCalibRow;
    drop.afterFrames = 1 + failing;  // command 32 and the rows before
    f.sensor->setFaults(drop);
    f.onCommand(
        &app, frame::WriteCalibRow, [&app] { app.pump().expireInnermostWait(); }, failing);

    QTest::mouseClick(app.calibpanel2().ui->ButtonSendCalibData, Qt::LeftButton);

    const QList<QByteArray> rows = framesOf(f, frame::WriteCalibRow);
    QCOMPARE(rows.size(), failing + 1);
    QCOMPARE(int(word(rows.last(), 2)), failing);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QCOMPARE(f.dialogs->shown.last().text, QStringLiteral("Calibration failed."));
    QCOMPARE(f.dialogs->count(QStringLiteral("INFO!")), 0);
    QCOMPARE(app.panel().ui->DispStatus->text(), QStringLiteral("TIMEOUT"));
    // The sensor holds the acknowledged rows (and the last one it stored before the lost echo).
    const sim::CalibTable now = f.sensor->calibTable();
    QCOMPARE(int(now[13]), int(word(rows[1], 3)));  // row 1 as it was sent
    QVERIFY(now[13] != factory[13]);
    QCOMPARE(now[13 * (failing + 1)], factory[13 * (failing + 1)]);
    // Logged as failed, with the curve's points and the sensor written in part.
    const CalibrationRecord r = app.calib().journal().log.read().records.back();
    QCOMPARE(r.kind, QStringLiteral("other-system"));
    QCOMPARE(r.outcome, QStringLiteral("failed"));
    QCOMPARE(r.written, QStringLiteral("EEPROM (in part)"));
    QCOMPARE(r.curve, (std::vector<std::pair<double, double>>{{0.0, 0.0}, {2000.0, 1000.0}}));
}

void CalibPanelsTest::faultyTableSendsNothingAndMarksTheRow()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f);
    openOtherSystem(f, app);
    QTableWidget* grid = app.calibpanel2().ui->GridMeasuredValues;
    app.calib().ResetCalibTable();
    QTest::mouseClick(app.calibpanel2().ui->ButtonCalcCalibData, Qt::LeftButton);  // a good curve first
    QCOMPARE(f.dialogs->shown.value(0).title, QStringLiteral("INFO!"));
    const CurveBuf before = app.calib().bias();

    grid->item(6, 0)->setText(QStringLiteral("-1"));
    grid->item(6, 1)->setText(QStringLiteral("55.0"));
    f.dialogs->shown.clear();
    QTest::mouseClick(app.calibpanel2().ui->ButtonSendCalibData, Qt::LeftButton);
    QVERIFY(f.sensor->receivedFrames().isEmpty());
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown[0].text, QStringLiteral("Both cells in a row must be set or disabled (-1)."));
    QCOMPARE(f.dialogs->shown[1].text, QStringLiteral("Datas can not be saved. \nCheck grid and repeat calculation."));
    QCOMPARE(app.calib().gridOk(), std::uint16_t(0));
    QVERIFY(app.calib().bias() == before);
    QVERIFY(grid->item(6, 0)->isSelected() && grid->item(6, 1)->isSelected());

    // Text that is no number is refused like any value out of range, and only that cell is marked.
    grid->item(6, 0)->setText(QStringLiteral("12a"));
    f.dialogs->shown.clear();
    QTest::mouseClick(app.calibpanel2().ui->ButtonCalcCalibData, Qt::LeftButton);
    QCOMPARE(f.dialogs->shown.size(), 1);
    QVERIFY(f.dialogs->shown[0].text.startsWith(QStringLiteral("Cell value out of range!")));
    QVERIFY(grid->item(6, 0)->isSelected() && !grid->item(6, 1)->isSelected());

    // An end cell set to -1.
    grid->item(6, 0)->setText(QStringLiteral("-1"));
    grid->item(6, 1)->setText(QStringLiteral("-1"));
    grid->item(23, 1)->setText(QStringLiteral("-1"));
    f.dialogs->shown.clear();
    QTest::mouseClick(app.calibpanel2().ui->ButtonCalcCalibData, Qt::LeftButton);
    QCOMPARE(
        f.dialogs->shown.value(0).text,
        QStringLiteral(
            "Cells GF=0.0 and GF=2000.0 must be set! \r\nDefault for row 0 is 0.0! \r\nDefault for row 2000.0 is 2000.0!"));
    QVERIFY(grid->item(23, 1)->isSelected());
}

void CalibPanelsTest::assignTakesTheRawGlossIntoTarvoCellsOnly()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    QTableWidget* grid = app.calibpanel2().ui->GridMeasuredValues;
    app.calib().ResetCalibTable();
    // Nothing measured: a notice, no cell changed.
    app.measured().dataGfRawDouble = 98.0;
    grid->setCurrentCell(4, 0);
    app.calibpanel2().ui->ButtonAssignCal2->click();
    QCOMPARE(grid->item(4, 0)->text(), QStringLiteral("-1.0"));
    QCOMPARE(f.dialogs->shown.size(), 1);
    QVERIFY(f.dialogs->shown[0].text.startsWith(QStringLiteral("No GF RAW measured yet!")));
    f.dialogs->shown.clear();

    // The value written is the one shown, not the last frame some other part read.
    app.calibpanel2().ui->DispCalibGfRaw->setValue(123.4);
    const QString wrong = QStringLiteral(
        "Wrong cell selected! \r\nOnly cells in columne TARVO-VALUE can be selected! \r\nBut without cell 0 and cell 2000.0! ");
    for (auto [row, col] : {std::pair{4, 0}, std::pair{1, 0}, std::pair{22, 0}}) {
        grid->setCurrentCell(row, col);
        app.calibpanel2().ui->ButtonAssignCal2->click();
    }
    QCOMPARE(grid->item(4, 0)->text(), QStringLiteral("123.4"));
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("123.4"));
    QCOMPARE(grid->item(22, 0)->text(), QStringLiteral("123.4"));
    QVERIFY(f.dialogs->shown.isEmpty());

    for (auto [row, col] : {std::pair{4, 1}, std::pair{0, 0}, std::pair{23, 0}}) {
        grid->setCurrentCell(row, col);
        app.calibpanel2().ui->ButtonAssignCal2->click();
    }
    QCOMPARE(f.dialogs->shown.size(), 3);
    for (const auto& box : f.dialogs->shown)
        QCOMPARE(box.text, wrong);
    QCOMPARE(grid->item(4, 1)->text(), QStringLiteral("-1.0"));
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("0.0"));
    QCOMPARE(grid->item(23, 0)->text(), QStringLiteral("2000.0"));
}

void CalibPanelsTest::measureShowsTheSensorsRawGlossThatAssignWrites_data()
{
    QTest::addColumn<QString>("second");  // what happens to the second measurement
    QTest::newRow("answered") << QStringLiteral("answered");
    QTest::newRow("reply never comes") << QStringLiteral("timeout");
    QTest::newRow("connection lost") << QStringLiteral("closed");
}

void CalibPanelsTest::measureShowsTheSensorsRawGlossThatAssignWrites()
{
    QFETCH(QString, second);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = startConnected(f, second == u"answered");
    Ui::CALIBP2& c = *app.calibpanel2().ui;
    QList<QByteArray> replies;
    connect(f.sensor.get(), &sim::SensorSim::bytesSent, this, [&](const QByteArray& b) {
        if (b.size() == frame::kBytes && word(b, 1) == frame::ReadMeasurement)
            replies << b;
    });
    // A value of the live loop, taken with the user's settings, is not offered.
    c.DispCalibGfRaw->setValue(55.5);
    app.measured().dataGfRawDouble = 98.0;
    openOtherSystem(f, app);
    QCOMPARE(c.DispCalibGfRaw->text(), QStringLiteral("none"));

    f.sensor->setGloss(120.0);
    bool dimmed = false;
    QTableWidget* grid = c.GridMeasuredValues;
    grid->setCurrentCell(2, 0);
    QVERIFY(QTest::qWaitForWindowActive(app.calibpanel2().widget.get()));
    c.ButtonMeasure->setFocus();
    f.onCommand(this, frame::WriteParams, [&] {
        dimmed = !c.ButtonMeasure->isEnabled() && !c.ButtonCloseCalibP2->isEnabled();
        // Keys and clicks meanwhile start no second exchange, and a key
        // pressed twice does not assign the value shown before.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_Space);
        QTest::keyClick(focus, Qt::Key_F11);
        QTest::mouseClick(c.ButtonMeasure, Qt::LeftButton);
    });
    QTest::keyClick(c.ButtonMeasure, Qt::Key_Space);  // returns when the measurement has ended
    QVERIFY(dimmed);
    QVERIFY(c.ButtonMeasure->isEnabled());
    QVERIFY(c.ButtonMeasure->hasFocus());
    QVERIFY(boxes(f).isEmpty());
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("-1.0"));
    QCOMPARE(commandsOf(f), (QList<int>{frame::WriteParams, frame::ReadMeasurement}));
    const QByteArray w = framesOf(f, frame::WriteParams).value(0);  // the calibration's settings
    QCOMPARE(word(w, 3), std::uint16_t(1));                         // DYN
    QCOMPARE(word(w, 4), std::uint16_t(4096));
    QCOMPARE(word(w, 5), std::uint16_t(1));
    QCOMPARE(word(w, 10), std::uint16_t(0));
    QCOMPARE(replies.size(), 1);
    const double first = word(replies[0], 10) / 10.0;
    QCOMPARE(c.DispCalibGfRaw->value(), first);
    QVERIFY(std::abs(first / 120.0 - 1.0) < 0.03);  // the factory calibration is about 2 % off

    c.ButtonAssignCal2->click();
    QCOMPARE(grid->item(2, 0)->text(), QString::number(c.DispCalibGfRaw->value(), 'f', 1));
    QVERIFY(boxes(f).isEmpty());

    f.sensor->setGloss(150.0);
    f.sensor->clearReceived();
    app.params().pmod = 0;  // as a reconnection's parameter read leaves them
    app.params().average = 16;
    if (second == u"timeout") {
        sim::Faults drop;
        drop.dropReplies = 1;
        drop.onlyCommand = frame::ReadMeasurement;
        f.sensor->setFaults(drop);
        f.onCommand(this, frame::ReadMeasurement, [&app] { app.pump().expireInnermostWait(); });
    } else if (second == u"closed") {
        sim::Faults closing;
        closing.closeAfterFrames = 1;  // after the settings' echo
        f.sensor->setFaults(closing);
    }
    QTest::mouseClick(c.ButtonMeasure, Qt::LeftButton);
    QCOMPARE(commandsOf(f).value(0), int(frame::WriteParams));
    QCOMPARE(word(framesOf(f).value(0), 3), std::uint16_t(1));
    QCOMPARE(word(framesOf(f).value(0), 4), std::uint16_t(4096));
    if (second == u"answered") {
        QCOMPARE(replies.size(), 2);
        QCOMPARE(c.DispCalibGfRaw->value(), word(replies[1], 10) / 10.0);
        QVERIFY(std::abs(c.DispCalibGfRaw->value() / 150.0 - 1.0) < 0.03);
    } else {
        QCOMPARE(replies.size(), 1);
        QCOMPARE(c.DispCalibGfRaw->value(), first);
        QCOMPARE(app.panel().ui->DispStatus->text(), QStringLiteral("TIMEOUT"));
    }
    QVERIFY(c.ButtonMeasure->isEnabled());
    grid->setCurrentCell(3, 0);
    c.ButtonAssignCal2->click();
    QCOMPARE(grid->item(3, 0)->text(), QString::number(c.DispCalibGfRaw->value(), 'f', 1));
}

void CalibPanelsTest::tableFileRoundTripAndHostileFiles()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    CalibCells table = CalibCells::resetValues();
    table.at(1, 2) = 123.45;
    table.at(2, 2) = 0.1;
    table.at(1, 5) = 1999.9;
    table.at(2, 5) = 3276.7;
    app.calib().setTableCells(table);

    f.dialogs->fileAnswers << f.path(QStringLiteral("calib.cfg"));
    app.calibpanel2().ui->ButtonSaveFileToDisk->click();
    const FileDialogRequest& req = f.dialogs->fileRequests.value(0);
    QCOMPARE(req.defaultFile, QStringLiteral("calib.cfg"));
    QCOMPARE(req.filter, QStringLiteral("*.cfg"));
    QCOMPARE(req.title, QStringLiteral("calib"));
    QCOMPARE(req.directory, f.dir.path());
    QCOMPARE(f.readFile(QStringLiteral("calib.cfg")).count('\n'), 48);

    app.calib().ResetCalibTable();
    f.dialogs->fileAnswers << f.path(QStringLiteral("calib.cfg"));
    app.calibpanel2().ui->ButtonGetFileFromDisk->click();
    QVERIFY(app.calib().tableCells() == table);
    QVERIFY(boxes(f).isEmpty());

    // Cancelled dialogs change nothing.
    app.calibpanel2().ui->ButtonGetFileFromDisk->click();
    app.calibpanel2().ui->ButtonSaveFileToDisk->click();
    QVERIFY(app.calib().tableCells() == table);
    QVERIFY(boxes(f).isEmpty());

    const QByteArray good = f.readFile(QStringLiteral("calib.cfg"));
    const QList<QByteArray> hostile{QByteArray(),
                                    good.left(good.size() / 2),
                                    good + "7\n",
                                    QByteArray(good).replace("123.45", "abcdef"),
                                    QByteArray(good).replace("123.45", "-0.5"),
                                    QByteArray(good).replace("123.45", "   nan")};
    for (const QByteArray& content : hostile) {
        f.writeFile(QStringLiteral("bad.cfg"), content);
        f.dialogs->fileAnswers << f.path(QStringLiteral("bad.cfg"));
        app.calibpanel2().ui->ButtonGetFileFromDisk->click();
        QCOMPARE(boxes(f).size(), 1);
        QCOMPARE(boxes(f)[0].title, QStringLiteral("ATTENTION!"));
        QVERIFY(app.calib().tableCells() == table);
        f.dialogs->shown.clear();
    }
    f.dialogs->fileAnswers << f.path(QStringLiteral("missing.cfg"));
    app.calibpanel2().ui->ButtonGetFileFromDisk->click();
    QCOMPARE(boxes(f).size(), 1);
    QVERIFY(app.calib().tableCells() == table);
}

void CalibPanelsTest::unwritableFileIsReported()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.calib().ResetCalibTable();
    f.dialogs->fileAnswers << f.path(QStringLiteral("no-such-dir/calib.cfg"));
    app.calibpanel2().ui->ButtonSaveFileToDisk->click();
    QCOMPARE(boxes(f).size(), 1);
    QCOMPARE(boxes(f)[0].title, QStringLiteral("ATTENTION!"));

    // A table that would not read back is not written either.
    f.writeFile(QStringLiteral("calib.cfg"), "old");
    app.calibpanel2().ui->GridMeasuredValues->item(3, 1)->setText(QStringLiteral("x"));
    f.dialogs->fileAnswers << f.path(QStringLiteral("calib.cfg"));
    app.calibpanel2().ui->ButtonSaveFileToDisk->click();
    QCOMPARE(boxes(f).size(), 2);
    QCOMPARE(f.readFile(QStringLiteral("calib.cfg")), QByteArray("old"));
}

void CalibPanelsTest::gridCellTakesOnlyANumberAndSaysSo()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.calib().ResetCalibTable();
    QTableWidget* grid = app.calibpanel2().ui->GridMeasuredValues;
    app.calibpanel2().widget->show();
    auto type = [&](int row, int col, const QString& text) {
        grid->setFocus();
        grid->setCurrentCell(row, col);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = grid->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    };
    type(2, 0, QStringLiteral("12,5"));
    QTRY_VERIFY(tarvo::lastEntryNotice(grid).startsWith(QStringLiteral("\"12,5\" was not taken")));
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("-1.0"));
    QCOMPARE(grid->toolTip(), tarvo::lastEntryNotice(grid));

    type(2, 0, QStringLiteral("12.5"));
    QTRY_COMPARE(grid->item(2, 0)->text(), QStringLiteral("12.5"));
}

void CalibPanelsTest::graphDoubleClickOpensAxisScalingAndCloseHidesIt()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    app.panel().widget->show();
    QTest::mouseClick(app.panel().ui->ButtonCalibrate, Qt::LeftButton);
    app.calibpanel2().widget->show();
    QChartView* graph = app.calibpanel2().ui->GraphCalibBuf;
    QTest::mouseDClick(graph->viewport(), Qt::LeftButton);
    QVERIFY(app.scaleaxispanel().widget->isVisible());
    app.scaleaxispanel().ui->EditXAxisMax->setValue(300.0);
    QCOMPARE(valueAxis(graph, Qt::Horizontal)->max(), 300.0);

    // Closing (the sensor does not answer here) hides every calibration panel.
    app.calibpanel2().ui->ButtonCloseCalibP2->click();
    QVERIFY(!app.scaleaxispanel().widget->isVisible());
    QVERIFY(!app.calibpanel().widget->isVisible());
    QVERIFY(!app.calibpanel2().widget->isVisible());
    QVERIFY(app.panel().widget->isVisible());
}

QTEST_MAIN(CalibPanelsTest)
#include "tst_calibpanels.moc"
