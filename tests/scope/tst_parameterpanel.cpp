// The parameter fields on the real main panel: what a fetch shows, Send and
// Get to RAM, EEPROM and a file, the target toggles, the field rules, and
// how evaluation mode and external teach reshape the panel.
#include "dialogs.h"
#include "entryfeedback.h"
#include "exchangewaits.h"
#include "paneltestutil.h"
#include "parameterpanel.h"
#include "paramfile.h"

#include "scopefixture.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionSpinBox>

using namespace tarvo;
using tarvo::test::choose;
using tarvo::test::commit;
using tarvo::test::ScopeFixture;

namespace {
const QString kVectorRule = QStringLiteral(
    " ATTENTION! \n \n MAXVEC-No. IS TOO HIGH \n DECREASE MAXVEC-No. OR SWITCH TO OUTMODE=BINARY");

QColor rowColour(const Ui::P& p, int row)
{
    return p.TeachTable->verticalHeaderItem(row)->foreground().color();
}

bool shown(const Ui::P& p, const char* name)
{
    auto* w = p.TeachTable->window()->findChild<QWidget*>(QString::fromLatin1(name));
    return w && !w->isHidden();
}
}  // namespace

class ParameterPanelTest : public QObject {
    Q_OBJECT
private slots:
    void connectingShowsTheSensorsParameters();
    void sendAndGetWithTheSensor_data();
    void sendAndGetWithTheSensor();
    void getThatMissesATeachRowSaysSoAndMarksTheRowsNotRead_data();
    void getThatMissesATeachRowSaysSoAndMarksTheRowsNotRead();
    void sendCutShortNamesTheMixedSetAndOffersToFinishIt_data();
    void sendCutShortNamesTheMixedSetAndOffersToFinishIt();
    void getThatLosesTheLineIsTakenUpWithReconnectOn_data();
    void getThatLosesTheLineIsTakenUpWithReconnectOn();
    void targetTogglesKeepExactlyOneOn_data();
    void targetTogglesKeepExactlyOneOn();
    void parameterFileRoundTripAndItsFailures();
    void fieldRulesWarnOnCommit_data();
    void fieldRulesWarnOnCommit();
    void externalTeachRemovesAndRestoresExtTriggers();
    void fetchedTriggerAndExternalTeach_data();
    void fetchedTriggerAndExternalTeach();
    void parameterViewSwitchesWithTheTeachView();
    void typedEntriesAFieldDoesNotTakeAreToldNotDropped_data();
    void typedEntriesAFieldDoesNotTakeAreToldNotDropped();
    void sendTakesTypedValuesWithoutEnter_data();
    void sendTakesTypedValuesWithoutEnter();
    void evalModeChangedDuringGetDoesNotChangeHowTheSetIsRead();
    void getThenSendWritesEveryWordBackUnchanged_data();
    void getThenSendWritesEveryWordBackUnchanged();
    void togglesRunTheirRulesHoweverTheyAreChanged();
    void unconfirmedEepromStoreSaysTheRamGotTheSet();
    void closingWithUnsentEditsAsksFirst_data();
    void closingWithUnsentEditsAsksFirst();
};

void ParameterPanelTest::connectingShowsTheSensorsParameters()
{
    ScopeFixture f;
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Power] = 640, s[sim::Pmod] = 1, s[sim::Evalmode] = 0, s[sim::Trigger] = 1;
    s[sim::Maxno] = 6, s[sim::DigitalOut] = 0;         // too many vectors for DIRECT LO
    s[sim::AnaOutBeg] = 500, s[sim::AnaOutEnd] = 505;  // too narrow, but field rules act on commits only
    f.sensor->setParameters(s);
    f.sensor->setTeachRow(2, {480, 25, 1500, 100});
    f.settingsToSensor();
    ScopeApp& app = f.start();
    const Ui::P& p = *app.panel().ui;

    QCOMPARE(f.sensor->receivedFrames().size(), 2 + 32);
    QCOMPARE(f.dialogs->shown.size(), 1);  // the table's labels check the vector count once
    QCOMPARE(f.dialogs->shown[0].text, kVectorRule);
    QCOMPARE(p.SlidePower->value(), 640);
    QCOMPARE(p.SlidePowerValue->value(), 640);
    QVERIFY(!p.SlidePower->isEnabled());  // DYN tunes the power itself
    QCOMPARE(p.EditTrigger->currentIndex(), 1);
    QCOMPARE(p.EditAnaOutEnd->value(), 505);
    QCOMPARE(p.TeachTable->item(2, 2)->data(Qt::EditRole).toDouble(), 1500.0);
    QCOMPARE(p.TeachTable->horizontalHeaderItem(3)->text(), QStringLiteral("I TOL"));
    QVERIFY(p.TeachTable->item(2, 2)->flags() & Qt::ItemIsEditable);
    QCOMPARE(rowColour(p, 5), QColor(0x008000));
    QCOMPARE(rowColour(p, 6), QColor(0xff0000));
    QCOMPARE(p.SelectSource->currentIndex(), 0);
    QVERIFY(p.ButtonSend->isEnabled());
}

void ParameterPanelTest::sendAndGetWithTheSensor_data()
{
    QTest::addColumn<bool>("eeprom");
    QTest::addColumn<bool>("serial");  // over the line the status shows how far the transfer is
    QTest::newRow("RAM") << false << false;
    QTest::newRow("EEPROM") << true << false;
#ifdef Q_OS_UNIX
    QTest::newRow("EEPROM over the line") << true << true;
#endif
}

