// The interface panel: trying, accepting and discarding connection
// settings, the server history, their files, and the right-click help.
#include "combobox.h"
#include "paneltestutil.h"
#include "scopefixture.h"
#include "screenreader.h"
#include "statustexts.h"
#include "ui_INTERFACEP.h"
#include "ui_MONITORP.h"
#include "ui_P.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QSerialPort>
#include <QSpinBox>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {
void typeServer(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

QStringList historyFileEntries(const QByteArray& content)
{
    QStringList entries;
    for (qsizetype i = 0; i + 101 <= content.size(); i += 101)
        entries << QString::fromUtf8(content.mid(i, 100).split('\0').first());
    return entries;
}
}  // namespace

class InterfacePanelTest : public QObject {
    Q_OBJECT
private slots:
    void tryThenAcceptSavesAndTheNextStartConnectsAtOnce();
    void editingAnySettingDimsAccept();
    void failedTryLeavesAcceptDimmedAndDiscardReturnsToItsValues();
    void discardReconnectsWithTheOldValues();
    void protocolChoiceShowsTheMatchingFields();
    void longSerialDeviceTextFitsThePanel_data();
    void longSerialDeviceTextFitsThePanel();
    void serverHistoryKeepsTenNewestWithoutDuplicates();
    void historyLoadCountsWholeRecords_data();
    void historyLoadCountsWholeRecords();
    void unwritableProgramDirectoryIsReportedAndTheConnectionStays();
    void hostileSettingsFilesStartWithoutHarm_data();
    void hostileSettingsFilesStartWithoutHarm();
    void portTextWithoutDigitsIsPortZero();
    void identificationTextReachesEveryIdDisplay();
    void rightClickShowsTheHelpText();
    void serverClosingTheConnectionIsReportedOnce();
    void panelIsWorkedFromTheKeyboard();
    void tryShowsTryWhileWaiting();
    void failedConnectionSaysWhy_data();
    void failedConnectionSaysWhy();
    void framesGoOnlyToTheSensorTheLastTryReached_data();
    void framesGoOnlyToTheSensorTheLastTryReached();
    void protocolRingTurnedDuringALoopLeavesItsChannel_data();
    void protocolRingTurnedDuringALoopLeavesItsChannel();
};

void InterfacePanelTest::tryThenAcceptSavesAndTheNextStartConnectsAtOnce()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QVERIFY(f.interfaceWidget()->isVisible());
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TIMEOUT: ")));

    ui.StringPortNumber->selectAll();
    QTest::keyClicks(ui.StringPortNumber, QString::number(f.sensor->tcpPort()));
    QTest::mouseClick(ui.ButtonTryToConnect, Qt::LeftButton);
    QVERIFY(ui.DispInterfaceStatus->text().startsWith(QLatin1String("TARVO")));
    QVERIFY(ui.ButtonAccept->isEnabled());
    QTest::mouseClick(ui.ButtonAccept, Qt::LeftButton);
    QVERIFY(!f.interfaceWidget()->isVisible());
    QCOMPARE(f.readFile(QStringLiteral("ComSettings.cfg")),
             test::settingsFor(1, ui.EditSelectComPort->value(), QStringLiteral("127.0.0.1"),
                               QString::number(f.sensor->tcpPort())));

    f.app.reset();
    f.sensor->clearReceived();
    ScopeApp& again = f.start();
    QVERIFY(again.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    QVERIFY(!f.interfaceWidget()->isVisible());
    // The line check (auto-send off, identification) and the parameter read.
    QCOMPARE(f.sensor->receivedFrames().size(), 2 + 32);
}