void ParameterPanelTest::sendAndGetWithTheSensor()
{
    QFETCH(bool, eeprom);
    QFETCH(bool, serial);
    ScopeFixture f(ScopeFixture::linkOptions(serial));
    f.settingsToSensorOn(serial);
    ScopeApp& app = f.start();
    if (serial)
        app.parapanel().setAfterSendPause(0.5);  // as the user has it
    Ui::P& p = *app.panel().ui;
    const QString identification = p.DispStatus->text();
    if (eeprom)
        QTest::mouseClick(p.SelectEEPROM, Qt::LeftButton);
    QVERIFY(!isMarkedUnsent(p.SlidePower));
    p.SlidePower->setValue(321);
    QCOMPARE(p.SlidePowerValue->value(), 321);
    p.TeachTable->item(4, 0)->setData(Qt::EditRole, 12.37);
    QVERIFY(isMarkedUnsent(p.SlidePower) && isMarkedUnsent(p.TeachTable) && p.TeachTable->item(4, 0)->font().italic());
    f.sensor->clearReceived();

    QString writing, reading;
    f.onCommand(
        &app, frame::WriteTeachRow, [&] { writing = p.DispStatus->text(); }, 11);
    f.onCommand(
        &app, frame::ReadTeachRow, [&] { reading = p.DispStatus->text(); }, 11);
    bool dimmedWhileBusy = false;
    f.onCommand(&app, frame::WriteParams,
                [&] { dimmedWhileBusy = !p.ButtonSend->isEnabled() && !p.ButtonGo->isEnabled(); });
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    QVERIFY(dimmedWhileBusy);  // during the transfer
    QVERIFY(p.ButtonSend->isEnabled());
    QCOMPARE(writing, serial ? QStringLiteral("writing row 12 of 31") : identification);
    QCOMPARE(p.DispStatus->text(), identification);
    QVERIFY(!isMarkedUnsent(p.SlidePower) && !isMarkedUnsent(p.TeachTable));
    QCOMPARE(f.sensor->receivedFrames().size(), eeprom ? 33 : 32);
    QCOMPARE(f.sensor->parameters()[sim::Power], quint16(321));
    QCOMPARE(f.sensor->teachTable()[4][0], quint16(123));
    QCOMPARE(f.sensor->eeprom().params[sim::Power], quint16(eeprom ? 321 : 500));

    // Get from RAM shows what RAM holds; from EEPROM what the store kept.
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Power] = 99;
    f.sensor->setParameters(s);
    // The unsent mark frames the field and leaves its arrows as they were.
    QStyleOptionSpinBox arrows;
    arrows.initFrom(p.EditHold);
    arrows.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
    const QPoint upArrow
        = p.EditHold->style()->subControlRect(QStyle::CC_SpinBox, &arrows, QStyle::SC_SpinBoxUp, p.EditHold).center();
    const QRect up(upArrow - QPoint(2, 1), QSize(5, 3));
    const QImage unmarked = p.EditHold->grab().toImage().copy(up);
    p.EditHold->setValue(p.EditHold->value() + 1);
    QVERIFY(isMarkedUnsent(p.EditHold));
    QCOMPARE(p.EditHold->grab().toImage().copy(up), unmarked);
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);
    QCOMPARE(reading, serial ? QStringLiteral("reading row 12 of 31") : identification);
    QCOMPARE(p.DispStatus->text(), identification);
    QVERIFY(!isMarkedUnsent(p.EditHold));
    QCOMPARE(p.SlidePower->value(), eeprom ? 321 : 99);
    QCOMPARE(p.TeachTable->item(4, 0)->data(Qt::EditRole).toDouble(), 12.3);
    QVERIFY(p.ButtonGet->isEnabled());
    QCOMPARE(f.dialogs->shown.size(), 0);
}

void ParameterPanelTest::getThatMissesATeachRowSaysSoAndMarksTheRowsNotRead_data()
{
    // SEND after it asks before it writes the rows not read: the answer.
    // strayFirst: the wait ends once the frame sent in the reply's place has
    // been read and passed over (not taken for the reply); otherwise when the
    // sensor gets the request.
    QTest::addColumn<bool>("serial");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("strayFirst");
    QTest::newRow("TCP, send them") << false << int(Dialogs::Answer::Yes) << true;
    QTest::newRow("TCP, read again") << false << int(Dialogs::Answer::No) << false;
    QTest::newRow("TCP, cancel") << false << int(Dialogs::Answer::Cancel) << false;
#ifdef Q_OS_UNIX
    QTest::newRow("line, unpaced, send them") << true << int(Dialogs::Answer::Yes) << false;
#endif
}