void InterfacePanelTest::editingAnySettingDimsAccept()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    QVERIFY(f.interfaceWidget()->isVisible());
    QVERIFY(!ui.ButtonAccept->isEnabled());  // opening the panel dims it

    auto tryAgain = [&] {
        QTest::mouseClick(ui.ButtonTryToConnect, Qt::LeftButton);
        QVERIFY(ui.ButtonAccept->isEnabled());
    };
    tryAgain();
    QTest::keyClick(ui.StringPortNumber, Qt::Key_End);
    QTest::keyClick(ui.StringPortNumber, Qt::Key_Backspace);
    QVERIFY(!ui.ButtonAccept->isEnabled());
    QTest::keyClicks(ui.StringPortNumber, QString::number(f.sensor->tcpPort()).right(1));
    tryAgain();
    QTest::keyClicks(ui.StringIpAdress, QStringLiteral("x"));
    QVERIFY(!ui.ButtonAccept->isEnabled());
    ui.StringIpAdress->setText(QStringLiteral("127.0.0.1"));
    tryAgain();
    ui.EditSelectComPort->setValue(ui.EditSelectComPort->value() + 1);
    QVERIFY(!ui.ButtonAccept->isEnabled());
    tryAgain();
    ui.EditCommunicationProtocol->setCurrentIndex(0);
    emit ui.EditCommunicationProtocol->activated(0);
    QVERIFY(!ui.ButtonAccept->isEnabled());
}

void InterfacePanelTest::failedTryLeavesAcceptDimmedAndDiscardReturnsToItsValues()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    const QString deadPort = QString::number(test::closedTcpPort());
    ui.StringPortNumber->setText(deadPort);
    QTest::mouseClick(ui.ButtonTryToConnect, Qt::LeftButton);
    QVERIFY(ui.DispInterfaceStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
    QVERIFY(!ui.ButtonAccept->isEnabled());  // also after the buttons came back
    QVERIFY(ui.ButtonTryToConnect->isEnabled());
    QVERIFY(app.panel().ui->ButtonConnect->isEnabled());

    // The timeout took the failed values as the ones to return to.
    QTest::mouseClick(ui.ButtonDiscard, Qt::LeftButton);
    QCOMPARE(ui.StringPortNumber->text(), deadPort);
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
}

void InterfacePanelTest::discardReconnectsWithTheOldValues()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    ui.StringPortNumber->setText(QStringLiteral("1"));
    f.sensor->clearReceived();
    QTest::mouseClick(ui.ButtonDiscard, Qt::LeftButton);
    QCOMPARE(ui.StringPortNumber->text(), QString::number(f.sensor->tcpPort()));
    QVERIFY(!f.interfaceWidget()->isVisible());
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    QCOMPARE(f.sensor->receivedFrames().size(), 2 + 32);  // reconnected, checked and read again
    QVERIFY(!QFile::exists(f.path(QStringLiteral("ComSettings.cfg.new"))));
}

void InterfacePanelTest::protocolChoiceShowsTheMatchingFields()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QComboBox* list = Combo_ListControl(ui.StringIpAdress);
    QVERIFY(list);
    QVERIFY(ui.StringIpAdress->isVisible() && list->isVisible() && ui.StringPortNumber->isVisible());
    QVERIFY(!ui.EditSelectComPort->isVisible());
    ui.EditCommunicationProtocol->setCurrentIndex(0);
    emit ui.EditCommunicationProtocol->activated(0);
    QVERIFY(!ui.StringIpAdress->isVisible() && !list->isVisible() && !ui.StringPortNumber->isVisible());
    QVERIFY(ui.EditSelectComPort->isVisible());
    QVERIFY(!ui.LabelComDevice->text().isEmpty());
}

void InterfacePanelTest::longSerialDeviceTextFitsThePanel_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("description");
    QTest::newRow("words") << "/nonexistent/tty"
                           << "set by TARVO_SERIAL_PORT_1 for the line to the second gloss sensor of hall 2";
    QTest::newRow("one long name") << "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0-hall2-line7"
                                   << "";
}

void InterfacePanelTest::longSerialDeviceTextFitsThePanel()
{
    QFETCH(QString, path);
    QFETCH(QString, description);
    ScopeFixture f;
    setSerialPortResolver([path, description](int) { return SerialDevice{path, description}; });
    f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 1, QString(), QString()));
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(f.interfaceWidget()));
    QLabel* label = ui.LabelComDevice;
    QVERIFY(label->isVisible());
    // Every line of the text lies within the label, and the label is as tall as its text.
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->contentsRect().width(), qPrintable(line));
    QVERIFY(label->height() >= label->heightForWidth(label->width()));
    QVERIFY(label->geometry().right() <= label->parentWidget()->contentsRect().right());
    // What does not fit is in the tooltip, whole.
    QVERIFY2(label->toolTip().startsWith(path), qPrintable(label->toolTip()));
    QVERIFY(label->toolTip().contains(description));
}