void ParameterPanelTest::getThatMissesATeachRowSaysSoAndMarksTheRowsNotRead()
{
    QFETCH(bool, serial);
    ScopeFixture f(ScopeFixture::linkOptions(serial, false));
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Evalmode] = 0;
    f.sensor->setParameters(s);
    f.sensor->setTeachRow(12, {222, 1, 2, 3});
    f.settingsToSensorOn(serial);
    ScopeApp& app = f.start();
    const Ui::P& p = *app.panel().ui;
    s[sim::Power] = 640;
    f.sensor->setParameters(s);
    f.sensor->setTeachRow(5, {333, 1, 2, 3});
    f.sensor->setTeachRow(12, {444, 1, 2, 3});
    // Teach row 10's reply lost, a measurement frame in its place.
    sim::Faults stray;
    stray.onlyCommand = frame::ReadTeachRow;
    stray.onlyArgument = 10;
    stray.measurementInstead = true;
    f.sensor->setFaults(stray);
    QFETCH(bool, strayFirst);
    if (strayFirst)
        tarvo::test::expireOncePassedOver(&app, app.pump(), app.exchange());
    else
        f.onCommand(
            &app, frame::ReadTeachRow, [&app] { app.pump().expireInnermostWait(); }, 10);
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);

    QCOMPARE(p.DispStatus->text(), QStringLiteral("TIMEOUT"));
    QCOMPARE(p.SlidePower->value(), 640);  // what was read is shown
    QCOMPARE(p.TeachTable->item(5, 0)->data(Qt::EditRole).toDouble(), 333.0);
    QCOMPARE(p.TeachTable->item(12, 0)->data(Qt::EditRole).toDouble(), 222.0);  // not read: as it was
    QVERIFY(!app.parapanel().teach().rowMarkedUnread(9));
    QVERIFY(app.parapanel().teach().rowMarkedUnread(10));
    QVERIFY(app.parapanel().teach().rowMarkedUnread(30));

    // The sensor's row 12 is 444, the panel's 222: SEND asks first.
    QFETCH(int, answer);
    f.sensor->setFaults({});
    f.sensor->clearReceived();
    f.dialogs->askAnswers << Dialogs::Answer(answer);
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    QCOMPARE(f.dialogs->shown.last().kind, QStringLiteral("ask"));
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("teach rows 11-31 were not read")));
    const QList<int> codes = f.commands();
    QCOMPARE(f.sensor->teachTable()[12][0], quint16(answer == int(Dialogs::Answer::Yes) ? 222 : 444));
    QCOMPARE(codes.contains(frame::WriteParams), answer == int(Dialogs::Answer::Yes));
    QCOMPARE(codes.contains(frame::ReadParams), answer == int(Dialogs::Answer::No));
    if (answer == int(Dialogs::Answer::No)) {  // read again: the sensor's rows shown, none marked
        QCOMPARE(p.TeachTable->item(12, 0)->data(Qt::EditRole).toDouble(), 444.0);
        QVERIFY(!app.parapanel().teach().rowMarkedUnread(10));
    }
    // Once the rows were written or read, SEND asks no more.
    if (answer != int(Dialogs::Answer::Cancel)) {
        const int boxes = int(f.dialogs->shown.size());
        QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
        QCOMPARE(int(f.dialogs->shown.size()), boxes);
    }
}

void ParameterPanelTest::sendCutShortNamesTheMixedSetAndOffersToFinishIt_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("eeprom");
    QTest::addColumn<bool>("reconnect");  // "Reconnect and resume": the connection closes at row 12
    QTest::addColumn<int>("answer");
    QTest::newRow("TCP, RAM, finish") << false << false << false << int(Dialogs::Answer::Yes);
    QTest::newRow("TCP, EEPROM, put back") << false << true << false << int(Dialogs::Answer::No);
    QTest::newRow("TCP, EEPROM, reconnect, finish") << false << true << true << int(Dialogs::Answer::Yes);
    QTest::newRow("TCP, RAM, reconnect, put back") << false << false << true << int(Dialogs::Answer::No);
#ifdef Q_OS_UNIX
    QTest::newRow("line, unpaced, EEPROM, finish") << true << true << false << int(Dialogs::Answer::Yes);
#endif
}

void ParameterPanelTest::sendCutShortNamesTheMixedSetAndOffersToFinishIt()
{
    QFETCH(bool, serial);
    QFETCH(bool, eeprom);
    QFETCH(bool, reconnect);
    QFETCH(int, answer);
    ScopeFixture f(ScopeFixture::linkOptions(serial, false));
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Evalmode] = 0;
    f.sensor->setParameters(s);
    for (int r = 0; r < kTeachRows; ++r)
        f.sensor->setTeachRow(r, {quint16(100 + r), 1, 2, 3});
    f.settingsToSensorOn(serial);
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    QStringList events;
    if (reconnect) {
        app.interfacepanel().ui().CheckReconnect->setChecked(true);
        app.reconnect().eventLog = [&](LinkEvent e, const QString&) { events << linkEventWord(e); };
    }
    if (eeprom)
        p.SelectEEPROM->click();
    const sim::EepromImage before = f.sensor->eeprom();
    p.SlidePower->setValue(321);
    for (int r = 0; r < kTeachRows; ++r)
        p.TeachTable->item(r, 0)->setData(Qt::EditRole, 700 + r);
    if (reconnect) {
        f.onCommand(
            &app, frame::WriteTeachRow, [&] { f.sensor->dropConnection(); }, 12);
    } else {
        sim::Faults silent;
        silent.dropReplies = sim::Faults::kAll;
        silent.onlyCommand = frame::WriteTeachRow;
        silent.onlyArgument = 12;
        f.sensor->setFaults(silent);
        f.onCommand(
            &app, frame::WriteTeachRow, [&app] { app.pump().expireInnermostWait(); }, 12);
    }
    f.dialogs->askAnswers << Dialogs::Answer(answer);
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);

    // Named, with no store after it; the panel keeps what was sent, the rows not written marked.
    const QString mixed = QStringLiteral("the new parameters and teach rows 1-12; teach row 13 perhaps; teach rows "
                                         "14-31 as before")
        + (eeprom ? QStringLiteral("; nothing stored in the EEPROM") : QString());
    const auto named = [&] {
        for (const auto& box : f.dialogs->shown)
            if (box.kind == u"notice" && box.text.contains(QStringLiteral("THE WRITE WAS CUT SHORT"))
                && box.text.contains(mixed))
                return true;
        return false;
    };
    QVERIFY(named());
    QVERIFY(f.sensor->eeprom() == before);
    QCOMPARE(f.sensor->parameters()[sim::Power], quint16(321));
    QCOMPARE(f.sensor->teachTable()[11][0], quint16(711));
    QCOMPARE(f.sensor->teachTable()[20][0], quint16(120));
    QCOMPARE(p.SlidePower->value(), 321);
    QCOMPARE(p.TeachTable->item(20, 0)->data(Qt::EditRole).toDouble(), 720.0);
    QVERIFY(isMarkedUnsent(p.TeachTable) && !isMarkedUnsent(p.SlidePower));

    if (reconnect) {
        // Taken up after the send like a loss in a loop; on its return the offer.
        QTRY_VERIFY_WITH_TIMEOUT(events.contains(QStringLiteral("RESUMED")), 20000);
        QCOMPARE(events.mid(0, 2), (QStringList{"LOST", "BACK"}));
        QVERIFY(!f.interfaceWidget()->isVisible());
    } else {
        f.sensor->setFaults({});
        QTest::mouseClick(app.interfacepanel().ui().ButtonTryToConnect, Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(f.dialogs->askAnswers.isEmpty(), 20000);
    QCOMPARE(f.dialogs->shown.last().kind, QStringLiteral("ask"));
    QVERIFY(f.dialogs->shown.last().text.contains(mixed));
    const bool finish = answer == int(Dialogs::Answer::Yes);
    QTRY_COMPARE_WITH_TIMEOUT(f.sensor->teachTable()[20][0], quint16(finish ? 720 : 120), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(f.sensor->parameters()[sim::Power], quint16(finish ? 321 : 500), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!isMarkedUnsent(p.TeachTable), 20000);
    QCOMPARE(f.sensor->teachTable()[11][0], quint16(finish ? 711 : 111));
    // Finishing a send to the EEPROM stores it; putting back leaves the EEPROM alone.
    QCOMPARE(f.sensor->eeprom().params[sim::Power], quint16(finish && eeprom ? 321 : 500));
}

void ParameterPanelTest::getThatLosesTheLineIsTakenUpWithReconnectOn_data()
{
    // The line's loss and return are the interface panel's and the recorder's
    // rows; a simulated line comes back under another device name.
    QTest::addColumn<bool>("serial");
    QTest::newRow("TCP") << false;
}

void ParameterPanelTest::getThatLosesTheLineIsTakenUpWithReconnectOn()
{
    QFETCH(bool, serial);
    ScopeFixture f(ScopeFixture::linkOptions(serial));
    f.settingsToSensorOn(serial);
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    const QString identification = p.DispStatus->text();
    app.interfacepanel().ui().CheckReconnect->setChecked(true);
    QStringList events;
    app.reconnect().eventLog = [&](LinkEvent e, const QString&) { events << linkEventWord(e); };
    f.onCommand(
        &app, frame::ReadTeachRow, [&] { f.sensor->dropConnection(); }, 5);
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);

    // Taken up once the GET has ended, as a loss in a loop is, without the interface panel.
    QTRY_VERIFY_WITH_TIMEOUT(events.contains(QStringLiteral("RESUMED")), 20000);
    QCOMPARE(events.mid(0, 2), (QStringList{"LOST", "BACK"}));
    QVERIFY(!f.interfaceWidget()->isVisible());
    QCOMPARE(p.DispStatus->text(), identification);
}

void ParameterPanelTest::targetTogglesKeepExactlyOneOn_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("on");  // which toggles are on, R/E/F
    QTest::newRow("EEPROM") << QStringList{"SelectEEPROM"} << int(EEPROM) << "E";
    QTest::newRow("EEPROM switched off") << QStringList{"SelectEEPROM", "SelectEEPROM"} << int(RAM) << "R";
    QTest::newRow("FILE after EEPROM") << QStringList{"SelectEEPROM", "SelectFILE"} << int(DATFILE) << "F";
    QTest::newRow("FILE switched off") << QStringList{"SelectFILE", "SelectFILE"} << int(RAM) << "R";
    QTest::newRow("RAM stays on") << QStringList{"SelectRAM"} << int(RAM) << "R";
}

void ParameterPanelTest::targetTogglesKeepExactlyOneOn()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, target);
    QFETCH(QString, on);
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    for (const QString& name : clicks)
        QTest::mouseClick(app.panel().widget->findChild<QPushButton*>(name), Qt::LeftButton);
    const Ui::P& p = *app.panel().ui;
    QCOMPARE(QString(p.SelectRAM->isChecked() ? "R" : "") + (p.SelectEEPROM->isChecked() ? "E" : "")
                 + (p.SelectFILE->isChecked() ? "F" : ""),
             on);
    QCOMPARE(int(app.params().target), target);
}