void InterfacePanelTest::serverHistoryKeepsTenNewestWithoutDuplicates()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    QLineEdit* field = app.interfacepanel().ui().StringIpAdress;
    for (int i = 1; i <= 11; ++i)
        typeServer(field, QStringLiteral("host%1.plant").arg(i, 2, 10, QLatin1Char('0')));
    typeServer(field, QStringLiteral("host05.plant"));

    QStringList expected = {QStringLiteral("host05.plant")};
    for (int i = 11; i >= 2; --i)
        if (i != 5)
            expected << QStringLiteral("host%1.plant").arg(i, 2, 10, QLatin1Char('0'));
    QCOMPARE(app.interfacepanel().historyEntries(), expected);
    // The history's button is read by its name, not by the server it holds.
    tarvo::test::checkScreenReaderTexts(app.interfacepanel().widget(), true);

    const QByteArray file = f.readFile(QStringLiteral("IPComboBox.cfg"));
    QCOMPARE(file.size(), 10 * 101);
    QCOMPARE(file.at(100), '\n');
    QCOMPARE(file.at(12), '\0');
    QCOMPARE(historyFileEntries(file), expected);

    f.app.reset();
    ScopeApp& again = f.start();
    QCOMPARE(again.interfacepanel().historyEntries(), expected);
}

void InterfacePanelTest::historyLoadCountsWholeRecords_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("entries");
    auto record = [](const char* text) {
        QByteArray r(text);
        r.append(100 - r.size(), '\0');
        return r + '\n';
    };
    QTest::newRow("100 bytes: no whole record") << QByteArray(99, 'a') + '\n' << QStringList();
    QTest::newRow("202 bytes: two") << record("alpha") + record("beta") << QStringList{"alpha", "beta"};
    QTest::newRow("empty record skipped") << record("") + record("beta") << QStringList{"beta"};
    QTest::newRow("CR LF records") << QByteArray("one\r\n").leftJustified(101, ' ') << QStringList{"one"};
    // Records are counted by size: 240 bytes hold two, whatever their lines.
    QTest::newRow("no zero padding") << QByteArray("short\nlines\n").repeated(20) << QStringList{"short", "lines"};
    QTest::newRow("size not a multiple") << record("gamma") + "xyz" << QStringList{"gamma"};
    QTest::newRow("overlong line cut") << QByteArray(300, 'h') + '\n' + QByteArray(5, '\0')
                                       << QStringList{QString(100, 'h')};
    QTest::newRow("far more than ten") << record("many").repeated(500) << QStringList(10, QStringLiteral("many"));
    QTest::newRow("binary junk") << QByteArray::fromHex("ff00fe0a80810a").repeated(40) << QStringList();
}

void InterfacePanelTest::historyLoadCountsWholeRecords()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, entries);
    ScopeFixture f;
    f.settingsToNowhere();
    f.writeFile(QStringLiteral("IPComboBox.cfg"), content);
    ScopeApp& app = f.start();
    QStringList loaded = app.interfacepanel().historyEntries();
    if (QTest::currentDataTag() == QByteArray("binary junk")) {
        QVERIFY(loaded.size() <= 10);  // whatever it makes of it: bounded and no crash
        return;
    }
    QCOMPARE(loaded, entries);
}

void InterfacePanelTest::unwritableProgramDirectoryIsReportedAndTheConnectionStays()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    // Folders where the files should be: no one can write them, not even root.
    QVERIFY(QFile::remove(f.path(QStringLiteral("ComSettings.cfg"))));
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("ComSettings.cfg")));
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("IPComboBox.cfg")));
    auto& ui = app.interfacepanel().ui();
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    QTest::mouseClick(ui.ButtonTryToConnect, Qt::LeftButton);
    QTest::mouseClick(ui.ButtonAccept, Qt::LeftButton);
    typeServer(ui.StringIpAdress, QStringLiteral("127.0.0.1"));
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 2);
    QVERIFY(f.dialogs->shown.first().text.contains(QLatin1String("ComSettings.cfg")));
    QVERIFY(app.link().tcpConnected());
    QVERIFY(f.interfaceWidget()->isVisible());  // the choice was not saved; the panel says so and stays
}