void ParameterPanelTest::parameterFileRoundTripAndItsFailures()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    const QString file = f.path(QStringLiteral("line4.ini"));
    QTest::mouseClick(p.SelectFILE, Qt::LeftButton);
    f.sensor->clearReceived();

    p.SlidePower->setValue(250);
    f.dialogs->fileAnswers << file;
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    const FileDialogRequest asked = f.dialogs->fileRequests.last();
    QCOMPARE(asked.directory, f.dir.path());
    QCOMPARE(asked.defaultFile, QStringLiteral("Parameter.ini"));
    QCOMPARE(asked.filter, QStringLiteral("*.ini"));
    QCOMPARE(asked.title, QStringLiteral("Parameter"));
    QVERIFY(f.readFile(QStringLiteral("line4.ini")).startsWith("  250\n"));

    p.SlidePower->setValue(900);
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);  // cancelled: the file stays
    QVERIFY(f.readFile(QStringLiteral("line4.ini")).startsWith("  250\n"));
    f.dialogs->fileAnswers << file;
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);
    QCOMPARE(p.SlidePower->value(), 250);
    QCOMPARE(f.sensor->receivedFrames().size(), 0);  // the sensor is not involved
    QCOMPARE(f.dialogs->shown.size(), 3);            // three file dialogs, no message

    f.writeFile(QStringLiteral("other.ini"), "[Settings]\nPower=900\n");
    f.dialogs->fileAnswers << f.path(QStringLiteral("other.ini"));
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("No parameter was changed")));
    QCOMPARE(p.SlidePower->value(), 250);

    f.dialogs->fileAnswers << f.dir.path();  // a directory cannot be written as a file
    QTest::mouseClick(p.ButtonSend, Qt::LeftButton);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown.last().text.startsWith(QStringLiteral("The parameters were not saved.")));
}

void ParameterPanelTest::fieldRulesWarnOnCommit_data()
{
    QTest::addColumn<QString>("first");  // set without a commit
    QTest::addColumn<int>("firstValue");
    QTest::addColumn<QString>("second");  // then committed by the user
    QTest::addColumn<int>("secondValue");
    QTest::addColumn<QString>("message");  // empty: no warning

    const QString analog = QStringLiteral("Notice:  \n Analog output range must be higher than 10 units.");
    const QString profile = QStringLiteral(" Notice:  \n The Profile range must be at least 25%.");
    QTest::newRow("analog 0..10") << "EditAnaOutBeg" << 0 << "EditAnaOutEnd" << 10 << QString();
    QTest::newRow("analog 0..9") << "EditAnaOutBeg" << 0 << "EditAnaOutEnd" << 9 << analog;
    QTest::newRow("analog 20..10") << "EditAnaOutEnd" << 10 << "EditAnaOutBeg" << 20 << analog;
    QTest::newRow("profile 10..35") << "EditProfileBeg" << 10 << "EditProfileEnd" << 35 << QString();
    QTest::newRow("profile 10..34") << "EditProfileBeg" << 10 << "EditProfileEnd" << 34 << profile;
    QTest::newRow("maxno 5 direct lo") << "EditDigitalOutmode" << 0 << "EditMaxNo" << 5 << QString();
    QTest::newRow("maxno 6 direct lo") << "EditDigitalOutmode" << 0 << "EditMaxNo" << 6 << kVectorRule;
    QTest::newRow("maxno 6 binary") << "EditDigitalOutmode" << 1 << "EditMaxNo" << 6 << QString();
    QTest::newRow("direct hi, maxno 6") << "EditMaxNo" << 6 << "EditDigitalOutmode" << 2 << kVectorRule;
}

void ParameterPanelTest::fieldRulesWarnOnCommit()
{
    QFETCH(QString, first);
    QFETCH(int, firstValue);
    QFETCH(QString, second);
    QFETCH(int, secondValue);
    QFETCH(QString, message);
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    choose(app.panel().ui->EditTrigger, 1);  // SELF: the profile range can be edited
    f.dialogs->shown.clear();
    QWidget* a = app.panel().widget->findChild<QWidget*>(first);
    QWidget* b = app.panel().widget->findChild<QWidget*>(second);
    {
        const QSignalBlocker quiet(a);
        if (auto* ring = qobject_cast<QComboBox*>(a))
            ring->setCurrentIndex(firstValue);
        else
            static_cast<QSpinBox*>(a)->setValue(firstValue);
    }
    if (auto* ring = qobject_cast<QComboBox*>(b))
        choose(ring, secondValue);
    else
        commit(static_cast<QSpinBox*>(b), secondValue);

    QStringList texts;
    for (const auto& box : f.dialogs->shown)
        texts << box.title + u'|' + box.text;
    QCOMPARE(texts, message.isEmpty() ? QStringList() : QStringList{QStringLiteral("INFO!|") + message});
}

void ParameterPanelTest::externalTeachRemovesAndRestoresExtTriggers()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    p.ExternTeach->click();
    QCOMPARE(p.EditTrigger->count(), 2);
    p.ExternTeach->click();
    QStringList items;
    for (int i = 0; i < p.EditTrigger->count(); ++i)
        items << p.EditTrigger->itemText(i);
    QCOMPARE(items, QStringList({"CONT", "SELF", "EXT1", "EXT2", "EXT3", "EXT4"}));

    choose(p.EditTrigger, 3);
    QVERIFY(!p.ExternTeach->isChecked());
    QVERIFY(!p.ExternTeach->isEnabled());
    choose(p.EditTrigger, 1);
    QVERIFY(p.ExternTeach->isEnabled());
}

void ParameterPanelTest::fetchedTriggerAndExternalTeach_data()
{
    QTest::addColumn<int>("extteach");
    QTest::addColumn<int>("trigger");
    QTest::addColumn<int>("shownTrigger");
    QTest::addColumn<int>("entries");
    QTest::newRow("off, EXT3 while the list is short") << 0 << 4 << 4 << 6;
    QTest::newRow("on, EXT2 becomes CONT") << 1 << 3 << 0 << 2;
    QTest::newRow("on, SELF") << 1 << 1 << 1 << 2;
}

void ParameterPanelTest::fetchedTriggerAndExternalTeach()
{
    QFETCH(int, extteach);
    QFETCH(int, trigger);
    QFETCH(int, shownTrigger);
    QFETCH(int, entries);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    p.ExternTeach->click();  // external teach on: EXT1..EXT4 gone
    sim::ParamSet s = f.sensor->parameters();
    s[sim::ExtTeach] = quint16(extteach), s[sim::Trigger] = quint16(trigger);
    f.sensor->setParameters(s);
    QTest::mouseClick(p.ButtonGet, Qt::LeftButton);
    QCOMPARE(p.EditTrigger->currentIndex(), shownTrigger);
    QCOMPARE(p.EditTrigger->count(), entries);
    QCOMPARE(p.ExternTeach->isChecked(), extteach == 1);
}

void ParameterPanelTest::parameterViewSwitchesWithTheTeachView()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    const char* const para[] = {"EditPmode",       "LabelEditPmode", "SlidePower",
                                "SlidePowerValue", "EditProfileEnd", "ParaCaption4"};
    const char* const teach[] = {"TeachTable", "ButtonTeachDataTo", "ButtonResetTable",
                                 "EditNo",     "LabelEditNo",       "RadioInc"};
    for (bool paraView : {false, true}) {
        p.ParaVisible->click();
        QCOMPARE(p.ParaVisible->isChecked(), paraView);
        for (const char* name : para)
            QVERIFY2(shown(p, name) == paraView, name);
        for (const char* name : teach)
            QVERIFY2(shown(p, name) == !paraView, name);
    }
}

void ParameterPanelTest::typedEntriesAFieldDoesNotTakeAreToldNotDropped_data()
{
    QTest::addColumn<QString>("field");  // "cell": a teach-table cell in vector mode
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("told");
    QTest::addColumn<bool>("realFrameTime");  // the red frame's 1.5 s, else a short time
    QTest::newRow("INT LIMIT above its range") << "EditIntlim"
                                               << "5000"
                                               << "\"5000\" was not taken: the value must lie within 0 … 4095." << true;
    QTest::newRow("HOLD above its range") << "EditHold"
                                          << "70000"
                                          << "\"70000\" was not taken: the value must lie within 0 … 65535." << false;
    QTest::newRow("AVERAGE with a comma") << "EditAverage"
                                          << "1,5"
                                          << "\"1,\" was not taken: this field holds whole numbers." << false;
    QTest::newRow("teach cell above its range")
        << "cell"
        << "70000"
        << "\"70000\" was not taken: the value must lie within 0 … 65535." << false;
}

void ParameterPanelTest::typedEntriesAFieldDoesNotTakeAreToldNotDropped()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, told);
    QFETCH(bool, realFrameTime);
    ScopeFixture f;
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    if (!realFrameTime)
        tarvo::setEntryHighlightTime(app.panel().widget->window(), 50);
    QAbstractSpinBox* box = nullptr;
    choose(p.Evalmode, 0);  // vector mode, continuous trigger: every field usable
    choose(p.EditTrigger, 0);
    if (field == QLatin1String("cell")) {
        p.ParaVisible->click();
        p.TeachTable->setFocus();
        p.TeachTable->setCurrentCell(3, 1);
        QTest::keyClick(p.TeachTable, Qt::Key_F2);
        box = p.TeachTable->findChild<QDoubleSpinBox*>();
    } else {
        box = app.panel().widget->findChild<QAbstractSpinBox*>(field);
    }
    QVERIFY(box && box->isEnabled());
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
    QCOMPARE(tarvo::lastEntryNotice(box), told);
    QCOMPARE(box->toolTip(), told);  // stays at the field until the next accepted entry

    // What the field kept instead is an edit not yet sent: marked, also once
    // the focus has left and the red frame is gone.
    QPointer<QAbstractSpinBox> entry = box;
    QTest::keyClick(box, Qt::Key_Tab);
    QTRY_VERIFY(!entry || !entry->property("tarvoEntryHighlighted").toBool());
    QVERIFY(isMarkedUnsent(field == QLatin1String("cell") ? static_cast<QWidget*>(p.TeachTable) : box));
}

void ParameterPanelTest::sendTakesTypedValuesWithoutEnter_data()
{
    QTest::addColumn<int>("target");
    QTest::newRow("RAM") << int(RAM);
    QTest::newRow("EEPROM") << int(EEPROM);
    QTest::newRow("FILE") << int(DATFILE);
}