void InterfacePanelTest::hostileSettingsFilesStartWithoutHarm_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("comport");
    QTest::addColumn<QString>("told");  // the line the message quotes; empty: no message
    QTest::newRow("non-numeric") << QByteArray("tcp\nCOM3\nhost\nport\n") << 0 << 1 << "line 1: \"tcp\"";
    QTest::newRow("empty") << QByteArray() << 0 << 1 << "line 1: \"\"";
    QTest::newRow("missing lines") << QByteArray("1\n") << 0 << 1 << "line 2: \"\"";
    QTest::newRow("CR LF") << QByteArray("1\r\n7\r\n127.0.0.1\r\n1\r\n") << 1 << 7 << QString();
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "1\n7\n127.0.0.1\n1\n")
                                     << 1 << 7 << QString();
    QTest::newRow("overlong") << QByteArray(5000, '9') + "\n" + QByteArray(400, 'x') + "\n"
                              << 0 << 1 << "line 1: \"9999";
    QTest::newRow("binary junk") << QByteArray::fromHex("00ff13370a0a0001fe") << 0 << 1 << "line 1: \"\"";
    QTest::newRow("leading blanks and sign") << QByteArray("  1 \n -2\n") << 0 << 1 << "line 2: \" -2\"";
    QTest::newRow("decimal comma") << QByteArray("1\n1,5\n") << 0 << 1 << "line 2: \"1,5\"";
}

void InterfacePanelTest::hostileSettingsFilesStartWithoutHarm()
{
    QFETCH(QByteArray, content);
    QFETCH(int, protocol);
    QFETCH(int, comport);
    QFETCH(QString, told);
    ScopeFixture f;
    setSerialPortResolver([](int) { return SerialDevice{}; });
    f.writeFile(QStringLiteral("ComSettings.cfg"), content);
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QCOMPARE(ui.EditCommunicationProtocol->currentIndex(), protocol);
    QCOMPARE(ui.EditSelectComPort->value(), comport);
    QVERIFY(ui.StringIpAdress->text().size() <= 255);
    QVERIFY(ui.StringPortNumber->text().size() <= 31);
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
    const QString first = f.dialogs->shown.isEmpty() ? QString() : f.dialogs->shown.first().text;
    if (told.isEmpty()) {
        QVERIFY2(!first.contains(QLatin1String("ComSettings.cfg")), qPrintable(first));
    } else {
        QVERIFY2(first.contains(QStringLiteral("ComSettings.cfg, ") + told), qPrintable(first));
    }
}

void InterfacePanelTest::portTextWithoutDigitsIsPortZero()
{
    ScopeFixture f;
    f.writeFile(QStringLiteral("ComSettings.cfg"),
                test::settingsFor(1, 1, QStringLiteral("127.0.0.1"), QStringLiteral("abc")));
    ScopeApp& app = f.start();
    QCOMPARE(app.link().tcpPort(), 0);
    QCOMPARE(app.link().statusText(), QStringLiteral("InvalidParameter"));
    QCOMPARE(f.sensor->frameCount(), qint64(0));
}

void InterfacePanelTest::identificationTextReachesEveryIdDisplay()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    QTest::keyClicks(app.interfacepanel().ui().EditID, QStringLiteral("Line 4 gloss"));
    int displays = 0;
    for (QWidget* panel : {app.gfpanel().widget.get(), app.vecpanel().widget.get(), app.recpanel().widget.get(),
                           app.monitorpanel().widget.get()}) {
        auto* id = panel->findChild<QLineEdit*>(QStringLiteral("DispID"));
        QVERIFY2(id, qPrintable(panel->objectName()));
        QCOMPARE(id->text(), QStringLiteral("Line 4 gloss"));
        ++displays;
    }
    QCOMPARE(displays, 4);
}

void InterfacePanelTest::rightClickShowsTheHelpText()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    QTest::mouseClick(app.interfacepanel().ui().ButtonAccept, Qt::RightButton);
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::RightButton);
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("INFO!"));
    QCOMPARE(f.dialogs->shown[0].text, QStringLiteral(" Accept settings and return to main panel."));
    QCOMPARE(f.dialogs->shown[1].text, QStringLiteral(" Open a panel to select an interface protocol."));
    QVERIFY(!f.interfaceWidget()->isHidden());  // the right click did not act as a click
}

void InterfacePanelTest::serverClosingTheConnectionIsReportedOnce()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    sim::Faults closing;
    closing.closeAfterFrames = 1;
    f.sensor->setFaults(closing);
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    QTest::mouseClick(app.interfacepanel().ui().ButtonTryToConnect, Qt::LeftButton);
    QTRY_COMPARE(f.dialogs->count(QStringLiteral("TCP Client")), 1);
    QCOMPARE(f.dialogs->shown.last().text, QStringLiteral("Server has closed connection!"));
    QVERIFY(!app.link().tcpConnected());
}

void InterfacePanelTest::panelIsWorkedFromTheKeyboard()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    auto& ui = app.interfacepanel().ui();
    QWidget* panel = f.interfaceWidget();
    QApplication::setActiveWindow(panel);
    QVERIFY(QTest::qWaitForWindowActive(panel));
    ui.StringPortNumber->setFocus();
    ui.StringPortNumber->selectAll();
    QTest::keyClicks(ui.StringPortNumber, QString::number(f.sensor->tcpPort()));

    // Tab walks to the try button; Space presses it.
    for (int i = 0; i < 10 && QApplication::focusWidget() != ui.ButtonTryToConnect; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ui.ButtonTryToConnect);
    QTest::keyClick(ui.ButtonTryToConnect, Qt::Key_Space);
    QVERIFY(ui.DispInterfaceStatus->text().startsWith(QLatin1String("TARVO")));

    // Up opens the server history from the field.
    typeServer(ui.StringIpAdress, QStringLiteral("127.0.0.1"));
    QTest::keyClick(ui.StringIpAdress, Qt::Key_Up);
    QComboBox* list = Combo_ListControl(ui.StringIpAdress);
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Escape);
    QTRY_VERIFY(!list->view()->isVisible());
}

void InterfacePanelTest::tryShowsTryWhileWaiting()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    sim::Faults slow;
    slow.delayMs = 400;
    slow.onlyCommand = 7;
    f.sensor->setFaults(slow);
    QString mainDuring, panelDuring;
    f.onCommand(&app, frame::Identify, [&] {  // the request is out, its reply held back
        mainDuring = app.panel().ui->DispStatus->text();
        panelDuring = app.interfacepanel().ui().DispInterfaceStatus->text();
    });
    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    QTest::mouseClick(app.interfacepanel().ui().ButtonTryToConnect, Qt::LeftButton);
    QCOMPARE(mainDuring, QStringLiteral("TRY"));
    QCOMPARE(panelDuring, QStringLiteral("TRY"));
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
}

void InterfacePanelTest::failedConnectionSaysWhy_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");  // after "TIMEOUT: "; PORT stands for the TCP port tried
    QTest::addColumn<QString>("advice");  // the start of the advice line
    QTest::newRow("refused") << "refused"
                             << "connection refused by 127.0.0.1:PORT"
                             << "Connection refused by 127.0.0.1:PORT: the computer is there";
    QTest::newRow("host not found") << "unknown host"
                                    << "host not found"
                                    << "Host not found: no computer";
    QTest::newRow("no identification") << "silent"
                                       << "no reply within 5.0 s"
                                       << "127.0.0.1:PORT took the connection, but no sensor answered within 5.0 s";
#ifdef Q_OS_UNIX
    QTest::newRow("port in use") << "in use"
                                 << "port in use by another program"
                                 << "/dev/pts/";
    QTest::newRow("permission") << "no access"
                                << "permission denied (add yourself to the dialout group)"
                                << "Access to ";
    // The start-up's try on port 1 already names the remedy: no second try needed.
    QTest::newRow("permission at first start") << "no access, first start"
                                               << "permission denied (add yourself to the dialout group)"
                                               << "Access to ";
#endif
    QTest::newRow("first start") << "first start"
                                 << "no device has this number"
                                 << "No sensor answered on RS-232 port 1: choose the port or TCP/IP, then TRY TO "
                                    "CONNECT";
}