void ParameterPanelTest::sendTakesTypedValuesWithoutEnter()
{
    QFETCH(int, target);
    ScopeFixture f;
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Evalmode] = 0;  // vector mode: the cells can be edited
    f.sensor->setParameters(s);
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    if (target == EEPROM)
        p.SelectEEPROM->click();
    if (target == DATFILE)
        p.SelectFILE->click();
    // Typed, neither Enter nor Tab: the field shows 77, its value is still the old one.
    p.EditAverage->setFocus();
    p.EditAverage->selectAll();
    QTest::keyClicks(p.EditAverage, QStringLiteral("77"));
    // A teach-table cell editor left open with a typed number.
    p.ParaVisible->click();
    p.TeachTable->setCurrentCell(3, 0);
    p.TeachTable->editItem(p.TeachTable->item(3, 0));
    auto* editor = p.TeachTable->viewport()->findChild<QAbstractSpinBox*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("612"));
    const QString file = f.path(QStringLiteral("typed.ini"));
    f.dialogs->fileAnswers << file;
    p.ButtonSend->click();  // F9: a click that moves no focus

    QCOMPARE(p.EditAverage->value(), 77);
    QCOMPARE(p.TeachTable->item(3, 0)->data(Qt::EditRole).toDouble(), 612.0);
    if (target == DATFILE) {
        ParameterBlock block{};
        QVERIFY(readParameterFile(file, block).ok);
        QCOMPARE(int(block[2]), 77);
        QCOMPARE(int(block[kParamCount + 4 * 3]), 612);
    } else {
        QCOMPARE(int(f.sensor->parameters()[sim::Average]), 77);
        QCOMPARE(int(f.sensor->teachTable()[3][0]), 612);
    }
}

void ParameterPanelTest::evalModeChangedDuringGetDoesNotChangeHowTheSetIsRead()
{
    ScopeFixture f;
    sim::ParamSet s = f.sensor->parameters();
    s[sim::Evalmode] = 1;  // gloss mode: teach values in tenths
    f.sensor->setParameters(s);
    for (int row = 0; row < 31; ++row)
        f.sensor->setTeachRow(row, {quint16(500 + row), 20, 30, 0});
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    QCOMPARE(p.Evalmode->currentIndex(), 1);

    // The user switches to VECTOR while teach row 10 is on its way.
    connect(f.sensor.get(), &sim::SensorSim::frameReceived, &app, [&](const QByteArray& fr) {
        if (frame::getWord(reinterpret_cast<const std::uint8_t*>(fr.constData()), 1) == frame::ReadTeachRow
            && frame::getWord(reinterpret_cast<const std::uint8_t*>(fr.constData()), 2) == 10)
            p.Evalmode->setCurrentIndex(0);
    });
    p.ButtonGet->click();
    QCOMPARE(p.Evalmode->currentIndex(), 1);  // what the sensor reported
    for (int row : {0, 10, 11, 30})
        QCOMPARE(p.TeachTable->item(row, 0)->data(Qt::EditRole).toDouble(), (500 + row) / 10.0);

    // Sending it back writes the table the sensor held.
    f.sensor->clearReceived();
    p.ButtonSend->click();
    for (int row : {0, 10, 11, 30})
        QCOMPARE(int(f.sensor->teachTable()[row][0]), 500 + row);
}

void ParameterPanelTest::getThenSendWritesEveryWordBackUnchanged_data()
{
    QTest::addColumn<QList<int>>("words");  // the sixteen parameter words the sensor holds
    QTest::addColumn<QString>("digitalOutShown");
    // Typed into INT LIMIT before the send, entry by entry ("+": at the end
    // of what it shows, else over it, then Enter), and what it then sends.
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("intlimSent");
    const QList<int> unshowable{1001, 0, 0, 0, 10, 65535, 31, 1, 1, 0, 5000, 65535, 1, 4096, 101, 65535};
    QTest::newRow("unlisted ring values") << QList<int>{500, 2, 64, 1, 10, 100, 4, 3, 6, 2, 0, 4095, 2, 100, 10, 90}
                                          << "other (3)" << QStringList() << 100;
    QTest::newRow("values the fields cannot hold") << unshowable << "BINARY" << QStringList() << 65535;
    QTest::newRow("an evaluation mode of neither kind")
        << QList<int>{300, 1, 8, 2, 0, 50, 5, 1, 0, 0, 0, 10, 0, 0, 0, 100} << "BINARY" << QStringList() << 50;
    QTest::newRow("a kept value typed again as shown") << unshowable << "BINARY" << QStringList{"4095"} << 4095;
    QTest::newRow("a kept value replaced after a refused key")
        << unshowable << "BINARY" << QStringList{"+5", "500"} << 500;
}