void InterfacePanelTest::failedConnectionSaysWhy()
{
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    QFETCH(QString, advice);
    sim::SimOptions o;
    o.pty = cause == QLatin1String("in use");
    if (cause == QLatin1String("silent"))
        o.faults.dropReplies = sim::Faults::kAll;
    ScopeFixture f(o);
    quint16 port = f.sensor->tcpPort();
    QSerialPort holder;
    if (cause == QLatin1String("refused")) {
        port = test::closedTcpPort();
        f.writeFile(QStringLiteral("ComSettings.cfg"),
                    test::settingsFor(1, 1, QStringLiteral("127.0.0.1"), QString::number(port)));
    } else if (cause == QLatin1String("unknown host")) {
        f.writeFile(QStringLiteral("ComSettings.cfg"),
                    test::settingsFor(1, 1, QStringLiteral("no-such-host..invalid"), QStringLiteral("10001")));
    } else if (cause == QLatin1String("silent")) {
        f.settingsToSensor();
        // The identification is not awaited for 5 s in real time.
        f.onCommand(f.sensor.get(), frame::Identify, [&f] { f.app->pump().expireInnermostWait(); });
    } else if (cause == QLatin1String("in use")) {
        f.settingsToSensorLine();
        holder.setPortName(f.sensor->ptyPath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
    } else if (cause.startsWith(QLatin1String("no access"))) {
#ifdef Q_OS_UNIX
        if (::geteuid() == 0)
            QSKIP("root opens any device; run this test as an ordinary user");
#endif
        const QString locked = f.path(QStringLiteral("ttyLocked"));
        f.writeFile(QStringLiteral("ttyLocked"), QByteArray());
        QFile::setPermissions(locked, QFileDevice::Permissions());
        setSerialPortResolver([locked](int) { return SerialDevice{locked, QString()}; });
        if (!cause.endsWith(QLatin1String("first start")))
            f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 1, QString(), QString()));
    } else {
        setSerialPortResolver([](int) { return SerialDevice{}; });  // no settings file, no port 1
    }
    reason.replace(QLatin1String("PORT"), QString::number(port));
    advice.replace(QLatin1String("PORT"), QString::number(port));

    // Every text the status shows on the way, not only the last one.
    QStringList shown;
    f.app = std::make_unique<ScopeApp>(f.dir.path());
    connect(f.app->panel().ui->DispStatus, &QLineEdit::textChanged, this, [&shown](const QString& t) { shown << t; });
    f.app->panel().widget->show();
    f.app->InitAll();
    ScopeApp& app = *f.app;
    for (int code = -1; code >= -20; --code)
        QVERIFY2(!shown.join(u'|').contains(tcpStatusText(code).trimmed()), qPrintable(shown.join(u'|')));
    auto& ui = app.interfacepanel().ui();
    QCOMPARE(app.panel().ui->DispStatus->text(), QStringLiteral("TIMEOUT: ") + reason);
    QCOMPARE(ui.DispInterfaceStatus->text(), QStringLiteral("TIMEOUT: ") + reason);
    QVERIFY2(ui.LabelInterfaceHint->text().startsWith(advice), qPrintable(ui.LabelInterfaceHint->text()));
    // A screen reader reads the advice too, and the device that was tried.
    QCOMPARE(QAccessible::queryAccessibleInterface(ui.LabelInterfaceHint)->text(QAccessible::Description),
             ui.LabelInterfaceHint->text());
    QCOMPARE(QAccessible::queryAccessibleInterface(ui.LabelComDevice)->text(QAccessible::Description),
             ui.LabelComDevice->toolTip());
    QVERIFY(f.interfaceWidget()->isVisible());
}

void InterfacePanelTest::framesGoOnlyToTheSensorTheLastTryReached_data()
{
    QTest::addColumn<bool>("fromTcp");  // sensor A over TCP, then B on the line; or the reverse
    QTest::newRow("TCP, then the line") << true;
    QTest::newRow("the line, then TCP") << false;
}

void InterfacePanelTest::framesGoOnlyToTheSensorTheLastTryReached()
{
#ifndef Q_OS_UNIX
    QSKIP("pseudo-terminals are POSIX only");
#else
    QFETCH(bool, fromTcp);
    sim::SimOptions o;
    o.pty = true;
    ScopeFixture f(o);  // sensor A
    o.noise = 0;
    o.eepromPath = f.path(QStringLiteral("b-eeprom.bin"));
    sim::SensorSim b(o);
    QVERIFY(b.start());
    const QString lineA = f.sensor->ptyPath(), lineB = b.ptyPath();
    setSerialPortResolver([=](int n) { return SerialDevice{n == 1 ? lineA : n == 2 ? lineB : QString(), QString()}; });
    if (fromTcp)
        f.settingsToSensor();
    else
        f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 1, QString(), QString()));
    ScopeApp& app = f.start();
    QSignalSpy aClosed(f.sensor.get(), &sim::SensorSim::clientDisconnected);
    auto& ui = app.interfacepanel().ui();

    QTest::mouseClick(app.panel().ui->ButtonConnect, Qt::LeftButton);
    test::choose(ui.EditCommunicationProtocol, fromTcp ? RS232 : TCPIP);
    ui.EditSelectComPort->setValue(2);
    ui.StringIpAdress->setText(QStringLiteral("127.0.0.1"));
    ui.StringPortNumber->setText(QString::number(b.tcpPort()));
    QTest::mouseClick(ui.ButtonTryToConnect, Qt::LeftButton);
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    if (fromTcp)
        QTRY_COMPARE(aClosed.size(), 1);  // the abandoned conversation is closed
    // The ring turned back and the panel closed without trying.
    test::choose(ui.EditCommunicationProtocol, fromTcp ? TCPIP : RS232);
    f.interfaceWidget()->close();
    f.sensor->clearReceived();
    b.clearReceived();
    app.panel().ui->ButtonSend->click();

    QCOMPARE(b.receivedFrames().size(), 32);
    QCOMPARE(f.sensor->frameCount(), qint64(0));
    QCOMPARE(app.panel().ui->DispComPort->isVisible(), fromTcp);
    QCOMPARE(f.dialogs->shown.size(), 0);
#endif
}

void InterfacePanelTest::protocolRingTurnedDuringALoopLeavesItsChannel_data()
{
    QTest::addColumn<bool>("monitor");
    QTest::newRow("live loop") << false;
    QTest::newRow("monitor") << true;
}

void InterfacePanelTest::protocolRingTurnedDuringALoopLeavesItsChannel()
{
    QFETCH(bool, monitor);
    ScopeFixture f;
    f.settingsToSensor();
    f.sensor->setPartRate(25.0);
    ScopeApp& app = f.start();
    QComboBox* ring = app.interfacepanel().ui().EditCommunicationProtocol;
    app.interfacepanel().Show();  // left open beside the loop
    // Value sets the loop has asked for, or the sensor has sent on its own.
    auto measured = [&] {
        return monitor ? f.sensor->autoFramesSent() : qint64(f.commands().count(frame::ReadMeasurement));
    };
    ScopeFixture::when(
        &app, [&] { return measured() >= 3; }, [&] { test::choose(ring, RS232); });
    ScopeFixture::when(
        &app, [&] { return measured() >= 6; },
        [&] { (monitor ? app.monitorpanel().ui->ButtonStopMonitor : app.panel().ui->ButtonStop)->click(); });
    (monitor ? app.monitorpanel().ui->ButtonStartMonitor : app.panel().ui->ButtonGo)->click();  // returns when stopped

    QCOMPARE(ring->currentIndex(), int(RS232));
    QVERIFY2(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")),
             qPrintable(app.panel().ui->DispStatus->text()));
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 0);
    QVERIFY(measured() >= 6);
    if (monitor) {
        // Switched off where it was switched on.
        const QByteArray last = f.sensor->receivedFrames().last();
        const auto* words = reinterpret_cast<const std::uint8_t*>(last.constData());
        QCOMPARE(int(frame::getWord(words, 1)), int(frame::AutoSend));
        QCOMPARE(int(frame::getWord(words, 2)), 0);
        QVERIFY(!f.sensor->autoSending());
    }
}

QTEST_MAIN(InterfacePanelTest)
#include "tst_interfacepanel.moc"