void ParameterPanelTest::getThenSendWritesEveryWordBackUnchanged()
{
    QFETCH(QList<int>, words);
    QFETCH(QString, digitalOutShown);
    QFETCH(QStringList, typed);
    QFETCH(int, intlimSent);
    ScopeFixture f;
    sim::ParamSet held{};
    for (int i = 0; i < 16; ++i)
        held[size_t(i)] = quint16(words[i]);
    f.sensor->setParameters(held);
    for (int row = 0; row < 31; ++row)
        f.sensor->setTeachRow(row, {quint16(row * 7 + 3), quint16(row + 1), quint16(65535 - row), 9});
    const sim::TeachTable teach = f.sensor->teachTable();
    f.settingsToSensor();
    ScopeApp& app = f.start();  // connects and fetches
    Ui::P& p = *app.panel().ui;
    tarvo::setEntryHighlightTime(app.panel().widget->window(), 50);  // not about the red frame's time

    QCOMPARE(p.EditDigitalOutmode->currentText(), digitalOutShown);
    if (held[sim::Pmod] != 0)
        QCOMPARE(p.EditPmode->currentText(), QStringLiteral("DYN"));
    if (held[sim::Power] > 1000)  // shown at the end of the range, and said so
        QVERIFY(p.SlidePower->toolTip().contains(QStringLiteral("1001")));
    QCOMPARE(p.SlidePowerValue->value(), int(held[sim::Power]));

    for (const QString& entry : typed) {
        p.EditIntlim->setFocus();
        if (entry.startsWith(QLatin1Char('+'))) {
            QTest::keyClick(p.EditIntlim, Qt::Key_End);
            QTest::keyClicks(p.EditIntlim, entry.mid(1));
        } else {
            p.EditIntlim->selectAll();
            QTest::keyClicks(p.EditIntlim, entry);
            QTest::keyClick(p.EditIntlim, Qt::Key_Return);
        }
    }
    if (!typed.isEmpty()) {
        // Once the red frame of a refused key is gone, the field keeps nothing: not red, and
        // its tooltip is its help text again.
        QTRY_VERIFY(!p.EditIntlim->property("tarvoEntryHighlighted").toBool());
        QVERIFY(!p.EditIntlim->styleSheet().contains(QLatin1String("#c00000")));
        QVERIFY(p.EditIntlim->toolTip().startsWith(QStringLiteral("Select an intensity limit.")));
    }
    held[sim::Intlim] = quint16(intlimSent);

    // Scramble the sensor, then send what the panel shows.
    f.sensor->setParameters(sim::ParamSet{});
    for (int row = 0; row < 31; ++row)
        f.sensor->setTeachRow(row, {0, 0, 0, 0});
    p.ButtonSend->click();
    QCOMPARE(f.sensor->parameters(), held);
    QCOMPARE(f.sensor->teachTable(), teach);
}

void ParameterPanelTest::togglesRunTheirRulesHoweverTheyAreChanged()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    auto toggle = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a && a->actionInterface());
        a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(p.SelectEEPROM);
    QCOMPARE(int(app.params().target), int(EEPROM));
    QVERIFY(!p.SelectRAM->isChecked());
    toggle(p.SelectFILE);
    QCOMPARE(int(app.params().target), int(DATFILE));
    QVERIFY(!p.SelectEEPROM->isChecked());
    toggle(p.SelectFILE);  // switched off: RAM again
    QCOMPARE(int(app.params().target), int(RAM));
    QVERIFY(p.SelectRAM->isChecked());

    toggle(p.ExternTeach);
    QVERIFY(p.ExternTeach->isChecked());
    QCOMPARE(p.EditTrigger->count(), 2);  // EXT1..EXT4 gone
    toggle(p.ExternTeach);
    QCOMPARE(p.EditTrigger->count(), 6);

    // A ring changed without a user's click runs its rule too.
    p.EditTrigger->setCurrentIndex(3);
    QVERIFY(!p.ExternTeach->isEnabled());
    p.Evalmode->setCurrentIndex(1);
    QVERIFY(p.ButtonCalibrate->isVisibleTo(app.panel().widget.get()));
}

void ParameterPanelTest::unconfirmedEepromStoreSaysTheRamGotTheSet()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    p.SelectEEPROM->click();
    sim::Faults silent;
    silent.dropReplies = sim::Faults::kAll;
    silent.onlyCommand = frame::StoreEeprom;
    f.sensor->setFaults(silent);
    f.onCommand(&app, frame::StoreEeprom, [&app] { app.pump().expireInnermostWait(); });
    p.ButtonSend->click();
    QCOMPARE(p.DispStatus->text(), QStringLiteral("TIMEOUT: RAM got the set, the EEPROM store was not confirmed"));
    QVERIFY(app.interfacepanel().ui().LabelInterfaceHint->text().startsWith(
        QLatin1String("The sensor took the whole parameter set into its RAM")));
}

void ParameterPanelTest::closingWithUnsentEditsAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("closed");
    QTest::newRow("send, then close") << int(Dialogs::Answer::Yes) << true << true;
    QTest::newRow("close without sending") << int(Dialogs::Answer::No) << false << true;
    QTest::newRow("cancel") << int(Dialogs::Answer::Cancel) << false << false;
}

void ParameterPanelTest::closingWithUnsentEditsAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, sent);
    QFETCH(bool, closed);
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    const quint16 before = f.sensor->parameters()[sim::Average];
    // Typed, not yet confirmed: changed all the same.
    p.EditAverage->setFocus();
    p.EditAverage->selectAll();
    QTest::keyClicks(p.EditAverage, QStringLiteral("77"));
    f.dialogs->askAnswers << Dialogs::Answer(answer);

    app.panel().widget->close();
    QCOMPARE(f.dialogs->count(QStringLiteral("CONFIRM!")), 1);
    QVERIFY(f.dialogs->shown.last().text.contains(QLatin1String("AVERAGE")));
    QTRY_COMPARE(app.quitRequested(), closed);
    QCOMPARE(app.panel().widget->isVisible(), !closed);
    QCOMPARE(f.sensor->parameters()[sim::Average], sent ? quint16(77) : before);
    QCOMPARE(isMarkedUnsent(p.EditAverage), !sent);
}

QTEST_MAIN(ParameterPanelTest)
#include "tst_parameterpanel.moc"
